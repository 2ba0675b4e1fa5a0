// What one OK of the daily, weekly, monthly or yearly entry dialog does, as plain functions over
// the day store: each Plan* picks the days and builds the record, EvaluatePlan says what the plan
// will do to the store as it stands (the dialog's preview shows exactly this), and ApplyEntryPlan
// does it as part of a document operation.
//
//   auto plan = PlanDaily(document.store(), from, to, 7, "Gym");
//   PlanEffect preview = EvaluatePlan(document.store(), *plan, /*automatic_update=*/true);
//   document.Run(OperationKind::kApplyEntry, "Daily Entry 'Gym'", [&](DocumentEdit& edit) {
//       done = ApplyEntryPlan(edit, *plan, "Gym", true);  // refused days: preview.refused
//   });
#pragma once

#include "core/calendar_document.h"
#include "core/date_key.h"
#include "core/result.h"
#include "recurring/recurring_record.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Beyond this many refused days in one OK the record is not appended.
inline constexpr int kMaxRefusalsForRecord = 104;

// The daily dialog refuses an interval outside [1, 730].
inline bool IntervalInRange(int interval) {
    return interval >= 1 && interval <= kMaxInterval;
}

// Whether one OK appends its record: only with "Automatic Update", and only while no more than
// 104 of its days were refused as full.
inline bool RecordKept(bool automatic_update, std::size_t refused_days) {
    return automatic_update && refused_days <= static_cast<std::size_t>(kMaxRefusalsForRecord);
}

struct DayVisit {
    int slot = 0; // in [1, 735]
    bool insert = true; // false: the day is only checked against the limit (weekly occurrences)
};

struct EntryPlan {
    std::vector<DayVisit> visits; // in slot order
    std::string record; // the record line without its line ends
    // The days the plan walks, [first_slot, last_slot]; empty (last < first) when To lies
    // before From.
    int first_slot = 1;
    int last_slot = 0;
};

// The slot (in [1, 738]) whose date key names `date`, searching upward from slot 1.
std::optional<int> FindSlot(const DayStore& store, const Date& date);

// Each returns nothing when `from` has no slot in the calendar. Days run from `from` up to `to`
// and never past slot 735.

// Every `interval`-th day from `from`; the record's anchor is the last day visited.
std::optional<EntryPlan> PlanDaily(
    const DayStore& store, const Date& from, const Date& to, int interval, std::string_view text);

// `from`'s weekday each week (occurrence 0), or its n-th (1-5) or last (6) in the month, with
// `begin_month_only` limiting it to `from`'s month. Every day on that weekday is visited, so that
// a full day is refused even where the occurrence does not pick it.
std::optional<EntryPlan> PlanWeekly(const DayStore& store, const Date& from, const Date& to,
    int occurrence, bool begin_month_only, std::string_view text);

// `from`'s day of each month, or the last day of each month.
std::optional<EntryPlan> PlanMonthly(const DayStore& store, const Date& from, const Date& to,
    bool last_day_of_month, std::string_view text);

// `begin`'s month and day in every year up to slot 735.
std::optional<EntryPlan> PlanYearly(
    const DayStore& store, const Date& begin, std::string_view text);

// What a plan does to the store as it stands.
struct PlanEffect {
    std::vector<int> inserted; // slots that get the entry, in order
    std::vector<int> refused; // full days, in order: each is logged and reported
    bool record_due = false; // with automatic update, unless more than 104 days are refused
};

PlanEffect EvaluatePlan(const DayStore& store, const EntryPlan& plan, bool automatic_update);

struct EntryOutcome {
    std::vector<int> refused; // slots refused as full and logged, in order
    bool days_changed = false;
    bool record_appended = false;
    Status error; // a failed file operation, and what it means for the days
};

// Does what EvaluatePlan says: writes `text` into the days behind the limit check, logs the
// refused days and, when due, appends the record. fdat.ovd is opened (and created empty when
// missing) before any day changes: when that fails nothing changes. A failed error-log append
// ends the walk at that day.
EntryOutcome ApplyEntryPlan(
    DocumentEdit& edit, const EntryPlan& plan, std::string_view text, bool automatic_update);

} // namespace orvane
