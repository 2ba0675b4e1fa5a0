#include "ical/ui/t_import_ical.h"

#include "core/ui/dialog_style.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "ical/ical_summary.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeZone>
#include <QVBoxLayout>

namespace orvane {

namespace {

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The file's name in the program's words (Windows-1252), for the operation's name.
std::string NameOf(const std::filesystem::path& path) {
    QString name = PathText(path.filename());
    for (QChar& c : name) {
        if (!IsCp1252(c))
            c = QLatin1Char('?');
    }
    return ToCp1252(name).value_or(std::string());
}

} // namespace

std::string SystemZoneName() {
    return QTimeZone::systemTimeZoneId().toStdString();
}

TImportICal::TImportICal(CalendarDocument& document, Services services, IcsFilePicker picker,
    QWidget* parent, std::function<void(TImportICal&)> run_modal)
    : QDialog(parent)
    , document_(document)
    , services_(services)
    , picker_(std::move(picker))
    , run_modal_(std::move(run_modal)) {
    options_.zone = SystemZoneName();
    setObjectName(QStringLiteral("ImportICal"));
    setWindowTitle(QStringLiteral("Import iCalendar"));
    ApplyDialogBackground(this);
    setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 11));

    file_label_ = new QLabel(this);
    file_label_->setObjectName(QStringLiteral("Label1"));
    file_label_->setWordWrap(true);
    file_label_->setTextFormat(Qt::PlainText);
    MakeNavy(file_label_);
    preview_ = new QPlainTextEdit(this);
    preview_->setObjectName(QStringLiteral("Memo1"));
    preview_->setAccessibleName(QStringLiteral("What the import does"));
    preview_->setReadOnly(true);
    preview_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    preview_->setMinimumSize(460, 220);
    SetColours(preview_, QPalette::Base, Qt::white);
    import_button_ = new QPushButton(QStringLiteral("&Import"), this);
    import_button_->setObjectName(QStringLiteral("Button1"));
    import_button_->setAccessibleName(QStringLiteral("Import"));
    import_button_->setDefault(true);
    cancel_button_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_button_->setObjectName(QStringLiteral("Button2"));
    cancel_button_->setAccessibleName(QStringLiteral("Cancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(import_button_);
    buttons->addWidget(cancel_button_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(file_label_);
    layout->addWidget(preview_, 1);
    layout->addLayout(buttons);

    connect(import_button_, &QPushButton::clicked, this, &TImportICal::Button1Click);
    connect(cancel_button_, &QPushButton::clicked, this, &TImportICal::Button2Click);
}

void TImportICal::ImportICalendar1Click() {
    const std::optional<std::filesystem::path> chosen
        = picker_(parentWidget(), IcsFileRole::kImport, path_);
    if (!chosen || !Preview(*chosen))
        return;
    if (run_modal_)
        run_modal_(*this);
    else
        exec();
    plan_.reset();
}

bool TImportICal::Preview(const std::filesystem::path& path) {
    plan_.reset();
    path_ = path;
    // The plan counts the entries of the days as they stand, the note being typed included.
    document_.FlushPendingEdits();
    Result<ImportPlan> plan = [&]() -> Result<ImportPlan> {
        BusyCursor busy;
        Result<std::string> bytes = ReadIcsFile(path, options_.max_bytes);
        if (!bytes)
            return std::move(bytes).error();
        return PlanImport(*bytes, document_.store(), options_);
    }();
    if (!plan) {
        services_.notifier.Error(ErrorText(plan.error()));
        return false;
    }
    plan_ = std::move(*plan);
    file_label_->setText(QStringLiteral("File: %1").arg(PathText(path)));
    QStringList lines;
    for (const std::string& line : ImportPreviewLines(*plan_, document_.store()))
        lines += FromCp1252(line);
    preview_->setPlainText(lines.join(QLatin1Char('\n')));
    import_button_->setEnabled(!plan_->items.empty());
    (import_button_->isEnabled() ? import_button_ : cancel_button_)->setFocus();
    return true;
}

void TImportICal::Button1Click() {
    if (in_import_ || !plan_)
        return;
    in_import_ = true;
    ImportOutcome outcome;
    document_.Run(OperationKind::kImport, "Import '" + NameOf(path_) + "'",
        [&](DocumentEdit& edit) { outcome = ApplyImportPlan(edit, *plan_); });
    plan_.reset();
    in_import_ = false;
    Notifier& notifier = services_.notifier;
    if (!outcome.error)
        notifier.Error(ErrorText(outcome.error.error()));
    else if (!outcome.refused.empty())
        notifier.Information(FromCp1252(ImportRefusalText(outcome.refused, document_.store())));
    accept();
}

void TImportICal::Button2Click() {
    plan_.reset();
    reject();
}

} // namespace orvane
