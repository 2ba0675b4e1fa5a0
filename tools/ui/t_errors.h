// The error-log window: shows rdat.ovd, the log of refused entries, for reading and editing,
// and writes the text back exactly as it stands with "Save", the window's only way out. Saving
// is how the log is cleared.
#pragma once

#include "tools/ui/edit_file_dialog.h"

class QPlainTextEdit;

namespace orvane {

class TErrors : public EditFileDialog {
    Q_OBJECT

public:
    // `backups` take the file each save replaces.
    TErrors(const DataFolder& data_folder, Notifier& notifier, FileBackups& backups,
        QWidget* parent = nullptr);

    // Loads rdat.ovd for one showing.
    void Prepare() override;

private:
    std::optional<std::string> BytesToSave() override;
    std::string_view AsideExtension() const override { return ".txt"; }
    bool Modified() const override;
    QString SaveQuestion() const override;

    QPlainTextEdit* log_box_ = nullptr; // Memo1
};

} // namespace orvane
