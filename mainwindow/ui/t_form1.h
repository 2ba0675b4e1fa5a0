// TForm1, the main window: the toolbar with its pop-up menus and the sun and moon strip, the
// week-day titles, the day grid and the bottom strip. It owns the calendar document for the whole
// run and is the CalendarHost the other windows ask about the grid.
//
//   TForm1 form(options, services);
//   if (!form.FormCreate()) return 0;        // lock, preferences, day store (messages shown)
//   form.SetCommand(Command::kDailyEntry, [&] { ... });
#pragma once

#include "core/calendar_document.h"
#include "core/file_backups.h"
#include "core/month_menu_item.h"
#include "core/ui/calendar_host.h"
#include "core/ui/services.h"
#include "core/undo_history.h"
#include "mainwindow/ui/commands.h"
#include "mainwindow/ui/day_file_guard.h"
#include "mainwindow/ui/toolbar.h"
#include "prefs/pref_file.h"

#include <QWidget>
#include <array>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QToolButton;

namespace orvane {

class DayGrid;
class DocumentJournal;
class Journal;
class DayTitles;
class DocumentEvents;
class InstanceLock;
class MainMenus;
class NoteEditor;

// The sunrise, sunset and moon strip of the toolbar, supplied by app/.
struct ToolbarStrip {
    QWidget* widget = nullptr;
    std::function<void(const Preferences&)> apply_startup_flags;
    std::function<void(const PrefLines&, const Preferences&)> activate;
};

struct StartupOptions {
    QString program_dir; // holds Help/Orvane.html and Error.doc
    std::filesystem::path data_dir; // the csystem folder
    QString application_title; // names the single-instance lock in the data folder
};

class TForm1 : public QWidget, public CalendarHost {
    Q_OBJECT
public:
    TForm1(StartupOptions options, Services services, QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up: single-instance lock, preferences, day store, first fill. False when the
    // program must end (the reason has been shown).
    bool FormCreate();
    void SetCommand(Command command, std::function<void()> run);
    void SetToolbarStrip(ToolbarStrip strip);

    // Activation work: placement, preferences, menus, moon and sun.
    void FormActivate();

    CalendarDocument& document() { return document_; }
    UndoHistory& history() { return *history_; }
    FileBackups& backups() { return *backups_; }
    Journal& journal() { return *journal_; }
    DocumentEvents& events() { return *events_; }
    DayGrid& grid() { return *grid_; }
    // The note editor of a visible cell (in [1, 35]), created on first use.
    NoteEditor* note(int cell);

    // Commands.
    bool SaveCalendar(); // "Save Calendar"
    void UndoClick(); // "Undo ..."
    void RedoClick(); // "Redo ..."
    void QuitNoSave(); // "Quit - No Save"
    void Up1Click();
    void Dn1Click();
    void TopClick();
    void Up7Click();
    void Dn7Click();
    void ShowMonthMenu(); // the "Dates " button: builds the month menu, then pops it up
    // Builds the month menu from the days as they stand (Date1Click's build).
    const std::vector<MonthMenuItem>& RebuildMonthMenu();
    void Date1Click(int item); // a month of the menu, 1-25
    void Instructions();

    int activation_count() const { return activation_count_; }
    // Start-up replayed a journal: the calendar holds changes that are not saved yet.
    bool recovered() const { return recovered_; }
    QAction* action(Command command) const;
    QAction* MonthAction(int item) const; // Mo1-Mo25
    QMenu* menu(MenuName name) const;
    QPoint PopupPosition(const QToolButton* button) const;
    Toolbar& toolbar() { return *toolbar_; }

    // CalendarHost
    QWidget* MainWidget() override { return this; }
    GridCellView Cell(int cell) const override;
    QStringList DayTitleTexts() const override;
    QFont NoteFont() const override;
    QFont ExpansionLabelFont() const override;
    void SetNoteFontFamily(const QString& family) override;
    void FocusFirstNote() override;
    QRect SelectInNote(int slot, int position, int length, bool activate) override;
    void ChildWindowClosed() override { FormActivate(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectCommands();
    void ToolbarPressed(Toolbar::Button button);
    void ApplyStartupFlags();
    // The preferences in memory changed (the preferences dialog): titles, underline and the
    // items that saved preferences enable; the grid refills itself.
    void ApplyPreferences();
    void PlaceWindow();

    StartupOptions options_;
    Services services_;
    CalendarDocument document_;
    // Declared after the document, which they listen to, so they go before it.
    std::unique_ptr<FileBackups> backups_;
    std::unique_ptr<UndoHistory> history_;
    std::unique_ptr<DocumentEvents> events_;
    std::unique_ptr<Journal> journal_;
    std::unique_ptr<DocumentJournal> journal_keeper_;
    // The day file against changes made by other programs. Owned here, not by Qt's parent, so
    // that it goes before the document it listens to.
    std::unique_ptr<DayFileGuard> guard_;
    DayFileGuard::SaveOutcome last_save_ = DayFileGuard::SaveOutcome::kNotSaved;
    std::unique_ptr<InstanceLock> lock_;
    // The lock is taken on a second thread while the window is built (taking it waits for the
    // disk), and FormCreate waits for it before anything reads the data folder.
    std::future<std::unique_ptr<InstanceLock>> pending_lock_;
    ToolbarStrip strip_;

    Toolbar* toolbar_ = nullptr;
    MainMenus* menus_ = nullptr;
    DayGrid* grid_ = nullptr;
    DayTitles* day_titles_ = nullptr;
    std::vector<MonthMenuItem> month_items_;

    bool no_save_on_close_ = false; // NoSaveOnClose
    bool shown_once_ = false;
    bool recovered_ = false; // start-up recovered changes that are not saved yet
    int activation_count_ = 0;
};

} // namespace orvane
