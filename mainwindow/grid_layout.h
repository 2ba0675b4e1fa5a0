// What the grid shows for each of its 42 cells (five visible weeks and the hidden sixth row that
// printing reads): which day, its header and note texts, whether it is today or the first of a
// month, and the colours of its header, note and date. A pure function of the document, so the
// grid paints it and a test can read it without a window.
//
//   GridLayout grid = LayOutGrid(store, top_slot, today_key, prefs);
//   grid.cells[4].today, grid.cells[4].header_background
#pragma once

#include "core/day_store.h"
#include "core/preferences.h"
#include "mainwindow/cell_texts.h"

#include <array>
#include <string>
#include <string_view>

namespace orvane {

inline constexpr int kGridCells = 42; // cells 1-42, row by row, Sunday first
inline constexpr int kVisibleCells = 35; // the sixth row is never shown on screen

inline constexpr Rgb kTodayYellow { 255, 255, 0 };
inline constexpr Rgb kDateBlue { 0, 0, 255 };
inline constexpr Rgb kTodayRed { 255, 0, 0 };

struct CellLayout {
    int slot = 0; // TopSlot + cell - 1
    CellText text; // header, note lines, today, first of month
    Rgb header_background; // header, plain corner and overflow marker
    Rgb note_background;
    Rgb date_colour; // the header's text
};

struct GridLayout {
    std::array<CellLayout, kGridCells + 1> cells {}; // index 1-42

    const CellLayout& cell(int c) const { return cells[static_cast<std::size_t>(c)]; }
};

// The cell colour is the preferences' CellColor; a first of the month has a yellow header; today
// is yellow throughout with a red date. `top_slot` is brought to a valid TopSlot first.
GridLayout LayOutGrid(
    const DayStore& store, int top_slot, std::string_view today_key, const Preferences& prefs);

// What a screen reader says a cell is besides its date: "today", "first of month", both, or
// nothing.
std::string CellDescription(const CellLayout& cell);

} // namespace orvane
