#include "tools/ui/t_errors.h"

#include "core/ui/input_filter.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "tools/notes_and_log.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace orvane {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

TErrors::TErrors(
    const DataFolder& data_folder, Notifier& notifier, FileBackups& backups, QWidget* parent)
    : EditFileDialog(
        notifier, backups, data_folder.rdat(), QStringLiteral("this error log"), parent) {
    setObjectName(QStringLiteral("TErrors"));
    setWindowTitle(QStringLiteral("Error Log"));
    setFixedSize(349, 347);

    log_box_ = new FilteredPlainTextEdit(notifier_, this);
    log_box_->setObjectName(QStringLiteral("Memo1"));
    log_box_->setGeometry(5, 8, 339, 305);
    log_box_->setAccessibleName(QStringLiteral("Error log"));
    log_box_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    AddButton1(QRect(137, 320, 75, 25));
}

void TErrors::Prepare() {
    const Result<std::string> load = ErrorLogFromRead(file_.Read());
    if (load) {
        // The box keeps one line break character per break; the file's are CR LF pairs.
        log_box_->setPlainText(FromCp1252(*load).replace(kCrLf, QStringLiteral("\n")));
    } else {
        log_box_->clear();
    }
    OfferSave(load ? nullptr : &load.error(), QStringLiteral("error log"));
    log_box_->setReadOnly(!load);
    log_box_->moveCursor(QTextCursor::Start);
    log_box_->document()->setModified(false);
    log_box_->setFocus();
}

bool TErrors::Modified() const {
    return log_box_->document()->isModified();
}

QString TErrors::SaveQuestion() const {
    return QStringLiteral("Save the changes to the error log?");
}

std::optional<std::string> TErrors::BytesToSave() {
    // Shift+Enter breaks a line inside a paragraph; in the file every break is the same CR LF.
    const QString text = PlainTextOf(*log_box_->document()).replace(QLatin1Char('\n'), kCrLf);
    const auto bytes = ToCp1252(text);
    if (!bytes) {
        notifier_.Error(
            QStringLiteral("The error log holds characters that cannot be saved. Remove them "
                           "and save again."));
        return std::nullopt;
    }
    return *bytes;
}

} // namespace orvane
