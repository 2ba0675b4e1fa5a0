// The preferences file pref.ovd: 25 lines taken by number (flags, day and month titles, data
// files path, longitude, latitude, GMT offset, calendar font), CR LF line ends.
//
//   auto lines = SplitLines(bytes);
//   ApplyStartupLines(lines, prefs);              // flags always, titles when CustomTitles is "1"
//   std::optional<double> lon = PrefNumber(lines, kLongitudeLine);
#pragma once

#include "core/preferences.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

inline constexpr int kPrefLineCount = 25;
inline constexpr int kDataFilesPathLine = 21;
inline constexpr int kLongitudeLine = 22;
inline constexpr int kLatitudeLine = 23;
inline constexpr int kGmtOffsetLine = 24;
inline constexpr int kCalendarFontLine = 25;

inline constexpr const char* kMissingPrefMessage
    = "A pref.ovd file must be in the Orvane.exe folder.  This error\ris usually caused by another "
      "program attempting to start Orvane.";

using PrefLines = std::vector<std::string>;

// Line `number` (1-based), or nothing when the file is shorter.
std::optional<std::string> PrefLine(const PrefLines& lines, int number);

// A flags line as held in memory: exactly 11 positions, a shorter line padded with "0".
std::string NormalizeOptionFlags(std::string_view line);

// A number as the file writes it, "." or "," as the decimal separator, an optional sign.
// Anything else (empty text included) is not a number.
std::optional<double> ParsePrefNumber(std::string_view text);
std::optional<double> PrefNumber(const PrefLines& lines, int number);

// The place for sunrise and sunset: present only when lines 22 to 24 all hold numbers.
struct Place {
    double longitude = 0;
    double latitude = 0;
    double gmt_offset = 0;
};
std::optional<Place> PrefPlace(const PrefLines& lines);

// What start-up takes from the file: line 1 always, the titles of lines 2-20 when CustomTitles is
// "1", line 21 always, line 25 as the calendar font.
void ApplyStartupLines(const PrefLines& lines, Preferences& prefs);

// The 25 values the preferences dialog writes.
struct PrefValues {
    std::string OptionFlags;
    std::array<std::string, 7> DayTitles {};
    std::array<std::string, 12> MonthTitles {};
    std::string DataFilesPath;
    double Longitude = 0;
    double Latitude = 0;
    double GmtOffset = 0;
    std::string CalendarFont;
};

// "00.00": at least two integer digits, two decimals, rounded; -90.5 gives "-90.50".
std::string FormatFixed2(double value);
// "0": rounded to a whole number, halves away from zero; 5.5 gives "6".
std::string FormatWhole(double value);

// The whole file, 25 lines each ended by CR LF.
std::string FormatPrefFile(const PrefValues& values);

// The values a file holds, with 0 for missing or non-numeric location lines and empty text for
// missing lines.
PrefValues PrefValuesFromLines(const PrefLines& lines);

} // namespace orvane
