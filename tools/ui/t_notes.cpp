#include "tools/ui/t_notes.h"

#include "core/ui/calendar_host.h"
#include "core/ui/dialog_style.h"
#include "core/ui/notifier.h"
#include "tools/notes_and_log.h"
#include "tools/ui/cp1252_editor.h"
#include "tools/ui/rich_text_bridge.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTextCharFormat>

namespace {

const QString kSave = QStringLiteral("Save");
const QString kClose = QStringLiteral("Close");

// The notes box: the rich-edit keys for bold, italic and underline on the selection or at the
// caret.
class NotesEditor final : public orvane::Cp1252TextEdit {
public:
    using orvane::Cp1252TextEdit::Cp1252Editor;

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
                orvane::Cp1252TextEdit::keyPressEvent(event);
                return;
            }
            mergeCurrentCharFormat(change);
            event->accept();
            return;
        }
        orvane::Cp1252TextEdit::keyPressEvent(event);
    }
};

} // namespace

TNotes::TNotes(orvane::CalendarHost& host, QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , host_(host) {
    setObjectName(QStringLiteral("TNotes"));
    setWindowTitle(QStringLiteral("Notes"));
    setFixedSize(263, 343);
    const QFont font = orvane::ProgramFont(QStringLiteral("MS Sans Serif"), 11);
    setFont(font);
    orvane::ApplyDialogBackground(this);

    RichEdit1 = new NotesEditor(host_.notifier(), this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(7, 6, 249, 305);
    RichEdit1->setAccessibleName(QStringLiteral("Notes"));
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->document()->setDefaultFont(font);
    QPalette palette = RichEdit1->palette();
    palette.setColor(QPalette::Text, orvane::kLabelNavy);
    RichEdit1->setPalette(palette);

    Button1 = new QPushButton(kSave, this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(94, 316, 75, 25);
    Button1->setAccessibleName(kSave);
    Button1->setAutoDefault(false);
    palette = Button1->palette();
    palette.setColor(QPalette::ButtonText, orvane::kLabelNavy);
    Button1->setPalette(palette);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TNotes::Prepare() {
    const orvane::NotesLoad load = orvane::LoadNotes(host_.State().data.notes());
    save_offered_ = load.state != orvane::EditLoad::kUnreadable;
    if (save_offered_) {
        orvane::ShowDocument(load.document, RichEdit1->document());
    } else {
        RichEdit1->clear();
        host_.notifier().Error(QString::fromStdString(load.error)
            + QStringLiteral("\nThe notes file is left as it is and cannot be saved now."));
    }
    RichEdit1->setReadOnly(!save_offered_);
    RichEdit1->moveCursor(QTextCursor::Start);
    RichEdit1->setCurrentCharFormat(orvane::CharFormatOf(
        load.document.runs.empty() ? orvane::RtfFormat {} : load.document.runs.front().format));
    Button1->setText(save_offered_ ? kSave : kClose);
    Button1->setAccessibleName(Button1->text());
    RichEdit1->setFocus();
}

void TNotes::OpenModal() {
    Prepare();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    exec();
}

void TNotes::Button1Click() {
    if (!save_offered_) {
        accept();
        return;
    }
    const auto document = orvane::DocumentOf(*RichEdit1->document());
    if (!document) {
        host_.notifier().Error(
            QStringLiteral("The notes hold characters that cannot be saved. Remove them and "
                           "save again."));
        return;
    }
    const orvane::Status saved = orvane::SaveNotes(host_.State().data.notes(), *document);
    if (!saved) {
        host_.notifier().Error(QString::fromStdString(saved.message()));
        return;
    }
    accept();
}

void TNotes::reject() { }
