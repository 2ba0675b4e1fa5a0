#include "recurring/ui/entry_dialog.h"

#include "core/clock.h"
#include "core/entry_limit.h"
#include "core/ui/dialog_style.h"
#include "core/ui/error_text.h"
#include "core/ui/input_filter.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "recurring/ui/date_picker.h"
#include "recurring/ui/preview_panel.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

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
    connect(entry_edit_, &QLineEdit::textChanged, this, &EntryDialog::RefreshPreview);

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

    preview_ = new PreviewPanel(this);
}

void EntryDialog::SetControlsSize(int width, int height) {
    constexpr int kMargin = 8;
    setFixedSize(width + PreviewPanel::kWidth + kMargin,
        std::max(height, PreviewPanel::kHeight + 2 * kMargin));
    preview_->setGeometry(width, kMargin / 2, PreviewPanel::kWidth, PreviewPanel::kHeight);
}

Date EntryDialog::SlotDate(int slot) const {
    const auto date = ParseDateKey(document_.store()[slot]);
    if (date)
        return *date;
    const auto first = ParseDateKey(document_.store()[1]);
    return first ? AddDays(*first, slot - 1) : services_.clock.Today();
}

void EntryDialog::Prepare() {
    const PreviewHold hold(*this);
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
    const PreviewHold hold(*this);
    if (!to_picker_)
        return;
    BeforeFromCheck();
    if (options_.checks_reset_entry_colour)
        MarkError(entry_edit_, false);
    ApplyCheck(CheckFrom(errors_, FromQDate(from_picker_->date()), FromQDate(to_picker_->date()),
        initial_from_, last_day_));
}

void EntryDialog::ToCheck() {
    const PreviewHold hold(*this);
    if (!to_picker_)
        return;
    if (options_.checks_reset_entry_colour)
        MarkError(entry_edit_, false);
    ApplyCheck(CheckTo(
        errors_, FromQDate(from_picker_->date()), FromQDate(to_picker_->date()), last_day_));
}

void EntryDialog::ToGroupDoubleClick() {
    const PreviewHold hold(*this);
    to_picker_->SetDateQuietly(ToQDate(last_day_));
    MarkError(to_picker_, false);
    ClearMessages();
    ToCheck();
}

void EntryDialog::CheckBox1Click() {
    const PreviewHold hold(*this);
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

EntryDialog::OkFields EntryDialog::ReadFields() const {
    OkFields fields;
    // Only the dialogs with date checks refuse for them (the yearly one has none).
    if (to_picker_) {
        fields.problems = DateProblems(errors_);
        AddOwnProblems(fields.problems);
        fields.fields_refused = !fields.problems.empty();
    }
    const QString typed = entry_edit_->text();
    const auto text = ToCp1252(typed);
    if (typed.isEmpty() || !text) {
        fields.entry_refused = true;
        fields.problems.emplace_back(
            typed.isEmpty() ? kEmptyEntryProblem : kUnstorableEntryProblem);
    } else {
        fields.text = *text;
    }
    fields.from = FromQDate(from_picker_->date());
    fields.to = to_picker_ ? FromQDate(to_picker_->date()) : last_day_;
    return fields;
}

void EntryDialog::Button1Click() {
    // A box shown while OK runs must never start a second OK.
    if (in_ok_)
        return;
    const OkFields fields = ReadFields();
    if (fields.fields_refused)
        return;
    if (fields.entry_refused) {
        MarkError(entry_edit_, true);
        return;
    }
    in_ok_ = true;
    const bool close = RunOk(fields.from, fields.to, fields.text);
    in_ok_ = false;
    if (close)
        accept();
    else
        RefreshPreview(); // a failed OK may have changed days or found fdat.ovd changed
}

void EntryDialog::RefreshPreview() {
    if (preview_holds_ > 0)
        return; // the hold refreshes when it ends
    const OkFields fields = ReadFields();
    const PlanPreview preview = fields.problems.empty()
        ? MakePreview(fields.from, fields.to, fields.text)
        : RefusedPreview(fields.problems);
    preview_->Show(document_.store(), preview, options_.deleting, PreviewNotes());
}

std::string EntryDialog::OutsideCalendarProblem(const Date& from) const {
    const bool before = from < SlotDate(1);
    if (to_picker_)
        return std::string(before ? kFromBeforeCalendar : kFromAfterCalendar);
    return std::string(before ? kBeginBeforeCalendar : kBeginAfterCalendar);
}

PlanPreview EntryDialog::MakePreview(const Date& from, const Date& to, const std::string& text) {
    const std::optional<EntryPlan> plan = MakePlan(document_.store(), from, to, text);
    if (!plan)
        return RefusedPreview({ OutsideCalendarProblem(from) });
    return PreviewEntryPlan(document_.store(), *plan, update_check_->isChecked());
}

bool EntryDialog::RunOk(const Date& from, const Date& to, const std::string& text) {
    return ApplyAndReport(
        [&](const DayStore& store) { return MakePlan(store, from, to, text); }, text);
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
            const PreviewHold hold(*this);
            FromGroupDoubleClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvane
