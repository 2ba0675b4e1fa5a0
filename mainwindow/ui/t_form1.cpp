#include "mainwindow/ui/t_form1.h"

#include "core/clock.h"
#include "core/journal.h"
#include "core/text_file.h"
#include "core/ui/accessible_window.h"
#include "core/ui/desktop.h"
#include "core/ui/dialog_style.h"
#include "core/ui/document_events.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "mainwindow/navigation.h"
#include "mainwindow/startup.h"
#include "mainwindow/ui/day_grid.h"
#include "mainwindow/ui/instance_lock.h"
#include "mainwindow/ui/main_menus.h"
#include "mainwindow/ui/note_editor.h"
#include "mainwindow/ui/recovery.h"
#include "mainwindow/ui/startup_report.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

namespace orvane {

namespace {

constexpr int kClientWidth = 1272; // the seventh column ends at 1090 + 182
constexpr int kClientHeight = 741;
constexpr int kGridTop = 37;

// Saved preferences enable these; unsaved ones disable them at start-up.
constexpr std::array<Command, 9> kSavedPreferenceItems = { Command::kSaveCalendar,
    Command::kArchives, Command::kNotes, Command::kErrorLog, Command::kCycleCalendar,
    Command::kWeeklyEntry, Command::kMonthlyEntry, Command::kYearlyEntry, Command::kDeleteEntry };

// Disabled at start, enabled by every activation.
constexpr std::array<Command, 6> kActivatedItems = { Command::kDailyEntry, Command::kWeeklyEntry,
    Command::kMonthlyEntry, Command::kYearlyEntry, Command::kDeleteEntry, Command::kSearch };

} // namespace

TForm1::TForm1(StartupOptions options, Services services, QWidget* parent)
    : QWidget(parent)
    , options_(std::move(options))
    , services_(services)
    , document_(DataFolder { options_.data_dir })
    , backups_(std::make_unique<FileBackups>(options_.data_dir, services_.clock))
    , history_(std::make_unique<UndoHistory>(document_))
    , events_(std::make_unique<DocumentEvents>(document_))
    , journal_(std::make_unique<Journal>(document_.data().file(kJournalFileName)))
    , journal_keeper_(std::make_unique<DocumentJournal>(document_, *journal_))
    , guard_(std::make_unique<DayFileGuard>(document_, *journal_, services_)) {
    pending_lock_ = std::async(std::launch::async | std::launch::deferred,
        [dir = document_.data().dir, title = options_.application_title] {
            return std::make_unique<InstanceLock>(dir, title);
        });
    document_.SetBackups(backups_.get());
    // Before anything that could make the screen reader ask about it.
    MarkAccessibleWindow(this);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Orvane"));
    // A title bar with a system menu and a minimise button; the program closes through its own
    // quit commands, and a close from the window manager counts as "Quit ".
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setAccessibleName(QStringLiteral("Orvane calendar"));
    // The window's own font is the date headers' font; every other control sets its own.
    setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 11, true));
    toolbar_ = new Toolbar(kClientWidth, this);
    menus_ = new MainMenus(this);
    ConnectCommands();
    day_titles_ = new DayTitles(kClientWidth, this);
    day_titles_->installEventFilter(this);
    for (QLabel* label : day_titles_->labels())
        label->installEventFilter(this);
    grid_ = new DayGrid(document_, *events_, services_.notifier, this);
    grid_->setGeometry(0, kGridTop, kClientWidth, kClientHeight - kGridTop);
    connect(grid_, &DayGrid::PageKey, this, [this](bool down) { down ? Dn7Click() : Up7Click(); });
    connect(grid_, &DayGrid::NoteTyped, this,
        [this](int slot, const std::string& day) { journal_keeper_->NoteTyped(slot, day); });
    SayJournalFailures(*journal_, this, services_.notifier);
    connect(
        events_.get(), &DocumentEvents::DocumentChanged, this, [this](const ChangeReport& report) {
            if (report.kind == OperationKind::kPreferences)
                ApplyPreferences();
        });
}

TForm1::~TForm1() = default;

void TForm1::ConnectCommands() {
    connect(toolbar_, &Toolbar::Pressed, this, &TForm1::ToolbarPressed);
    connect(menus_, &MainMenus::MonthChosen, this, &TForm1::Date1Click);
    SetCommand(Command::kSaveCalendar, [this] {
        if (!SaveCalendar())
            return;
        const LocalTime now = services_.clock.Now();
        toolbar_->ShowStatus((last_save_ == DayFileGuard::SaveOutcome::kTookTheirs
                ? QStringLiteral("Other version loaded at %1:%2")
                : QStringLiteral("Saved at %1:%2"))
                                 .arg(now.hour, 2, 10, QLatin1Char('0'))
                                 .arg(now.minute, 2, 10, QLatin1Char('0')));
    });
    SetCommand(Command::kQuitNoSave, [this] { QuitNoSave(); });
    SetCommand(Command::kUndo, [this] { UndoClick(); });
    SetCommand(Command::kRedo, [this] { RedoClick(); });
    menus_->action(Command::kRedo)
        ->setShortcuts(
            { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) });
    const auto show_undo_steps
        = [this] { menus_->ShowUndoSteps(history_->UndoName(), history_->RedoName()); };
    history_->SetOnChanged(show_undo_steps);
    show_undo_steps();
    SetCommand(Command::kInstructions, [this] { Instructions(); });
    for (Command command : { Command::kDailyEntry, Command::kWeeklyEntry, Command::kMonthlyEntry,
             Command::kDeleteEntry, Command::kSearch })
        menus_->action(command)->setEnabled(false);
}

void TForm1::ToolbarPressed(Toolbar::Button button) {
    if (button <= Toolbar::kHelp) {
        constexpr std::array kMenus = { MenuName::kFile, MenuName::kCal, MenuName::kHelp };
        menus_->menu(kMenus[static_cast<std::size_t>(button - Toolbar::kFile)])
            ->popup(PopupPosition(toolbar_->button(button)));
    } else if (button == Toolbar::kQuit) {
        close();
    } else {
        constexpr std::array kMoves = { &TForm1::ShowMonthMenu, &TForm1::Up1Click,
            &TForm1::Dn1Click, &TForm1::TopClick, &TForm1::Up7Click, &TForm1::Dn7Click };
        (this->*kMoves[static_cast<std::size_t>(button - Toolbar::kDates)])();
    }
}

void TForm1::SetCommand(Command command, std::function<void()> run) {
    menus_->SetCommand(command, std::move(run));
}

QPoint TForm1::PopupPosition(const QToolButton* button) const {
    const QPoint window = frameGeometry().topLeft();
    return QPoint(
        window.x() + button->x() + 4, window.y() + button->y() + 2 * button->height() + 7);
}

void TForm1::SetToolbarStrip(ToolbarStrip strip) {
    strip_ = std::move(strip);
    toolbar_->PlaceStrip(strip_.widget);
}

bool TForm1::FormCreate() {
    Notifier& notifier = services_.notifier;
    // Single instance: one copy per data folder, held for the whole run.
    if (pending_lock_.valid())
        lock_ = pending_lock_.get();
    if (lock_->state() != InstanceLock::State::kHeld) {
        notifier.Show(
            Notifier::Kind::kInformation, SecondInstanceMessage(options_.application_title));
        return false;
    }
    // With the data folder ours, a temporary file of a save is left only by a copy that was
    // killed mid-save; the file it was replacing is whole. One that cannot be removed only takes
    // room: it goes to the log, not to a box.
    if (const Result<int> removed = RemoveStaleTemporaryFiles(document_.data().dir, kDataFileNames);
        !removed)
        LogFileError(removed.error());

    const StartupOutcome start
        = Startup(document_, services_.clock.Today(), [this] { ApplyStartupFlags(); });
    if (!ReportStartup(start, document_.data().dir, options_.program_dir, services_))
        return false;
    recovered_ = RecoverAtStartup(document_, *journal_keeper_, notifier, services_.clock)
        == RecoveryOutcome::kRecovered;
    guard_->Watch();
    return true;
}

void TForm1::ApplyStartupFlags() {
    const Preferences& prefs = document_.prefs();
    if (strip_.apply_startup_flags)
        strip_.apply_startup_flags(prefs);
    const bool bold = prefs.on(Flag::DataBoldFont);
    QLabel* expansion_label = toolbar_->expansion_label();
    QFont expansion = expansion_label->font();
    expansion.setBold(bold);
    expansion_label->setFont(expansion);
    // Verdana unless pref.ovd names the calendar font.
    const QString family = FromCp1252(prefs.CalendarFont);
    grid_->SetNoteFont(
        ProgramFont(family.isEmpty() ? QStringLiteral("Verdana") : family, 11, bold));
    if (prefs.flag(Flag::PreferencesSaved) == '0') {
        for (Command command : kSavedPreferenceItems)
            menus_->action(command)->setEnabled(false);
    }
    day_titles_->Apply(document_.prefs());
}

void TForm1::ApplyPreferences() {
    day_titles_->Apply(document_.prefs());
    // Saved preferences enable the items that start-up disabled; nothing here disables them again
    // (a colour tried out in the dialog, say), and bold notes and the sun and moon display wait
    // for the next start.
    if (document_.prefs().on(Flag::PreferencesSaved)) {
        for (Command command : kSavedPreferenceItems)
            menus_->action(command)->setEnabled(true);
    }
    RebuildMonthMenu();
}

void TForm1::PlaceWindow() {
    if (isWindow())
        move(0, -2);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_once_) {
        shown_once_ = true;
        PlaceWindow();
        // The first note is where typing starts, as the first control of the window; its editor
        // is built when the window becomes active and the note takes the focus.
        grid_->CellWidget(1)->view()->setFocus(Qt::OtherFocusReason);
        document_.SetActiveNote(2);
        if (recovered_)
            toolbar_->ShowStatus(QStringLiteral("Recovered, not saved"));
        // The activation work runs once the window is on screen.
        QTimer::singleShot(0, this, &TForm1::FormActivate);
    }
}

void TForm1::FormActivate() {
    ++activation_count_;
    PlaceWindow();
    Result<PrefLines> pref = ReadPrefFile(document_.data().pref());
    if (!pref) {
        services_.notifier.Error(ErrorText(pref.error()));
        return;
    }
    for (Command command : kActivatedItems)
        menus_->action(command)->setEnabled(true);
    if (strip_.activate)
        strip_.activate(*pref, document_.prefs());
}

NoteEditor* TForm1::note(int cell) {
    return grid_->note(cell);
}

void TForm1::Up1Click() {
    if (const auto top = WeekEarlier(document_.TopSlot()))
        document_.MoveWindow(*top);
}

void TForm1::Dn1Click() {
    if (const auto top = WeekLater(document_.TopSlot()))
        document_.MoveWindow(*top);
}

void TForm1::TopClick() {
    document_.MoveWindow(1);
}

void TForm1::Dn7Click() {
    if (const auto top = NextMonth(document_.store(), document_.TopSlot()))
        document_.MoveWindow(*top);
}

void TForm1::Up7Click() {
    if (const auto top = PreviousMonth(document_.store(), document_.TopSlot()))
        document_.MoveWindow(*top);
}

const std::vector<MonthMenuItem>& TForm1::RebuildMonthMenu() {
    grid_->HidePreview();
    month_items_ = BuildMonthMenu(document_.store(), document_.prefs(), month_items_);
    menus_->ShowMonthItems(month_items_);
    return month_items_;
}

void TForm1::ShowMonthMenu() {
    RebuildMonthMenu();
    menus_->dates()->popup(PopupPosition(toolbar_->button(Toolbar::kDates)));
}

void TForm1::Date1Click(int item) {
    if (item < 1 || item > kMonthMenuItems)
        return;
    if (month_items_.empty())
        RebuildMonthMenu();
    document_.MoveWindow(month_items_[static_cast<std::size_t>(item - 1)].slot);
}

void TForm1::Instructions() {
    services_.desktop.OpenDocument(
        QDir(options_.program_dir).filePath(QStringLiteral("Help/Orvane.html")));
}

bool TForm1::SaveCalendar() {
    last_save_ = guard_->Save();
    if (last_save_ == DayFileGuard::SaveOutcome::kNotSaved)
        return false;
    // Saved, or the other version loaded: either way the calendar is the file now.
    recovered_ = false;
    return true;
}

void TForm1::UndoClick() {
    if (const Status undone = history_->Undo(); !undone)
        services_.notifier.Warning(ErrorText(undone.error()));
}

void TForm1::RedoClick() {
    if (const Status redone = history_->Redo(); !redone)
        services_.notifier.Warning(ErrorText(redone.error()));
}

void TForm1::QuitNoSave() {
    no_save_on_close_ = true;
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (document_.prefs().on(Flag::PreferencesSaved) && !no_save_on_close_
        && document_.store().loaded() && !SaveCalendar()) {
        event->ignore();
        return;
    }
    // A clean quit: what was not saved was let go on purpose.
    if (const Status cleared = journal_->Clear(); !cleared)
        LogFileError(cleared.error());
    event->accept();
}

QAction* TForm1::action(Command command) const {
    return menus_->action(command);
}

QAction* TForm1::MonthAction(int item) const {
    return menus_->month(item);
}

QMenu* TForm1::menu(MenuName name) const {
    return menus_->menu(name);
}

GridCellView TForm1::Cell(int cell) const {
    return grid_->Cell(cell);
}

QStringList TForm1::DayTitleTexts() const {
    return day_titles_->Texts();
}

QFont TForm1::NoteFont() const {
    return grid_->NoteFont();
}

QFont TForm1::ExpansionLabelFont() const {
    return toolbar_->expansion_label()->font();
}

void TForm1::SetNoteFontFamily(const QString& family) {
    if (family.isEmpty())
        return;
    // Bold notes follow the flag read at start-up; a changed flag takes effect at the next start.
    grid_->SetNoteFont(ProgramFont(family, 11, grid_->NoteFont().bold()));
}

void TForm1::FocusFirstNote() {
    grid_->FocusCell(1);
}

QRect TForm1::SelectInNote(int slot, int position, int length, bool activate) {
    const int cell = slot - document_.TopSlot() + 1;
    const DayCell* shown = grid_->CellWidget(cell);
    if (!shown)
        return {};
    grid_->SelectInCell(cell, position, length);
    if (activate) {
        raise();
        activateWindow();
    }
    return QRect(shown->mapToGlobal(QPoint(0, 0)), shown->size());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // The pointer over the week-day titles hides the note preview.
    if (event->type() == QEvent::MouseMove)
        grid_->HidePreview();
    return QWidget::eventFilter(watched, event);
}

} // namespace orvane
