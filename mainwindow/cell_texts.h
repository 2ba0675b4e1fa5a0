// How one day slot becomes the texts of a grid cell: its date header, its note lines and the
// today and first-of-month marks.
//
//   CellText cell = CellTexts(store[slot], /*first_cell=*/true, state.TodayKey, state.prefs);
//   cell.header == "Mar 5, 2024"
#pragma once

#include "core/preferences.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct CellText {
    std::string header;
    std::vector<std::string> note_lines; // the entries, one per line
    bool today = false;
    bool first_of_month = false;
};

// `first_cell` is on for the first cell of a fill, which always names the month and year.
CellText CellTexts(
    std::string_view slot, bool first_cell, std::string_view today_key, const Preferences& prefs);

// The note as an editor shows it: the entries joined by line breaks ("\n").
std::string NoteText(const CellText& cell);

// The day string an edited note is stored as: the date key, then each of the first 20 lines
// followed by the entry separator. An empty note leaves only the date key.
std::string StoredNote(std::string_view slot, const std::vector<std::string>& lines);

} // namespace orvane
