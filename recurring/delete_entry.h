// Deleting an entry text: from the days between two dates (whole entries that equal the text) and
// from the recurring-entry records (records whose entry text holds it), so that cycling stops
// adding it.
#pragma once

#include "core/calendar_state.h"
#include "core/day_store.h"
#include "core/result.h"

#include <string>
#include <string_view>

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

struct DeleteOutcome {
    int days_changed = 0;
    Status error; // a failed file operation, and what it means for the days and records
};

// One OK of the delete dialog. With `discontinue`, fdat.ovd is read first (a missing file holds
// no records; an unreadable one changes nothing), then the days change, then the kept records go
// to wdat.ovd as the work copy and replace fdat.ovd with the same bytes.
DeleteOutcome DeleteEntry(
    CalendarState& state, int first_slot, int last_slot, std::string_view text, bool discontinue);

} // namespace orvane
