#include "mainwindow/grid_layout.h"

namespace orvane {

GridLayout LayOutGrid(
    const DayStore& store, int top_slot, std::string_view today_key, const Preferences& prefs) {
    GridLayout grid;
    const int top = ClampTopSlot(top_slot);
    const Rgb cell_colour = CellColorFor(prefs.flag(Flag::CellColor));
    for (int c = 1; c <= kGridCells; ++c) {
        CellLayout& cell = grid.cells[static_cast<std::size_t>(c)];
        cell.slot = top + c - 1;
        cell.text = CellTexts(store[cell.slot], c == 1, today_key, prefs);
        const bool marked = cell.text.today || cell.text.first_of_month;
        cell.header_background = marked ? kTodayYellow : cell_colour;
        cell.note_background = cell.text.today ? kTodayYellow : cell_colour;
        cell.date_colour = cell.text.today ? kTodayRed : kDateBlue;
    }
    return grid;
}

std::string CellDescription(const CellLayout& cell) {
    if (cell.text.today && cell.text.first_of_month)
        return "today, first of month";
    if (cell.text.today)
        return "today";
    if (cell.text.first_of_month)
        return "first of month";
    return {};
}

} // namespace orvane
