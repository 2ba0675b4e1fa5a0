#include "core/ui/dialog_style.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace orvane {

QFont ProgramFont(const QString& family, int pixel_size, bool bold) {
    static const bool substitutions_installed = [] {
        for (const char* name : { "Verdana", "Tahoma", "MS Sans Serif", "Small Fonts", "Arial" })
            QFont::insertSubstitution(QString::fromLatin1(name), QStringLiteral("DejaVu Sans"));
        return true;
    }();
    (void)substitutions_installed;
    QFont font(family);
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
