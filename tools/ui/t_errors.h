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
    TErrors(const DataFolder& data_folder, Notifier& notifier, QWidget* parent = nullptr);

    // Loads rdat.ovd for one showing.
    void Prepare() override;

private:
    bool SaveFile() override;
    bool Modified() const override;
    QString SaveQuestion() const override;

    QPlainTextEdit* log_box_ = nullptr; // Memo1
};

} // namespace orvane
