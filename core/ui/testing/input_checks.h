// Drives a text field the ways a user and an input method put text into it, for the window tests
// that check every field refuses what a Windows-1252 file cannot hold.
#pragma once

#include <QString>

class QWidget;

namespace orvane {

class RecordingNotifier;

// The ways text reaches a field.
enum class InputRoute { kCommit, kPreedit, kPaste, kKey, kDrop };

// Sends `text` to `field` (a QLineEdit, QTextEdit or QPlainTextEdit) by `route`.
void SendText(QWidget* field, const QString& text, InputRoute route);

// The field's text, character for character (a line break as '\n').
QString FieldText(const QWidget* field);

// Checks the input filter of `field`: characters outside Windows-1252, sent every way, change
// nothing and beep once each time; then `accepted`, committed by an input method, arrives
// without a beep. A line edit is cleared first, so that its length limit leaves room. Returns
// what went wrong, or an empty string.
QString CheckInputFilter(QWidget* field, RecordingNotifier& notes, const QString& accepted);

} // namespace orvane
