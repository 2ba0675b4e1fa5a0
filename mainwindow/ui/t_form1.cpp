#include "mainwindow/ui/t_form1.h"

#include "core/clock.h"
#include "core/text_file.h"
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
#include "mainwindow/ui/note_editor.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace orvane {

namespace {

constexpr int kClientWidth = 1264;
constexpr int kClientHeight = 741;
constexpr int kGridTop = 37;
constexpr std::array<int, 7> kColumnLefts = { 0, 182, 364, 546, 728, 909, 1090 };

struct ToolbarButton {
    const char* caption;
    int width;
    const char* accessible;
    int arrow; // 0 none, 1 up, 2 down
};

// SpeedButton1-SpeedButton10, left to right.
constexpr std::array<ToolbarButton, 10> kToolbarButtons = { {
    { "File", 34, "File menu", 0 },
    { "Cal", 32, "Calendar menu", 0 },
    { "Help", 36, "Help menu", 0 },
    { "Quit ", 38, "Quit and save", 0 },
    { "Dates ", 44, "Dates: jump to a month", 0 },
    { "Week  ", 58, "One week earlier", 1 },
    { "Week  ", 58, "One week later", 2 },
    { "TOP", 36, "First week", 0 },
    { "Month  ", 64, "Previous month", 1 },
    { "Month  ", 64, "Next month", 2 },
} };

// The week and month arrows are navy; on a toolbar too dark for navy (a dark desktop theme) they
// take the colour of the buttons' captions, so that up and down can still be told apart.
QIcon ArrowIcon(bool up, const QPalette& toolbar) {
    constexpr double kPictureContrast = 3; // what a picture needs against its background
    const QColor colour
        = ContrastRatio(kLabelNavy, toolbar.color(QPalette::Window)) >= kPictureContrast
        ? kLabelNavy
        : toolbar.color(QPalette::ButtonText);
    QPixmap pixmap(10, 10);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const std::array<QPointF, 3> up_arrow = { QPointF(1, 8), QPointF(9, 8), QPointF(5, 2) };
    const std::array<QPointF, 3> down_arrow = { QPointF(1, 2), QPointF(9, 2), QPointF(5, 8) };
    painter.drawPolygon((up ? up_arrow : down_arrow).data(), 3);
    return QIcon(pixmap);
}

// Saved preferences enable these; unsaved ones disable them at start-up.
constexpr std::array<Command, 9> kSavedPreferenceItems = { Command::kSaveCalendar,
    Command::kArchives, Command::kNotes, Command::kErrorLog, Command::kCycleCalendar,
    Command::kWeeklyEntry, Command::kMonthlyEntry, Command::kYearlyEntry, Command::kDeleteEntry };

// Disabled at start, enabled by every activation.
constexpr std::array<Command, 6> kActivatedItems = { Command::kDailyEntry, Command::kWeeklyEntry,
    Command::kMonthlyEntry, Command::kYearlyEntry, Command::kDeleteEntry, Command::kSearch };

} // namespace

QString ApplicationTitle(const QString& executable_path) {
    const QString base = QFileInfo(executable_path).completeBaseName();
    if (base.isEmpty())
        return base;
    return base.left(1) + base.mid(1).toLower();
}

TForm1::TForm1(StartupOptions options, Services services, QWidget* parent)
    : QWidget(parent)
    , options_(std::move(options))
    , services_(services)
    , document_(DataFolder { options_.data_dir })
    , events_(std::make_unique<DocumentEvents>(document_)) {
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
    BuildToolbar();
    BuildMenus();
    BuildDayTitles();
    grid_ = new DayGrid(document_, *events_, services_.notifier, this);
    grid_->setGeometry(0, kGridTop, kClientWidth, kClientHeight - kGridTop);
    connect(grid_, &DayGrid::PageKey, this, [this](bool down) { down ? Dn7Click() : Up7Click(); });
    connect(
        events_.get(), &DocumentEvents::DocumentChanged, this, [this](const ChangeReport& report) {
            if (report.kind == OperationKind::kPreferences)
                ApplyPreferences();
        });
}

TForm1::~TForm1() = default;

void TForm1::BuildToolbar() {
    toolbar_ = new QWidget(this);
    toolbar_->setObjectName(QStringLiteral("ToolBar2"));
    toolbar_->setGeometry(0, 0, kClientWidth, 21);
    toolbar_->setAccessibleName(QStringLiteral("Toolbar"));
    toolbar_->setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 11));
    int left = 2;
    for (std::size_t i = 0; i < kToolbarButtons.size(); ++i) {
        const ToolbarButton& info = kToolbarButtons[i];
        auto* button = new QToolButton(toolbar_);
        button->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
        button->setText(QString::fromLatin1(info.caption));
        button->setAutoRaise(true);
        button->setAccessibleName(QString::fromLatin1(info.accessible));
        button->setToolTip(QString::fromLatin1(info.accessible));
        if (info.arrow != 0) {
            button->setIcon(ArrowIcon(info.arrow == 1, toolbar_->palette()));
            button->setIconSize(QSize(10, 10));
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            button->setLayoutDirection(Qt::RightToLeft);
        }
        button->setGeometry(left, 0, info.width, 21);
        left += info.width + 1;
        buttons_[i + 1] = button;
    }
    expansion_label_ = new QLabel(toolbar_);
    expansion_label_->setObjectName(QStringLiteral("ExpansionLabel"));
    expansion_label_->setFont(ProgramFont(QStringLiteral("Verdana"), 11));
    expansion_label_->hide();

    connect(buttons_[4], &QToolButton::clicked, this, &QWidget::close);
    connect(buttons_[5], &QToolButton::clicked, this, &TForm1::ShowMonthMenu);
    connect(buttons_[6], &QToolButton::clicked, this, &TForm1::Up1Click);
    connect(buttons_[7], &QToolButton::clicked, this, &TForm1::Dn1Click);
    connect(buttons_[8], &QToolButton::clicked, this, &TForm1::TopClick);
    connect(buttons_[9], &QToolButton::clicked, this, &TForm1::Up7Click);
    connect(buttons_[10], &QToolButton::clicked, this, &TForm1::Dn7Click);
}

void TForm1::BuildMenus() {
    const std::array<std::pair<MenuName, const char*>, 3> menus = { { { MenuName::kFile, "File" },
        { MenuName::kCal, "Cal" }, { MenuName::kHelp, "Help" } } };
    for (const auto& [name, title] : menus) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QString::fromLatin1(title) + QStringLiteral("Menu"));
        menu->setTitle(QString::fromLatin1(title));
        menu->setAccessibleName(QString::fromLatin1(title));
        menus_[name] = menu;
    }
    dates_menu_ = new QMenu(this);
    dates_menu_->setObjectName(QStringLiteral("DatesMenu"));
    dates_menu_->setAccessibleName(QStringLiteral("Dates"));

    for (const CommandItem& item : kCommandItems) {
        auto* entry = new QAction(QString::fromLatin1(item.caption), this);
        entry->setObjectName(QString::fromLatin1(item.object_name));
        if (item.shortcut.key() != Qt::Key_unknown) {
            entry->setShortcut(QKeySequence(item.shortcut));
            entry->setShortcutContext(Qt::WindowShortcut);
            // Added to the window too, so the key works while the menu is closed; a disabled
            // item ignores it.
            addAction(entry);
        }
        menus_[item.menu]->addAction(entry);
        const Command command = item.command;
        connect(entry, &QAction::triggered, this, [this, command] {
            const auto run = commands_.find(command);
            if (run != commands_.end() && run->second)
                run->second();
        });
        actions_[command] = entry;
    }
    SetCommand(Command::kSaveCalendar, [this] { SaveCalendar(); });
    SetCommand(Command::kQuitNoSave, [this] { QuitNoSave(); });
    SetCommand(Command::kInstructions, [this] { Instructions(); });
    for (int k = 1; k <= kMonthMenuItems; ++k) {
        auto* entry = new QAction(this);
        entry->setObjectName(QStringLiteral("Mo%1").arg(k));
        dates_menu_->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, k] { Date1Click(k); });
        month_actions_[static_cast<std::size_t>(k)] = entry;
    }
    for (Command command : { Command::kDailyEntry, Command::kWeeklyEntry, Command::kMonthlyEntry,
             Command::kDeleteEntry, Command::kSearch })
        actions_[command]->setEnabled(false);
    for (std::size_t i = 1; i <= menus.size(); ++i) {
        QToolButton* button = buttons_[i];
        QMenu* menu = menus_[menus[i - 1].first];
        connect(button, &QToolButton::clicked, this,
            [this, button, menu] { menu->popup(PopupPosition(button)); });
    }
}

void TForm1::BuildDayTitles() {
    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("Panel43"));
    strip->setGeometry(0, 21, kClientWidth, 17);
    strip->setMouseTracking(true);
    strip->installEventFilter(this);
    QFont title_font = ProgramFont(QStringLiteral("MS Sans Serif"), 11, true);
    title_font.setUnderline(true);
    for (std::size_t i = 0; i < day_labels_.size(); ++i) {
        auto* label = new QLabel(QString::fromLatin1(kDefaultDayTitles[i].data()), strip);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setFont(title_font);
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(kColumnLefts[i], 0, i >= 4 ? 182 : 183, 17);
        MakeNavy(label);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        day_labels_[i] = label;
    }
}

void TForm1::SetCommand(Command command, std::function<void()> run) {
    commands_[command] = std::move(run);
}

QPoint TForm1::PopupPosition(const QToolButton* button) const {
    const QPoint window = frameGeometry().topLeft();
    return QPoint(
        window.x() + button->x() + 4, window.y() + button->y() + 2 * button->height() + 7);
}

void TForm1::SetToolbarStrip(ToolbarStrip strip) {
    strip_ = std::move(strip);
    if (strip_.widget) {
        strip_.widget->setParent(toolbar_);
        strip_.widget->move(kClientWidth - strip_.widget->width(), 0);
        strip_.widget->show();
    }
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
    // killed mid-save; the file it was replacing is whole.
    (void)RemoveStaleTemporaryFiles(document_.data().dir, kDataFileNames);

    const StartupOutcome start = Startup(document_, services_.clock.Today());
    switch (start.kind) {
    case StartupOutcome::Kind::kNoPreferences:
        notifier.Error(
            QString::fromLatin1(kMissingPrefMessage).replace(QLatin1Char('\r'), QLatin1Char('\n')));
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
    ApplyStartupFlags();
    return true;
}

void TForm1::ApplyStartupFlags() {
    const Preferences& prefs = document_.prefs();
    if (strip_.apply_startup_flags)
        strip_.apply_startup_flags(prefs);
    const bool bold = prefs.on(Flag::DataBoldFont);
    QFont expansion = expansion_label_->font();
    expansion.setBold(bold);
    expansion_label_->setFont(expansion);
    QFont notes = ProgramFont(QStringLiteral("Verdana"), 11, bold);
    grid_->SetNoteFont(notes);
    SetNoteFontFamily(FromCp1252(prefs.CalendarFont));
    if (prefs.flag(Flag::PreferencesSaved) == '0') {
        for (Command command : kSavedPreferenceItems)
            actions_[command]->setEnabled(false);
    }
    ApplyDayTitles();
}

void TForm1::ApplyDayTitles() {
    const Preferences& prefs = document_.prefs();
    for (std::size_t i = 0; i < day_labels_.size(); ++i) {
        QLabel* label = day_labels_[i];
        QFont font = label->font();
        font.setUnderline(prefs.flag(Flag::UnderlineDayTitles) != '0');
        label->setFont(font);
        const std::string& title = prefs.DayTitles[i];
        label->setText(prefs.on(Flag::CustomTitles) && !title.empty()
                ? FromCp1252(title)
                : QString::fromLatin1(kDefaultDayTitles[i].data()));
    }
}

void TForm1::ApplyPreferences() {
    ApplyDayTitles();
    // Saved preferences enable the items that start-up disabled; nothing here disables them again
    // (a colour tried out in the dialog, say), and bold notes and the sun and moon display wait
    // for the next start.
    if (document_.prefs().on(Flag::PreferencesSaved)) {
        for (Command command : kSavedPreferenceItems)
            actions_[command]->setEnabled(true);
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
        actions_[command]->setEnabled(true);
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

void TForm1::RebuildMonthMenu() {
    grid_->HidePreview();
    month_items_ = BuildMonthMenu(document_.store(), document_.prefs(), month_items_);
    for (int k = 1; k <= kMonthMenuItems; ++k) {
        const MonthMenuItem& item = month_items_[static_cast<std::size_t>(k - 1)];
        QAction* entry = month_actions_[static_cast<std::size_t>(k)];
        entry->setText(FromCp1252(item.caption));
        entry->setVisible(item.visible);
    }
}

void TForm1::ShowMonthMenu() {
    RebuildMonthMenu();
    dates_menu_->popup(PopupPosition(buttons_[5]));
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
    const Status saved = document_.Save();
    if (!saved) {
        services_.notifier.Error(ErrorText(saved.error())
            + QStringLiteral("\n\nThe calendar is still open; nothing was lost. Free some space or "
                             "fix the folder, then save again."));
        return false;
    }
    return true;
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
    event->accept();
}

QAction* TForm1::action(Command command) const {
    const auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* TForm1::MonthAction(int item) const {
    return item >= 1 && item <= kMonthMenuItems ? month_actions_[static_cast<std::size_t>(item)]
                                                : nullptr;
}

QMenu* TForm1::menu(MenuName name) const {
    const auto it = menus_.find(name);
    return it == menus_.end() ? nullptr : it->second;
}

GridCellView TForm1::Cell(int cell) const {
    return grid_->Cell(cell);
}

QStringList TForm1::DayTitleTexts() const {
    QStringList titles;
    for (const QLabel* label : day_labels_)
        titles << label->text();
    return titles;
}

QFont TForm1::NoteFont() const {
    return grid_->NoteFont();
}

QFont TForm1::ExpansionLabelFont() const {
    return expansion_label_->font();
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

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // The pointer over the week-day titles hides the note preview.
    if (event->type() == QEvent::MouseMove)
        grid_->HidePreview();
    return QWidget::eventFilter(watched, event);
}

} // namespace orvane
