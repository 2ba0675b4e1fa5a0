#include "tools/ui/t_notes.h"

#include "core/ui/dialog_style.h"
#include "core/ui/input_filter.h"
#include "core/ui/notifier.h"
#include "tools/notes_and_log.h"
#include "tools/ui/rich_text_bridge.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTextCursor>
#include <algorithm>

namespace orvane {

namespace {

// The notes box: the rich-edit keys for bold, italic and underline on the selection or at the
// caret.
class NotesEditor final : public FilteredTextEdit {
public:
    using FilteredTextEdit::FilteredEditor;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->modifiers() == Qt::ControlModifier) {
            const QTextCharFormat current = currentCharFormat();
            QTextCharFormat change;
            switch (event->key()) {
            case Qt::Key_B:
                change.setFontWeight(
                    current.fontWeight() >= QFont::DemiBold ? QFont::Normal : QFont::Bold);
                break;
            case Qt::Key_I:
                change.setFontItalic(!current.fontItalic());
                break;
            case Qt::Key_U:
                change.setFontUnderline(!current.fontUnderline());
                break;
            default:
                FilteredTextEdit::keyPressEvent(event);
                return;
            }
            mergeCurrentCharFormat(change);
            event->accept();
            return;
        }
        FilteredTextEdit::keyPressEvent(event);
    }
};

} // namespace

TNotes::TNotes(
    const DataFolder& data_folder, Notifier& notifier, FileBackups& backups, QWidget* parent)
    : EditFileDialog(
        notifier, backups, data_folder.notes(), QStringLiteral("these notes"), parent) {
    setObjectName(QStringLiteral("TNotes"));
    setWindowTitle(QStringLiteral("Notes"));
    setFixedSize(263, 343);

    notes_box_ = new NotesEditor(notifier_, this);
    notes_box_->setObjectName(QStringLiteral("RichEdit1"));
    notes_box_->setGeometry(7, 6, 249, 305);
    notes_box_->setAccessibleName(QStringLiteral("Notes"));
    notes_box_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    notes_box_->document()->setDefaultFont(ProgramFont(QStringLiteral("MS Sans Serif"), 11));
    // Navy on white whatever the desktop theme: a dark theme's field would swallow navy text.
    SetColours(notes_box_, QPalette::Base, Qt::white, kLabelNavy, DisabledText::kSame);

    AddButton1(QRect(94, 316, 75, 25));
    MakeNavy(Button1, QPalette::ButtonText);
}

void TNotes::Prepare() {
    const Result<NotesLoad> load = NotesFromRead(file_.Read());
    const RtfDocument empty;
    const RtfDocument& document = load ? load->document : empty;
    if (load)
        ShowDocument(document, notes_box_->document());
    else
        notes_box_->clear();
    OfferSave(load ? nullptr : &load.error(), QStringLiteral("notes file"));
    notes_box_->setReadOnly(!load);
    notes_box_->moveCursor(QTextCursor::Start);
    notes_box_->setCurrentCharFormat(
        CharFormatOf(document.runs.empty() ? RtfFormat {} : document.runs.front().format));
    notes_box_->document()->setModified(false);
    notes_box_->setFocus();
}

void TNotes::SelectText(int position, int length) {
    const int end = notes_box_->document()->characterCount() - 1;
    const int start = std::clamp(position, 0, end);
    QTextCursor cursor(notes_box_->document());
    cursor.setPosition(start);
    cursor.setPosition(
        std::clamp(position + std::max(length, 0), start, end), QTextCursor::KeepAnchor);
    notes_box_->setTextCursor(cursor);
    notes_box_->ensureCursorVisible();
}

void TNotes::OpenModalAt(int position, int length) {
    Prepare();
    SelectText(position, length);
    RunCentred();
}

bool TNotes::Modified() const {
    return notes_box_->document()->isModified();
}

QString TNotes::SaveQuestion() const {
    return QStringLiteral("Save the changes to the notes?");
}

std::optional<std::string> TNotes::BytesToSave() {
    const auto document = DocumentOf(*notes_box_->document());
    if (!document) {
        notifier_.Error(
            QStringLiteral("The notes hold characters that cannot be saved. Remove them and "
                           "save again."));
        return std::nullopt;
    }
    return NotesBytes(*document);
}

} // namespace orvane
