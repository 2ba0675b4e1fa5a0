#include "recurring/ui/entry_dialog.h"

#include "core/clock.h"
#include "core/entry_limit.h"
#include "core/ui/dialog_style.h"
#include "core/ui/error_text.h"
#include "core/ui/input_filter.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "recurring/ui/date_picker.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace orvane {

namespace {

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

EntryDialog::EntryDialog(CalendarHost& host, const EntryDialogOptions& options, QWidget* parent)
    : QDialog(parent)
    , host_(host)
    , options_(options) {
    setWindowTitle(QString::fromLatin1(options.caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint);
    ApplyDialogBackground(this);
    const QFont font = ProgramFont(QStringLiteral("MS Sans Serif"), 11);
    setFont(font);

    from_group_ = new QGroupBox(QString::fromLatin1(options.from_caption), this);
    from_group_->setObjectName(QStringLiteral("GroupBoxFrom"));
    DateTimePicker1 = new DatePicker(from_group_);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setAccessibleName(QString::fromLatin1(options.from_caption).chopped(1));
    connect(DateTimePicker1, &DatePicker::DatePicked, this, &EntryDialog::FromCheck);
    from_group_->installEventFilter(this);

    if (options.has_to) {
        to_group_ = new QGroupBox(QStringLiteral("To:"), this);
        to_group_->setObjectName(QStringLiteral("GroupBoxTo"));
        DateTimePicker2 = new DatePicker(to_group_);
        DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
        DateTimePicker2->setAccessibleName(QStringLiteral("To"));
        DateTimePicker2->setEnabled(options.to_starts_enabled);
        connect(DateTimePicker2, &DatePicker::DatePicked, this, &EntryDialog::ToCheck);
        to_group_->installEventFilter(this);

        Memo1 = new QPlainTextEdit(this);
        Memo1->setObjectName(QStringLiteral("Memo1"));
        Memo1->setAccessibleName(QStringLiteral("Messages"));
        Memo1->setReadOnly(true);
        Memo1->setFrameShape(QFrame::NoFrame);
        Memo1->setFocusPolicy(Qt::NoFocus);
        Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        SetColours(Memo1, QPalette::Base, kDialogBackground);
    }

    entry_group_ = new QGroupBox(QStringLiteral("Entry:"), this);
    entry_group_->setObjectName(QStringLiteral("GroupBoxEntry"));
    Edit1 = new QLineEdit(entry_group_);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(QStringLiteral("Entry"));
    InstallInputFilter(Edit1, host_.notifier());
    Edit1->installEventFilter(this);

    CheckBox1 = new QCheckBox(QString::fromLatin1(options.check_box_caption), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setAccessibleName(QString::fromLatin1(options.check_box_caption));
    CheckBox1->setChecked(true);
    connect(CheckBox1, &QCheckBox::clicked, this, &EntryDialog::CheckBox1Click);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAccessibleName(QStringLiteral("OK"));
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAccessibleName(QStringLiteral("Cancel"));
    // Enter is handled by the Entry box itself; no button may take it as well.
    for (QPushButton* button : { Button1, Button2 }) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(Button1, &QPushButton::clicked, this, &EntryDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &EntryDialog::Button2Click);

    for (QGroupBox* group : { from_group_, to_group_, entry_group_ }) {
        if (group)
            MakeNavy(group);
    }
}

Date EntryDialog::SlotDate(int slot) const {
    const auto date = ParseDateKey(host_.State().store[slot]);
    if (date)
        return *date;
    const auto first = ParseDateKey(host_.State().store[1]);
    return first ? AddDays(*first, slot - 1) : host_.clock().Today();
}

void EntryDialog::Prepare() {
    CalendarState& state = host_.State();
    CheckBox1->setChecked(true);
    host_.ResetMemos();
    ClearMessages();
    Edit1->clear();
    MarkError(Edit1, false);
    if (DateTimePicker2)
        MarkError(DateTimePicker2, false);
    PrepareOwn();
    Edit1->setFocus();

    const int note = state.ActiveNote;
    int slot = note >= 2 && note <= 84 ? note / 2 + state.TopSlot - 1 : 1;
    if (slot < 1 || slot > kLastShownSlot)
        slot = 1;
    initial_from_ = SlotDate(slot);
    last_day_ = SlotDate(kLastShownSlot);
    const int pivot = static_cast<int>(SlotDate(kCalendarDays / 2).year());
    DateTimePicker1->SetCenturyPivot(pivot);
    DateTimePicker1->SetDateQuietly(ToQDate(initial_from_));
    MarkError(DateTimePicker1, false);
    if (DateTimePicker2) {
        DateTimePicker2->SetCenturyPivot(pivot);
        DateTimePicker2->SetDateQuietly(ToQDate(last_day_));
        DateTimePicker2->setEnabled(options_.to_starts_enabled);
        FromCheck();
    }
}

void EntryDialog::OpenModal() {
    Prepare();
    exec();
}

void EntryDialog::AddMessage(const char* line) {
    if (Memo1)
        Memo1->appendPlainText(QString::fromLatin1(line));
}

void EntryDialog::ClearMessages() {
    if (Memo1)
        Memo1->clear();
}

void EntryDialog::SetEntryColour(bool white) {
    MarkError(Edit1, false);
    if (white)
        SetColours(Edit1, QPalette::Base, Qt::white);
}

bool EntryDialog::AnyDateError() const {
    return from_too_early_ || from_too_late_ || from_after_to_ || to_too_late_;
}

void EntryDialog::FromCheck() {
    if (!DateTimePicker2)
        return;
    BeforeFromCheck();
    if (options_.checks_reset_entry_colour)
        MarkError(Edit1, false);
    const Date from = FromQDate(DateTimePicker1->date());
    if (from < initial_from_) {
        AddMessage(kFromBeforeCalendar);
        MarkError(DateTimePicker1, true);
        from_too_early_ = true;
        return;
    }
    from_too_early_ = false;
    ClearMessages();
    MarkError(DateTimePicker1, false);
    if (from > last_day_) {
        AddMessage(kFromAfterCalendar);
        MarkError(DateTimePicker1, true);
        from_too_late_ = true;
        return;
    }
    from_too_late_ = false;
    ClearMessages();
    MarkError(DateTimePicker1, false);
    ToCheck();
}

void EntryDialog::ToCheck() {
    if (!DateTimePicker2)
        return;
    if (options_.checks_reset_entry_colour)
        MarkError(Edit1, false);
    const Date from = FromQDate(DateTimePicker1->date());
    const Date to = FromQDate(DateTimePicker2->date());
    if (to < from) {
        AddMessage(kFromAfterTo);
        MarkError(DateTimePicker2, true);
        from_after_to_ = true;
        return;
    }
    from_after_to_ = false;
    ClearMessages();
    MarkError(DateTimePicker2, false);
    if (to > last_day_) {
        AddMessage(kToAfterCalendar);
        MarkError(DateTimePicker2, true);
        to_too_late_ = true;
    } else {
        to_too_late_ = false;
        ClearMessages();
        MarkError(DateTimePicker2, false);
    }
}

void EntryDialog::ToGroupDoubleClick() {
    DateTimePicker2->SetDateQuietly(ToQDate(last_day_));
    MarkError(DateTimePicker2, false);
    ClearMessages();
    ToCheck();
}

void EntryDialog::CheckBox1Click() {
    const bool checked = CheckBox1->isChecked();
    if (options_.automatic_update_controls_to && DateTimePicker2) {
        if (checked) {
            DateTimePicker2->SetDateQuietly(ToQDate(last_day_));
            DateTimePicker2->setEnabled(false);
            ToCheck();
        } else {
            DateTimePicker2->setEnabled(true);
        }
    }
    OnAutomaticUpdate(checked);
}

void EntryDialog::Button1Click() {
    // A box shown while OK runs must never start a second OK.
    if (in_ok_)
        return;
    if (DateTimePicker2 && (AnyDateError() || OwnError()))
        return;
    const QString typed = Edit1->text();
    const auto text = ToCp1252(typed);
    if (typed.isEmpty() || !text) {
        MarkError(Edit1, true);
        return;
    }
    in_ok_ = true;
    const Date from = FromQDate(DateTimePicker1->date());
    const Date to = DateTimePicker2 ? FromQDate(DateTimePicker2->date()) : last_day_;
    const bool close = RunOk(from, to, *text);
    in_ok_ = false;
    if (close)
        accept();
}

void EntryDialog::Button2Click() {
    reject();
}

void EntryDialog::done(int result) {
    QDialog::done(result);
    host_.FocusFirstNote();
}

bool EntryDialog::ApplyAndReport(const std::optional<EntryPlan>& plan, const std::string& text) {
    if (!plan) {
        MarkError(DateTimePicker1, true);
        return false;
    }
    const EntryOutcome outcome = ApplyEntryPlan(host_.State(), *plan, text, CheckBox1->isChecked());
    if (outcome.days_changed || !outcome.refused.empty())
        host_.MarkGridStale();
    Notifier& notifier = host_.notifier();
    for (int slot : outcome.refused)
        notifier.Information(FromCp1252(MaxEntriesMessage(host_.State().store[slot])));
    if (!outcome.error) {
        notifier.Error(ErrorText(outcome.error.error()));
        if (!outcome.days_changed) {
            // Nothing was written: the user may fix the file and press OK again.
            host_.RadioButton1Click();
            return false;
        }
    }
    host_.RadioButton1Click();
    return true;
}

void EntryDialog::Edit1KeyUp() {
    const bool bold = host_.State().prefs.on(Flag::DataBoldFont);
    const int limit = bold ? kEntryWidthLimitBold : kEntryWidthLimit;
    const QString text = Edit1->text();
    if (text.isEmpty() || QFontMetrics(host_.ExpansionLabelFont()).horizontalAdvance(text) <= limit)
        return;
    const int cursor = Edit1->cursorPosition();
    Edit1->setText(text.chopped(1));
    Edit1->setCursorPosition(std::min(cursor, static_cast<int>(text.size()) - 1));
}

bool EntryDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && isVisible()) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (IsEnter(key->key())) {
                if (!key->isAutoRepeat())
                    Button1Click();
                return true;
            }
        } else if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!IsEnter(key->key()))
                Edit1KeyUp();
        } else if (event->type() == QEvent::FocusIn) {
            SetEntryColour(options_.entry_focus_white);
            if (options_.entry_focus_clears_messages)
                ClearMessages();
        }
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == to_group_ && DateTimePicker2) {
            ToGroupDoubleClick();
            return true;
        }
        if (watched == from_group_) {
            FromGroupDoubleClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvane
