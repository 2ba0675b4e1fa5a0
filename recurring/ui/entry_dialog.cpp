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

EntryDialog::EntryDialog(CalendarDocument& document, CalendarHost& host, Services services,
    const EntryDialogOptions& options, QWidget* parent)
    : QDialog(parent)
    , document_(document)
    , host_(host)
    , services_(services)
    , options_(options) {
    setWindowTitle(QString::fromLatin1(options.caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint);
    ApplyDialogBackground(this);
    const QFont font = ProgramFont(QStringLiteral("MS Sans Serif"), 11);
    setFont(font);

    from_group_ = new QGroupBox(QString::fromLatin1(options.from_caption), this);
    from_group_->setObjectName(QStringLiteral("GroupBoxFrom"));
    from_picker_ = new DatePicker(from_group_);
    from_picker_->setObjectName(QStringLiteral("DateTimePicker1"));
    from_picker_->setAccessibleName(QString::fromLatin1(options.from_caption).chopped(1));
    connect(from_picker_, &DatePicker::DatePicked, this, &EntryDialog::FromCheck);
    from_group_->installEventFilter(this);

    if (options.has_to) {
        to_group_ = new QGroupBox(QStringLiteral("To:"), this);
        to_group_->setObjectName(QStringLiteral("GroupBoxTo"));
        to_picker_ = new DatePicker(to_group_);
        to_picker_->setObjectName(QStringLiteral("DateTimePicker2"));
        to_picker_->setAccessibleName(QStringLiteral("To"));
        to_picker_->setEnabled(options.to_starts_enabled);
        connect(to_picker_, &DatePicker::DatePicked, this, &EntryDialog::ToCheck);
        to_group_->installEventFilter(this);

        messages_ = new QPlainTextEdit(this);
        messages_->setObjectName(QStringLiteral("Memo1"));
        messages_->setAccessibleName(QStringLiteral("Messages"));
        messages_->setReadOnly(true);
        messages_->setFrameShape(QFrame::NoFrame);
        messages_->setFocusPolicy(Qt::NoFocus);
        messages_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        SetColours(messages_, QPalette::Base, kDialogBackground);
    }

    entry_group_ = new QGroupBox(QStringLiteral("Entry:"), this);
    entry_group_->setObjectName(QStringLiteral("GroupBoxEntry"));
    entry_edit_ = new QLineEdit(entry_group_);
    entry_edit_->setObjectName(QStringLiteral("Edit1"));
    entry_edit_->setAccessibleName(QStringLiteral("Entry"));
    InstallInputFilter(entry_edit_, services_.notifier);
    entry_edit_->installEventFilter(this);

    update_check_ = new QCheckBox(QString::fromLatin1(options.check_box_caption), this);
    update_check_->setObjectName(QStringLiteral("CheckBox1"));
    update_check_->setAccessibleName(QString::fromLatin1(options.check_box_caption));
    update_check_->setChecked(true);
    connect(update_check_, &QCheckBox::clicked, this, &EntryDialog::CheckBox1Click);

    ok_button_ = new QPushButton(QStringLiteral("OK"), this);
    ok_button_->setObjectName(QStringLiteral("Button1"));
    ok_button_->setAccessibleName(QStringLiteral("OK"));
    cancel_button_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_button_->setObjectName(QStringLiteral("Button2"));
    cancel_button_->setAccessibleName(QStringLiteral("Cancel"));
    // Enter is handled by the Entry box itself; no button may take it as well.
    for (QPushButton* button : { ok_button_, cancel_button_ }) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(ok_button_, &QPushButton::clicked, this, &EntryDialog::Button1Click);
    connect(cancel_button_, &QPushButton::clicked, this, &EntryDialog::Button2Click);

    for (QGroupBox* group : { from_group_, to_group_, entry_group_ }) {
        if (group)
            MakeNavy(group);
    }
}

Date EntryDialog::SlotDate(int slot) const {
    const auto date = ParseDateKey(document_.store()[slot]);
    if (date)
        return *date;
    const auto first = ParseDateKey(document_.store()[1]);
    return first ? AddDays(*first, slot - 1) : services_.clock.Today();
}

void EntryDialog::Prepare() {
    update_check_->setChecked(true);
    // The note being typed belongs to the days the dialog reads.
    document_.FlushPendingEdits();
    ClearMessages();
    entry_edit_->clear();
    MarkError(entry_edit_, false);
    if (to_picker_)
        MarkError(to_picker_, false);
    PrepareOwn();
    entry_edit_->setFocus();

    // The day whose note the user is in (or last entered); the first day before any.
    int slot = document_.ActiveSlot().value_or(1);
    if (slot < 1 || slot > kLastShownSlot)
        slot = 1;
    initial_from_ = SlotDate(slot);
    last_day_ = SlotDate(kLastShownSlot);
    const int pivot = static_cast<int>(SlotDate(kCalendarDays / 2).year());
    from_picker_->SetCenturyPivot(pivot);
    from_picker_->SetDateQuietly(ToQDate(initial_from_));
    MarkError(from_picker_, false);
    if (to_picker_) {
        to_picker_->SetCenturyPivot(pivot);
        to_picker_->SetDateQuietly(ToQDate(last_day_));
        to_picker_->setEnabled(options_.to_starts_enabled);
        FromCheck();
    }
}

void EntryDialog::OpenModal() {
    Prepare();
    exec();
}

void EntryDialog::AddMessage(std::string_view line) {
    if (messages_)
        messages_->appendPlainText(
            QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
}

void EntryDialog::ClearMessages() {
    if (messages_)
        messages_->clear();
}

void EntryDialog::SetEntryColour(bool white) {
    MarkError(entry_edit_, false);
    if (white)
        SetColours(entry_edit_, QPalette::Base, Qt::white);
}

void EntryDialog::ApplyCheck(const DateCheck& check) {
    if (check.clear_messages)
        ClearMessages();
    for (const std::string_view line : check.added)
        AddMessage(line);
    if (check.from_marked)
        MarkError(from_picker_, *check.from_marked);
    if (check.to_marked)
        MarkError(to_picker_, *check.to_marked);
    errors_ = check.errors;
}

void EntryDialog::FromCheck() {
    if (!to_picker_)
        return;
    BeforeFromCheck();
    if (options_.checks_reset_entry_colour)
        MarkError(entry_edit_, false);
    ApplyCheck(CheckFrom(errors_, FromQDate(from_picker_->date()), FromQDate(to_picker_->date()),
        initial_from_, last_day_));
}

void EntryDialog::ToCheck() {
    if (!to_picker_)
        return;
    if (options_.checks_reset_entry_colour)
        MarkError(entry_edit_, false);
    ApplyCheck(CheckTo(
        errors_, FromQDate(from_picker_->date()), FromQDate(to_picker_->date()), last_day_));
}

void EntryDialog::ToGroupDoubleClick() {
    to_picker_->SetDateQuietly(ToQDate(last_day_));
    MarkError(to_picker_, false);
    ClearMessages();
    ToCheck();
}

void EntryDialog::CheckBox1Click() {
    const bool checked = update_check_->isChecked();
    if (options_.automatic_update_controls_to && to_picker_) {
        if (checked) {
            to_picker_->SetDateQuietly(ToQDate(last_day_));
            to_picker_->setEnabled(false);
            ToCheck();
        } else {
            to_picker_->setEnabled(true);
        }
    }
    OnAutomaticUpdate(checked);
}

void EntryDialog::Button1Click() {
    // A box shown while OK runs must never start a second OK.
    if (in_ok_)
        return;
    if (to_picker_ && (errors_.any() || OwnError()))
        return;
    const QString typed = entry_edit_->text();
    const auto text = ToCp1252(typed);
    if (typed.isEmpty() || !text) {
        MarkError(entry_edit_, true);
        return;
    }
    in_ok_ = true;
    const Date from = FromQDate(from_picker_->date());
    const Date to = to_picker_ ? FromQDate(to_picker_->date()) : last_day_;
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

bool EntryDialog::ApplyAndReport(const PlanMaker& make_plan, const std::string& text) {
    bool planned = false;
    EntryOutcome outcome;
    const std::string name = std::string(options_.operation) + " '" + text + "'";
    document_.Run(OperationKind::kApplyEntry, name, [&](DocumentEdit& edit) {
        const std::optional<EntryPlan> plan = make_plan(edit.store());
        planned = plan.has_value();
        if (planned)
            outcome = ApplyEntryPlan(edit, *plan, text, update_check_->isChecked());
    });
    if (!planned) {
        MarkError(from_picker_, true);
        return false;
    }
    Notifier& notifier = services_.notifier;
    for (int slot : outcome.refused)
        notifier.Information(FromCp1252(MaxEntriesMessage(document_.store()[slot])));
    if (!outcome.error) {
        notifier.Error(ErrorText(outcome.error.error()));
        // Nothing was written: the user may fix the file and press OK again.
        if (!outcome.days_changed)
            return false;
    }
    return true;
}

void EntryDialog::Edit1KeyUp() {
    const bool bold = document_.prefs().on(Flag::DataBoldFont);
    const int limit = bold ? kEntryWidthLimitBold : kEntryWidthLimit;
    const QString text = entry_edit_->text();
    if (text.isEmpty() || QFontMetrics(host_.ExpansionLabelFont()).horizontalAdvance(text) <= limit)
        return;
    const int cursor = entry_edit_->cursorPosition();
    entry_edit_->setText(text.chopped(1));
    entry_edit_->setCursorPosition(std::min(cursor, static_cast<int>(text.size()) - 1));
}

bool EntryDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == entry_edit_ && isVisible()) {
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
        if (watched == to_group_ && to_picker_) {
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
