#include "tools/placement.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// A 1280x800 screen; a 320x400 window in its middle.
constexpr ScreenBox kScreen { 0, 0, 1280, 800 };

struct PlacementCase {
    const char* what;
    ScreenBox window;
    ScreenBox keep_clear;
    ScreenBox placed;
};

class PlaceClearOfTest : public ::testing::TestWithParam<PlacementCase> { };

TEST_P(PlaceClearOfTest, LeavesTheTargetUncoveredAndMovesLittle) {
    const PlacementCase& c = GetParam();
    const ScreenBox placed = PlaceClearOf(c.window, c.keep_clear, kScreen);
    // Every expected box has the window's own size: a placement never resizes it.
    EXPECT_EQ(placed, c.placed) << c.what << ": at " << placed.left << "," << placed.top << " "
                                << placed.width << "x" << placed.height;
}

INSTANTIATE_TEST_SUITE_P(Placement, PlaceClearOfTest,
    ::testing::Values(
        // A cell under the window's left edge: stepping right of it is the shortest way.
        PlacementCase { "right of a cell", { 480, 200, 320, 400 }, { 450, 300, 182, 140 },
            { 632, 200, 320, 400 } },
        // A cell in the last column: the window cannot go right of it.
        PlacementCase { "screen edge", { 1000, 100, 320, 400 }, { 1090, 200, 182, 140 },
            { 770, 100, 320, 400 } },
        // A wide target (a window opened at a result): beside it does not fit, below does.
        PlacementCase { "below a wide window", { 480, 100, 320, 400 }, { 40, 100, 1200, 300 },
            { 480, 400, 320, 400 } },
        // A target that leaves room nowhere: the place covering least, here at the left edge.
        PlacementCase { "covering least", { 480, 200, 320, 400 }, { 100, 50, 1100, 700 },
            { 0, 200, 320, 400 } }));

} // namespace
} // namespace orvane
