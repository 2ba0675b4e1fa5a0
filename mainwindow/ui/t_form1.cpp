#include "mainwindow/ui/t_form1.h"

#include "core/clock.h"
#include "core/journal.h"
#include "core/outside_changes.h"
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
#include "mainwindow/ui/toolbar.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
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

QString ApplicationTitle(const QString& executable_path) {
    QString base = QFileInfo(executable_path).completeBaseName();
    if (base.isEmpty())
        return base;
    return base.left(1) + base.mid(1).toLower();
}

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
    , outside_(std::make_unique<OutsideChanges>(document_)) {
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
    // The writer thread reports a failed write (a full disk) once; the box is shown from the
    // window's own thread.
    journal_->SetFailureHandler([this](const Error& error) {
        QMetaObject::invokeMethod(
            this,
            [this, error] {
                services_.notifier.Warning(ErrorText(error)
                    + QStringLiteral("\n\nChanges made since the last save are not protected "
                                     "against a crash until the journal can be written again. "
                                     "Orvane keeps running; save the calendar to keep them."));
            },
            Qt::QueuedConnection);
    });
    connect(
        events_.get(), &DocumentEvents::DocumentChanged, this, [this](const ChangeReport& report) {
            if (report.kind == OperationKind::kPreferences)
                ApplyPreferences();
        });
}

TForm1::~TForm1() = default;

void TForm1::ConnectCommands() {
    connect(toolbar_->button(Toolbar::kQuit), &QToolButton::clicked, this, &QWidget::close);
    connect(toolbar_->button(Toolbar::kDates), &QToolButton::clicked, this, &TForm1::ShowMonthMenu);
    connect(toolbar_->button(Toolbar::kWeekUp), &QToolButton::clicked, this, &TForm1::Up1Click);
    connect(toolbar_->button(Toolbar::kWeekDown), &QToolButton::clicked, this, &TForm1::Dn1Click);
    connect(toolbar_->button(Toolbar::kTop), &QToolButton::clicked, this, &TForm1::TopClick);
    connect(toolbar_->button(Toolbar::kMonthUp), &QToolButton::clicked, this, &TForm1::Up7Click);
    connect(toolbar_->button(Toolbar::kMonthDown), &QToolButton::clicked, this, &TForm1::Dn7Click);
    connect(menus_, &MainMenus::MonthChosen, this, &TForm1::Date1Click);
    SetCommand(Command::kSaveCalendar, [this] {
        if (SaveCalendar()) {
            const LocalTime now = services_.clock.Now();
            toolbar_->ShowStatus(QStringLiteral("Saved at %1:%2")
                                     .arg(now.hour, 2, 10, QLatin1Char('0'))
                                     .arg(now.minute, 2, 10, QLatin1Char('0')));
        }
    });
    SetCommand(Command::kQuitNoSave, [this] { QuitNoSave(); });
    SetCommand(Command::kUndo, [this] { UndoClick(); });
    SetCommand(Command::kRedo, [this] { RedoClick(); });
    menus_->action(Command::kRedo)
        ->setShortcuts(
            { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) });
    history_->SetOnChanged([this] { UpdateUndoItems(); });
    UpdateUndoItems();
    SetCommand(Command::kInstructions, [this] { Instructions(); });
    for (Command command : { Command::kDailyEntry, Command::kWeeklyEntry, Command::kMonthlyEntry,
             Command::kDeleteEntry, Command::kSearch })
        menus_->action(command)->setEnabled(false);
    // The File, Cal and Help buttons pop their menus up, also from the keyboard: F10 or Alt+F
    // for File, Alt+C for Cal, Alt+H for Help.
    const std::array<std::tuple<Toolbar::Button, MenuName, QKeySequence>, 3> popups
        = { { { Toolbar::kFile, MenuName::kFile, QKeySequence(Qt::ALT | Qt::Key_F) },
            { Toolbar::kCal, MenuName::kCal, QKeySequence(Qt::ALT | Qt::Key_C) },
            { Toolbar::kHelp, MenuName::kHelp, QKeySequence(Qt::ALT | Qt::Key_H) } } };
    for (const auto& [which, name, keys] : popups) {
        QToolButton* button = toolbar_->button(which);
        QMenu* menu = menus_->menu(name);
        const auto pop = [this, button, menu] { menu->popup(PopupPosition(button)); };
        connect(button, &QToolButton::clicked, this, pop);
        auto* key = new QShortcut(keys, this);
        connect(key, &QShortcut::activated, this, pop);
        if (name == MenuName::kFile)
            connect(
                new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this, pop);
    }
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this), &QShortcut::activated, this,
        &QWidget::close);
    // The toolbar's moves from anywhere in the window. Each press moves once, however fast they
    // come (a button's own shortcut would fold quick presses into one animated click).
    const std::array<std::pair<QKeyCombination, void (TForm1::*)()>, 4> moves
        = { { { Qt::ALT | Qt::Key_D, &TForm1::ShowMonthMenu },
            { Qt::ALT | Qt::Key_Up, &TForm1::Up1Click },
            { Qt::ALT | Qt::Key_Down, &TForm1::Dn1Click },
            { Qt::ALT | Qt::Key_Home, &TForm1::TopClick } } };
    for (const auto& [keys, move] : moves)
        connect(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, this, move);
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
    lock_ = std::make_unique<InstanceLock>(document_.data().dir, options_.application_title);
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

    const StartupOutcome start = Startup(document_, services_.clock.Today());
    switch (start.kind) {
    case StartupOutcome::Kind::kNoPreferences:
        notifier.Error(QString::fromLatin1(kMissingPrefMessage)
                           .replace(QLatin1Char('\r'), QLatin1Char('\n'))
                           .arg(PathText(document_.data().dir)));
        services_.desktop.OpenDocument(
            QDir(options_.program_dir).filePath(QStringLiteral("Error.doc")));
        return false;
    case StartupOutcome::Kind::kBadRecordCount:
        // The box's OK button lies 35 pixels below the centre of the desktop.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect desk = screen->geometry();
            services_.desktop.MovePointer(QPoint(desk.center().x(), desk.center().y() + 35));
        }
        notifier.Warning(QString::fromLatin1(kBadRecordCountMessage));
        return false;
    case StartupOutcome::Kind::kDayFileUnreadable:
        notifier.Error(ErrorText(*start.error));
        return false;
    case StartupOutcome::Kind::kReady:
        break;
    }
    if (start.warning)
        notifier.Warning(ErrorText(*start.warning));
    // With the data folder ours, a journal left behind is from a run that ended without saving.
    if (const Result<int> removed
        = RemoveStaleTemporaryFiles(document_.data().dir, std::array { kJournalFileName });
        !removed)
        LogFileError(removed.error());
    recovered_ = RecoverAtStartup(document_, *journal_keeper_, notifier, services_.clock)
        == RecoveryOutcome::kRecovered;
    WatchDataFolder();
    ApplyStartupFlags();
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
    QFont notes = ProgramFont(QStringLiteral("Verdana"), 11, bold);
    grid_->SetNoteFont(notes);
    SetNoteFontFamily(FromCp1252(prefs.CalendarFont));
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

void TForm1::WatchDataFolder() {
    watcher_ = new QFileSystemWatcher(this);
    watcher_->addPath(PathText(document_.data().dir));
    watcher_->addPath(PathText(document_.data().cdat()));
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &TForm1::DataFolderChanged);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &TForm1::DataFolderChanged);
}

void TForm1::DataFolderChanged() {
    // A file replaced by a rename is a new file, which the watcher must be told about again.
    const QString cdat = PathText(document_.data().cdat());
    if (!watcher_->files().contains(cdat) && QFileInfo::exists(cdat))
        watcher_->addPath(cdat);
    // The program's own saves and loads are remembered before their signals arrive here.
    if (outside_->TakeUnreported()) {
        services_.notifier.Information(
            QStringLiteral("%1 was changed by another program. Saving the calendar will ask "
                           "whether to keep this calendar or take the other version.")
                .arg(cdat));
    }
}

TForm1::OutsideChoice TForm1::ResolveOutsideChange() {
    if (!outside_->ChangedOutside())
        return OutsideChoice::kSave;
    const int choice = services_.notifier.Choose(
        QStringLiteral("%1 was changed by another program since Orvane read it.\n\n"
                       "Keep Mine saves this calendar over it; the other version is kept in the "
                       "backups folder.\nTake Theirs loads the other version; your changes since "
                       "the last save are kept in a dated file.\nCancel saves nothing.")
            .arg(PathText(document_.data().cdat())),
        { QStringLiteral("Keep Mine"), QStringLiteral("Take Theirs"), QStringLiteral("Cancel") },
        2);
    if (choice == 0) {
        const Result<std::filesystem::path> copy
            = BackUpOutsideVersion(document_.data(), services_.clock.Now());
        if (!copy) {
            services_.notifier.Error(ErrorText(copy.error())
                + QStringLiteral("\n\nNothing was saved: the other version could not be kept."));
            return OutsideChoice::kCancel;
        }
        return OutsideChoice::kSave;
    }
    if (choice == 1)
        return TakeTheirs() ? OutsideChoice::kTookTheirs : OutsideChoice::kCancel;
    return OutsideChoice::kCancel;
}

bool TForm1::TakeTheirs() {
    Notifier& notifier = services_.notifier;
    // Their version must load before anything of this calendar is put aside.
    const Result<std::string> theirs = ReadWholeFile(document_.data().cdat());
    DayStore check;
    if (!theirs) {
        notifier.Error(ErrorText(theirs.error()));
        return false;
    }
    if (const Result<int> parsed = ParseDayFile(*theirs, check); !parsed) {
        notifier.Error(ErrorText(parsed.error())
            + QStringLiteral("\n\nThe other version cannot be loaded; nothing was changed."));
        return false;
    }
    // The note being typed is part of the changes put aside.
    document_.FlushPendingEdits();
    journal_->WaitFlushed();
    const Result<std::filesystem::path> kept
        = KeepJournalAside(document_.data(), *journal_, services_.clock.Now());
    if (!kept) {
        notifier.Error(ErrorText(kept.error())
            + QStringLiteral("\n\nYour changes could not be kept aside; nothing was changed."));
        return false;
    }
    const Result<DayFileLoaded> loaded = document_.Load(services_.clock.Today());
    if (!loaded) {
        notifier.Error(ErrorText(loaded.error()));
        return false;
    }
    recovered_ = false;
    notifier.Information(kept->empty()
            ? QStringLiteral("The other version was loaded.")
            : QStringLiteral("The other version was loaded. Your changes since the last save are "
                             "kept in %1.")
                  .arg(PathText(*kept)));
    return true;
}

bool TForm1::SaveCalendar() {
    switch (ResolveOutsideChange()) {
    case OutsideChoice::kSave:
        break;
    case OutsideChoice::kTookTheirs:
        return true; // the calendar is the file now
    case OutsideChoice::kCancel:
        return false;
    }
    const Status saved = document_.Save();
    if (saved)
        recovered_ = false;
    if (!saved) {
        services_.notifier.Error(ErrorText(saved.error())
            + QStringLiteral("\n\nThe calendar is still open; nothing was lost. Free some space or "
                             "fix the folder, then save again."));
        return false;
    }
    if (const auto& backup_error = backups_->last_error()) {
        services_.notifier.Warning(QStringLiteral("The calendar was saved, but the backup of the "
                                                  "file it replaced could not be made.\n\n")
            + ErrorText(*backup_error));
        backups_->set_last_error(std::nullopt);
    }
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

void TForm1::UpdateUndoItems() {
    const auto update = [](QAction* item, const QString& verb, const std::string& name) {
        QString text = QLatin1Char('&') + verb;
        if (!name.empty()) {
            // A '&' of the step's name is shown as it is, not taken for a mnemonic.
            text += QLatin1Char(' ')
                + FromCp1252(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
        }
        item->setText(text);
        item->setEnabled(!name.empty());
    };
    update(menus_->action(Command::kUndo), QStringLiteral("Undo"), history_->UndoName());
    update(menus_->action(Command::kRedo), QStringLiteral("Redo"), history_->RedoName());
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
