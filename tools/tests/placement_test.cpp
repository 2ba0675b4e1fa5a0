#include "tools/placement.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// On a 1280x800 screen, the window moves the least that leaves the target uncovered, and keeps
// its size.
TEST(PlaceClearOf, LeavesTheTargetUncoveredAndMovesLittle) {
    constexpr ScreenBox kScreen { 0, 0, 1280, 800 };
    const struct {
        ScreenBox window;
        ScreenBox keep_clear;
        ScreenBox placed;
    } cases[] = {
        // A cell under the window's left edge: stepping right of it is the shortest way.
        { { 480, 200, 320, 400 }, { 450, 300, 182, 140 }, { 632, 200, 320, 400 } },
        // A cell in the last column: the window cannot go right of it.
        { { 1000, 100, 320, 400 }, { 1090, 200, 182, 140 }, { 770, 100, 320, 400 } },
        // A wide target (a window opened at a result): beside it does not fit, below does.
        { { 480, 100, 320, 400 }, { 40, 100, 1200, 300 }, { 480, 400, 320, 400 } },
        // A target that leaves room nowhere: the place covering least, here at the left edge.
        { { 480, 200, 320, 400 }, { 100, 50, 1100, 700 }, { 0, 200, 320, 400 } },
    };
    for (const auto& c : cases) {
        const ScreenBox placed = PlaceClearOf(c.window, c.keep_clear, kScreen);
        EXPECT_EQ(placed, c.placed) << "at " << placed.left << "," << placed.top;
    }
}

} // namespace
} // namespace orvane
