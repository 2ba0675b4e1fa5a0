// The user's settings as held in memory for the whole run. The flags line always has 11
// positions; every reader tests a position by its name.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

// Positions in OptionFlags, counted from 1 as the preferences file documents them.
enum class Flag : int {
    CustomTitles = 1,
    UnderlineDayTitles = 2,
    PreferencesSaved = 3,
    ClearSavedOnOpen = 4,
    DisplaySunriseSunset = 5,
    DisplayMilitaryTime = 6,
    DisplayMoon = 7,
    NorthernHemisphere = 8,
    DataBoldFont = 9,
    CellColor = 10,
    DaylightSaving = 11,
};

inline constexpr std::size_t kOptionFlagCount = 11;

struct Rgb {
    std::uint8_t red = 255;
    std::uint8_t green = 255;
    std::uint8_t blue = 255;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr std::array<std::string_view, 7> kDefaultDayTitles
    = { "SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT" };

struct Preferences {
    std::string OptionFlags = std::string(kOptionFlagCount, '0');
    std::array<std::string, 7> DayTitles {}; // Sunday first
    std::array<std::string, 12> MonthTitles {}; // empty until custom titles are in use
    std::string DataFilesPath;
    std::string CalendarFont;

    char flag(Flag position) const { return OptionFlags[static_cast<std::size_t>(position) - 1]; }
    bool on(Flag position) const { return flag(position) == '1'; }
    void set_flag(Flag position, char value) {
        OptionFlags[static_cast<std::size_t>(position) - 1] = value;
    }

    friend bool operator==(const Preferences&, const Preferences&) = default;
};

// The cell colour that a CellColor digit selects; any other character keeps white.
inline Rgb CellColorFor(char digit) {
    switch (digit) {
    case '2':
        return { 255, 251, 240 };
    case '3':
        return { 255, 255, 204 };
    case '4':
        return { 245, 223, 165 };
    case '5':
        return { 255, 153, 0 };
    default:
        return { 255, 255, 255 };
    }
}

} // namespace orvane
