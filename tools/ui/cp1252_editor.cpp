#include "tools/ui/cp1252_editor.h"

#include "core/ui/text_codec.h"

namespace orvane {

bool IsStorableText(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\t' || u == '\n' || u == '\r' || u == QChar::LineSeparator
            || u == QChar::ParagraphSeparator)
            continue;
        if (!IsTypeableText(QString(c)))
            return false;
    }
    return true;
}

} // namespace orvane
