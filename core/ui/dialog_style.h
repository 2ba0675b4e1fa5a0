// Colours and fonts every window of the program shares.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace orvane {

inline const QColor kDialogBackground(224, 208, 168);
inline const QColor kLabelNavy(0, 0, 128);
inline const QColor kErrorYellow(255, 255, 0);

// A font of a Windows family at a pixel size, with DejaVu Sans standing in where the family is
// not installed, so fixed layouts and pixel width limits behave the same on every machine.
QFont ProgramFont(const QString& family, int pixel_size, bool bold = false);

// Sets the dialog background on a window.
void ApplyDialogBackground(QWidget* window);

// Sets a control's background: yellow to mark an error, or the normal background of an
// editable field (the palette's Base colour) to clear the mark.
void MarkError(QWidget* control, bool error);
bool IsMarkedError(const QWidget* control);

// Navy text for a label.
void MakeNavy(QWidget* label);

} // namespace orvane
