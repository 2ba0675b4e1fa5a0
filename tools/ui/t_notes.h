// The notes window: free notes that belong to no day, kept as rich text in notes.ovd, edited
// in place and written back with "Save", the window's only way out.
#pragma once

#include <QDialog>

class QPushButton;
class QTextEdit;

namespace orvane {
class CalendarHost;
}

class TNotes : public QDialog {
    Q_OBJECT

public:
    explicit TNotes(orvane::CalendarHost& host, QWidget* parent = nullptr);

    // Loads notes.ovd for one showing. A file that exists but cannot be read is reported and
    // not offered for saving: the box stays read-only and the button only closes.
    void Prepare();
    void OpenModal();

    void Button1Click(); // "Save"

    bool SaveOffered() const { return save_offered_; }

public slots:
    // Leaving without "Save" (Escape, the window manager's close) is refused.
    void reject() override;

private:
    orvane::CalendarHost& host_;
    bool save_offered_ = true;

    QTextEdit* RichEdit1;
    QPushButton* Button1;
};
