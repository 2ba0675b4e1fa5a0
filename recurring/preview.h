// What the entry and delete dialogs show before OK: how many days the plan changes, which days
// are full, which records a delete discontinues, or, while a field holds something OK refuses,
// what is wrong. Built from the same plans OK applies (scheduling.h, delete_entry.h), so the
// preview cannot tell a different story from the operation.
//
//   auto plan = PlanWeekly(store, from, to, 2, false, "Club");
//   PlanPreview preview = plan ? PreviewEntryPlan(store, *plan, automatic) : ...;
//   preview.summary == "The entry goes into 24 days; 1 day is full."
//
// Texts are Windows-1252 bytes like the entry text they quote.
#pragma once

#include "core/date_key.h"
#include "core/day_store.h"
#include "recurring/date_checks.h"
#include "recurring/delete_entry.h"
#include "recurring/scheduling.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// What OK refuses, beside the date checks' own lines (date_checks.h).
inline constexpr std::string_view kIntervalProblem = "Daily: the interval must be 1 to 730";
inline constexpr std::string_view kEmptyEntryProblem = "Entry: empty";
inline constexpr std::string_view kUnstorableEntryProblem = "Entry: a character cannot be stored";
// The yearly dialog has no date checks; a Begin date without a day in the calendar is refused
// at OK.
inline constexpr std::string_view kBeginBeforeCalendar = "Begin date < calendar";
inline constexpr std::string_view kBeginAfterCalendar = "Begin date > calendar";

// How the preview marks one day of its range.
enum class DayMark : std::uint8_t {
    kInRange, // walked by the plan, left alone
    kChanged, // gets the entry, or loses it
    kFull, // holds 20 entries: refused, logged in the error log
    kFoundKept, // a delete finds the text only inside longer entries: the day keeps it
};

struct PlanPreview {
    // Not empty when OK would do nothing with the fields as they stand: what is wrong, in the
    // order the dialog checks it. The other fields are then empty.
    std::vector<std::string> problems;
    std::string summary; // one or two sentences
    std::vector<std::string> details; // lines below the calendar
    int first_slot = 1; // the days the plan walks, [first_slot, last_slot]; empty when last <
    int last_slot = 0; //  first
    std::vector<int> changed; // slots OK changes, in order
    std::vector<int> full; // slots OK refuses as full, in order (entry dialogs)
    std::vector<int> found_kept; // slots a delete leaves alone although they hold the text
    std::vector<std::string> discontinued; // lines of fdat.ovd a delete removes, in file order

    bool refused() const { return !problems.empty(); }
};

// The date checks' lines for the flags that are set, in the order the checks set them.
std::vector<std::string> DateProblems(const DateErrors& errors);

// A preview that says what is wrong instead of a count.
PlanPreview RefusedPreview(std::vector<std::string> problems);

// What ApplyEntryPlan will do with `plan` on `store` as it stands.
PlanPreview PreviewEntryPlan(const DayStore& store, const EntryPlan& plan, bool automatic_update);

// What DeleteEntry will do with `plan` on `store` as it stands.
PlanPreview PreviewDeletePlan(const DayStore& store, const DeletePlan& plan);

// One mark per day of the preview's range, first_slot first; nothing for a refused preview.
std::vector<DayMark> RangeMarks(const PlanPreview& preview);

// "Mar 4", or "Mar 4 2025" with the year.
std::string ShortDay(const Date& date, bool with_year);

// The days of `slots`, ", " between them, each with its year when the days do not all lie in one
// year. A slot without a date key is left out.
std::string DayList(const DayStore& store, const std::vector<int>& slots);

// The marked days in words, one group per mark ("Gets the entry: Mar 4, Mar 11. Full: Apr 1."),
// for those who cannot see the calendar.
std::string MarkedDaysText(const DayStore& store, const PlanPreview& preview, bool deleting);

} // namespace orvane
