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
    options.operation = "Weekly Entry";
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
    RadioSpec { "RadioButton1", "1st", 4, 26 }, RadioSpec { "RadioButton2", "2nd", 50, 26 },
    RadioSpec { "RadioButton3", "3rd", 96, 26 }, RadioSpec { "RadioButton4", "4th", 142, 26 },
    RadioSpec { "RadioButton5", "5th", 188, 26 }, RadioSpec { "RadioButtonL", "Last", 148, 6 } };

} // namespace

TWkToWk::TWkToWk(CalendarDocument& document, CalendarHost& host, Services services, QWidget* parent)
    : EntryDialog(document, host, services, WeeklyOptions(), parent) {
    // Wider than the program's first layout, so that "1st" to "5th" show whole in the fonts
    // installed here.
    SetControlsSize(252, 222);
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Panel1"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(8, 4, 236, 68);
    auto* on = new QLabel(QStringLiteral("On:"), frame);
    on->setGeometry(6, 8, 24, 16);
    MakeNavy(on);
    weekday_edit_ = new QLineEdit(frame);
    weekday_edit_->setObjectName(QStringLiteral("Edit2"));
    weekday_edit_->setAccessibleName(QStringLiteral("Weekday"));
    weekday_edit_->setReadOnly(true);
    weekday_edit_->setFrame(false);
    weekday_edit_->setFocusPolicy(Qt::NoFocus);
    weekday_edit_->setGeometry(30, 6, 44, 18);
    for (int code = 0; code < 7; ++code) {
        auto* radio = new QRadioButton(QString::fromLatin1(kRadios[code].caption), frame);
        radio->setObjectName(QString::fromLatin1(kRadios[code].name));
        radio->setAccessibleName(QString::fromLatin1(kRadios[code].caption));
        radio->setGeometry(kRadios[code].x, kRadios[code].y, code == 0 || code == 6 ? 60 : 46, 18);
        connect(radio, &QRadioButton::clicked, this, [this, code] { RadioButtonClick(code); });
        radio_[code] = radio;
    }
    month_only_check_ = new QCheckBox(frame);
    month_only_check_->setObjectName(QStringLiteral("CheckBox2"));
    month_only_check_->setAccessibleName(QStringLiteral("For begin month only"));
    month_only_check_->setGeometry(6, 46, 18, 18);
    connect(month_only_check_, &QCheckBox::clicked, this, &TWkToWk::RefreshPreview);
    month_only_label_ = new QLabel(QStringLiteral("For begin month only"), frame);
    month_only_label_->setObjectName(QStringLiteral("Label2"));
    month_only_label_->setGeometry(26, 47, 150, 16);
    month_only_label_->setBuddy(month_only_check_);
    MakeNavy(month_only_label_);

    from_group_->setGeometry(8, 76, 104, 46);
    from_picker_->setGeometry(6, 18, 92, 21);
    to_group_->setGeometry(116, 76, 104, 46);
    to_picker_->setGeometry(6, 18, 92, 21);
    entry_group_->setGeometry(8, 126, 128, 46);
    entry_edit_->setGeometry(6, 18, 116, 21);
    messages_->setGeometry(140, 130, 82, 42);
    update_check_->setGeometry(8, 174, 160, 18);
    ok_button_->setGeometry(30, 194, 75, 24);
    cancel_button_->setGeometry(124, 194, 75, 24);
}

void TWkToWk::SetMonthOnlyUsable(bool usable) {
    if (!usable)
        month_only_check_->setChecked(false);
    month_only_check_->setEnabled(usable);
    month_only_label_->setEnabled(usable);
    QFont font = month_only_label_->font();
    font.setItalic(!usable);
    month_only_label_->setFont(font);
}

void TWkToWk::PrepareOwn() {
    SetMonthOnlyUsable(false);
    radio_[kEveryWeek]->setChecked(true);
    occurrence_ = kEveryWeek;
}

void TWkToWk::BeforeFromCheck() {
    const int weekday = WeekdayIndex(FromQDate(from_picker_->date()));
    weekday_edit_->setText(QString::fromLatin1(kWeekdayNames[static_cast<std::size_t>(weekday)]));
}

void TWkToWk::RadioButtonClick(int code) {
    const PreviewHold hold(*this);
    radio_[static_cast<std::size_t>(code)]->setChecked(true);
    occurrence_ = code;
    if (code == kEveryWeek)
        SetMonthOnlyUsable(false);
    else if (update_check_->isChecked())
        SetMonthOnlyUsable(true);
}

void TWkToWk::OnAutomaticUpdate(bool checked) {
    if (!checked)
        SetMonthOnlyUsable(false);
    else if (occurrence_ != kEveryWeek)
        SetMonthOnlyUsable(true);
}

std::optional<EntryPlan> TWkToWk::MakePlan(
    const DayStore& store, const Date& from, const Date& to, const std::string& text) const {
    return PlanWeekly(store, from, to, occurrence_, month_only_check_->isChecked(), text);
}

} // namespace orvane
