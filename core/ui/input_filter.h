// The one input filter of the program: every field whose text can reach a Windows-1252 file
// refuses a character that file cannot hold, with a beep, however it arrives: typed, pasted,
// dropped, committed by an input method or composed in one. One-line fields get it with
// InstallInputFilter(edit, notifier); text boxes are FilteredEditor<QTextEdit> or
// FilteredEditor<QPlainTextEdit>.
#pragma once

#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QString>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QValidator>
#include <memory>

class QLineEdit;

namespace orvane {

// What a field takes besides printable Windows-1252 characters: a text box also takes tabs and
// line breaks; a one-line field takes no control character at all.
enum class FieldLines { kSingle, kMulti };

// True when every character of `text` may go into a field of kind `lines`.
bool IsStorableInput(const QString& text, FieldLines lines);

// True when the key `event` brings text for a text box to check: not an editing key (Backspace,
// Enter, Tab) and not a command (Ctrl+letter). A control character it brings is refused.
bool BringsText(const QKeyEvent& event);

// Null when a field can take `event` as it is. Otherwise beeps and returns the event to deliver
// in its place: without a preedit the field cannot hold (the input method's composition is then
// dropped, so it cannot commit it later), and without the commit string unless
// `commit_accepted`.
std::unique_ptr<QInputMethodEvent> FilterInputMethod(
    const QInputMethodEvent& event, FieldLines lines, bool commit_accepted, Notifier& notifier);

// The filter of a one-line field. QLineEdit passes every insertion (keys, paste, drop, an input
// method's commit) through its validator, so the filter is one; it watches the field's input
// method events for the preedit, which the validator never sees. A field with a rule of its own
// (digits only) keeps it: the filter asks it after its own check, and the rule refuses silently
// as before. Text the program puts in with SetTextAsRead may keep characters the filter refuses
// (a title from a hand-edited file); editing can remove them but adds none.
class LineInputFilter final : public QValidator {
    Q_OBJECT
public:
    LineInputFilter(QLineEdit* edit, Notifier& notifier, QValidator* rule);

    State validate(QString& input, int& position) const override;
    void fixup(QString& input) const override;

    // Lets the field keep the refused characters `text` holds.
    void Keep(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edit_;
    Notifier& notifier_;
    QValidator* rule_; // owned as a child, may be null
    QString kept_; // refused characters the text may hold, sorted, each as often as it may
};

// Installs the filter on `edit`, taking over `rule` (its own validator, or null).
LineInputFilter* InstallInputFilter(
    QLineEdit* edit, Notifier& notifier, QValidator* rule = nullptr);

// Sets text the program read from a file: it keeps any characters the filter would refuse.
void SetTextAsRead(QLineEdit* edit, const QString& text);

// Marks text that one of the program's own boxes copied or dragged.
inline const QString kOwnTextFormat = QStringLiteral("application/x-orvane-text");

// A text box whose text ends up in a Windows-1252 file. Keys, pastes, drops and input-method
// text pass AcceptsInsert() or are refused with a beep. Pastes from elsewhere arrive as plain
// text in the format at the caret; text copied within the program keeps its format and its
// non-breaking spaces.
template <class Editor> class FilteredEditor : public Editor {
public:
    FilteredEditor(Notifier& notifier, QWidget* parent)
        : Editor(parent)
        , notifier_(notifier) { }

protected:
    // True when `insert` may replace the selection. A box with rules of its own narrows it.
    virtual bool AcceptsInsert(const QString& insert) const {
        return IsStorableInput(insert, FieldLines::kMulti);
    }

    // AcceptsInsert(), with a beep when it refuses.
    bool Admits(const QString& insert) {
        if (AcceptsInsert(insert))
            return true;
        notifier_.Beep();
        return false;
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (BringsText(*event) && !Admits(event->text())) {
            event->accept();
            return;
        }
        Editor::keyPressEvent(event);
    }

    void inputMethodEvent(QInputMethodEvent* event) override {
        const QString commit = event->commitString();
        const bool commit_accepted = commit.isEmpty() || AcceptsInsert(commit);
        if (const auto instead
            = FilterInputMethod(*event, FieldLines::kMulti, commit_accepted, notifier_)) {
            Editor::inputMethodEvent(instead.get());
            event->accept();
            return;
        }
        Editor::inputMethodEvent(event);
    }

    QMimeData* createMimeDataFromSelection() const override {
        // The editor's own data computes its formats on demand and lists no others, so the
        // marker needs a copy; its plain text keeps non-breaking spaces.
        const std::unique_ptr<QMimeData> own(Editor::createMimeDataFromSelection());
        auto* copy = new QMimeData;
        for (const QString& format : own->formats())
            copy->setData(format, own->data(format));
        copy->setText(PlainTextOf(this->textCursor().selection()));
        copy->setData(kOwnTextFormat, QByteArray());
        return copy;
    }

    bool canInsertFromMimeData(const QMimeData* source) const override { return source->hasText(); }

    void insertFromMimeData(const QMimeData* source) override {
        QString text = source->text();
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        if (!Admits(text))
            return;
        if (source->hasFormat(kOwnTextFormat)) {
            Editor::insertFromMimeData(source);
            return;
        }
        this->textCursor().insertText(text);
        this->ensureCursorVisible();
    }

    Notifier& notifier_;
};

using FilteredTextEdit = FilteredEditor<QTextEdit>;
using FilteredPlainTextEdit = FilteredEditor<QPlainTextEdit>;

} // namespace orvane
