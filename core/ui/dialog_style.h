// Colours and fonts every window of the program shares.
//
// The program's colours come in pairs of background and text. A desktop theme chooses both of its
// own; where a window sets one of them, the other must be set too, or a dark theme's light text
// lands on the program's white, beige or yellow. SetColours sets a background with its text;
// MakeNavy sets the program's navy text and, where the theme's background would not carry it,
// a light background under it.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

class QWidget;

namespace orvane {

inline const QColor kDialogBackground(224, 208, 168);
inline const QColor kLabelNavy(0, 0, 128);
inline const QColor kErrorYellow(255, 255, 0);
// What navy text stands on where the desktop theme's own background is too dark for it.
inline const QColor kNavyGround(240, 240, 240);

// The relative luminance of a colour as the accessibility guidelines (WCAG 2) define it, from 0
// (black) to 1 (white), and the contrast ratio of two colours by it, from 1 (the same) to 21
// (black and white); text needs 4.5 to read well.
double RelativeLuminance(const QColor& colour);
double ContrastRatio(const QColor& a, const QColor& b);
inline constexpr double kReadableContrast = 4.5;

// A font of a Windows family at a pixel size, with DejaVu Sans standing in where the family is
// not installed, so fixed layouts and pixel width limits behave the same on every machine.
QFont ProgramFont(const QString& family, int pixel_size, bool bold = false);

// What disabled text shows: the theme's colour for it, so that a disabled control still looks
// disabled, or the enabled text colour, for the program's fixed pairs (a date header stays blue on
// white while the main window waits for the printer).
enum class DisabledText { kTheme, kSame };

// Gives `widget` a background colour for `background_role` (Window, Base or Button) and the
// matching text colour (WindowText, Text or ButtonText) in one step. Nothing changes when both
// colours are already in place.
void SetColours(QWidget* widget, QPalette::ColorRole background_role, const QColor& background,
    const QColor& text = Qt::black, DisabledText disabled = DisabledText::kTheme);

// Sets the dialog background, with black text, on a window.
void ApplyDialogBackground(QWidget* window);

// Sets a control's field colours: black on yellow to mark an error, or the application's normal
// field background and text (the palette's Base and Text) to clear the mark.
void MarkError(QWidget* control, bool error);
bool IsMarkedError(const QWidget* control);

// Navy text for a label or group box (WindowText), a button (ButtonText) or a field (Text). The
// text stays navy under every theme: where the background the widget would show is too dark for
// navy, the widget gets a light one of its own.
void MakeNavy(QWidget* widget, QPalette::ColorRole text_role = QPalette::WindowText);

} // namespace orvane
