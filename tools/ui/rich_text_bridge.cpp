#include "tools/ui/rich_text_bridge.h"

#include "core/ui/text_codec.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <cmath>

namespace orvane {

static_assert(kHalfPointsProperty == QTextFormat::UserProperty + 1);

int PixelSizeOfHalfPoints(int half_points) {
    // A point is 4/3 pixel at 96 dpi, so a half point is 2/3 pixel.
    return std::max(1, static_cast<int>(std::lround(half_points * 2.0 / 3.0)));
}

QTextCharFormat CharFormatOf(const RtfFormat& format) {
    QTextCharFormat chars;
    chars.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    chars.setFontItalic(format.italic);
    chars.setFontUnderline(format.underline);
    chars.setFontStrikeOut(format.strike);
    chars.setProperty(QTextFormat::FontPixelSize, PixelSizeOfHalfPoints(format.half_points));
    chars.setProperty(kHalfPointsProperty, format.half_points);
    if (format.color)
        chars.setForeground(QColor(format.color->red, format.color->green, format.color->blue));
    return chars;
}

RtfFormat RtfFormatOf(const QTextCharFormat& chars) {
    RtfFormat format;
    format.bold = chars.fontWeight() >= QFont::DemiBold;
    format.italic = chars.fontItalic();
    format.underline = chars.fontUnderline();
    format.strike = chars.fontStrikeOut();
    if (chars.hasProperty(kHalfPointsProperty)) {
        format.half_points = chars.intProperty(kHalfPointsProperty);
    } else if (chars.hasProperty(QTextFormat::FontPixelSize)) {
        // The smallest size that shows at this pixel size, so a size the box made itself
        // stays the same through a move.
        format.half_points = chars.intProperty(QTextFormat::FontPixelSize) * 3 / 2;
    } else if (chars.hasProperty(QTextFormat::FontPointSize)) {
        format.half_points = static_cast<int>(std::lround(chars.fontPointSize() * 2));
    }
    format.half_points = std::clamp(format.half_points, 1, kRtfMaxHalfPoints);
    if (chars.foreground().style() != Qt::NoBrush) {
        const QColor color = chars.foreground().color();
        format.color = RtfColor { static_cast<std::uint8_t>(color.red()),
            static_cast<std::uint8_t>(color.green()), static_cast<std::uint8_t>(color.blue()) };
    }
    return format;
}

void ShowDocument(const RtfDocument& document, QTextDocument* target) {
    target->clear();
    QTextCursor cursor(target);
    cursor.beginEditBlock();
    bool first_run = true;
    for (const RtfRun& run : document.runs) {
        const QTextCharFormat chars = CharFormatOf(run.format);
        if (first_run) {
            // The first paragraph's own format is what typing into an empty line uses.
            cursor.setBlockCharFormat(chars);
            first_run = false;
        }
        QString text = FromCp1252(run.text);
        text.replace(QChar('\v'), QChar(QChar::LineSeparator));
        const QStringList paragraphs = text.split(QChar('\n'));
        for (qsizetype i = 0; i < paragraphs.size(); ++i) {
            if (i > 0)
                cursor.insertBlock(QTextBlockFormat(), chars);
            if (!paragraphs[i].isEmpty())
                cursor.insertText(paragraphs[i], chars);
        }
    }
    cursor.endEditBlock();
    target->setModified(false);
}

std::optional<RtfDocument> DocumentOf(const QTextDocument& source) {
    RtfDocument document;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        if (block != source.begin()) {
            // A paragraph break takes the format of the text before it, so formats do not
            // switch around it.
            document.Append("\n",
                document.runs.empty() ? RtfFormatOf(block.previous().charFormat())
                                      : document.runs.back().format);
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            QString text = fragment.text();
            text.remove(QChar(QChar::ObjectReplacementCharacter));
            text.replace(QChar(QChar::LineSeparator), QChar('\v'));
            text.replace(QChar(QChar::ParagraphSeparator), QChar('\n'));
            const auto bytes = ToCp1252(text);
            if (!bytes)
                return std::nullopt;
            document.Append(*bytes, RtfFormatOf(fragment.charFormat()));
        }
    }
    return document;
}

} // namespace orvane
