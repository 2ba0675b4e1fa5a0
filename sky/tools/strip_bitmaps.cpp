#include "sky/tools/strip_bitmaps.h"

#include "core/clock.h"
#include "sky/moon_phase.h"
#include "sky/ui/moon.h"

#include <QPainter>
#include <QPolygon>

namespace orvane::sky {
namespace {

const QColor kDarkMoon(56, 56, 72);
const QColor kLitMoon(255, 255, 232);
constexpr int kOversampling = 4;

QImage SilverImage() {
    QImage image(kStripBitmapSize, kStripBitmapSize, QImage::Format_RGB888);
    image.fill(kStripSilver);
    return image;
}

} // namespace

QImage RenderMoonBitmap(int id) {
    // The drawing does not depend on the clock: the phase is set directly.
    const FixedClock clock(LocalTime {
        Date { std::chrono::year(2000), std::chrono::January, std::chrono::day(1) }, 0, 0, 0 });
    // Drawn four times larger and scaled down, so that the thinnest crescents still show.
    const int size = kStripBitmapSize * kOversampling;
    TMoon moon(clock);
    moon.resize(size, size);
    moon.SetBorderSize(0);
    moon.SetBackgroundColor(kDarkMoon);
    moon.SetMoonColor(kLitMoon);
    moon.SetPhase(MiddlePhaseOfBitmap(id));

    QImage drawn(size, size, QImage::Format_RGB888);
    drawn.fill(kStripSilver);
    {
        QPainter painter(&drawn);
        moon.Paint(painter);
    }
    // The disc, drawn the way TMoon draws it, decides which pixels keep the moon's drawing; the
    // corners around it become silver.
    QImage disc(size, size, QImage::Format_RGB888);
    disc.fill(Qt::black);
    {
        QPainter painter(&disc);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QRect(0, 0, size, size));
    }
    QImage large(size, size, QImage::Format_RGB888);
    large.fill(kStripSilver);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (disc.pixelColor(x, y) == QColor(Qt::white))
                large.setPixelColor(x, y, drawn.pixelColor(x, y));
        }
    }
    return large.scaled(
        kStripBitmapSize, kStripBitmapSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage RenderSunBitmap(bool rise) {
    QImage image = SilverImage();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    // Half a sun sitting on the horizon.
    painter.setBrush(QColor(255, 170, 0));
    painter.drawPie(QRect(3, 8, 10, 10), 0, 180 * 16);
    painter.fillRect(QRect(0, 13, 16, 1), QColor(96, 64, 0));
    // An arrow up for the sunrise, down for the sunset.
    painter.setBrush(rise ? QColor(200, 0, 0) : QColor(0, 0, 160));
    painter.fillRect(QRect(7, rise ? 3 : 1, 2, 4), painter.brush().color());
    const QPolygon head = rise ? QPolygon({ QPoint(4, 3), QPoint(11, 3), QPoint(8, 0) })
                               : QPolygon({ QPoint(4, 4), QPoint(11, 4), QPoint(8, 7) });
    painter.drawPolygon(head);
    return image;
}

} // namespace orvane::sky
