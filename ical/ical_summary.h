// What the iCalendar windows tell the user, in the program's words: the lines of an import's
// preview, the refusals after an import, and what an export wrote. Windows-1252 text, one line
// per string; the windows add the file's name.
#pragma once

#include "core/day_store.h"
#include "ical/ical_export.h"
#include "ical/ical_import.h"

#include <string>
#include <vector>

namespace orvane {

// Shown at most in the box after an import; the rest of the full days are counted.
inline constexpr int kRefusalDaysShown = 10;

// "3 entries", "1 entry".
std::string Count(int n, const char* one, const char* many);

// The preview of `plan` against the days of `store` (the store the plan was made from): how many
// entries go into how many days, the full days by their date keys, replaced characters, events
// outside the calendar, cancelled and shortened ones, the zone of UTC times, and each problem
// with its line.
std::vector<std::string> ImportPreviewLines(const ImportPlan& plan, const DayStore& store);

// The box after an import that refused entries: each full day's "<date key> already has maximum
// entries - see Error Log", once per day, the first kRefusalDaysShown of them. Empty when nothing
// was refused.
std::string ImportRefusalText(const std::vector<int>& refused, const DayStore& store);

// What an export wrote: its events by kind and what it left out.
std::vector<std::string> ExportSummaryLines(const IcsExport& done, bool with_archive);

} // namespace orvane
