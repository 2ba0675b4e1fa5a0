// Deleting an entry text: from the days between two dates (whole entries that equal the text) and
// from the recurring-entry records (records whose entry text holds it), so that cycling stops
// adding it.
#pragma once

#include "core/calendar_document.h"
#include "core/date_key.h"
#include "core/day_store.h"
#include "core/result.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Removes every entry of `day` that equals `text` exactly; the other entries keep their order and
// a tail after the last separator stays at the end. Returns whether the day changed.
bool DeleteFromDay(std::string& day, std::string_view text);

// Runs DeleteFromDay over slots [first_slot, last_slot] (clamped to [1, 735]) whose text holds
// `text` anywhere. Returns the number of days that changed.
int DeleteFromDays(DayStore& store, int first_slot, int last_slot, std::string_view text);

// True when a line of fdat.ovd is discontinued by deleting `text`: a valid record when its entry
// text holds `text`, any other line when the line holds it.
bool RecordHolds(std::string_view line, std::string_view text);

// fdat.ovd without the records that hold `text` and without empty lines: every kept line with
// CR LF, then a single CR.
std::string RecordsWithout(std::string_view fdat_bytes, std::string_view text);

// What one OK of the delete dialog will do, computed before anything changes (the dialog's preview
// shows exactly this).
struct DeletePlan {
    std::string text;
    int first_slot = 1; // the days looked at, [first_slot, last_slot] within [1, 735]
    int last_slot = 0;
    std::vector<int> days; // slots whose entries change, in order
    bool discontinue = false;
    std::vector<std::string> discontinued; // the lines of fdat.ovd that go, in file order
    std::string kept_records; // fdat.ovd (and its work copy wdat.ovd) as they will be written
};

// Days in [first_slot, last_slot] (clamped to [1, 735]); with `discontinue`, `records` holds the
// bytes of fdat.ovd (empty for a missing file).
DeletePlan PlanDelete(const DayStore& store, int first_slot, int last_slot, std::string_view text,
    bool discontinue, std::string_view records);

// The same for the days from `from` to `to`, as the dialog names them; nothing when `from` has no
// slot in the calendar.
std::optional<DeletePlan> PlanDeleteBetween(const DayStore& store, const Date& from, const Date& to,
    std::string_view text, bool discontinue, std::string_view records);

// fdat.ovd as a delete reads it: a missing file holds no records; an unreadable one is an error
// and nothing may change.
Result<std::string> RecordsForDelete(const DataFolder& data);

struct DeleteOutcome {
    int days_changed = 0;
    Status error; // a failed file operation, and what it means for the days and records
};

// Does the plan: the days change, then the kept records go to wdat.ovd as the work copy and
// replace fdat.ovd with the same bytes.
DeleteOutcome DeleteEntry(DocumentEdit& edit, const DeletePlan& plan);

} // namespace orvane
