// File, "Import iCalendar...": chooses an .ics file, reads it and works out where its events go
// without changing anything, previews that plan (entries and days, the full days by date, replaced
// characters, events left out with their lines, the time zone), and on Import applies exactly
// that plan as one document operation, so that one undo takes the whole import back.
//
//   TImportICal window(document, services, SystemIcsFilePicker(), &form);
//   window.ImportICalendar1Click();   // file dialog, preview, import
#pragma once

#include "core/calendar_document.h"
#include "core/ui/services.h"
#include "ical/ical_import.h"
#include "ical/ui/ics_file_picker.h"

#include <QDialog>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace orvane {

// The zone UTC times are shown in: the computer's own (an IANA name), or empty when unknown.
std::string SystemZoneName();

class TImportICal final : public QDialog {
    Q_OBJECT
public:
    // `run_modal` shows the preview for the command; by default exec().
    TImportICal(CalendarDocument& document, Services services, IcsFilePicker picker,
        QWidget* parent = nullptr, std::function<void(TImportICal&)> run_modal = nullptr);

    // The options every plan is made with; the zone is the computer's unless a test sets another.
    ImportOptions& options() { return options_; }

    // The File menu's "Import iCalendar...": the file dialog, then the preview, then the import.
    void ImportICalendar1Click();
    // Reads `path` and makes the plan the preview shows; false, after telling why, when the file
    // gives nothing to preview.
    bool Preview(const std::filesystem::path& path);
    const std::optional<ImportPlan>& plan() const { return plan_; }

    void Button1Click(); // Import
    void Button2Click(); // Cancel

private:
    CalendarDocument& document_;
    Services services_;
    IcsFilePicker picker_;
    std::function<void(TImportICal&)> run_modal_;
    ImportOptions options_;
    QLabel* file_label_ = nullptr; // Label1
    QPlainTextEdit* preview_ = nullptr; // Memo1
    QPushButton* import_button_ = nullptr; // Button1
    QPushButton* cancel_button_ = nullptr; // Button2
    std::optional<ImportPlan> plan_;
    std::filesystem::path path_; // the file of the plan; the next file dialog opens here
    bool in_import_ = false;
};

} // namespace orvane
