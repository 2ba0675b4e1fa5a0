// The one conversion between the files' Windows-1252 bytes and screen text. Every byte 0x00-0xFF
// maps to one character and back; the five bytes Windows-1252 leaves undefined map to the C1
// control characters of the same value, so nothing read from a file is ever lost.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QTextDocument;
class QTextDocumentFragment;

namespace orvane {

QString FromCp1252(std::string_view bytes);

// The bytes of `text`, or nothing when a character cannot be written in Windows-1252.
std::optional<std::string> ToCp1252(const QString& text);

// True when `c` can be written in Windows-1252 (as one of its 256 bytes).
bool IsCp1252(QChar c);

// The text of an editor's document or of a part of it, character for character, with a '\n' for
// each paragraph or line break. toPlainText() would turn a non-breaking space into a blank and
// so change the byte 0xA0 into 0x20 on its way back to the file.
QString PlainTextOf(const QTextDocument& document);
QString PlainTextOf(const QTextDocumentFragment& fragment);

} // namespace orvane
