// The machinery the daily, weekly, monthly, yearly and delete dialogs share: the From and To
// pickers with their checks and messages, the Entry box with its width rule and Enter key, the
// "Automatic Update" box, OK and Cancel, and the focus handed back to the grid on close.
#pragma once

#include "core/date_key.h"
#include "core/ui/calendar_host.h"
#include "recurring/scheduling.h"

#include <QDialog>
#include <optional>
#include <string>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace orvane {

class DatePicker;

inline constexpr int kEntryWidthLimit = 174; // pixels, notes in the normal weight
inline constexpr int kEntryWidthLimitBold = 147;

// The texts the date checks add to the message area.
inline constexpr const char* kFromBeforeCalendar = "From date < calendar";
inline constexpr const char* kFromAfterCalendar = "From date > calendar";
inline constexpr const char* kFromAfterTo = "From date  > To date";
inline constexpr const char* kToAfterCalendar = "To date > calendar";

struct EntryDialogOptions {
    const char* caption = "";
    const char* from_caption = "From:";
    bool has_to = true; // the yearly dialog has no To date, message area or checks
    bool to_starts_enabled = false; // the delete dialog's To date is always open
    bool checks_reset_entry_colour = false; // the daily dialog's checks
    bool entry_focus_white = true; // the daily dialog uses the window colour
    bool entry_focus_clears_messages = true;
    bool automatic_update_controls_to = true;
    const char* check_box_caption = "Automatic Update";
};

class EntryDialog : public QDialog {
    Q_OBJECT
public:
    // Date-error flags.
    bool FromTooEarly() const { return from_too_early_; }
    bool FromTooLate() const { return from_too_late_; }
    bool FromAfterTo() const { return from_after_to_; }
    bool ToTooLate() const { return to_too_late_; }

    // Re-initialises the dialog for one showing.
    void Prepare();
    // Prepare(), then the modal loop.
    void OpenModal();

    // The first day the dialog proposes and the last day it writes (slot 735).
    Date InitialFromDate() const { return initial_from_; }
    Date LastCalendarDay() const { return last_day_; }

    void FromCheck();
    void ToCheck();
    void Button1Click(); // OK
    void Button2Click(); // Cancel
    void CheckBox1Click(); // "Automatic Update"

    void done(int result) override;

protected:
    EntryDialog(CalendarHost& host, const EntryDialogOptions& options, QWidget* parent);

    // Dialog-specific steps of the shared frame.
    virtual void PrepareOwn() { }
    virtual void BeforeFromCheck() { }
    virtual bool OwnError() const { return false; }
    virtual void OnAutomaticUpdate(bool /*checked*/) { }
    virtual void FromGroupDoubleClick() { }
    // Runs the dialog's work for a good OK; returns true when the dialog should close.
    virtual bool RunOk(const Date& from, const Date& to, const std::string& text) = 0;

    // Writes an entry plan, shows the refusals and errors, refills the grid. True to close.
    bool ApplyAndReport(const std::optional<EntryPlan>& plan, const std::string& text);

    void AddMessage(const char* line);
    void ClearMessages();
    void SetEntryColour(bool white);
    bool AnyDateError() const;
    void ToGroupDoubleClick();
    bool eventFilter(QObject* watched, QEvent* event) override;

    CalendarHost& host_;
    EntryDialogOptions options_;
    QGroupBox* from_group_ = nullptr;
    QGroupBox* to_group_ = nullptr;
    QGroupBox* entry_group_ = nullptr;
    DatePicker* DateTimePicker1 = nullptr;
    DatePicker* DateTimePicker2 = nullptr; // null without a To date
    QLineEdit* Edit1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr; // null without a message area
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

private:
    void Edit1KeyUp();
    Date SlotDate(int slot) const;

    Date initial_from_ {};
    Date last_day_ {};
    bool from_too_early_ = false;
    bool from_too_late_ = false;
    bool from_after_to_ = false;
    bool to_too_late_ = false;
    bool in_ok_ = false;
};

} // namespace orvane
