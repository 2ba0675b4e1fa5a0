#include "recurring/ui/t_day_to_day.h"

#include "core/ui/dialog_style.h"
#include "core/ui/input_filter.h"
#include "recurring/recurring_record.h"
#include "recurring/ui/date_picker.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace orvane {

namespace {

EntryDialogOptions DailyOptions() {
    EntryDialogOptions options;
    options.caption = "Day to Day Entries";
    options.operation = "Daily Entry";
    options.checks_reset_entry_colour = true;
    options.entry_focus_white = false;
    return options;
}

} // namespace

TDayToDay::TDayToDay(
    CalendarDocument& document, CalendarHost& host, Services services, QWidget* parent)
    : EntryDialog(document, host, services, DailyOptions(), parent) {
    SetControlsSize(217, 207);
    auto* daily = new QGroupBox(QStringLiteral("Daily:"), this);
    daily->setObjectName(QStringLiteral("GroupBoxDaily"));
    MakeNavy(daily);
    daily->setGeometry(8, 2, 201, 42);
    auto* every = new QLabel(QStringLiteral("Every"), daily);
    every->setGeometry(12, 18, 36, 16);
    MakeNavy(every);
    interval_edit_ = new QLineEdit(daily);
    interval_edit_->setObjectName(QStringLiteral("umNumberEdit1"));
    interval_edit_->setAccessibleName(QStringLiteral("Interval in days"));
    interval_edit_->setFrame(false);
    interval_edit_->setMaxLength(3);
    InstallInputFilter(interval_edit_, services.notifier,
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}"))));
    interval_edit_->setGeometry(50, 17, 32, 18);
    auto* days = new QLabel(QStringLiteral("days..."), daily);
    days->setGeometry(88, 18, 60, 16);
    MakeNavy(days);
    connect(interval_edit_, &QLineEdit::textChanged, this, &TDayToDay::umNumberEdit1Change);

    from_group_->setGeometry(8, 48, 98, 46);
    from_picker_->setGeometry(6, 18, 86, 21);
    to_group_->setGeometry(111, 48, 98, 46);
    to_picker_->setGeometry(6, 18, 86, 21);
    entry_group_->setGeometry(8, 98, 124, 46);
    entry_edit_->setGeometry(6, 18, 112, 21);
    messages_->setGeometry(136, 102, 76, 42);
    update_check_->setGeometry(8, 150, 160, 18);
    ok_button_->setGeometry(24, 174, 75, 25);
    cancel_button_->setGeometry(118, 174, 75, 25);
}

void TDayToDay::PrepareOwn() {
    interval_edit_->setText(QStringLiteral("1"));
    umNumberEdit1Change();
}

void TDayToDay::umNumberEdit1Change() {
    const PreviewHold hold(*this);
    MarkError(interval_edit_, false);
    MarkError(entry_edit_, false);
    interval_error_ = !IntervalInRange(interval_edit_->text().toInt());
    if (interval_error_)
        MarkError(interval_edit_, true);
}

void TDayToDay::AddOwnProblems(std::vector<std::string>& problems) const {
    if (interval_error_)
        problems.emplace_back(kIntervalProblem);
}

std::optional<EntryPlan> TDayToDay::MakePlan(
    const DayStore& store, const Date& from, const Date& to, const std::string& text) const {
    return PlanDaily(store, from, to, interval_edit_->text().toInt(), text);
}

} // namespace orvane
