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

TMoToMo::TMoToMo(CalendarHost& host, QWidget* parent)
    : EntryDialog(host, MonthlyOptions(), parent) {
    setFixedSize(217, 227);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(8, 4, 201, 30);
    Label1 = new QLabel(QStringLiteral("On the"), panel);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 7, 40, 16);
    MakeNavy(Label1);
    Edit2 = new QLineEdit(panel);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setAccessibleName(QStringLiteral("Day of the month"));
    Edit2->setReadOnly(true);
    Edit2->setFrame(false);
    Edit2->setFocusPolicy(Qt::NoFocus);
    Edit2->setGeometry(50, 6, 42, 18);
    Label2 = new QLabel(QStringLiteral("of each month..."), panel);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(96, 7, 100, 16);
    MakeNavy(Label2);
    CheckBox2 = new QCheckBox(QStringLiteral("Last day of each month"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setAccessibleName(QStringLiteral("Last day of each month"));
    CheckBox2->setGeometry(8, 38, 190, 18);
    connect(CheckBox2, &QCheckBox::clicked, this, &TMoToMo::CheckBox2Click);

    from_group_->setGeometry(8, 60, 98, 46);
    DateTimePicker1->setGeometry(6, 18, 86, 21);
    to_group_->setGeometry(111, 60, 98, 46);
    DateTimePicker2->setGeometry(6, 18, 86, 21);
    entry_group_->setGeometry(8, 110, 124, 46);
    Edit1->setGeometry(6, 18, 112, 21);
    Memo1->setGeometry(136, 114, 76, 42);
    CheckBox1->setGeometry(8, 162, 160, 18);
    Button1->setGeometry(24, 192, 75, 25);
    Button2->setGeometry(118, 192, 75, 25);
}

void TMoToMo::CheckBox2Click() {
    const bool last_day = CheckBox2->isChecked();
    for (QWidget* widget : { static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
             static_cast<QWidget*>(Edit2) })
        widget->setEnabled(!last_day);
    QFont font = Edit2->font();
    font.setItalic(last_day);
    Edit2->setFont(font);
}

void TMoToMo::PrepareOwn() {
    CheckBox2->setChecked(false);
    CheckBox2Click();
}

void TMoToMo::BeforeFromCheck() {
    Edit2->setText(DayWithSuffix(DateTimePicker1->date().day()));
}

void TMoToMo::FromGroupDoubleClick() {
    DateTimePicker1->SetDateQuietly(ToQDate(InitialFromDate()));
    MarkError(DateTimePicker1, false);
    ClearMessages();
    FromCheck();
}

bool TMoToMo::RunOk(const Date& from, const Date& to, const std::string& text) {
    return ApplyAndReport(
        PlanMonthly(host_.State().store, from, to, CheckBox2->isChecked(), text), text);
}

} // namespace orvane
