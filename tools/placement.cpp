#include "tools/placement.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace orvane {

namespace {

// `start` moved into [low, high - size] as far as it goes; a box larger than the range keeps
// its start at the range's start.
int Within(int start, int size, int low, int high) {
    return std::max(low, std::min(start, high - size));
}

} // namespace

long long OverlapArea(const ScreenBox& a, const ScreenBox& b) {
    const long long width = std::min(a.right(), b.right()) - std::max(a.left, b.left);
    const long long height = std::min(a.bottom(), b.bottom()) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

ScreenBox PlaceClearOf(
    const ScreenBox& window, const ScreenBox& keep_clear, const ScreenBox& screen) {
    if (keep_clear.empty() || OverlapArea(window, keep_clear) == 0)
        return window;
    const int w = window.width;
    const int h = window.height;
    // Beside the target on each side, as near the window's place as the screen allows.
    const int across_left = Within(window.left, w, screen.left, screen.right());
    const int across_top = Within(window.top, h, screen.top, screen.bottom());
    const std::array<ScreenBox, 4> beside = { {
        { Within(keep_clear.right(), w, screen.left, screen.right()), across_top, w, h },
        { Within(keep_clear.left - w, w, screen.left, screen.right()), across_top, w, h },
        { across_left, Within(keep_clear.bottom(), h, screen.top, screen.bottom()), w, h },
        { across_left, Within(keep_clear.top - h, h, screen.top, screen.bottom()), w, h },
    } };
    const auto distance = [&window](const ScreenBox& place) {
        return std::abs(place.left - window.left) + std::abs(place.top - window.top);
    };
    const ScreenBox* best = &beside.front();
    for (const ScreenBox& place : beside) {
        const long long covered = OverlapArea(place, keep_clear);
        const long long best_covered = OverlapArea(*best, keep_clear);
        if (covered < best_covered
            || (covered == best_covered && distance(place) < distance(*best)))
            best = &place;
    }
    return *best;
}

} // namespace orvane
