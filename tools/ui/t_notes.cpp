#include "tools/ui/t_notes.h"

#include "core/ui/calendar_host.h"
#include "core/ui/dialog_style.h"
#include "core/ui/input_filter.h"
#include "core/ui/notifier.h"
#include "tools/notes_and_log.h"
#include "tools/ui/rich_text_bridge.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTextCharFormat>

namespace {

// The notes box: the rich-edit keys for bold, italic and underline on the selection or at the
// caret.
class NotesEditor final : public orvane::FilteredTextEdit {
public:
    using orvane::FilteredTextEdit::FilteredEditor;

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
                orvane::FilteredTextEdit::keyPressEvent(event);
                return;
            }
            mergeCurrentCharFormat(change);
            event->accept();
            return;
        }
        orvane::FilteredTextEdit::keyPressEvent(event);
    }
};

} // namespace

TNotes::TNotes(orvane::CalendarHost& host, QWidget* parent)
    : EditFileDialog(host, parent) {
    setObjectName(QStringLiteral("TNotes"));
    setWindowTitle(QStringLiteral("Notes"));
    setFixedSize(263, 343);

    RichEdit1 = new NotesEditor(host_.notifier(), this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(7, 6, 249, 305);
    RichEdit1->setAccessibleName(QStringLiteral("Notes"));
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->document()->setDefaultFont(orvane::ProgramFont(QStringLiteral("MS Sans Serif"), 11));
    // Navy on white whatever the desktop theme: a dark theme's field would swallow navy text.
    orvane::SetColours(
        RichEdit1, QPalette::Base, Qt::white, orvane::kLabelNavy, orvane::DisabledText::kSame);

    AddButton1(QRect(94, 316, 75, 25));
    orvane::MakeNavy(Button1, QPalette::ButtonText);
}

void TNotes::Prepare() {
    const orvane::Result<orvane::NotesLoad> load = orvane::LoadNotes(host_.State().data.notes());
    const orvane::RtfDocument empty;
    const orvane::RtfDocument& document = load ? load->document : empty;
    if (load)
        orvane::ShowDocument(document, RichEdit1->document());
    else
        RichEdit1->clear();
    OfferSave(load ? nullptr : &load.error(), QStringLiteral("notes file"));
    RichEdit1->setReadOnly(!load);
    RichEdit1->moveCursor(QTextCursor::Start);
    RichEdit1->setCurrentCharFormat(orvane::CharFormatOf(
        document.runs.empty() ? orvane::RtfFormat {} : document.runs.front().format));
    RichEdit1->setFocus();
}

bool TNotes::SaveFile() {
    const auto document = orvane::DocumentOf(*RichEdit1->document());
    if (!document) {
        host_.notifier().Error(
            QStringLiteral("The notes hold characters that cannot be saved. Remove them and "
                           "save again."));
        return false;
    }
    return Succeeded(orvane::SaveNotes(host_.State().data.notes(), *document));
}
