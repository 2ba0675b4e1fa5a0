#include "history/ui/t_restore.h"

#include "core/data_folder.h"
#include "core/text_file.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "history/backup_restore.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvane {

namespace {

enum Column { kDate, kTime, kFile, kSize, kDays, kColumns };

QString TwoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

TRestore::TRestore(
    CalendarDocument& document, FileBackups& backups, Services services, QWidget* parent)
    : QDialog(parent)
    , document_(document)
    , backups_(backups)
    , services_(services) {
    setObjectName(QStringLiteral("Restore"));
    setWindowTitle(QStringLiteral("Restore a Backup"));
    resize(640, 480);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("Label1"));
    label_->setWordWrap(true);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("ListView1"));
    list_->setAccessibleName(QStringLiteral("Backups"));
    list_->setColumnCount(kColumns);
    list_->setHeaderLabels({ QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("File"),
        QStringLiteral("Size"), QStringLiteral("Days that differ") });
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->header()->setStretchLastSection(true);
    preview_ = new QPlainTextEdit(this);
    preview_->setObjectName(QStringLiteral("Memo1"));
    preview_->setAccessibleName(QStringLiteral("Changed days"));
    preview_->setReadOnly(true);
    preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
    restore_ = new QPushButton(QStringLiteral("&Restore"), this);
    restore_->setObjectName(QStringLiteral("Button1"));
    close_ = new QPushButton(QStringLiteral("Close"), this);
    close_->setObjectName(QStringLiteral("Button2"));
    close_->setDefault(true);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(restore_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(list_, 1);
    layout->addWidget(preview_, 1);
    layout->addLayout(buttons);

    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { ShowPreview(); });
    connect(restore_, &QPushButton::clicked, this, &TRestore::Button1Click);
    connect(close_, &QPushButton::clicked, this, &TRestore::Button2Click);
}

void TRestore::Prepare() {
    // The note being typed counts as part of the calendar the backups are compared with.
    document_.FlushPendingEdits();
    shown_ = backups_.List();
    list_->clear();
    for (const BackupFile& file : shown_) {
        auto* row = new QTreeWidgetItem(list_);
        row->setText(kDate, FromCp1252(DateKey(file.taken.date)));
        row->setText(kTime,
            TwoDigits(file.taken.hour) + QLatin1Char(':') + TwoDigits(file.taken.minute)
                + QLatin1Char(':') + TwoDigits(file.taken.second));
        row->setText(kFile, QString::fromStdString(file.of));
        row->setText(kSize, QStringLiteral("%1 bytes").arg(file.size));
        row->setTextAlignment(kSize, Qt::AlignRight | Qt::AlignVCenter);
        if (file.of == kDayFileName) {
            const Result<std::string> bytes = ReadWholeFile(file.path);
            const Result<std::vector<DayChange>> changes = bytes
                ? CompareDayBackup(document_.store(), *bytes)
                : Result<std::vector<DayChange>>(bytes.error());
            row->setText(kDays,
                changes ? QString::number(changes->size()) : QStringLiteral("cannot be read"));
        }
    }
    for (int column = 0; column < kDays; ++column)
        list_->resizeColumnToContents(column);
    label_->setText(shown_.empty()
            ? QStringLiteral("There are no backups yet. Each save keeps the file it replaces in "
                             "the folder backups.")
            : QStringLiteral("Backups are kept in the folder backups, newest first. Restoring "
                             "one keeps the calendar as it is now as a backup first, and Undo "
                             "takes the restore back."));
    restore_->setEnabled(!shown_.empty());
    if (!shown_.empty())
        list_->setCurrentItem(list_->topLevelItem(0));
    ShowPreview();
}

void TRestore::OpenModal() {
    Prepare();
    exec();
}

void TRestore::ShowPreview() {
    const int row = list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
    if (row < 0 || row >= static_cast<int>(shown_.size())) {
        preview_->clear();
        return;
    }
    const BackupFile& file = shown_[static_cast<std::size_t>(row)];
    const Result<std::string> bytes = ReadWholeFile(file.path);
    if (!bytes) {
        preview_->setPlainText(ErrorText(bytes.error()));
        return;
    }
    if (file.of != kDayFileName) {
        // Another data file is shown as the backup holds it.
        preview_->setPlainText(FromCp1252(*bytes));
        return;
    }
    const Result<std::vector<DayChange>> changes = CompareDayBackup(document_.store(), *bytes);
    if (!changes)
        preview_->setPlainText(ErrorText(changes.error()));
    else if (changes->empty())
        preview_->setPlainText(QStringLiteral("Every day is as the calendar holds it now."));
    else
        preview_->setPlainText(FromCp1252(PreviewChanges(*changes)));
}

void TRestore::Button1Click() {
    const int row = list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
    if (row < 0 || row >= static_cast<int>(shown_.size()))
        return;
    const BackupFile file = shown_[static_cast<std::size_t>(row)];
    const QString what = file.of == kDayFileName ? QStringLiteral("the calendar")
                                                 : QString::fromStdString(file.of);
    const QString question = QStringLiteral("Restore %1 as it was on %2? What it holds now is kept "
                                            "as a backup first, and Undo takes the restore back.")
                                 .arg(what, FromCp1252(BackupTimeText(file)));
    if (!services_.notifier.Confirm(question, QStringLiteral("Restore")))
        return;
    const Status restored = RestoreBackup(document_, backups_, file);
    if (!restored) {
        services_.notifier.Error(ErrorText(restored.error()));
        Prepare();
        return;
    }
    accept();
}

void TRestore::Button2Click() {
    reject();
}

} // namespace orvane
