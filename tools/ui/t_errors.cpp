#include "tools/ui/t_errors.h"

#include "core/ui/calendar_host.h"
#include "core/ui/dialog_style.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "tools/notes_and_log.h"
#include "tools/ui/cp1252_editor.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>

namespace {

const QString kSave = QStringLiteral("Save");
const QString kClose = QStringLiteral("Close");
const QString kCrLf = QStringLiteral("\r\n");

} // namespace

TErrors::TErrors(orvane::CalendarHost& host, QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , host_(host) {
    setObjectName(QStringLiteral("TErrors"));
    setWindowTitle(QStringLiteral("Error Log"));
    setFixedSize(349, 347);
    setFont(orvane::ProgramFont(QStringLiteral("MS Sans Serif"), 11));
    orvane::ApplyDialogBackground(this);

    Memo1 = new orvane::Cp1252PlainTextEdit(host_.notifier(), this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(5, 8, 339, 305);
    Memo1->setAccessibleName(QStringLiteral("Error log"));
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    Button1 = new QPushButton(kSave, this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(137, 320, 75, 25);
    Button1->setAccessibleName(kSave);
    Button1->setAutoDefault(false);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TErrors::Prepare() {
    const orvane::ErrorLogLoad load = orvane::LoadErrorLog(host_.State().data.rdat());
    save_offered_ = load.state != orvane::EditLoad::kUnreadable;
    if (save_offered_) {
        // The box keeps one line break character per break; the file's are CR LF pairs.
        Memo1->setPlainText(orvane::FromCp1252(load.text).replace(kCrLf, QStringLiteral("\n")));
    } else {
        Memo1->clear();
        host_.notifier().Error(QString::fromStdString(load.error)
            + QStringLiteral("\nThe error log is left as it is and cannot be saved now."));
    }
    Memo1->setReadOnly(!save_offered_);
    Memo1->moveCursor(QTextCursor::Start);
    Button1->setText(save_offered_ ? kSave : kClose);
    Button1->setAccessibleName(Button1->text());
    Memo1->setFocus();
}

void TErrors::OpenModal() {
    Prepare();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    exec();
}

void TErrors::Button1Click() {
    if (!save_offered_) {
        accept();
        return;
    }
    // The raw text keeps non-breaking spaces, which the plain-text view would turn into blanks.
    QString text = Memo1->document()->toRawText();
    text.replace(QChar(QChar::ParagraphSeparator), kCrLf);
    // Shift+Enter breaks a line inside a paragraph; in the file every break is the same CR LF.
    text.replace(QChar(QChar::LineSeparator), kCrLf);
    const auto bytes = orvane::ToCp1252(text);
    if (!bytes) {
        host_.notifier().Error(
            QStringLiteral("The error log holds characters that cannot be saved. Remove them "
                           "and save again."));
        return;
    }
    const orvane::Status saved = orvane::SaveErrorLog(host_.State().data.rdat(), *bytes);
    if (!saved) {
        host_.notifier().Error(QString::fromStdString(saved.message()));
        return;
    }
    accept();
}

void TErrors::reject() { }
