// Where the program's pictures live among its compiled-in resources.
#pragma once

#include <QString>

namespace orvane {

// Moon picture `id` (1 to 28): ":/moon/moon01.bmp" ... ":/moon/moon28.bmp".
QString MoonBitmapPath(int id);

inline const QString kSunriseBitmapPath = QStringLiteral(":/sun/sunrise.bmp");
inline const QString kSunsetBitmapPath = QStringLiteral(":/sun/sunset.bmp");

} // namespace orvane
