// TRestore, "Restore...": the backups of the data files, newest first, each with its date, time,
// size and (for the calendar) how many days differ from the calendar in memory; the chosen one's
// changed days previewed; "Restore" puts it back after a confirmation, as one step Undo can take
// back.
#pragma once

#include "core/calendar_document.h"
#include "core/file_backups.h"
#include "core/ui/services.h"

#include <QDialog>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace orvane {

class TRestore final : public QDialog {
    Q_OBJECT
public:
    TRestore(CalendarDocument& document, FileBackups& backups, Services services,
        QWidget* parent = nullptr);

    // Lists the backups as they are now (the folder may have gone; it is made again at the next
    // save) and selects the newest.
    void Prepare();
    void OpenModal();

    void Button1Click(); // Restore
    void Button2Click(); // Close

    QTreeWidget* list() const { return list_; }
    QPlainTextEdit* preview() const { return preview_; }
    QPushButton* restore_button() const { return restore_; }
    const std::vector<BackupFile>& shown() const { return shown_; }

private:
    void ShowPreview();

    CalendarDocument& document_;
    FileBackups& backups_;
    Services services_;
    std::vector<BackupFile> shown_;
    QTreeWidget* list_ = nullptr;
    QPlainTextEdit* preview_ = nullptr;
    QLabel* label_ = nullptr;
    QPushButton* restore_ = nullptr;
    QPushButton* close_ = nullptr;
};

} // namespace orvane
