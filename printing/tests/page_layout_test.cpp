#include "printing/page_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

using Counts = std::array<int, kPageCells>;

// Line counts where each row's cells all hold `lines[row]` lines.
Counts RowsOf(const std::array<int, kPageRows>& lines) {
    Counts counts {};
    for (int cell = 0; cell < kPageCells; ++cell)
        counts[cell] = lines[cell / kPageColumns];
    return counts;
}

TEST(PageLayout, ShortNotesGiveSixRowsOfFiveLines) {
    const PageLayout page = LayOutPage(Counts {});
    EXPECT_EQ(page.drawn_rows, 6);
    EXPECT_EQ(page.WeeksLeftOff(), 0);
    for (int row = 0; row < kPageRows; ++row) {
        EXPECT_EQ(page.row_lines[row], 5) << row;
        // 70 pixels of text and a 20-pixel gap per row.
        EXPECT_EQ(page.row_offsets[row], 90 * row) << row;
    }
    EXPECT_EQ(page.bottom, 14 * 30 + 20 * 6 + 17);
    EXPECT_EQ(page.headers.size(), 42u);
    EXPECT_EQ(page.notes.size(), 42u);
}

TEST(PageLayout, HeaderBoxesAndOriginsFollowColumnsAndRowOffsets) {
    Counts counts {};
    counts[3] = 8; // row 0 becomes 8 lines high
    counts[9] = 2; // below the minimum: row 1 stays at 5
    const PageLayout page = LayOutPage(counts);
    ASSERT_EQ(page.drawn_rows, 5); // three extra lines push the sixth week off
    EXPECT_EQ(page.row_lines[0], 8);
    EXPECT_EQ(page.row_lines[1], 5);
    EXPECT_EQ(page.row_offsets[1], 14 * 8 + 20);
    EXPECT_EQ(page.row_offsets[2], 14 * 13 + 40);

    const HeaderBox& first = page.headers[0];
    EXPECT_EQ(first.cell, 1);
    EXPECT_EQ(first.box, (PixelRect { 3, 17, 113, 18 }));
    EXPECT_EQ(first.box.right(), 115);
    EXPECT_EQ(first.box.bottom(), 34);
    EXPECT_EQ(first.text_origin, (PixelPoint { 5, 19 }));

    // Cell 12: row 1, column 4.
    const HeaderBox& twelfth = page.headers[11];
    EXPECT_EQ(twelfth.cell, 12);
    EXPECT_EQ(twelfth.box, (PixelRect { 3 + 448, 17 + 132, 113, 18 }));
    EXPECT_EQ(twelfth.text_origin, (PixelPoint { 5 + 448, 19 + 132 }));
    EXPECT_EQ(page.notes[11].cell, 12);
    EXPECT_EQ(page.notes[11].origin, (PixelPoint { 5 + 448, 35 + 132 }));

    // The last column's box ends on the right border.
    EXPECT_EQ(page.headers[34].cell, 35);
    EXPECT_EQ(page.headers[34].box.right(), kRightBorder);

    // Each row's header starts 2 pixels below the last line slot of the row above.
    for (int row = 1; row < page.drawn_rows; ++row) {
        const int above_end = 35 + page.row_offsets[row - 1] + 14 * page.row_lines[row - 1];
        EXPECT_EQ(page.headers[row * 7].box.top, above_end + 2) << row;
    }
}

TEST(PageLayout, GridLinesBottomAndRowEdges) {
    const PageLayout page = LayOutPage(RowsOf({ 6, 5, 7, 5, 5, 5 }));
    ASSERT_EQ(page.drawn_rows, 5);
    const int bottom = 14 * 28 + 20 * 5 + 17;
    EXPECT_EQ(page.bottom, bottom);
    // The bottom line lies 2 pixels below the last drawn line slot.
    EXPECT_EQ(page.bottom, 35 + page.row_offsets[4] + 14 * 5 + 2);

    ASSERT_EQ(page.grid_lines.size(), 9u);
    const int xs[] = { 3, 115, 227, 339, 451, 563, 675 };
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(page.grid_lines[i], (PixelLine { { xs[i], 35 }, { xs[i], bottom - 1 } })) << i;
    EXPECT_EQ(page.grid_lines[7], (PixelLine { { 787, 3 }, { 787, bottom - 1 } }));
    EXPECT_EQ(page.grid_lines[8], (PixelLine { { 3, bottom }, { 787, bottom } }));

    ASSERT_EQ(page.row_edges.size(), 5u);
    EXPECT_EQ(page.row_edges[0], (PixelLine { { 3, 17 }, { 3, 1 } }));
    EXPECT_EQ(page.row_edges[2], (PixelLine { { 3, 17 + page.row_offsets[2] }, { 3, 1 } }));
}

struct LimitCase {
    std::array<int, kPageRows> lines;
    int drawn_rows;
};

class PageRowLimit : public testing::TestWithParam<LimitCase> { };

TEST_P(PageRowLimit, PageEndsWithTheLastRowThatFits) {
    const LimitCase& c = GetParam();
    const PageLayout page = LayOutPage(RowsOf(c.lines));
    EXPECT_EQ(page.drawn_rows, c.drawn_rows);
    EXPECT_EQ(page.WeeksLeftOff(), 6 - c.drawn_rows);
    EXPECT_EQ(page.headers.size(), std::size_t(7 * c.drawn_rows));
    EXPECT_EQ(page.notes.size(), std::size_t(7 * c.drawn_rows));
    EXPECT_EQ(page.row_edges.size(), std::size_t(c.drawn_rows));
    int drawn_lines = 0;
    for (int row = 0; row < kPageRows; ++row) {
        if (row < c.drawn_rows) {
            drawn_lines += c.lines[row] < 5 ? 5 : c.lines[row];
            if (row > 0) {
                EXPECT_LE(14 * drawn_lines + 20 * row, 524) << row;
            }
        } else {
            EXPECT_EQ(page.row_lines[row], 0) << row; // left-off rows count as no height
        }
    }
    EXPECT_EQ(page.bottom, 14 * drawn_lines + 20 * c.drawn_rows + 17);
}

INSTANTIATE_TEST_SUITE_P(Tables, PageRowLimit,
    testing::Values(
        // Five rows of 5 and a sixth of 5 end at 520: everything fits.
        LimitCase { { 5, 5, 5, 5, 5, 5 }, 6 },
        // A sixth row of 6 would end at 534.
        LimitCase { { 5, 5, 5, 5, 5, 6 }, 5 },
        // Rows 0 and 1 end at exactly 524 and are kept; row 2 is not.
        LimitCase { { 30, 6, 5, 5, 5, 5 }, 2 },
        // One line more and row 1 is left off, with all rows after it.
        LimitCase { { 30, 7, 5, 5, 5, 5 }, 1 },
        // The first row is always printed, however long.
        LimitCase { { 45, 5, 5, 5, 5, 5 }, 1 },
        // Three rows of 9 end at 418; a fourth would end at 564.
        LimitCase { { 9, 9, 9, 9, 1, 1 }, 3 }));

TEST(PageLayout, RowHeightIsTheLongestNoteOfTheRowOnly) {
    Counts counts {};
    counts[7 + 6] = 9; // Saturday of row 1
    counts[14] = -3; // a nonsense count is treated as empty
    const PageLayout page = LayOutPage(counts);
    EXPECT_EQ(page.row_lines[0], 5);
    EXPECT_EQ(page.row_lines[1], 9);
    EXPECT_EQ(page.row_lines[2], 5);
}

TEST(PageLayout, WeeksLeftOffTextCountsTheWeeks) {
    EXPECT_EQ(WeeksLeftOffText(0), "");
    EXPECT_EQ(WeeksLeftOffText(1), "1 week not printed: notes too long");
    EXPECT_EQ(WeeksLeftOffText(5), "5 weeks not printed: notes too long");
}

TEST(PrintSize, StoredWholeNumbersAreReadUpToTheNul) {
    EXPECT_EQ(ParsePrintSize(std::string("3735\0", 5), 1), 3735);
    EXPECT_EQ(ParsePrintSize(std::string("12\0junk", 7), 1), 12);
    EXPECT_EQ(ParsePrintSize("0", 1), 0);
    EXPECT_EQ(ParsePrintSize(" 42 ", 1), 42);
    EXPECT_EQ(ParsePrintSize("99999", 1), 99999);
}

TEST(PrintSize, AnythingElseFallsBackToTheDefault) {
    for (const std::string& bad : { std::string(), std::string("   "), std::string("abc"),
             std::string("-5"), std::string("+5"), std::string("12a"), std::string("1 2"),
             std::string("3.5"), std::string("100000"), std::string("99999999999999999999"),
             std::string("\0"
                         "12",
                 3) })
        EXPECT_EQ(ParsePrintSize(bad, kDefaultPrintWidth), kDefaultPrintWidth) << bad;
}

} // namespace
} // namespace orvane
