// Draws the printed page, black on white, from the grid's cells: on the print window and, scaled,
// on the printer. Both go through PaintPage so the printout is exactly the page the user checked.
#pragma once

#include "core/ui/calendar_host.h"
#include "printing/page_layout.h"

#include <QFont>
#include <QStringList>
#include <array>

class QPainter;

namespace orvane {

using PageCells = std::array<GridCellView, kPageCells>; // cell 1 at index 0

// The grid's 42 cells as the main window shows them now.
PageCells ReadPageCells(const CalendarHost& host);

// The page's layout for these cells' note line counts.
PageLayout LayOutCells(const PageCells& cells);

// The page's own font (headers bold, notes regular), whatever font the grid's notes use.
QFont PageFont(bool bold);

// Draws the page in window coordinates. With `titles` (Sunday first) the week-day titles are
// drawn too; without them the window's own labels show them.
void PaintPage(QPainter& painter, const PageLayout& layout, const PageCells& cells,
    const QStringList& titles = {});

// Draws the printed area of the page (786 x 555 from (3, 4)) stretched to fill (0, 0) to
// (width, height) of the painter's device, the two directions scaled independently. A width or
// height of 0 draws nothing.
void PaintPrintedPage(QPainter& painter, const PageLayout& layout, const PageCells& cells,
    const QStringList& titles, int width, int height);

} // namespace orvane
