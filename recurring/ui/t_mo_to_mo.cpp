#include "recurring/ui/t_mo_to_mo.h"

#include "core/ui/dialog_style.h"
#include "recurring/ui/date_picker.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace orvane {

namespace {

EntryDialogOptions MonthlyOptions() {
    EntryDialogOptions options;
    options.caption = "Month to Month Entries";
    options.operation = "Monthly Entry";
    return options;
}

} // namespace

QString DayWithSuffix(int day) {
    const char* suffix = " th";
    if (day < 11 || day > 13) {
        switch (day % 10) {
        case 1:
            suffix = " st";
            break;
        case 2:
            suffix = " nd";
            break;
        case 3:
            suffix = " rd";
            break;
        default:
            break;
        }
    }
    return QStringLiteral("%1").arg(day, 2, 10, QLatin1Char(' ')) + QString::fromLatin1(suffix);
}

TMoToMo::TMoToMo(CalendarDocument& document, CalendarHost& host, Services services, QWidget* parent)
    : EntryDialog(document, host, services, MonthlyOptions(), parent) {
    SetControlsSize(217, 227);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(8, 4, 201, 30);
    on_the_label_ = new QLabel(QStringLiteral("On the"), panel);
    on_the_label_->setObjectName(QStringLiteral("Label1"));
    on_the_label_->setGeometry(8, 7, 40, 16);
    MakeNavy(on_the_label_);
    day_edit_ = new QLineEdit(panel);
    day_edit_->setObjectName(QStringLiteral("Edit2"));
    day_edit_->setAccessibleName(QStringLiteral("Day of the month"));
    day_edit_->setReadOnly(true);
    day_edit_->setFrame(false);
    day_edit_->setFocusPolicy(Qt::NoFocus);
    day_edit_->setGeometry(50, 6, 42, 18);
    each_month_label_ = new QLabel(QStringLiteral("of each month..."), panel);
    each_month_label_->setObjectName(QStringLiteral("Label2"));
    each_month_label_->setGeometry(96, 7, 100, 16);
    MakeNavy(each_month_label_);
    last_day_check_ = new QCheckBox(QStringLiteral("Last day of each month"), this);
    last_day_check_->setObjectName(QStringLiteral("CheckBox2"));
    last_day_check_->setAccessibleName(QStringLiteral("Last day of each month"));
    last_day_check_->setGeometry(8, 38, 190, 18);
    connect(last_day_check_, &QCheckBox::clicked, this, &TMoToMo::CheckBox2Click);

    from_group_->setGeometry(8, 60, 98, 46);
    from_picker_->setGeometry(6, 18, 86, 21);
    to_group_->setGeometry(111, 60, 98, 46);
    to_picker_->setGeometry(6, 18, 86, 21);
    entry_group_->setGeometry(8, 110, 124, 46);
    entry_edit_->setGeometry(6, 18, 112, 21);
    messages_->setGeometry(136, 114, 76, 42);
    update_check_->setGeometry(8, 162, 160, 18);
    ok_button_->setGeometry(24, 192, 75, 25);
    cancel_button_->setGeometry(118, 192, 75, 25);
}

void TMoToMo::CheckBox2Click() {
    const PreviewHold hold(*this);
    const bool last_day = last_day_check_->isChecked();
    for (QWidget* widget : { static_cast<QWidget*>(on_the_label_),
             static_cast<QWidget*>(each_month_label_), static_cast<QWidget*>(day_edit_) })
        widget->setEnabled(!last_day);
    QFont font = day_edit_->font();
    font.setItalic(last_day);
    day_edit_->setFont(font);
}

void TMoToMo::PrepareOwn() {
    last_day_check_->setChecked(false);
    CheckBox2Click();
}

void TMoToMo::BeforeFromCheck() {
    day_edit_->setText(DayWithSuffix(from_picker_->date().day()));
}

void TMoToMo::FromGroupDoubleClick() {
    from_picker_->SetDateQuietly(ToQDate(InitialFromDate()));
    MarkError(from_picker_, false);
    ClearMessages();
    FromCheck();
}

std::optional<EntryPlan> TMoToMo::MakePlan(
    const DayStore& store, const Date& from, const Date& to, const std::string& text) const {
    return PlanMonthly(store, from, to, last_day_check_->isChecked(), text);
}

} // namespace orvane
