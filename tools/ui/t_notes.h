// The notes window: free notes that belong to no day, kept as rich text in notes.ovd, edited
// in place and written back with "Save", the window's only way out.
#pragma once

#include "tools/ui/edit_file_dialog.h"

class QTextEdit;

class TNotes : public orvane::EditFileDialog {
    Q_OBJECT

public:
    explicit TNotes(orvane::CalendarHost& host, QWidget* parent = nullptr);

    // Loads notes.ovd for one showing.
    void Prepare() override;

private:
    bool SaveFile() override;

    QTextEdit* RichEdit1;
};
