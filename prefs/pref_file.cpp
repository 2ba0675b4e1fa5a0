#include "prefs/pref_file.h"

#include "core/text_file.h"

#include <algorithm>

namespace orvane {

std::optional<std::string> PrefLine(const PrefLines& lines, int number) {
    if (number < 1 || static_cast<std::size_t>(number) > lines.size())
        return std::nullopt;
    return lines[static_cast<std::size_t>(number) - 1];
}

std::string NormalizeOptionFlags(std::string_view line) {
    std::string flags(line.substr(0, std::min(line.size(), kOptionFlagCount)));
    flags.resize(kOptionFlagCount, '0');
    return flags;
}

std::optional<DecimalNumber> PrefNumber(const PrefLines& lines, int number) {
    const auto line = PrefLine(lines, number);
    if (!line)
        return std::nullopt;
    return DecimalNumber::Parse(*line);
}

std::optional<Place> PrefPlace(const PrefLines& lines) {
    const auto longitude = PrefNumber(lines, kLongitudeLine);
    const auto latitude = PrefNumber(lines, kLatitudeLine);
    const auto offset = PrefNumber(lines, kGmtOffsetLine);
    if (!longitude || !latitude || !offset)
        return std::nullopt;
    return Place { *longitude, *latitude, *offset };
}

void ApplyStartupLines(const PrefLines& lines, Preferences& prefs) {
    prefs.OptionFlags = NormalizeOptionFlags(PrefLine(lines, 1).value_or(""));
    if (prefs.on(Flag::CustomTitles)) {
        for (int i = 0; i < 7; ++i) {
            if (auto title = PrefLine(lines, 2 + i))
                prefs.DayTitles[static_cast<std::size_t>(i)] = *title;
        }
        for (int i = 0; i < 12; ++i) {
            if (auto title = PrefLine(lines, 9 + i))
                prefs.MonthTitles[static_cast<std::size_t>(i)] = *title;
        }
    }
    prefs.DataFilesPath = PrefLine(lines, kDataFilesPathLine).value_or("");
    prefs.CalendarFont = PrefLine(lines, kCalendarFontLine).value_or("");
}

std::string FormatPrefFile(const PrefValues& values) {
    std::string bytes;
    auto line = [&bytes](std::string_view text) {
        bytes += text;
        bytes += "\r\n";
    };
    line(values.OptionFlags);
    for (const auto& title : values.DayTitles)
        line(title);
    for (const auto& title : values.MonthTitles)
        line(title);
    line(values.DataFilesPath);
    line(values.Longitude.FormatFixed2());
    line(values.Latitude.FormatFixed2());
    line(values.GmtOffset.FormatWhole());
    line(values.CalendarFont);
    return bytes;
}

PrefValues PrefValuesFromLines(const PrefLines& lines) {
    PrefValues values;
    values.OptionFlags = NormalizeOptionFlags(PrefLine(lines, 1).value_or(""));
    for (int i = 0; i < 7; ++i)
        values.DayTitles[static_cast<std::size_t>(i)] = PrefLine(lines, 2 + i).value_or("");
    for (int i = 0; i < 12; ++i)
        values.MonthTitles[static_cast<std::size_t>(i)] = PrefLine(lines, 9 + i).value_or("");
    values.DataFilesPath = PrefLine(lines, kDataFilesPathLine).value_or("");
    if (const auto place = PrefPlace(lines)) {
        values.Longitude = place->longitude;
        values.Latitude = place->latitude;
        values.GmtOffset = place->gmt_offset;
    }
    values.CalendarFont = PrefLine(lines, kCalendarFontLine).value_or("");
    return values;
}

bool IsPrintableTitle(std::string_view bytes) {
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            return false;
    }
    return true;
}

TitleCheck CheckTitles(
    const std::array<TitleBytes, 7>& day_titles, const std::array<TitleBytes, 12>& month_titles) {
    TitleCheck check;
    bool empty = false;
    bool too_long = false;
    bool unwritable = false;
    for (std::size_t i = 0; i < day_titles.size(); ++i) {
        const TitleBytes& title = day_titles[i];
        const bool bad_bytes = !title || !IsPrintableTitle(*title);
        const bool is_empty = title && title->empty();
        const bool is_long = title && title->size() > kDayTitleMaxLength;
        check.day_marked[i] = bad_bytes || is_empty || is_long;
        empty = empty || is_empty;
        too_long = too_long || is_long;
        unwritable = unwritable || bad_bytes;
    }
    if (empty)
        check.messages.emplace_back(kDayTitleMissing);
    if (too_long)
        check.messages.emplace_back(kDayTitleTooLong);
    if (unwritable)
        check.messages.emplace_back(kDayTitleUnwritable);
    if (!check.messages.empty())
        return check;

    bool wrong_length = false;
    for (std::size_t i = 0; i < month_titles.size(); ++i) {
        const TitleBytes& title = month_titles[i];
        const bool bad_bytes = !title || !IsPrintableTitle(*title);
        const bool bad_length = title && title->size() != kMonthTitleLength;
        check.month_marked[i] = bad_bytes || bad_length;
        wrong_length = wrong_length || bad_length;
        unwritable = unwritable || bad_bytes;
    }
    if (wrong_length)
        check.messages.emplace_back(kMonthTitleWrongLength);
    if (unwritable)
        check.messages.emplace_back(kMonthTitleUnwritable);
    return check;
}

std::string OpenedOptionFlags(std::string_view line) {
    Preferences prefs;
    prefs.OptionFlags = NormalizeOptionFlags(line);
    if (prefs.on(Flag::ClearSavedOnOpen))
        prefs.set_flag(Flag::PreferencesSaved, '0');
    return prefs.OptionFlags;
}

PrefChoices ChoicesFromFlags(std::string_view flags) {
    Preferences prefs;
    prefs.OptionFlags = NormalizeOptionFlags(flags);
    PrefChoices choices;
    choices.underline = prefs.on(Flag::UnderlineDayTitles);
    choices.sunrise_sunset = prefs.on(Flag::DisplaySunriseSunset);
    choices.military_time = prefs.on(Flag::DisplayMilitaryTime);
    choices.moon = prefs.on(Flag::DisplayMoon);
    choices.northern = prefs.on(Flag::NorthernHemisphere);
    choices.bold = prefs.on(Flag::DataBoldFont);
    choices.daylight_saving = prefs.on(Flag::DaylightSaving);
    const char color = prefs.flag(Flag::CellColor);
    choices.cell_color = (color >= '1' && color <= '5') ? color : '\0';
    return choices;
}

std::string SavedOptionFlags(
    std::string_view current, const PrefChoices& choices, bool custom_titles) {
    Preferences prefs;
    prefs.OptionFlags = NormalizeOptionFlags(current);
    auto digit = [](bool on) { return on ? '1' : '0'; };
    prefs.set_flag(Flag::CustomTitles, digit(custom_titles));
    prefs.set_flag(Flag::UnderlineDayTitles, digit(choices.underline));
    prefs.set_flag(Flag::PreferencesSaved, '1');
    prefs.set_flag(Flag::DisplaySunriseSunset, digit(choices.sunrise_sunset));
    prefs.set_flag(Flag::DisplayMilitaryTime, digit(choices.military_time));
    prefs.set_flag(Flag::DisplayMoon, digit(choices.moon));
    prefs.set_flag(Flag::NorthernHemisphere, digit(choices.northern));
    prefs.set_flag(Flag::DataBoldFont, digit(choices.bold));
    if (choices.cell_color >= '1' && choices.cell_color <= '5')
        prefs.set_flag(Flag::CellColor, choices.cell_color);
    prefs.set_flag(Flag::DaylightSaving, digit(choices.daylight_saving));
    return prefs.OptionFlags;
}

Result<PrefLines> ReadPrefFile(const std::filesystem::path& path) {
    return PrefLinesFromRead(ReadWholeFile(path));
}

Result<PrefLines> PrefLinesFromRead(const Result<std::string>& read) {
    if (!read)
        return read.error();
    return SplitLines(*read);
}

Status WritePrefFile(const std::filesystem::path& path, const PrefValues& values) {
    return WriteFileAtomic(path, FormatPrefFile(values));
}

} // namespace orvane
