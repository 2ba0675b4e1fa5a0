// The preferences file pref.ovd: 25 lines taken by number (flags, day and month titles, data
// files path, longitude, latitude, GMT offset, calendar font), CR LF line ends.
//
//   auto lines = SplitLines(bytes);
//   ApplyStartupLines(lines, prefs);              // flags always, titles when CustomTitles is "1"
//   std::optional<DecimalNumber> lon = PrefNumber(lines, kLongitudeLine);
#pragma once

#include "core/preferences.h"
#include "core/result.h"
#include "prefs/decimal_number.h"

#include <array>
#include <filesystem>
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

// Shown when pref.ovd cannot be read at start-up; %1 is the data folder, named as the user's
// desktop names it (the data once lay beside Orvane.exe, and the message said so).
inline constexpr const char* kMissingPrefMessage
    = "A pref.ovd file must be in the folder %1.  This error\ris usually caused by another "
      "program attempting to start Orvane.";

using PrefLines = std::vector<std::string>;

// Line `number` (1-based), or nothing when the file is shorter.
std::optional<std::string> PrefLine(const PrefLines& lines, int number);

// A flags line as held in memory: exactly 11 positions, a shorter line padded with "0".
std::string NormalizeOptionFlags(std::string_view line);

// Line `number` read as a number (DecimalNumber::Parse); nothing when the file is shorter or the
// line is not a number.
std::optional<DecimalNumber> PrefNumber(const PrefLines& lines, int number);

// The place for sunrise and sunset: present only when lines 22 to 24 all hold numbers.
struct Place {
    DecimalNumber longitude;
    DecimalNumber latitude;
    DecimalNumber gmt_offset;
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
    DecimalNumber Longitude; // written "00.00"
    DecimalNumber Latitude; // written "00.00"
    DecimalNumber GmtOffset; // written "0"
    std::string CalendarFont;
};

// The whole file, 25 lines each ended by CR LF.
std::string FormatPrefFile(const PrefValues& values);

// The values a file holds, with 0 for missing or non-numeric location lines and empty text for
// missing lines.
PrefValues PrefValuesFromLines(const PrefLines& lines);

// The checks of the titles the preferences dialog writes to lines 2-20. Titles are handled as
// file bytes; a title with a character that has no Windows-1252 byte is held as nothing.
inline constexpr std::size_t kDayTitleMaxLength = 15;
inline constexpr std::size_t kMonthTitleLength = 3;

inline constexpr const char* kDayTitleMissing = "Day Title missing.";
inline constexpr const char* kDayTitleTooLong = "Day Title must be at most 15 characters.";
inline constexpr const char* kDayTitleUnwritable
    = "Day Title holds a character that cannot be saved.";
inline constexpr const char* kMonthTitleWrongLength = "Month Title must be 3 characters.";
inline constexpr const char* kMonthTitleUnwritable
    = "Month Title holds a character that cannot be saved.";

using TitleBytes = std::optional<std::string>;

// False for a control character or one of the five bytes Windows-1252 leaves undefined: a
// title holding one could break the line structure of the file or show as garbage.
bool IsPrintableTitle(std::string_view bytes);

struct TitleCheck {
    std::array<bool, 7> day_marked {};
    std::array<bool, 12> month_marked {};
    std::vector<std::string> messages; // one per kind of fault found, in a fixed order

    bool accepted() const { return messages.empty(); }
};

// Day titles first: a fault among them refuses without the month titles being looked at.
// Day titles: not empty, at most 15 characters, printable. Month titles: exactly 3 characters,
// printable.
TitleCheck CheckTitles(
    const std::array<TitleBytes, 7>& day_titles, const std::array<TitleBytes, 12>& month_titles);

// OptionFlags as the dialog puts them in memory when it opens: line 1, with PreferencesSaved
// cleared when ClearSavedOnOpen is "1".
std::string OpenedOptionFlags(std::string_view line);

// What the dialog's check boxes and radio buttons select.
struct PrefChoices {
    bool underline = false;
    bool sunrise_sunset = false;
    bool military_time = false;
    bool moon = false;
    bool northern = false;
    bool bold = false;
    bool daylight_saving = false;
    char cell_color = 0; // '1' to '5'; 0 when no colour is selected

    friend bool operator==(const PrefChoices&, const PrefChoices&) = default;
};

// A position counts as chosen when it holds "1"; CellColor only for "1" to "5".
PrefChoices ChoicesFromFlags(std::string_view flags);

// The flags both save buttons write: CustomTitles "1" for the user's titles or "0" for the
// default ones, PreferencesSaved "1", ClearSavedOnOpen kept, the rest from the choices;
// CellColor stays as it was when no colour is selected.
std::string SavedOptionFlags(
    std::string_view current, const PrefChoices& choices, bool custom_titles);

// pref.ovd read into its lines.
Result<PrefLines> ReadPrefFile(const std::filesystem::path& path);
// The same from what a read of the file gave (ReadWholeFile).
Result<PrefLines> PrefLinesFromRead(const Result<std::string>& read);

// Replaces pref.ovd whole with the 25 values.
Status WritePrefFile(const std::filesystem::path& path, const PrefValues& values);

} // namespace orvane
