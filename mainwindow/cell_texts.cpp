#include "mainwindow/cell_texts.h"

#include "core/date_key.h"
#include "core/day_store.h"

#include <algorithm>

namespace orvane {

namespace {

// The month title a header shows: the custom title's first three characters while custom titles
// are in use, otherwise the key's English abbreviation.
std::string HeaderMonth(std::string_view abbreviation, const Preferences& prefs) {
    if (prefs.flag(Flag::CustomTitles) != '0') {
        const int month = MonthFromAbbreviation(abbreviation);
        if (month > 0) {
            const std::string& title = prefs.MonthTitles[static_cast<std::size_t>(month - 1)];
            if (!title.empty())
                return title.substr(0, 3);
        }
    }
    return std::string(abbreviation);
}

} // namespace

CellText CellTexts(
    std::string_view slot, bool first_cell, std::string_view today_key, const Preferences& prefs) {
    CellText cell;
    const DateKeyView key(slot);
    if (!key.complete()) {
        // Not a day string the program wrote; show what there is rather than guess.
        cell.header = std::string(key.key());
        return cell;
    }
    const std::string_view month = key.month();
    const std::string_view day_field = key.day_field();
    const std::string_view year = key.year();
    cell.header = std::string(day_field);
    cell.today = key.key() == today_key;
    if (key.first_of_month()) {
        cell.header = HeaderMonth(month, prefs) + " " + std::string(1, day_field[0]) + ", "
            + std::string(year);
        cell.first_of_month = true;
    } else if (first_cell) {
        std::string day(day_field);
        if (day.size() == 2 && day[1] == ' ')
            day.pop_back();
        cell.header = HeaderMonth(month, prefs) + " " + day + ", " + std::string(year);
    }
    const std::string_view text = EntryText(slot);
    if (text.find(kEntrySeparator) == std::string_view::npos) {
        // A hand-edited day without any separator: show its text whole.
        if (!text.empty())
            cell.note_lines.emplace_back(text);
        return cell;
    }
    cell.note_lines = Entries(slot);
    return cell;
}

std::string NoteText(const CellText& cell) {
    std::string text;
    for (std::size_t i = 0; i < cell.note_lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += cell.note_lines[i];
    }
    return text;
}

std::string StoredNote(std::string_view slot, const std::vector<std::string>& lines) {
    std::string day(slot.substr(0, std::min(slot.size(), kDateKeyLength)));
    const std::size_t count = std::min<std::size_t>(lines.size(), kMaxEntries);
    for (std::size_t i = 0; i < count; ++i) {
        day += lines[i];
        day += kEntrySeparator;
    }
    return day;
}

} // namespace orvane
