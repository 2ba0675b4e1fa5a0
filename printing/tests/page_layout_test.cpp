#include "printing/page_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace orvane {
namespace {

using Counts = std::array<int, kPageCells>;

// Every cell of row r holds lines[r] lines.
Counts RowsOf(const std::array<int, kPageRows>& lines) {
    Counts counts {};
    for (int cell = 0; cell < kPageCells; ++cell)
        counts[cell] = lines[cell / kPageColumns];
    return counts;
}

TEST(PageLayout, RowHeightIsTheLongestNoteOfItsRowOnly) {
    Counts counts {};
    counts[3] = 8; // row 0 becomes 8 lines high
    counts[9] = 2; // below the minimum: row 1 stays at 5
    counts[14] = -3; // nonsense counts as empty
    const PageLayout page = LayOutPage(counts);
    EXPECT_EQ(page.row_lines, (std::array { 8, 5, 5, 5, 5, 0 })); // the sixth row is left off
    EXPECT_EQ(page.row_offsets[2] - page.row_offsets[1], 90); // 70 pixels of text, a 20 gap

    // Cell 12: row 1 (132 pixels down), column 4.
    EXPECT_EQ(page.headers[11].box, (PixelRect { 3 + 448, 17 + 132, 113, 18 }));
    EXPECT_EQ(page.headers[11].text_origin, (PixelPoint { 5 + 448, 19 + 132 }));
    EXPECT_EQ(page.notes[11].cell, 12);
    EXPECT_EQ(page.notes[11].origin, (PixelPoint { 5 + 448, 35 + 132 }));
    EXPECT_EQ(page.headers[34].box.right(), kRightBorder); // the last column meets the border
}

TEST(PageLayout, GridLinesBottomAndRowEdges) {
    const PageLayout page = LayOutPage(RowsOf({ 6, 5, 7, 5, 5, 5 }));
    ASSERT_EQ(page.drawn_rows, 5);
    const int bottom = 14 * 28 + 20 * 5 + 17;
    EXPECT_EQ(page.bottom, bottom);
    ASSERT_EQ(page.grid_lines.size(), 9u);
    const int xs[] = { 3, 115, 227, 339, 451, 563, 675 };
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(page.grid_lines[i], (PixelLine { { xs[i], 35 }, { xs[i], bottom - 1 } })) << i;
    EXPECT_EQ(page.grid_lines[7], (PixelLine { { 787, 3 }, { 787, bottom - 1 } }));
    EXPECT_EQ(page.grid_lines[8], (PixelLine { { 3, bottom }, { 787, bottom } }));
    ASSERT_EQ(page.row_edges.size(), 5u);
    EXPECT_EQ(page.row_edges[2], (PixelLine { { 3, 17 + page.row_offsets[2] }, { 3, 1 } }));
}

TEST(PageLayout, PageEndsWithTheLastRowThatFitsIn524Pixels) {
    const struct {
        std::array<int, kPageRows> lines;
        int drawn_rows;
        int bottom;
    } cases[] = {
        { { 0, 0, 0, 0, 0, 0 }, 6, 557 }, // short notes: six rows of 5 lines, ending at 520
        { { 5, 5, 5, 5, 5, 6 }, 5, 467 }, // a sixth row of 6 would end at 534
        { { 30, 6, 5, 5, 5, 5 }, 2, 561 }, // rows 0 and 1 end at exactly 524
        { { 30, 7, 5, 5, 5, 5 }, 1, 457 }, // one line more
        { { 45, 5, 5, 5, 5, 5 }, 1, 667 }, // the first row is always printed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bottom);
        const PageLayout page = LayOutPage(RowsOf(c.lines));
        EXPECT_EQ(page.drawn_rows, c.drawn_rows);
        EXPECT_EQ(page.WeeksLeftOff(), 6 - c.drawn_rows);
        EXPECT_EQ(page.bottom, c.bottom);
        EXPECT_EQ(page.notes.size(), std::size_t(7 * c.drawn_rows));
        for (int row = c.drawn_rows; row < kPageRows; ++row)
            EXPECT_EQ(page.row_lines[row], 0) << row;
    }
}

TEST(PageLayout, WeeksLeftOffTextCountsTheWeeks) {
    EXPECT_EQ(WeeksLeftOffText(0), "");
    EXPECT_EQ(WeeksLeftOffText(1), "1 week not printed: notes too long");
    EXPECT_EQ(WeeksLeftOffText(5), "5 weeks not printed: notes too long");
}

TEST(PrintSize, WholeNumbersUpToTheNulOtherwiseTheDefault) {
    using namespace std::string_literals;
    const std::pair<std::string, int> good[]
        = { { "12\0junk"s, 12 }, { "0", 0 }, { " 42 ", 42 }, { "99999", 99999 } };
    for (const auto& [stored, value] : good)
        EXPECT_EQ(ParsePrintSize(stored, 1), value) << stored;
    for (const std::string& bad :
        { ""s, "abc"s, "-5"s, "+5"s, "1 2"s, "100000"s, "99999999999999999999"s, "\0"s + "12" })
        EXPECT_EQ(ParsePrintSize(bad, 1), 1) << bad;
}

} // namespace
} // namespace orvane
