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
    options.checks_reset_entry_colour = true;
    options.entry_focus_white = false;
    return options;
}

} // namespace

TDayToDay::TDayToDay(CalendarHost& host, QWidget* parent)
    : EntryDialog(host, DailyOptions(), parent) {
    setFixedSize(217, 207);
    auto* daily = new QGroupBox(QStringLiteral("Daily:"), this);
    daily->setObjectName(QStringLiteral("GroupBoxDaily"));
    MakeNavy(daily);
    daily->setGeometry(8, 2, 201, 42);
    auto* every = new QLabel(QStringLiteral("Every"), daily);
    every->setGeometry(12, 18, 36, 16);
    MakeNavy(every);
    umNumberEdit1 = new QLineEdit(daily);
    umNumberEdit1->setObjectName(QStringLiteral("umNumberEdit1"));
    umNumberEdit1->setAccessibleName(QStringLiteral("Interval in days"));
    umNumberEdit1->setFrame(false);
    umNumberEdit1->setMaxLength(3);
    InstallInputFilter(umNumberEdit1, host.notifier(),
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}"))));
    umNumberEdit1->setGeometry(50, 17, 32, 18);
    auto* days = new QLabel(QStringLiteral("days..."), daily);
    days->setGeometry(88, 18, 60, 16);
    MakeNavy(days);
    connect(umNumberEdit1, &QLineEdit::textChanged, this, &TDayToDay::umNumberEdit1Change);

    from_group_->setGeometry(8, 48, 98, 46);
    DateTimePicker1->setGeometry(6, 18, 86, 21);
    to_group_->setGeometry(111, 48, 98, 46);
    DateTimePicker2->setGeometry(6, 18, 86, 21);
    entry_group_->setGeometry(8, 98, 124, 46);
    Edit1->setGeometry(6, 18, 112, 21);
    Memo1->setGeometry(136, 102, 76, 42);
    CheckBox1->setGeometry(8, 150, 160, 18);
    Button1->setGeometry(24, 174, 75, 25);
    Button2->setGeometry(118, 174, 75, 25);
}

void TDayToDay::PrepareOwn() {
    umNumberEdit1->setText(QStringLiteral("1"));
    umNumberEdit1Change();
}

void TDayToDay::umNumberEdit1Change() {
    MarkError(umNumberEdit1, false);
    MarkError(Edit1, false);
    const int interval = umNumberEdit1->text().toInt();
    interval_error_ = interval < 1 || interval > kMaxInterval;
    if (interval_error_)
        MarkError(umNumberEdit1, true);
}

bool TDayToDay::RunOk(const Date& from, const Date& to, const std::string& text) {
    const int interval = umNumberEdit1->text().toInt();
    return ApplyAndReport(PlanDaily(host_.State().store, from, to, interval, text), text);
}

} // namespace orvane
