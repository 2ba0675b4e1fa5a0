#include "core/ui/text_codec.h"

#include <QTextDocument>
#include <QTextDocumentFragment>
#include <array>

namespace orvane {

namespace {

// Characters of bytes 0x80-0x9F; the undefined ones keep their own value.
constexpr std::array<char16_t, 32> kHighControls
    = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
          0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
          0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

std::optional<char> ByteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(static_cast<unsigned char>(c));
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c)
            return static_cast<char>(static_cast<unsigned char>(0x80 + i));
    }
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
        if (u >= 0x80 && u < 0xA0)
            text.append(QChar(kHighControls[u - 0x80]));
        else
            text.append(QChar(static_cast<char16_t>(u)));
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
