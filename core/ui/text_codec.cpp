#include "core/ui/text_codec.h"

#include "core/cp1252.h"

#include <QTextDocument>
#include <QTextDocumentFragment>
#include <array>

namespace orvane {

namespace {

std::optional<char> ByteOf(char16_t c) {
    if (const auto byte = Cp1252Byte(c))
        return static_cast<char>(*byte);
    return std::nullopt;
}

QString WithLineBreaks(QString raw) {
    for (QChar& c : raw) {
        switch (c.unicode()) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
        case 0xFDD0: // the start and end of a frame, as toPlainText() treats them
        case 0xFDD1:
            c = QLatin1Char('\n');
            break;
        default:
            break;
        }
    }
    return raw;
}

} // namespace

QString FromCp1252(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        text.append(QChar(static_cast<char16_t>(Cp1252Character(u))));
    }
    return text;
}

std::optional<std::string> ToCp1252(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        const auto b = ByteOf(c.unicode());
        if (!b)
            return std::nullopt;
        bytes += *b;
    }
    return bytes;
}

bool IsCp1252(QChar c) {
    return ByteOf(c.unicode()).has_value();
}

QString PlainTextOf(const QTextDocument& document) {
    return WithLineBreaks(document.toRawText());
}

QString PlainTextOf(const QTextDocumentFragment& fragment) {
    return WithLineBreaks(fragment.toRawText());
}

} // namespace orvane
