// The error-log window: shows rdat.ovd, the log of refused entries, for reading and editing,
// and writes the text back exactly as it stands with "Save", the window's only way out. Saving
// is how the log is cleared.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace orvane {
class CalendarHost;
}

class TErrors : public QDialog {
    Q_OBJECT

public:
    explicit TErrors(orvane::CalendarHost& host, QWidget* parent = nullptr);

    // Loads rdat.ovd for one showing. A file that exists but cannot be read is reported and
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

    QPlainTextEdit* Memo1;
    QPushButton* Button1;
};
