#include "core/ui/dialog_style.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHash>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>

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

QPalette::ColorRole TextRoleOn(QPalette::ColorRole background_role) {
    switch (background_role) {
    case QPalette::Base:
        return QPalette::Text;
    case QPalette::Button:
        return QPalette::ButtonText;
    default:
        return QPalette::WindowText;
    }
}

QPalette::ColorRole BackgroundRoleUnder(QPalette::ColorRole text_role) {
    switch (text_role) {
    case QPalette::Text:
        return QPalette::Base;
    case QPalette::ButtonText:
        return QPalette::Button;
    default:
        return QPalette::Window;
    }
}

} // namespace

QFont ProgramFont(const QString& family, int pixel_size, bool bold) {
    QFont font(InstalledFamily(family));
    font.setPixelSize(pixel_size);
    font.setBold(bold);
    return font;
}

double RelativeLuminance(const QColor& colour) {
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green())
        + 0.0722 * linear(colour.blue());
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void SetColours(QWidget* widget, QPalette::ColorRole background_role, const QColor& background,
    const QColor& text, DisabledText disabled) {
    const QPalette::ColorRole text_role = TextRoleOn(background_role);
    QPalette palette = widget->palette();
    // The grid sets its cells' colours on every fill; a palette change costs an event and a
    // repaint, so colours already in place are left alone.
    if (palette.color(QPalette::Active, background_role) == background
        && palette.color(QPalette::Disabled, background_role) == background
        && palette.color(QPalette::Active, text_role) == text
        && palette.color(QPalette::Inactive, text_role) == text
        && (disabled == DisabledText::kTheme
            || palette.color(QPalette::Disabled, text_role) == text))
        return;
    palette.setColor(background_role, background);
    palette.setColor(QPalette::Active, text_role, text);
    palette.setColor(QPalette::Inactive, text_role, text);
    if (disabled == DisabledText::kSame)
        palette.setColor(QPalette::Disabled, text_role, text);
    widget->setPalette(palette);
}

void ApplyDialogBackground(QWidget* window) {
    SetColours(window, QPalette::Window, kDialogBackground);
    window->setAutoFillBackground(true);
}

void MarkError(QWidget* control, bool error) {
    if (error) {
        SetColours(control, QPalette::Base, kErrorYellow);
    } else {
        const QPalette normal = QApplication::palette(control);
        SetColours(
            control, QPalette::Base, normal.color(QPalette::Base), normal.color(QPalette::Text));
    }
    control->setProperty("orvaneError", error);
}

bool IsMarkedError(const QWidget* control) {
    return control->property("orvaneError").toBool();
}

void MakeNavy(QWidget* widget, QPalette::ColorRole text_role) {
    const QPalette::ColorRole ground = BackgroundRoleUnder(text_role);
    QPalette palette = widget->palette();
    palette.setColor(text_role, kLabelNavy);
    if (ContrastRatio(kLabelNavy, palette.color(QPalette::Active, ground)) < kReadableContrast) {
        palette.setColor(ground, ground == QPalette::Base ? QColor(Qt::white) : kNavyGround);
        if (ground == QPalette::Window)
            widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

} // namespace orvane
