// Import from iCalendar (RFC 5545): which entry goes on which day, worked out from a .ics file
// without changing anything (the plan the preview shows), and the one operation that applies it.
//
// Every event becomes entries of the days 1-735 it falls on: recurring events with their
// exceptions (RRULE, RDATE, EXDATE, changed and cancelled instances), an all-day event as its
// summary on each day it covers, a timed event as its start time and summary ("9:30 Dentist").
// Text becomes Windows-1252; the entry limit holds, counting the plan's own earlier entries.
//
//   Result<std::string> bytes = ReadIcsFile(path);
//   Result<ImportPlan> plan = PlanImport(*bytes, document.store(), { system_zone_name });
//   ... preview: plan->DayCount(), plan->FullDays(), plan->problems
//   ImportOutcome done;
//   document.Run(OperationKind::kImport, "Import 'work.ics'",
//       [&](DocumentEdit& edit) { done = ApplyImportPlan(edit, *plan); });
//   for (int slot : done.refused) ... MaxEntriesMessage(document.store()[slot])
#pragma once

#include "core/calendar_document.h"
#include "core/date_key.h"
#include "core/day_store.h"
#include "core/result.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

inline constexpr std::size_t kMaxIcsBytes = std::size_t { 16 } << 20;
inline constexpr int kMaxRuleSteps = 100000; // dates one event's rules may give
inline constexpr std::size_t kMaxImportedText = 100; // characters of an imported entry
inline constexpr int kLastImportSlot = kLastShownSlot; // the days the entry dialogs write
inline constexpr std::string_view kNoTitle = "(no title)";
inline constexpr std::string_view kFallbackZone = "UTC";

struct ImportOptions {
    // The zone (an IANA name such as "Europe/Berlin", normally the system's) in which times given
    // in UTC are shown; an empty or unknown name means UTC. Times given with a TZID keep the
    // wall-clock time of their own zone, floating times and dates are taken as they are.
    std::string zone;
    std::size_t max_bytes = kMaxIcsBytes;
    int max_rule_steps = kMaxRuleSteps;
    // Working out every recurring event of one file may take this long; a file that needs more
    // (rules crafted to make the expansion crawl) is refused whole.
    std::chrono::milliseconds time_budget { 5000 };
};

struct ImportItem {
    int slot = 0; // in [1, 735]
    Date date {}; // the day of `slot`, to notice a calendar that moved since the plan was made
    std::string text; // Windows-1252, at most 100 characters
    int line = 0; // the line of the event's BEGIN:VEVENT
    bool refused = false; // the day is full: the text goes to the error log instead
};

// An event that was left out, and why.
struct ImportProblem {
    int line = 0; // its BEGIN:VEVENT line (from 1); 0 when not known
    std::string note; // the program's words: "the event has no date (DTSTART is missing)"
};

// "Line 12: the event has no date (DTSTART is missing)".
std::string ProblemText(const ImportProblem& problem);

struct ImportPlan {
    // In slot order; within a day in the order the day lists them after the import: all-day
    // events first, then by start time, then in file order.
    std::vector<ImportItem> items;
    std::vector<ImportProblem> problems; // in file order
    int events = 0; // events read; a recurring event with its changed instances counts once
    int events_outside = 0; // events with no day in slots 1-735
    int cancelled = 0; // cancelled events, left out
    int substituted = 0; // characters Windows-1252 cannot hold, each written as "?"
    int shortened = 0; // events whose text was cut to 100 characters
    std::string zone; // the zone UTC times are shown in

    int InsertCount() const; // entries that go into days
    int DayCount() const; // days that receive at least one entry
    std::vector<int> FullDays() const; // slots that refuse an entry, each once, in order
};

// The bytes of an .ics file. A file over `max_bytes` is refused before it is read.
Result<std::string> ReadIcsFile(
    const std::filesystem::path& path, std::size_t max_bytes = kMaxIcsBytes);

// The plan for `bytes` against the days of `store`. A file that cannot be read as a whole (too
// large, not iCalendar, cut off, holding no event) is an error and gives no plan; an event that
// cannot be read is left out and listed in the plan's problems with its line.
Result<ImportPlan> PlanImport(
    std::string_view bytes, const DayStore& store, const ImportOptions& options = {});

struct ImportOutcome {
    int inserted = 0;
    std::vector<int> refused; // the slot of each refused entry, in order (logged in rdat.ovd)
    Status error; // nothing was changed
};

// Applies the plan as one operation: each text becomes its day's first entry (the day's new
// entries in the plan's order), each refused one a line of the error log. The error log is
// written first, in one append: when that fails, or when the calendar no longer holds the
// plan's days, nothing changes. A day that filled up since the plan was made refuses too.
ImportOutcome ApplyImportPlan(DocumentEdit& edit, const ImportPlan& plan);

} // namespace orvane
