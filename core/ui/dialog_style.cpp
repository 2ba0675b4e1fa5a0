#include "core/ui/dialog_style.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHash>
#include <QPalette>
#include <QWidget>

namespace orvane {

namespace {

// The installed family that stands in for a Windows family, looked up once per name. Asking the
// font database for a missing family sends every lookup through the fallback search, which is
// slow, so missing families are replaced by DejaVu Sans before Qt sees them.
QString InstalledFamily(const QString& family) {
    static QHash<QString, QString> resolved;
    const auto it = resolved.constFind(family);
    if (it != resolved.constEnd())
        return *it;
    // The plain list of installed families: asking for one family by name would resolve aliases
    // through fontconfig, which costs more than the whole list.
    static const QStringList installed = QFontDatabase::families();
    const QString stand_in = QStringLiteral("DejaVu Sans");
    QString result = family;
    if (!installed.contains(family, Qt::CaseInsensitive)
        && installed.contains(stand_in, Qt::CaseInsensitive))
        result = stand_in;
    resolved.insert(family, result);
    return result;
}

} // namespace

QFont ProgramFont(const QString& family, int pixel_size, bool bold) {
    QFont font(InstalledFamily(family));
    font.setPixelSize(pixel_size);
    font.setBold(bold);
    return font;
}

void ApplyDialogBackground(QWidget* window) {
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, kDialogBackground);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void MarkError(QWidget* control, bool error) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base,
        error ? kErrorYellow : QApplication::palette(control).color(QPalette::Base));
    control->setPalette(palette);
    control->setProperty("orvaneError", error);
}

bool IsMarkedError(const QWidget* control) {
    return control->property("orvaneError").toBool();
}

void MakeNavy(QWidget* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kLabelNavy);
    label->setPalette(palette);
}

} // namespace orvane
