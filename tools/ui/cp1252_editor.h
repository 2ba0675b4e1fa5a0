// Text boxes whose text ends up in a Windows-1252 file: a typed or pasted character that file
// cannot hold is refused with a beep instead of being lost on saving. Pastes from elsewhere
// arrive as plain text in the format at the caret.
#pragma once

#include "core/ui/notifier.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QString>
#include <QTextEdit>
#include <memory>

namespace orvane {

// True when every character can be stored: a Windows-1252 character that is not a control
// character, or a tab or line break.
bool IsStorableText(const QString& text);

// Marks text that one of the program's own boxes copied or dragged.
inline const QString kOwnTextFormat = QStringLiteral("application/x-orvane-text");

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

    QMimeData* createMimeDataFromSelection() const override {
        // The editor's own data computes its formats on demand and lists no others, so the
        // marker needs a copy.
        const std::unique_ptr<QMimeData> own(Editor::createMimeDataFromSelection());
        auto* copy = new QMimeData;
        for (const QString& format : own->formats())
            copy->setData(format, own->data(format));
        copy->setData(kOwnTextFormat, QByteArray());
        return copy;
    }

    bool canInsertFromMimeData(const QMimeData* source) const override { return source->hasText(); }

    void insertFromMimeData(const QMimeData* source) override {
        const QString text = source->text();
        if (!IsStorableText(text)) {
            notifier_.Beep();
            return;
        }
        // Text moved or copied within the program keeps its format; anything else comes in
        // plain.
        if (source->hasFormat(kOwnTextFormat)) {
            Editor::insertFromMimeData(source);
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
