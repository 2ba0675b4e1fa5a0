// The notes window: free notes that belong to no day, kept as rich text in notes.ovd, edited
// in place and written back with "Save", the window's only way out.
#pragma once

#include "tools/ui/edit_file_dialog.h"

class QTextEdit;

namespace orvane {

class TNotes : public EditFileDialog {
    Q_OBJECT

public:
    // `backups` take the file each save replaces.
    TNotes(const DataFolder& data_folder, Notifier& notifier, FileBackups& backups,
        QWidget* parent = nullptr);

    // Loads notes.ovd for one showing.
    void Prepare() override;
    // Selects the characters [position, position + length) of the notes' text (each paragraph
    // ended by one character), as much of them as it holds, and scrolls them into view.
    void SelectText(int position, int length);
    // Prepare(), the selection, then the window runs modally.
    void OpenModalAt(int position, int length);

private:
    std::optional<std::string> BytesToSave() override;
    std::string_view AsideExtension() const override { return ".rtf"; }
    bool Modified() const override;
    QString SaveQuestion() const override;

    QTextEdit* notes_box_ = nullptr; // RichEdit1
};

} // namespace orvane
