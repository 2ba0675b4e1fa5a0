// The machinery the daily, weekly, monthly, yearly and delete dialogs share: the From and To
// pickers with their checks and messages, the Entry box with its width rule and Enter key, the
// "Automatic Update" box, OK and Cancel, the focus handed back to the grid on close, and the
// preview panel that shows, whenever a field changes, what OK would do.
#pragma once

#include "core/calendar_document.h"
#include "core/date_key.h"
#include "core/ui/calendar_host.h"
#include "core/ui/services.h"
#include "recurring/date_checks.h"
#include "recurring/preview.h"
#include "recurring/scheduling.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace orvane {

class DatePicker;
class PreviewPanel;

inline constexpr int kEntryWidthLimit = 174; // pixels, notes in the normal weight
inline constexpr int kEntryWidthLimitBold = 147;

struct EntryDialogOptions {
    const char* caption = "";
    const char* operation = ""; // what the change is called: "Daily Entry"
    const char* from_caption = "From:";
    bool has_to = true; // the yearly dialog has no To date, message area or checks
    bool to_starts_enabled = false; // the delete dialog's To date is always open
    bool checks_reset_entry_colour = false; // the daily dialog's checks
    bool entry_focus_white = true; // the daily dialog uses the window colour
    bool entry_focus_clears_messages = true;
    bool automatic_update_controls_to = true;
    const char* check_box_caption = "Automatic Update";
    bool deleting = false; // the preview names days that lose the entry
};

class EntryDialog : public QDialog {
    Q_OBJECT
public:
    // Date-error flags.
    const DateErrors& Errors() const { return errors_; }
    bool FromTooEarly() const { return errors_.from_too_early; }
    bool FromTooLate() const { return errors_.from_too_late; }
    bool FromAfterTo() const { return errors_.from_after_to; }
    bool ToTooLate() const { return errors_.to_too_late; }

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

    // Computes what OK would do with the fields as they stand and shows it in the panel. Runs by
    // itself after every change of a field.
    void RefreshPreview();
    PreviewPanel* Preview() const { return preview_; }

protected:
    EntryDialog(CalendarDocument& document, CalendarHost& host, Services services,
        const EntryDialogOptions& options, QWidget* parent);

    // Gives the dialog its size: the controls' area of `width` by `height` pixels, and the preview
    // panel to the right of it.
    void SetControlsSize(int width, int height);

    // Holds back the preview while a handler changes several fields: the outermost hold refreshes
    // it once when it ends, so the panel (and a screen reader) sees only the finished change.
    class PreviewHold {
    public:
        explicit PreviewHold(EntryDialog& dialog)
            : dialog_(dialog) {
            ++dialog_.preview_holds_;
        }
        ~PreviewHold() {
            if (--dialog_.preview_holds_ == 0)
                dialog_.RefreshPreview();
        }
        PreviewHold(const PreviewHold&) = delete;
        PreviewHold& operator=(const PreviewHold&) = delete;

    private:
        EntryDialog& dialog_;
    };

    // Dialog-specific steps of the shared frame.
    virtual void PrepareOwn() { }
    virtual void BeforeFromCheck() { }
    virtual void OnAutomaticUpdate(bool /*checked*/) { }
    virtual void FromGroupDoubleClick() { }
    // The words for a field of the dialog's own that OK refuses (the daily interval).
    virtual void AddOwnProblems(std::vector<std::string>& /*problems*/) const { }
    // The plan of an entry dialog's OK for the fields as they stand, made from `store`; nothing
    // when From has no day in the calendar. The preview and OK both make their plan here.
    virtual std::optional<EntryPlan> MakePlan(const DayStore& /*store*/, const Date& /*from*/,
        const Date& /*to*/, const std::string& /*text*/) const {
        return std::nullopt;
    }
    // The preview of a good OK; the entry dialogs preview MakePlan's plan.
    virtual PlanPreview MakePreview(const Date& from, const Date& to, const std::string& text);
    // Words the preview adds below its details (from outside the model).
    virtual QStringList PreviewNotes() const { return {}; }
    // Runs the dialog's work for a good OK; returns true when the dialog should close. The entry
    // dialogs apply MakePlan's plan.
    virtual bool RunOk(const Date& from, const Date& to, const std::string& text);
    // What OK says when From has no day in the calendar.
    std::string OutsideCalendarProblem(const Date& from) const;

    // The plan of one OK, made from the days as they stand (nothing when From has no day).
    using PlanMaker = std::function<std::optional<EntryPlan>(const DayStore&)>;
    // Applies the plan as one document operation, shows the refusals and errors. True to close.
    bool ApplyAndReport(const PlanMaker& make_plan, const std::string& text);

    void AddMessage(std::string_view line);
    void ClearMessages();
    void ApplyCheck(const DateCheck& check);
    void SetEntryColour(bool white);
    void ToGroupDoubleClick();
    bool eventFilter(QObject* watched, QEvent* event) override;

    CalendarDocument& document_;
    CalendarHost& host_;
    Services services_;
    EntryDialogOptions options_;
    QGroupBox* from_group_ = nullptr;
    QGroupBox* to_group_ = nullptr;
    QGroupBox* entry_group_ = nullptr;
    DatePicker* from_picker_ = nullptr; // DateTimePicker1
    DatePicker* to_picker_ = nullptr; // DateTimePicker2; null without a To date
    QLineEdit* entry_edit_ = nullptr; // Edit1
    QPlainTextEdit* messages_ = nullptr; // Memo1; null without a message area
    QCheckBox* update_check_ = nullptr; // CheckBox1, "Automatic Update"
    QPushButton* ok_button_ = nullptr; // Button1
    QPushButton* cancel_button_ = nullptr; // Button2
    PreviewPanel* preview_ = nullptr;

private:
    // The fields as OK reads them, and what it refuses in them, in the order it checks.
    struct OkFields {
        std::vector<std::string> problems;
        bool fields_refused = false; // a date or own error: OK does nothing at all
        bool entry_refused = false; // an empty or unstorable entry: OK marks the Entry box
        Date from {};
        Date to {};
        std::string text;
    };
    OkFields ReadFields() const;
    void Edit1KeyUp();
    Date SlotDate(int slot) const;

    Date initial_from_ {};
    Date last_day_ {};
    DateErrors errors_;
    bool in_ok_ = false;
    int preview_holds_ = 0;
};

} // namespace orvane
