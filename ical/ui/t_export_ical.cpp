#include "ical/ui/t_export_ical.h"

#include "core/text_file.h"
#include "core/ui/dialog_style.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "ical/ical_export.h"
#include "ical/ical_summary.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane {

namespace {

// A wait cursor for work that may take a moment, put back however the work ends.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

QPushButton* Button(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(
        QString(caption).remove(QLatin1Char('&')).remove(QStringLiteral("...")));
    return button;
}

} // namespace

std::chrono::sys_seconds StampOf(const LocalTime& now) {
    const QDate date(static_cast<int>(now.date.year()),
        static_cast<int>(static_cast<unsigned>(now.date.month())),
        static_cast<int>(static_cast<unsigned>(now.date.day())));
    const QDateTime local(date, QTime(now.hour, now.minute, now.second), Qt::LocalTime);
    return std::chrono::sys_seconds(std::chrono::seconds(local.toSecsSinceEpoch()));
}

TExportICal::TExportICal(
    CalendarDocument& document, Services services, IcsFilePicker picker, QWidget* parent)
    : QDialog(parent)
    , document_(document)
    , services_(services)
    , picker_(std::move(picker)) {
    setObjectName(QStringLiteral("ExportICal"));
    setWindowTitle(QStringLiteral("Export iCalendar"));
    ApplyDialogBackground(this);
    setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 11));

    auto* intro = new QLabel(QStringLiteral("Writes every day's entries as all-day events and "
                                            "every recurring entry as a repeating event into "
                                            "one iCalendar (.ics) file."),
        this);
    intro->setObjectName(QStringLiteral("Label1"));
    intro->setWordWrap(true);
    MakeNavy(intro);
    auto* file_label = new QLabel(QStringLiteral("&File:"), this);
    file_label->setObjectName(QStringLiteral("Label2"));
    MakeNavy(file_label);
    file_edit_ = new QLineEdit(this);
    file_edit_->setObjectName(QStringLiteral("Edit1"));
    file_edit_->setAccessibleName(QStringLiteral("File"));
    file_edit_->setMinimumWidth(320);
    file_label->setBuddy(file_edit_);
    browse_button_ = Button(QStringLiteral("&Browse..."), "Button3", this);
    archive_check_ = new QCheckBox(QStringLiteral("Include the &archive"), this);
    archive_check_->setObjectName(QStringLiteral("CheckBox1"));
    archive_check_->setAccessibleName(QStringLiteral("Include the archive"));
    MakeNavy(archive_check_);
    export_button_ = Button(QStringLiteral("&Export"), "Button1", this);
    export_button_->setDefault(true);
    cancel_button_ = Button(QStringLiteral("Cancel"), "Button2", this);

    auto* file_row = new QHBoxLayout;
    file_row->addWidget(file_label);
    file_row->addWidget(file_edit_, 1);
    file_row->addWidget(browse_button_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(export_button_);
    buttons->addWidget(cancel_button_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(file_row);
    layout->addWidget(archive_check_);
    layout->addLayout(buttons);

    connect(export_button_, &QPushButton::clicked, this, &TExportICal::Button1Click);
    connect(cancel_button_, &QPushButton::clicked, this, &TExportICal::Button2Click);
    connect(browse_button_, &QPushButton::clicked, this, &TExportICal::Button3Click);
    connect(file_edit_, &QLineEdit::textEdited, this, [this] { MarkError(file_edit_, false); });
}

void TExportICal::Prepare() {
    MarkError(file_edit_, false);
    file_edit_->setFocus();
    file_edit_->selectAll();
}

void TExportICal::OpenModal() {
    Prepare();
    // An empty field: the file dialog first, as most users will want it.
    if (file_edit_->text().trimmed().isEmpty())
        Button3Click();
    exec();
}

void TExportICal::Button3Click() {
    const QString typed = file_edit_->text().trimmed();
    const std::optional<std::filesystem::path> chosen = picker_(this, IcsFileRole::kExport,
        typed.isEmpty() ? std::filesystem::path() : PathFromText(typed));
    if (!chosen)
        return;
    confirmed_ = *chosen;
    file_edit_->setText(PathText(*chosen));
    MarkError(file_edit_, false);
}

void TExportICal::Button1Click() {
    // A box shown while the export runs must never start a second one.
    if (in_export_)
        return;
    const QString typed = file_edit_->text().trimmed();
    if (typed.isEmpty()) {
        MarkError(file_edit_, true);
        file_edit_->setFocus();
        return;
    }
    const std::filesystem::path path = PathFromText(typed);
    Notifier& notifier = services_.notifier;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        MarkError(file_edit_, true);
        notifier.Error(
            PathText(path) + QStringLiteral(" is a folder. Choose a file to export to."));
        return;
    }
    if (path != confirmed_ && std::filesystem::exists(path, ec)
        && !notifier.Confirm(
            PathText(path) + QStringLiteral(" already exists. Replace it?"), windowTitle()))
        return;
    in_export_ = true;
    // What is being typed in the grid belongs to the export.
    document_.FlushPendingEdits();
    const bool with_archive = archive_check_->isChecked();
    Result<IcsExport> done = [&] {
        BusyCursor busy;
        return ExportCalendarFiles(
            document_.data(), document_.store(), with_archive, StampOf(services_.clock.Now()));
    }();
    Status written = done ? WriteFileAtomic(path, done->ics) : Status();
    in_export_ = false;
    if (!done) {
        notifier.Error(ErrorText(done.error()));
        return;
    }
    if (!written) {
        Error error = std::move(written).error();
        notifier.Error(ErrorText(error.Also("The calendar was not exported.")));
        return;
    }
    confirmed_ = path;
    QString text = QStringLiteral("The calendar was exported to %1.").arg(PathText(path));
    for (const std::string& line : ExportSummaryLines(*done, with_archive))
        text += QLatin1Char('\n') + FromCp1252(line);
    notifier.Information(text);
    accept();
}

void TExportICal::Button2Click() {
    reject();
}

} // namespace orvane
