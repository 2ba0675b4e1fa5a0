#include "mainwindow/ui/t_form1.h"

#include "core/clock.h"
#include "core/date_key.h"
#include "core/text_file.h"
#include "core/ui/desktop.h"
#include "core/ui/dialog_style.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "mainwindow/cell_texts.h"
#include "mainwindow/navigation.h"
#include "mainwindow/ui/instance_lock.h"
#include "mainwindow/ui/note_editor.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

namespace orvane {

namespace {

constexpr int kClientWidth = 1264;
constexpr int kClientHeight = 741;
constexpr std::array<int, 6> kRowTops = { 37, 176, 315, 454, 593, 815 };
constexpr std::array<int, 7> kColumnLefts = { 0, 182, 364, 546, 728, 909, 1090 };
constexpr int kVisibleCells = 35;
constexpr int kCells = 42;
constexpr int kOverflowLines = 9;
constexpr int kPreviewHeight = 294;

const QColor kGrey(128, 128, 128);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kPreviewGrey(204, 204, 204);

constexpr std::array<const char*, 7> kWeekdayNames
    = { "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday" };
constexpr std::array<const char*, 12> kMonthNames = { "January", "February", "March", "April",
    "May", "June", "July", "August", "September", "October", "November", "December" };

int ColumnOf(int cell) {
    return (cell - 1) % 7;
}
int RowOf(int cell) {
    return (cell - 1) / 7;
}
bool NarrowColumn(int cell) {
    return ColumnOf(cell) >= 4;
}

// A filled triangle on a transparent pixmap: the overflow marker and the week and month arrows.
QPixmap Triangle(QSize size, const QColor& color, const std::array<QPointF, 3>& corners) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPolygon(corners.data(), 3);
    return pixmap;
}

QPixmap MarkerPixmap() {
    return Triangle(
        QSize(13, 17), QColor(0, 0, 160), { QPointF(2, 6), QPointF(11, 6), QPointF(6.5, 13) });
}

// The week and month arrows are navy; on a toolbar too dark for navy (a dark desktop theme) they
// take the colour of the buttons' captions, so that up and down can still be told apart.
QIcon ArrowIcon(bool up, const QPalette& toolbar) {
    constexpr double kPictureContrast = 3; // what a picture needs against its background
    const QColor colour
        = ContrastRatio(kLabelNavy, toolbar.color(QPalette::Window)) >= kPictureContrast
        ? kLabelNavy
        : toolbar.color(QPalette::ButtonText);
    const std::array<QPointF, 3> up_arrow = { QPointF(1, 8), QPointF(9, 8), QPointF(5, 2) };
    const std::array<QPointF, 3> down_arrow = { QPointF(1, 2), QPointF(9, 2), QPointF(5, 8) };
    return QIcon(Triangle(QSize(10, 10), colour, up ? up_arrow : down_arrow));
}

} // namespace

QString ApplicationTitle(const QString& executable_path) {
    const QString base = QFileInfo(executable_path).completeBaseName();
    if (base.isEmpty())
        return base;
    return base.left(1) + base.mid(1).toLower();
}

TForm1::TForm1(StartupOptions options, Notifier& notifier, Desktop& desktop, const Clock& clock,
    QWidget* parent)
    : QWidget(parent)
    , options_(std::move(options))
    , notifier_(notifier)
    , desktop_(desktop)
    , clock_(clock) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Orvane"));
    // A title bar with a system menu and a minimise button; the program closes through its own
    // quit commands, and a close from the window manager counts as "Quit ".
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setAccessibleName(QStringLiteral("Orvane calendar"));
    state_.data.dir = options_.data_dir;
    note_font_ = ProgramFont(QStringLiteral("Verdana"), 11);
    // The window's own font is the date headers' font, so the 42 headers inherit it instead of
    // each resolving a font of its own; every other control sets its font explicitly.
    setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 11, true));
    BuildToolbar();
    BuildMenus();
    BuildGrid();
}

TForm1::~TForm1() = default;

void TForm1::BuildToolbar() {
    toolbar_ = new QWidget(this);
    toolbar_->setObjectName(QStringLiteral("ToolBar2"));
    toolbar_->setGeometry(0, 0, kClientWidth, 21);
    toolbar_->setAccessibleName(QStringLiteral("Toolbar"));
    toolbar_->setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 11));
    struct ToolbarButton {
        const char* name;
        const char* caption;
        int width;
        const char* accessible;
        int arrow; // 0 none, 1 up, 2 down
    };
    const std::array<ToolbarButton, 10> toolbar_buttons = { {
        { "SpeedButton1", "File", 34, "File menu", 0 },
        { "SpeedButton2", "Cal", 32, "Calendar menu", 0 },
        { "SpeedButton3", "Help", 36, "Help menu", 0 },
        { "SpeedButton4", "Quit ", 38, "Quit and save", 0 },
        { "SpeedButton5", "Dates ", 44, "Dates: jump to a month", 0 },
        { "SpeedButton6", "Week  ", 58, "One week earlier", 1 },
        { "SpeedButton7", "Week  ", 58, "One week later", 2 },
        { "SpeedButton8", "TOP", 36, "First week", 0 },
        { "SpeedButton9", "Month  ", 64, "Previous month", 1 },
        { "SpeedButton10", "Month  ", 64, "Next month", 2 },
    } };
    int left = 2;
    for (const ToolbarButton& info : toolbar_buttons) {
        auto* button = new QToolButton(toolbar_);
        button->setObjectName(QString::fromLatin1(info.name));
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
        buttons_[button->objectName()] = button;
    }
    expansion_label_ = new QLabel(toolbar_);
    expansion_label_->setObjectName(QStringLiteral("ExpansionLabel"));
    expansion_label_->setFont(ProgramFont(QStringLiteral("Verdana"), 11));
    expansion_label_->hide();

    connect(buttons_["SpeedButton4"], &QToolButton::clicked, this, &QWidget::close);
    connect(buttons_["SpeedButton5"], &QToolButton::clicked, this, &TForm1::ShowMonthMenu);
    connect(buttons_["SpeedButton6"], &QToolButton::clicked, this, &TForm1::Up1Click);
    connect(buttons_["SpeedButton7"], &QToolButton::clicked, this, &TForm1::Dn1Click);
    connect(buttons_["SpeedButton8"], &QToolButton::clicked, this, &TForm1::TopClick);
    connect(buttons_["SpeedButton9"], &QToolButton::clicked, this, &TForm1::Up7Click);
    connect(buttons_["SpeedButton10"], &QToolButton::clicked, this, &TForm1::Dn7Click);
}

void TForm1::BuildMenus() {
    auto make_menu = [this](const char* name, const char* title) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QString::fromLatin1(name));
        menu->setTitle(QString::fromLatin1(title));
        menu->setAccessibleName(QString::fromLatin1(title));
        return menu;
    };
    file_menu_ = make_menu("FileMenu", "File");
    cal_menu_ = make_menu("CalMenu", "Cal");
    help_menu_ = make_menu("HelpMenu", "Help");
    dates_menu_ = make_menu("DatesMenu", "Dates");

    auto add = [this](QMenu* menu, const char* name, const char* caption, auto slot,
                   QKeySequence shortcut = QKeySequence()) {
        auto* item = new QAction(QString::fromLatin1(caption), this);
        item->setObjectName(QString::fromLatin1(name));
        if (!shortcut.isEmpty()) {
            item->setShortcut(shortcut);
            item->setShortcutContext(Qt::WindowShortcut);
            // Added to the window too, so the key works while the menu is closed; a disabled
            // item ignores it.
            addAction(item);
        }
        menu->addAction(item);
        connect(item, &QAction::triggered, this, slot);
        actions_[item->objectName()] = item;
        return item;
    };
    auto command = [this](std::function<void()> MainWindowCommands::*member) {
        return [this, member] {
            if (commands_.*member)
                (commands_.*member)();
        };
    };
    add(file_menu_, "SaveCalendar1", "Save Calendar", [this] { SaveCalendar(); });
    add(file_menu_, "MenuItem2", "Quit - No Save", [this] { QuitNoSave(); });
    add(file_menu_, "Archives1", "Archives", command(&MainWindowCommands::Archives));
    add(file_menu_, "Notes1", "Notes", command(&MainWindowCommands::Notes));
    add(file_menu_, "ErrorLog1", "Error Log", command(&MainWindowCommands::ErrorLog));
    add(file_menu_, "Preferences1", "Preferences...", command(&MainWindowCommands::Preferences));
    add(file_menu_, "Print1", "Print...", command(&MainWindowCommands::Print));
    add(cal_menu_, "CycleCalendar1", "Cycle Calendar", command(&MainWindowCommands::CycleCalendar));
    add(cal_menu_, "DailyEntry1", "Daily Entry", command(&MainWindowCommands::DailyEntry),
        QKeySequence(Qt::Key_F1));
    add(cal_menu_, "WeeklyEntry1", "Weekly Entry", command(&MainWindowCommands::WeeklyEntry),
        QKeySequence(Qt::Key_F2));
    add(cal_menu_, "MonthlyEntry1", "Monthly Entry", command(&MainWindowCommands::MonthlyEntry),
        QKeySequence(Qt::Key_F3));
    add(cal_menu_, "YearlyEntry1", "Yearly Entry", command(&MainWindowCommands::YearlyEntry),
        QKeySequence(Qt::Key_F4));
    add(cal_menu_, "DeleteEntry1", "Delete Entry", command(&MainWindowCommands::DeleteEntry));
    add(cal_menu_, "Search1", "Search...", command(&MainWindowCommands::Search),
        QKeySequence(Qt::Key_F9));
    add(help_menu_, "Instructions1", "Instructions", [this] { Instructions(); });
    add(help_menu_, "About1", "About", command(&MainWindowCommands::About));
    for (int k = 1; k <= kMonthMenuItems; ++k) {
        auto* item = new QAction(this);
        item->setObjectName(QStringLiteral("Mo%1").arg(k));
        dates_menu_->addAction(item);
        connect(item, &QAction::triggered, this, [this, k] { Date1Click(k); });
        month_actions_[static_cast<std::size_t>(k)] = item;
        actions_[item->objectName()] = item;
    }
    // Items that start disabled until the first activation (and the saved-preferences check).
    for (const char* name :
        { "DailyEntry1", "WeeklyEntry1", "MonthlyEntry1", "DeleteEntry1", "Search1" })
        actions_[QString::fromLatin1(name)]->setEnabled(false);

    auto popup = [this](const char* button, QMenu* menu) {
        QToolButton* b = buttons_[QString::fromLatin1(button)];
        connect(b, &QToolButton::clicked, this, [this, b, menu] { menu->popup(PopupPosition(b)); });
    };
    popup("SpeedButton1", file_menu_);
    popup("SpeedButton2", cal_menu_);
    popup("SpeedButton3", help_menu_);
}

QPoint TForm1::PopupPosition(const QToolButton* button) const {
    const QPoint window = frameGeometry().topLeft();
    return QPoint(
        window.x() + button->x() + 4, window.y() + button->y() + 2 * button->height() + 7);
}

void TForm1::BuildGrid() {
    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("Panel43"));
    strip->setGeometry(0, 21, kClientWidth, 17);
    strip->setMouseTracking(true);
    strip->installEventFilter(this);
    QFont title_font = ProgramFont(QStringLiteral("MS Sans Serif"), 11, true);
    title_font.setUnderline(true);
    for (int i = 0; i < 7; ++i) {
        auto* label = new QLabel(
            QString::fromLatin1(kDefaultDayTitles[static_cast<std::size_t>(i)].data()), strip);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setFont(title_font);
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(kColumnLefts[static_cast<std::size_t>(i)], 0, i >= 4 ? 182 : 183, 17);
        MakeNavy(label);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        day_labels_[static_cast<std::size_t>(i)] = label;
    }
    // The cells sit on one grey layer: its colour shows through the gaps between the cells'
    // editors as grid lines. The cell panels carry the grey in their palette but paint nothing
    // themselves, so a repaint fills the grey once instead of once a cell.
    grid_ = new QWidget(this);
    grid_->setObjectName(QStringLiteral("Grid"));
    grid_->setGeometry(0, kRowTops[0], kClientWidth, 735 - kRowTops[0]);
    SetColours(grid_, QPalette::Window, kGrey);
    grid_->setAutoFillBackground(true);
    // The cells start in the default cell colour with black text, which they inherit from here,
    // so a fill changes the palettes of only the cells that differ from it.
    const Rgb white = CellColorFor('1');
    SetColours(grid_, QPalette::Base, QColor(white.red, white.green, white.blue));
    for (int c = 1; c <= kCells; ++c)
        BuildCell(c);
    auto* bottom = new QWidget(this);
    bottom->setObjectName(QStringLiteral("Panel128"));
    bottom->setGeometry(0, 735, kClientWidth, kClientHeight - 735);
    bottom->setMouseTracking(true);
    bottom->installEventFilter(this);
}

void TForm1::BuildCell(int c) {
    GridCell& cell = cells_[static_cast<std::size_t>(c)];
    const int row = RowOf(c);
    const int column = ColumnOf(c);
    const bool narrow = NarrowColumn(c);
    const bool hidden_row = c > kVisibleCells;
    cell.panel = new QWidget(grid_);
    cell.panel->setObjectName(
        hidden_row ? QStringLiteral("Panel%1").arg(c) : QStringLiteral("Panelb%1").arg(2 * c));
    cell.panel->setGeometry(kColumnLefts[static_cast<std::size_t>(column)],
        kRowTops[static_cast<std::size_t>(row)] - kRowTops[0], narrow ? 182 : 183, 140);

    cell.header = new DateHeader(cell.panel);
    cell.header->setObjectName(QStringLiteral("Memo%1").arg(2 * c - 1));
    cell.header->setGeometry(2, 2, narrow ? 166 : 167, 17);
    cell.header->setBackgroundRole(QPalette::Base);
    cell.header->setProperty("orvaneDateHeader", true);
    cell.header->setMouseTracking(true);
    cell.header->installEventFilter(this);

    cell.view = new NoteView(2 * c, cell.panel);
    cell.view->setObjectName(QStringLiteral("Memo%1").arg(2 * c));
    cell.view->setGeometry(2, c == 1 ? 18 : 19, narrow ? 179 : 180, hidden_row ? 137 : 121);
    cell.view->setFont(note_font_);
    if (hidden_row) {
        cell.view->setFocusPolicy(Qt::NoFocus);
    } else {
        cell.view->setFocusPolicy(Qt::StrongFocus);
        cell.view->setMouseTracking(true);
        cell.view->installEventFilter(this);
        connect(cell.view, &NoteView::Activated, this, [this](int number, Qt::FocusReason reason) {
            EnsureEditor(number / 2)->setFocus(reason);
        });
        connect(cell.view, &NoteView::DragArrived, this,
            [this](int number) { EnsureEditor(number / 2); });
        connect(cell.view, &NoteView::Clicked, this, [this](int number, QPoint position) {
            NoteEditor* editor = EnsureEditor(number / 2);
            editor->setFocus(Qt::MouseFocusReason);
            editor->setTextCursor(editor->cursorForPosition(position));
        });
    }

    cell.corner = new QWidget(cell.panel);
    cell.corner->setObjectName(QStringLiteral("Panel%1").arg(43 + c));
    cell.corner->setGeometry(169, 2, 13, 17);
    cell.corner->setAutoFillBackground(true);
    cell.corner->setBackgroundRole(QPalette::Base);

    cell.marker = new QWidget(cell.panel);
    cell.marker->setObjectName(QStringLiteral("Panel%1").arg(85 + c));
    cell.marker->setGeometry(169, 2, 13, 17);
    cell.marker->setAutoFillBackground(true);
    cell.marker->setBackgroundRole(QPalette::Base);
    cell.marker->hide();
    if (!hidden_row) {
        static const QPixmap marker_pixmap = MarkerPixmap();
        cell.image = new QLabel(cell.marker);
        cell.image->setObjectName(QStringLiteral("Image%1").arg(2 * c));
        cell.image->setGeometry(0, 0, 13, 17);
        cell.image->setPixmap(marker_pixmap);
        cell.image->setMouseTracking(true);
        cell.image->installEventFilter(this);
        cell.image->setAccessibleName(QStringLiteral("More lines"));
        cell.image->setToolTip(QStringLiteral("This note has more lines than the cell shows"));
    }
    if (hidden_row)
        cell.panel->hide();
}

NoteEditor* TForm1::note(int cell) {
    if (cell < 1 || cell > kVisibleCells)
        return nullptr;
    return EnsureEditor(cell);
}

NoteEditor* TForm1::EnsureEditor(int c) {
    GridCell& cell = cells_[static_cast<std::size_t>(c)];
    if (cell.note)
        return cell.note;
    auto* editor = new NoteEditor(2 * c, notifier_, cell.panel);
    editor->setGeometry(cell.view->geometry());
    editor->setFont(note_font_);
    editor->setPalette(cell.view->palette());
    editor->setAccessibleName(cell.view->accessibleName());
    editor->Fill(cell.view->text());
    editor->setMouseTracking(true);
    editor->viewport()->setMouseTracking(true);
    editor->viewport()->installEventFilter(this);
    editor->installEventFilter(this);
    connect(editor, &NoteEditor::Entered, this, &TForm1::MemoEnter);
    connect(editor, &NoteEditor::Left, this, &TForm1::MemoExit);
    connect(
        editor, &NoteEditor::PageKey, this, [this](bool down) { down ? Dn7Click() : Up7Click(); });
    connect(editor, &QPlainTextEdit::textChanged, this, [this, c] { UpdateMarker(c); });
    // The editor takes the view's place, in the Tab order too.
    QWidget::setTabOrder(cell.view, editor);
    cell.view->setObjectName(QStringLiteral("NoteView%1").arg(2 * c));
    editor->setObjectName(QStringLiteral("Memo%1").arg(2 * c));
    cell.note = editor;
    editor->show();
    // Hiding a focused widget would pass the focus on to the next cell's view, which would then
    // build its own editor, and so on down the grid; the editor takes the focus first.
    if (cell.view->hasFocus())
        editor->setFocus(Qt::OtherFocusReason);
    cell.view->hide();
    return editor;
}

QStringList TForm1::CellLines(int c) const {
    const GridCell& cell = cells_[static_cast<std::size_t>(c)];
    return cell.note ? cell.note->DisplayLines() : cell.view->DisplayLines();
}

QAction* TForm1::action(const QString& name) const {
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* TForm1::menu(const QString& name) const {
    for (QMenu* m : { file_menu_, cal_menu_, help_menu_, dates_menu_ }) {
        if (m->objectName() == name)
            return m;
    }
    return nullptr;
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
    // Single instance: one copy per data folder, held for the whole run.
    lock_ = std::make_unique<InstanceLock>(state_.data.dir, options_.application_title);
    if (lock_->state() != InstanceLock::State::kHeld) {
        notifier_.Show(
            Notifier::Kind::kInformation, SecondInstanceMessage(options_.application_title));
        return false;
    }
    // With the data folder ours, a temporary file of a save is left only by a copy that was
    // killed mid-save; the file it was replacing is whole. One that cannot be removed only takes
    // room: it goes to the log, not to a box.
    if (const Result<int> removed = RemoveStaleTemporaryFiles(state_.data.dir, kDataFileNames);
        !removed)
        LogFileError(removed.error());

    Result<PrefLines> pref = ReadPrefFile(state_.data.pref());
    if (!pref) {
        notifier_.Error(QString::fromLatin1(kMissingPrefMessage)
                            .replace(QLatin1Char('\r'), QLatin1Char('\n'))
                            .arg(PathText(state_.data.dir)));
        desktop_.OpenDocument(QDir(options_.program_dir).filePath(QStringLiteral("Error.doc")));
        return false;
    }
    pref_lines_ = std::move(*pref);
    ApplyStartupLines(pref_lines_, state_.prefs);
    ApplyStartupFlags();
    SetNoteFontFamily(FromCp1252(state_.prefs.CalendarFont));
    pref_lines_.clear();

    state_.TopSlot = 1;
    const Result<DayFileLoaded> load
        = LoadDayFile(state_.data.cdat(), clock_.Today(), state_.store);
    if (!load) {
        if (load.error().kind == ErrorKind::kBadRecordCount) {
            // The box's OK button lies 35 pixels below the centre of the desktop.
            if (const QScreen* screen = QGuiApplication::primaryScreen()) {
                const QRect desk = screen->geometry();
                desktop_.MovePointer(QPoint(desk.center().x(), desk.center().y() + 35));
            }
            notifier_.Warning(QString::fromLatin1(kBadRecordCountMessage));
        } else {
            notifier_.Error(ErrorText(load.error()));
        }
        return false;
    }
    if (load->not_written)
        notifier_.Warning(ErrorText(*load->not_written));
    state_.TodayKey = DateKey(clock_.Today());
    FillOutCalendar();
    return true;
}

void TForm1::ApplyStartupFlags() {
    const Preferences& prefs = state_.prefs;
    if (strip_.apply_startup_flags)
        strip_.apply_startup_flags(prefs);
    const bool bold = prefs.on(Flag::DataBoldFont);
    QFont notes = note_font_;
    notes.setBold(bold);
    ApplyNoteFont(notes);
    QFont expansion = expansion_label_->font();
    expansion.setBold(bold);
    expansion_label_->setFont(expansion);
    const bool saved = prefs.flag(Flag::PreferencesSaved) != '0';
    for (const char* name : { "SaveCalendar1", "Archives1", "Notes1", "ErrorLog1", "CycleCalendar1",
             "WeeklyEntry1", "MonthlyEntry1", "YearlyEntry1", "DeleteEntry1" }) {
        if (!saved)
            actions_[QString::fromLatin1(name)]->setEnabled(false);
    }
    ApplyDayTitles();
}

void TForm1::ApplyDayTitles() {
    const Preferences& prefs = state_.prefs;
    for (int i = 0; i < 7; ++i) {
        QLabel* label = day_labels_[static_cast<std::size_t>(i)];
        QFont font = label->font();
        font.setUnderline(prefs.flag(Flag::UnderlineDayTitles) != '0');
        label->setFont(font);
        const std::string& title = prefs.DayTitles[static_cast<std::size_t>(i)];
        if (prefs.on(Flag::CustomTitles) && !title.empty())
            label->setText(FromCp1252(title));
        else
            label->setText(
                QString::fromLatin1(kDefaultDayTitles[static_cast<std::size_t>(i)].data()));
    }
}

void TForm1::PlaceWindow() {
    if (!isWindow())
        return;
    move(0, -2);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_once_) {
        shown_once_ = true;
        PlaceWindow();
        // The first note is where typing starts, as the first control of the window; its editor
        // is built when the window becomes active and the note takes the focus.
        cells_[1].view->setFocus(Qt::OtherFocusReason);
        state_.ActiveNote = 2;
        // The activation work runs once the window is on screen.
        QTimer::singleShot(0, this, &TForm1::FormActivate);
    }
}

void TForm1::FormActivate() {
    ++activation_count_;
    PlaceWindow();
    for (int c = 1; c <= kVisibleCells; ++c)
        SetColours(cells_[static_cast<std::size_t>(c)].panel, QPalette::Window, kGrey);
    Result<PrefLines> pref = ReadPrefFile(state_.data.pref());
    if (!pref) {
        notifier_.Error(ErrorText(pref.error()));
        return;
    }
    pref_lines_ = std::move(*pref);
    for (const char* name : { "DailyEntry1", "WeeklyEntry1", "MonthlyEntry1", "YearlyEntry1",
             "DeleteEntry1", "Search1" })
        actions_[QString::fromLatin1(name)]->setEnabled(true);
    if (strip_.activate)
        strip_.activate(pref_lines_, state_.prefs);
}

QString TForm1::AccessibleDate(int slot) const {
    const auto date = ParseDateKey(state_.store[slot]);
    if (!date)
        return QStringLiteral("Day note");
    return QStringLiteral("%1 %2 %3 %4")
        .arg(QString::fromLatin1(kWeekdayNames[static_cast<std::size_t>(WeekdayIndex(*date))]))
        .arg(static_cast<unsigned>(date->day()))
        .arg(QString::fromLatin1(kMonthNames[static_cast<unsigned>(date->month()) - 1]))
        .arg(static_cast<int>(date->year()));
}

void TForm1::FillOutCalendar() {
    HidePreview();
    const QColor cell_colour = [this] {
        const Rgb rgb = CellColorFor(state_.prefs.flag(Flag::CellColor));
        return QColor(rgb.red, rgb.green, rgb.blue);
    }();
    state_.TopSlot = ClampTopSlot(state_.TopSlot);
    for (int c = 1; c <= kCells; ++c) {
        GridCell& cell = cells_[static_cast<std::size_t>(c)];
        const int slot = state_.TopSlot + c - 1;
        const CellText text = CellTexts(state_.store[slot], c == 1, state_.TodayKey, state_.prefs);
        const QColor header_colour
            = (text.today || text.first_of_month) ? kErrorYellow : cell_colour;
        const QColor note_colour = text.today ? kErrorYellow : cell_colour;
        SetColours(cell.header, QPalette::Base, header_colour, text.today ? kRed : kBlue,
            DisabledText::kSame);
        SetColours(cell.view, QPalette::Base, note_colour);
        if (cell.note)
            SetColours(cell.note, QPalette::Base, note_colour);
        SetColours(cell.corner, QPalette::Base, header_colour);
        SetColours(cell.marker, QPalette::Base, header_colour);
        cell.header->setText(FromCp1252(text.header));
        const QString note_text = FromCp1252(NoteText(text));
        cell.view->SetText(note_text);
        if (cell.note)
            cell.note->Fill(note_text);
        if (c <= kVisibleCells) {
            const QString date = AccessibleDate(slot);
            cell.view->setAccessibleName(date);
            if (cell.note)
                cell.note->setAccessibleName(date);
            cell.header->setAccessibleName(QStringLiteral("Date ") + date);
        }
        if (c <= kVisibleCells)
            UpdateMarker(c); // the hidden row's notes are laid out only when printing reads them
    }
    grid_stale_ = false;
    if (grid_filled_once_) {
        // The pass over the visible notes: caret to the first line; it ends in the last cell.
        for (int c = 1; c <= kVisibleCells; ++c) {
            if (NoteEditor* editor = cells_[static_cast<std::size_t>(c)].note)
                editor->MoveCaretToLine(0);
        }
        EnsureEditor(kVisibleCells)->setFocus(Qt::OtherFocusReason);
        state_.ActiveNote = 2 * kVisibleCells;
    }
    grid_filled_once_ = true;
}

void TForm1::UpdateMarker(int c) {
    GridCell& cell = cells_[static_cast<std::size_t>(c)];
    const bool overflow = CellLines(c).size() > kOverflowLines;
    cell.corner->setVisible(!overflow);
    cell.marker->setVisible(overflow);
}

void TForm1::MemoEnter(int number) {
    state_.ActiveNote = number;
}

void TForm1::MemoExit(int number) {
    if (grid_stale_ || number < 2 || number > 2 * kVisibleCells || number % 2 != 0)
        return;
    NoteEditor* editor = cells_[static_cast<std::size_t>(number / 2)].note;
    if (!editor || !editor->changed())
        return;
    const int slot = state_.TopSlot + number / 2 - 1;
    std::vector<std::string> lines;
    for (const QString& line : editor->DisplayLines()) {
        // The editor admits only characters a day string can hold.
        lines.push_back(ToCp1252(line).value_or(std::string()));
    }
    state_.store[slot] = StoredNote(state_.store[slot], lines);
    editor->MarkStored();
}

void TForm1::ResetMemos() {
    const int active = state_.ActiveNote;
    if (active >= 2 && active <= 84 && active % 2 == 0) {
        MemoExit(active);
        return;
    }
    notifier_.Information(QStringLiteral("Memo Box data may have failed to be saved."));
}

void TForm1::StoreActiveNote() {
    const int active = state_.ActiveNote;
    if (active >= 2 && active <= 84 && active % 2 == 0)
        MemoExit(active);
}

void TForm1::FocusFirstNote() {
    EnsureEditor(1)->setFocus(Qt::OtherFocusReason);
}

void TForm1::MoveTo(int top_slot) {
    state_.TopSlot = ClampTopSlot(top_slot);
    FillOutCalendar();
}

void TForm1::Up1Click() {
    if (const auto top = WeekEarlier(state_.TopSlot)) {
        ResetMemos();
        MoveTo(*top);
    }
}

void TForm1::Dn1Click() {
    if (const auto top = WeekLater(state_.TopSlot)) {
        ResetMemos();
        MoveTo(*top);
    }
}

void TForm1::TopClick() {
    ResetMemos();
    MoveTo(1);
}

void TForm1::Dn7Click() {
    ResetMemos();
    if (const auto top = NextMonth(state_.store, state_.TopSlot))
        MoveTo(*top);
}

void TForm1::Up7Click() {
    ResetMemos();
    if (const auto top = PreviousMonth(state_.store, state_.TopSlot))
        MoveTo(*top);
}

std::vector<MonthMenuItem> TForm1::RebuildMonthMenu() {
    HidePreview();
    month_items_ = BuildMonthMenu(state_.store, state_.prefs, month_items_);
    for (int k = 1; k <= kMonthMenuItems; ++k) {
        const MonthMenuItem& item = month_items_[static_cast<std::size_t>(k - 1)];
        QAction* entry = month_actions_[static_cast<std::size_t>(k)];
        entry->setText(FromCp1252(item.caption));
        entry->setVisible(item.visible);
    }
    return month_items_;
}

void TForm1::ShowMonthMenu() {
    RebuildMonthMenu();
    dates_menu_->popup(PopupPosition(buttons_["SpeedButton5"]));
}

void TForm1::Date1Click(int item) {
    if (item < 1 || item > kMonthMenuItems)
        return;
    if (month_items_.empty())
        RebuildMonthMenu();
    // The typed note is kept: it is stored before the refill replaces the editors.
    StoreActiveNote();
    MoveTo(month_items_[static_cast<std::size_t>(item - 1)].slot);
}

void TForm1::Instructions() {
    desktop_.OpenDocument(QDir(options_.program_dir).filePath(QStringLiteral("Help/Orvane.html")));
}

bool TForm1::SaveCalendar() {
    StoreActiveNote();
    const Status saved = SaveDayFile(state_.data.cdat(), state_.store);
    if (!saved) {
        notifier_.Error(ErrorText(saved.error())
            + QStringLiteral("\n\nThe calendar is still open; nothing was lost. Free some space or "
                             "fix the folder, then save again."));
        return false;
    }
    return true;
}

void TForm1::QuitNoSave() {
    NoSaveOnClose = true;
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (state_.prefs.on(Flag::PreferencesSaved) && !NoSaveOnClose && state_.store.loaded()) {
        if (!SaveCalendar()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

QFont TForm1::ExpansionLabelFont() const {
    return expansion_label_->font();
}

QStringList TForm1::DayTitleTexts() const {
    QStringList titles;
    for (const QLabel* label : day_labels_)
        titles << label->text();
    return titles;
}

GridCellView TForm1::Cell(int c) const {
    GridCellView view;
    if (c < 1 || c > kCells)
        return view;
    const GridCell& cell = cells_[static_cast<std::size_t>(c)];
    view.header = cell.header->text();
    view.lines = CellLines(c);
    return view;
}

QFont TForm1::NoteFont() const {
    return note_font_;
}

void TForm1::ApplyNoteFont(const QFont& font) {
    if (font == note_font_)
        return;
    note_font_ = font;
    for (int c = 1; c <= kCells; ++c) {
        GridCell& cell = cells_[static_cast<std::size_t>(c)];
        cell.view->setFont(note_font_);
        if (cell.note)
            cell.note->setFont(note_font_);
        UpdateMarker(c);
    }
}

void TForm1::SetNoteFontFamily(const QString& family) {
    if (family.isEmpty())
        return;
    // Bold notes follow the flag read at start-up; a changed flag takes effect at the next start.
    ApplyNoteFont(ProgramFont(family, 11, note_font_.bold()));
}

void TForm1::ApplyPreferences() {
    StoreActiveNote();
    ApplyDayTitles();
    // Saved preferences enable the items that start-up disabled; nothing here disables them again
    // (a colour tried out in the dialog, say), and bold notes and the sun and moon display wait
    // for the next start.
    if (state_.prefs.on(Flag::PreferencesSaved)) {
        for (const char* name :
            { "SaveCalendar1", "Archives1", "Notes1", "ErrorLog1", "CycleCalendar1", "WeeklyEntry1",
                "MonthlyEntry1", "YearlyEntry1", "DeleteEntry1" })
            actions_[QString::fromLatin1(name)]->setEnabled(true);
    }
    RebuildMonthMenu();
    FillOutCalendar();
}

QPlainTextEdit* TForm1::Preview() {
    // Built on the first hover over a marker: most runs never need it, and the first text editor
    // a program creates loads the input-method machinery.
    if (preview_)
        return preview_;
    preview_ = new QPlainTextEdit(this);
    preview_->setObjectName(QStringLiteral("Memo85"));
    preview_->setReadOnly(true);
    preview_->setFrameShape(QFrame::NoFrame);
    preview_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    preview_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    preview_->setFont(ProgramFont(QStringLiteral("Tahoma"), 11));
    preview_->setFocusPolicy(Qt::NoFocus);
    preview_->setAccessibleName(QStringLiteral("Note preview"));
    SetColours(preview_, QPalette::Base, kPreviewGrey);
    preview_->resize(182, kPreviewHeight);
    preview_->setMouseTracking(true);
    preview_->viewport()->setMouseTracking(true);
    preview_->viewport()->installEventFilter(this);
    preview_->hide();
    return preview_;
}

void TForm1::ShowPreview(int c) {
    const GridCell& cell = cells_[static_cast<std::size_t>(c)];
    const QStringList lines = CellLines(c);
    if (lines.size() <= kOverflowLines)
        return;
    const QPoint panel = cell.panel->mapTo(this, QPoint(0, 0));
    const int top = RowOf(c) < 4 ? panel.y() + cell.view->y() : panel.y() - kPreviewHeight;
    QPlainTextEdit* preview = Preview();
    preview->setGeometry(panel.x() + 2, top, 182, kPreviewHeight);
    preview->setPlainText(lines.join(QLatin1Char('\n')));
    preview->show();
    preview->raise();
    preview_cell_ = c;
}

void TForm1::HidePreview() {
    if (preview_)
        preview_->hide();
    preview_cell_ = 0;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        for (int c = 1; c <= kVisibleCells; ++c) {
            if (watched == cells_[static_cast<std::size_t>(c)].image) {
                if (preview_cell_ != c) {
                    HidePreview();
                    ShowPreview(c);
                }
                return false;
            }
        }
        HidePreview();
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched->property("orvaneDateHeader").toBool()
            && (key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown)) {
            key->key() == Qt::Key_PageDown ? Dn7Click() : Up7Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orvane
