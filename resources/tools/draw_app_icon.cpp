// Draws Orvane's icon, a calendar page with a crescent moon, as PNG pictures for the desktop and
// the window icon. The shapes and coordinates are those of the hand-drawn resources/icon/orvane.svg
// (a 256-unit square): change both together. Run by the build:
//
//   orvane_draw_app_icon out/orvane-48.png 48 out/orvane-256.png 256
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace {

QImage DrawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 256.0, size / 256.0);

    const QColor navy(0x2b, 0x3a, 0x67);
    QPen outline(navy, 8);
    outline.setJoinStyle(Qt::RoundJoin);

    // The page.
    painter.setPen(outline);
    painter.setBrush(QColor(0xfb, 0xf7, 0xec));
    painter.drawRoundedRect(QRectF(28, 40, 200, 192), 20, 20);

    // The header band: the page's top with its rounded corners, down to y 96.
    QPainterPath band;
    band.moveTo(28, 96);
    band.lineTo(28, 60);
    band.arcTo(QRectF(28, 40, 40, 40), 180, -90);
    band.lineTo(208, 40);
    band.arcTo(QRectF(188, 40, 40, 40), 90, -90);
    band.lineTo(228, 96);
    band.closeSubpath();
    painter.setBrush(QColor(0xb8, 0x43, 0x2f));
    painter.drawPath(band);

    // The rings.
    painter.setPen(Qt::NoPen);
    painter.setBrush(navy);
    painter.drawRoundedRect(QRectF(72, 20, 16, 40), 8, 8);
    painter.drawRoundedRect(QRectF(168, 20, 16, 40), 8, 8);

    // The moon: one circle less another.
    QPainterPath disc;
    disc.addEllipse(QPointF(128, 166), 50, 50);
    QPainterPath shadow;
    shadow.addEllipse(QPointF(150, 150), 44, 44);
    QPen moon_edge(QColor(0x8a, 0x6a, 0x1c), 4);
    moon_edge.setJoinStyle(Qt::RoundJoin);
    painter.setPen(moon_edge);
    painter.setBrush(QColor(0xe0, 0xb8, 0x4a));
    painter.drawPath(disc.subtracted(shadow));
    painter.end();
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: %s FILE.png SIZE [FILE.png SIZE ...]\n", argv[0]);
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        const int size = std::atoi(argv[i + 1]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "%s: size %s is not between 16 and 1024\n", argv[0], argv[i + 1]);
            return 2;
        }
        if (!DrawIcon(size).save(QString::fromLocal8Bit(argv[i]), "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[i]);
            return 1;
        }
    }
    return 0;
}
