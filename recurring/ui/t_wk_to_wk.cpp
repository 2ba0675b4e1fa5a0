#include "recurring/ui/t_wk_to_wk.h"

#include "core/ui/dialog_style.h"
#include "recurring/recurring_record.h"
#include "recurring/ui/date_picker.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace orvane {

namespace {

EntryDialogOptions WeeklyOptions() {
    EntryDialogOptions options;
    options.caption = "Week to Week Entries";
    options.from_caption = "Begin date:";
    options.entry_focus_clears_messages = false;
    return options;
}

struct RadioSpec {
    const char* name;
    const char* caption;
    int x;
    int y;
};

// By occurrence code.
constexpr std::array<RadioSpec, 7> kRadios = { RadioSpec { "RadioButtonE", "Every", 84, 6 },
    RadioSpec { "RadioButton1", "1st", 6, 26 }, RadioSpec { "RadioButton2", "2nd", 48, 26 },
    RadioSpec { "RadioButton3", "3rd", 90, 26 }, RadioSpec { "RadioButton4", "4th", 132, 26 },
    RadioSpec { "RadioButton5", "5th", 174, 26 }, RadioSpec { "RadioButtonL", "Last", 148, 6 } };

} // namespace

TWkToWk::TWkToWk(CalendarHost& host, QWidget* parent)
    : EntryDialog(host, WeeklyOptions(), parent) {
    setFixedSize(228, 222);
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Panel1"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(8, 4, 212, 68);
    auto* on = new QLabel(QStringLiteral("On:"), frame);
    on->setGeometry(6, 8, 24, 16);
    MakeNavy(on);
    Edit2 = new QLineEdit(frame);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setAccessibleName(QStringLiteral("Weekday"));
    Edit2->setReadOnly(true);
    Edit2->setFrame(false);
    Edit2->setFocusPolicy(Qt::NoFocus);
    Edit2->setGeometry(30, 6, 44, 18);
    for (int code = 0; code < 7; ++code) {
        auto* radio = new QRadioButton(QString::fromLatin1(kRadios[code].caption), frame);
        radio->setObjectName(QString::fromLatin1(kRadios[code].name));
        radio->setAccessibleName(QString::fromLatin1(kRadios[code].caption));
        radio->setGeometry(kRadios[code].x, kRadios[code].y, code == 0 || code == 6 ? 60 : 42, 18);
        connect(radio, &QRadioButton::clicked, this, [this, code] { RadioButtonClick(code); });
        radio_[code] = radio;
    }
    CheckBox2 = new QCheckBox(frame);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setAccessibleName(QStringLiteral("For begin month only"));
    CheckBox2->setGeometry(6, 46, 18, 18);
    Label2 = new QLabel(QStringLiteral("For begin month only"), frame);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(26, 47, 150, 16);
    Label2->setBuddy(CheckBox2);
    MakeNavy(Label2);

    from_group_->setGeometry(8, 76, 104, 46);
    DateTimePicker1->setGeometry(6, 18, 92, 21);
    to_group_->setGeometry(116, 76, 104, 46);
    DateTimePicker2->setGeometry(6, 18, 92, 21);
    entry_group_->setGeometry(8, 126, 128, 46);
    Edit1->setGeometry(6, 18, 116, 21);
    Memo1->setGeometry(140, 130, 82, 42);
    CheckBox1->setGeometry(8, 174, 160, 18);
    Button1->setGeometry(30, 194, 75, 24);
    Button2->setGeometry(124, 194, 75, 24);
}

void TWkToWk::SetMonthOnlyUsable(bool usable) {
    if (!usable)
        CheckBox2->setChecked(false);
    CheckBox2->setEnabled(usable);
    Label2->setEnabled(usable);
    QFont font = Label2->font();
    font.setItalic(!usable);
    Label2->setFont(font);
}

void TWkToWk::PrepareOwn() {
    SetMonthOnlyUsable(false);
    radio_[kEveryWeek]->setChecked(true);
    occurrence_ = kEveryWeek;
}

void TWkToWk::BeforeFromCheck() {
    const int weekday = WeekdayIndex(FromQDate(DateTimePicker1->date()));
    Edit2->setText(QString::fromLatin1(kWeekdayNames[static_cast<std::size_t>(weekday)]));
}

void TWkToWk::RadioButtonClick(int code) {
    radio_[static_cast<std::size_t>(code)]->setChecked(true);
    occurrence_ = code;
    if (code == kEveryWeek)
        SetMonthOnlyUsable(false);
    else if (CheckBox1->isChecked())
        SetMonthOnlyUsable(true);
}

void TWkToWk::OnAutomaticUpdate(bool checked) {
    if (!checked)
        SetMonthOnlyUsable(false);
    else if (occurrence_ != kEveryWeek)
        SetMonthOnlyUsable(true);
}

bool TWkToWk::RunOk(const Date& from, const Date& to, const std::string& text) {
    return ApplyAndReport(
        PlanWeekly(host_.State().store, from, to, occurrence_, CheckBox2->isChecked(), text), text);
}

} // namespace orvane
