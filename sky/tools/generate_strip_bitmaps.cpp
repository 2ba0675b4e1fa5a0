// Writes the toolbar strip's pictures (the 28 moon pictures and the sunrise and sunset icons)
// into a resources folder. Run it after changing how they are drawn and commit its output:
//   orvane_generate_strip_bitmaps /path/to/resources
#include "resources/resource_paths.h"
#include "sky/moon_phase.h"
#include "sky/tools/strip_bitmaps.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTextStream>

int main(int argc, char** argv) {
    // TMoon is a widget, but nothing is shown: no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: orvane_generate_strip_bitmaps <resources folder>\n";
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    if (!root.mkpath(QStringLiteral("moon")) || !root.mkpath(QStringLiteral("sun"))) {
        err << "cannot create the picture folders under " << root.path() << "\n";
        return 1;
    }
    const auto save = [&](const QImage& image, const QString& resource_path) {
        // ":/moon/moon01.bmp" lives at <root>/moon/moon01.bmp.
        const QString file = root.filePath(resource_path.mid(2));
        if (!image.save(file, "BMP")) {
            err << "cannot write " << file << "\n";
            return false;
        }
        return true;
    };
    for (int id = 1; id <= orvane::sky::kMoonBitmapCount; ++id) {
        if (!save(orvane::sky::RenderMoonBitmap(id), orvane::MoonBitmapPath(id)))
            return 1;
    }
    if (!save(orvane::sky::RenderSunBitmap(true), orvane::kSunriseBitmapPath)
        || !save(orvane::sky::RenderSunBitmap(false), orvane::kSunsetBitmapPath))
        return 1;
    return 0;
}
