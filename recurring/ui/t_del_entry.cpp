#include "recurring/ui/t_del_entry.h"

#include "core/ui/dialog_style.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"
#include "recurring/delete_entry.h"
#include "recurring/ui/date_picker.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace orvane {

namespace {

EntryDialogOptions DeleteOptions() {
    EntryDialogOptions options;
    options.caption = "Delete Entry";
    options.to_starts_enabled = true;
    options.automatic_update_controls_to = false;
    options.check_box_caption = "Also Discontinue Automatic Update";
    return options;
}

} // namespace

TDelEntry::TDelEntry(CalendarHost& host, QWidget* parent)
    : EntryDialog(host, DeleteOptions(), parent) {
    setFixedSize(217, 163);
    from_group_->setGeometry(8, 4, 98, 46);
    DateTimePicker1->setGeometry(6, 18, 86, 21);
    to_group_->setGeometry(111, 4, 98, 46);
    DateTimePicker2->setGeometry(6, 18, 86, 21);
    entry_group_->setGeometry(8, 54, 124, 46);
    Edit1->setGeometry(6, 18, 112, 21);
    Memo1->setGeometry(136, 58, 76, 42);
    CheckBox1->setGeometry(8, 104, 205, 18);
    Button1->setGeometry(24, 130, 75, 25);
    Button2->setGeometry(118, 130, 75, 25);
}

bool TDelEntry::RunOk(const Date& from, const Date& to, const std::string& text) {
    CalendarState& state = host_.State();
    const auto from_slot = FindSlot(state.store, from);
    if (!from_slot) {
        MarkError(DateTimePicker1, true);
        return false;
    }
    const int span
        = static_cast<int>((std::chrono::sys_days(to) - std::chrono::sys_days(from)).count());
    const DeleteOutcome outcome
        = DeleteEntry(state, *from_slot, *from_slot + span, text, CheckBox1->isChecked());
    if (outcome.days_changed > 0)
        host_.MarkGridStale();
    if (!outcome.error)
        host_.notifier().Error(ErrorText(outcome.error.error()));
    host_.RadioButton1Click();
    return outcome.error.has_value();
}

} // namespace orvane
