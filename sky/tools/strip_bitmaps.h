// Drawing of the toolbar strip's pictures: the 28 moon pictures (drawn with TMoon) and the
// sunrise and sunset icons. A development tool, not part of the program: the generator beside it
// draws the pictures the program keeps in its resources, and tests compare the two.
#pragma once

#include "sky/ui/moon.h"

#include <QColor>
#include <QImage>

namespace orvane::sky {

inline constexpr int kStripBitmapSize = 16;

// Moon picture `id` (1 to 28): 16 x 16, 24-bit colour, silver around the disc. 1 to 13 wax,
// 14 is full, 15 to 27 wane and 28 is the new moon.
QImage RenderMoonBitmap(int id);

// The sunrise (`rise` true) or sunset icon, 16 x 16 on silver.
QImage RenderSunBitmap(bool rise);

} // namespace orvane::sky
