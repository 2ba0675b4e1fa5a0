// File, "Export iCalendar...": writes the calendar's days, the recurring entries and, when asked,
// the archive into one .ics file that other calendar programs read, and says what it wrote.
//
//   TExportICal window(document, services, SystemIcsFilePicker(), &form);
//   window.OpenModal();
#pragma once

#include "core/calendar_document.h"
#include "core/clock.h"
#include "core/ui/services.h"
#include "ical/ui/ics_file_picker.h"

#include <QDialog>
#include <chrono>
#include <filesystem>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace orvane {

// The moment of `now`, a local time of the computer's zone (every exported event's DTSTAMP).
std::chrono::sys_seconds StampOf(const LocalTime& now);

class TExportICal final : public QDialog {
    Q_OBJECT
public:
    TExportICal(CalendarDocument& document, Services services, IcsFilePicker picker,
        QWidget* parent = nullptr);

    // Re-initialises the window for one showing; the file and the archive choice stay.
    void Prepare();
    void OpenModal();

    void Button1Click(); // Export
    void Button2Click(); // Cancel
    void Button3Click(); // Browse...: the file dialog

private:
    CalendarDocument& document_;
    Services services_;
    IcsFilePicker picker_;
    QLineEdit* file_edit_ = nullptr; // Edit1
    QCheckBox* archive_check_ = nullptr; // CheckBox1
    QPushButton* export_button_ = nullptr; // Button1
    QPushButton* cancel_button_ = nullptr; // Button2
    QPushButton* browse_button_ = nullptr; // Button3
    // The file the file dialog chose: it already asked before replacing it.
    std::filesystem::path confirmed_;
    bool in_export_ = false;
};

} // namespace orvane
