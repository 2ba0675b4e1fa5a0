#include "recurring/ui/t_yr_to_yr.h"

#include "core/ui/dialog_style.h"
#include "recurring/ui/date_picker.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace orvane {

namespace {

EntryDialogOptions YearlyOptions() {
    EntryDialogOptions options;
    options.caption = "Year to Year Entries";
    options.operation = "Yearly Entry";
    options.from_caption = "Begin Date:";
    options.has_to = false;
    options.automatic_update_controls_to = false;
    return options;
}

} // namespace

TYrToYr::TYrToYr(CalendarDocument& document, CalendarHost& host, Services services, QWidget* parent)
    : EntryDialog(document, host, services, YearlyOptions(), parent) {
    SetControlsSize(166, 155);
    from_group_->setGeometry(8, 4, 150, 44);
    from_picker_->setGeometry(8, 17, 134, 21);
    entry_group_->setGeometry(8, 52, 150, 44);
    entry_edit_->setGeometry(8, 17, 134, 21);
    update_check_->setGeometry(8, 100, 150, 18);
    ok_button_->setGeometry(8, 124, 70, 24);
    cancel_button_->setGeometry(88, 124, 70, 24);
    // A Begin date refused as outside the calendar stays marked until the user changes it.
    connect(
        from_picker_, &DatePicker::DatePicked, this, [this] { MarkError(from_picker_, false); });
}

std::optional<EntryPlan> TYrToYr::MakePlan(
    const DayStore& store, const Date& from, const Date&, const std::string& text) const {
    return PlanYearly(store, from, text);
}

} // namespace orvane
