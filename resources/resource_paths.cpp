#include "resources/resource_paths.h"

namespace orvane {

QString MoonBitmapPath(int id) {
    return QStringLiteral(":/moon/moon%1.bmp").arg(id, 2, 10, QLatin1Char('0'));
}

} // namespace orvane
