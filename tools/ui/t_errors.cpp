#include "tools/ui/t_errors.h"

#include "core/ui/calendar_host.h"
#include "core/ui/input_filter.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "tools/notes_and_log.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

TErrors::TErrors(orvane::CalendarHost& host, QWidget* parent)
    : EditFileDialog(host, parent) {
    setObjectName(QStringLiteral("TErrors"));
    setWindowTitle(QStringLiteral("Error Log"));
    setFixedSize(349, 347);

    Memo1 = new orvane::FilteredPlainTextEdit(host_.notifier(), this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(5, 8, 339, 305);
    Memo1->setAccessibleName(QStringLiteral("Error log"));
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    AddButton1(QRect(137, 320, 75, 25));
}

void TErrors::Prepare() {
    const orvane::Result<std::string> load = orvane::LoadErrorLog(host_.State().data.rdat());
    if (load) {
        // The box keeps one line break character per break; the file's are CR LF pairs.
        Memo1->setPlainText(orvane::FromCp1252(*load).replace(kCrLf, QStringLiteral("\n")));
    } else {
        Memo1->clear();
    }
    OfferSave(load ? nullptr : &load.error(), QStringLiteral("error log"));
    Memo1->setReadOnly(!load);
    Memo1->moveCursor(QTextCursor::Start);
    Memo1->setFocus();
}

bool TErrors::SaveFile() {
    // Shift+Enter breaks a line inside a paragraph; in the file every break is the same CR LF.
    const QString text = orvane::PlainTextOf(*Memo1->document()).replace(QLatin1Char('\n'), kCrLf);
    const auto bytes = orvane::ToCp1252(text);
    if (!bytes) {
        host_.notifier().Error(
            QStringLiteral("The error log holds characters that cannot be saved. Remove them "
                           "and save again."));
        return false;
    }
    return Succeeded(orvane::SaveErrorLog(host_.State().data.rdat(), *bytes));
}
