// The printed page: where the grid's six weeks land on the print window's 792 x 582 client area,
// worked out from nothing but the number of display lines in each of the 42 cells' notes. The
// print window and the printer both draw exactly what this layout lists, so the page's geometry
// is tested here without any window.
//
//   std::array<int, kPageCells> counts{};  // all notes short
//   PageLayout page = LayOutPage(counts);  // six rows of 5 lines, bottom line at y = 557
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

inline constexpr int kPageCells = 42; // cells 1-42, row by row, Sunday first
inline constexpr int kPageRows = 6;
inline constexpr int kPageColumns = 7;

inline constexpr int kPageLeft = 3; // x of the first column's left side
inline constexpr int kColumnStep = 112;
inline constexpr int kHeaderWidth = 113;
inline constexpr int kHeaderHeight = 18;
inline constexpr int kHeaderTop = 17; // plus the row offset
inline constexpr int kNoteTop = 35; // plus the row offset
inline constexpr int kTextInset = 2; // text starts 2 pixels right of the column's left side
inline constexpr int kLineHeight = 14;
inline constexpr int kRowGap = 20;
inline constexpr int kMinRowLines = 5;
inline constexpr int kRowLimit = 524; // no row may end below this
inline constexpr int kRightBorder = 787;

// The part of the window that is printed: 786 x 555 pixels from (3, 4).
inline constexpr int kPrintAreaLeft = 3;
inline constexpr int kPrintAreaTop = 4;
inline constexpr int kPrintAreaWidth = 786;
inline constexpr int kPrintAreaHeight = 555;

// The week-day titles above the columns: tops at 2, 13 high.
inline constexpr std::array<int, kPageColumns> kTitleLefts { 4, 116, 229, 342, 455, 568, 679 };
inline constexpr std::array<int, kPageColumns> kTitleWidths { 109, 109, 109, 109, 109, 109, 108 };
inline constexpr int kTitleTop = 2;
inline constexpr int kTitleHeight = 13;

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width - 1; } // last pixel column inside
    int bottom() const { return top + height - 1; } // last pixel row inside
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A black line one pixel thick, horizontal or vertical, covering every pixel from `from` to `to`
// with both ends included.
struct PixelLine {
    PixelPoint from;
    PixelPoint to;
    friend bool operator==(const PixelLine&, const PixelLine&) = default;
};

// A cell's date heading: a white box framed in black, the heading clipped to it.
struct HeaderBox {
    int cell = 0; // in [1, 42]
    PixelRect box;
    PixelPoint text_origin; // top-left of the heading text
};

// Where a cell's note lines go: line i (from 0) has its top-left at origin + (0, 14 i). Lines are
// not clipped, so a long one runs on into the next column.
struct NoteBlock {
    int cell = 0; // in [1, 42]
    PixelPoint origin;
};

struct PageLayout {
    std::array<int, kPageRows> row_lines {}; // drawn rows: height in lines, at least 5; others 0
    std::array<int, kPageRows> row_offsets {}; // y offset of each drawn row, 0 for the first
    int drawn_rows = 0; // in [1, 6]: rows below these did not fit on the page
    // In drawing order, drawn rows only: a row's seven headers, then its seven note blocks.
    std::vector<HeaderBox> headers;
    std::vector<NoteBlock> notes;
    // Drawn with each row: the left edge from the row's header top up to the page top.
    std::vector<PixelLine> row_edges;
    // Drawn last: the column lines, the right border and the bottom line.
    std::vector<PixelLine> grid_lines;
    int bottom = 0; // y of the bottom line

    int WeeksLeftOff() const { return kPageRows - drawn_rows; }
};

// The page for the given note line counts (cell 1 first). Negative counts count as 0.
PageLayout LayOutPage(const std::array<int, kPageCells>& line_counts);

// What the command strip says when weeks did not fit ("2 weeks not printed: notes too long");
// empty when every week fits.
std::string WeeksLeftOffText(int weeks);

// The stored print width and height.
inline constexpr int kDefaultPrintWidth = 3735;
inline constexpr int kDefaultPrintHeight = 2810;
inline constexpr int kMaxPrintSize = 99999; // five digits, what the number fields hold

// A stored print size: the text up to the first NUL, when it is a whole number from 0 to
// kMaxPrintSize (surrounding blanks allowed); anything else gives `fallback`, so a damaged value
// never stops the program.
int ParsePrintSize(std::string_view stored, int fallback);

} // namespace orvane
