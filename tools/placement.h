// Where a window that stays on top goes so that it does not hide what the user was sent to look
// at: the day a search found, or a window opened at a result. Plain rectangles in screen pixels.
//
//   const ScreenBox frame = PlaceClearOf(window_frame, found_cell, available_screen);
//   window->move(frame.left, frame.top);
#pragma once

namespace orvane {

struct ScreenBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; } // one past the last column
    int bottom() const { return top + height; } // one past the last row
    bool empty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const ScreenBox&, const ScreenBox&) = default;
};

// The area `a` and `b` share, in square pixels.
long long OverlapArea(const ScreenBox& a, const ScreenBox& b);

// `window` moved (never resized) so that it leaves `keep_clear` uncovered: unchanged when it does
// not cover it already; otherwise the nearest place beside it (to its right, left, below or
// above) that lies on `screen`; when none of those fits, the one that covers least of it.
ScreenBox PlaceClearOf(
    const ScreenBox& window, const ScreenBox& keep_clear, const ScreenBox& screen);

} // namespace orvane
