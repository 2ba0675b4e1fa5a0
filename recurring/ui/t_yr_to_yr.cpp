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
    options.from_caption = "Begin Date:";
    options.has_to = false;
    options.automatic_update_controls_to = false;
    return options;
}

} // namespace

TYrToYr::TYrToYr(CalendarHost& host, QWidget* parent)
    : EntryDialog(host, YearlyOptions(), parent) {
    setFixedSize(166, 155);
    from_group_->setGeometry(8, 4, 150, 44);
    DateTimePicker1->setGeometry(8, 17, 134, 21);
    entry_group_->setGeometry(8, 52, 150, 44);
    Edit1->setGeometry(8, 17, 134, 21);
    CheckBox1->setGeometry(8, 100, 150, 18);
    Button1->setGeometry(8, 124, 70, 24);
    Button2->setGeometry(88, 124, 70, 24);
    // A Begin date refused as outside the calendar stays marked until the user changes it.
    connect(DateTimePicker1, &DatePicker::DatePicked, this,
        [this] { MarkError(DateTimePicker1, false); });
}

bool TYrToYr::RunOk(const Date& from, const Date&, const std::string& text) {
    return ApplyAndReport(PlanYearly(host_.State().store, from, text), text);
}

} // namespace orvane
