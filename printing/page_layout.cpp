#include "printing/page_layout.h"

#include <algorithm>
#include <charconv>

namespace orvane {

namespace {

PixelLine Vertical(int x, int from_y, int to_y) {
    return PixelLine { { x, from_y }, { x, to_y } };
}

int ColumnLeft(int column) {
    return kPageLeft + kColumnStep * column;
}

} // namespace

PageLayout LayOutPage(const std::array<int, kPageCells>& line_counts) {
    PageLayout page;
    for (int row = 0; row < kPageRows; ++row) {
        int lines = kMinRowLines;
        for (int column = 0; column < kPageColumns; ++column)
            lines = std::max(lines, line_counts[row * kPageColumns + column]);
        page.row_lines[row] = lines;
    }

    // A row is kept only while the rows up to it still end within the row limit; the first row
    // is always kept, however long, so the page is never empty.
    int lines_so_far = 0;
    for (int row = 0; row < kPageRows; ++row) {
        const int offset = kLineHeight * lines_so_far + kRowGap * row;
        lines_so_far += page.row_lines[row];
        if (row > 0 && kLineHeight * lines_so_far + kRowGap * row > kRowLimit)
            break;
        page.row_offsets[row] = offset;
        page.drawn_rows = row + 1;
    }
    for (int row = page.drawn_rows; row < kPageRows; ++row)
        page.row_lines[row] = 0;

    int drawn_lines = 0;
    for (int row = 0; row < page.drawn_rows; ++row) {
        const int offset = page.row_offsets[row];
        drawn_lines += page.row_lines[row];
        for (int column = 0; column < kPageColumns; ++column) {
            const int cell = row * kPageColumns + column + 1;
            const int left = ColumnLeft(column);
            page.headers.push_back(HeaderBox { cell,
                PixelRect { left, kHeaderTop + offset, kHeaderWidth, kHeaderHeight },
                PixelPoint { left + kTextInset, kHeaderTop + offset + kTextInset } });
            page.notes.push_back(
                NoteBlock { cell, PixelPoint { left + kTextInset, kNoteTop + offset } });
        }
        // The page's left edge above this row's headers; the page top itself (y = 0) stays white.
        page.row_edges.push_back(Vertical(kPageLeft, kHeaderTop + offset, 1));
    }

    page.bottom = kLineHeight * drawn_lines + kRowGap * page.drawn_rows + kHeaderTop;
    // Column lines and the right border stop one pixel above the bottom line, which runs from the
    // left edge to the right border inclusive.
    for (int column = 0; column < kPageColumns; ++column)
        page.grid_lines.push_back(Vertical(ColumnLeft(column), kNoteTop, page.bottom - 1));
    page.grid_lines.push_back(Vertical(kRightBorder, 3, page.bottom - 1));
    page.grid_lines.push_back(
        PixelLine { { kPageLeft, page.bottom }, { kRightBorder, page.bottom } });
    return page;
}

std::string WeeksLeftOffText(int weeks) {
    if (weeks <= 0)
        return {};
    return std::to_string(weeks) + (weeks == 1 ? " week" : " weeks")
        + " not printed: notes too long";
}

int ParsePrintSize(std::string_view stored, int fallback) {
    stored = stored.substr(0, stored.find('\0'));
    const auto first = stored.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return fallback;
    stored = stored.substr(first, stored.find_last_not_of(" \t") - first + 1);
    if (stored.front() < '0' || stored.front() > '9')
        return fallback; // no sign: the fields hold non-negative numbers only
    int value = 0;
    const auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), value);
    if (error != std::errc() || end != stored.data() + stored.size() || value > kMaxPrintSize)
        return fallback;
    return value;
}

} // namespace orvane
