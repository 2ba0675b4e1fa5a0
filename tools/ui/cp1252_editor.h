// Text boxes whose text ends up in a Windows-1252 file: a typed or pasted character that file
// cannot hold is refused with a beep instead of being lost on saving. Pastes arrive as plain
// text in the format at the caret.
#pragma once

#include "core/ui/notifier.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QString>
#include <QTextEdit>

namespace orvane {

// True when every character can be stored: a Windows-1252 character that is not a control
// character, or a tab or line break.
bool IsStorableText(const QString& text);

template <class Editor> class Cp1252Editor : public Editor {
public:
    Cp1252Editor(Notifier& notifier, QWidget* parent)
        : Editor(parent)
        , notifier_(notifier) { }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString typed = event->text();
        const bool printable
            = !typed.isEmpty() && typed.at(0).unicode() >= 0x20 && typed.at(0).unicode() != 0x7F;
        if (printable && !IsStorableText(typed)) {
            notifier_.Beep();
            event->accept();
            return;
        }
        Editor::keyPressEvent(event);
    }

    bool canInsertFromMimeData(const QMimeData* source) const override { return source->hasText(); }

    void insertFromMimeData(const QMimeData* source) override {
        const QString text = source->text();
        if (!IsStorableText(text)) {
            notifier_.Beep();
            return;
        }
        this->textCursor().insertText(text);
        this->ensureCursorVisible();
    }

    Notifier& notifier_;
};

using Cp1252TextEdit = Cp1252Editor<QTextEdit>;
using Cp1252PlainTextEdit = Cp1252Editor<QPlainTextEdit>;

} // namespace orvane
