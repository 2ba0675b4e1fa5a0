// TForm1, the main window: the toolbar with its pop-up menus, the week-day strip, the grid of
// 5 visible and 1 hidden week of day cells, and the note preview. It owns the calendar state for
// the whole run and is the CalendarHost every other window works through.
#pragma once

#include "core/calendar_state.h"
#include "core/day_file.h"
#include "core/ui/calendar_host.h"
#include "prefs/pref_file.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QAction;
class QPlainTextEdit;
class QToolButton;

namespace orvane {

class InstanceLock;
class NoteEditor;
class NoteView;
class DateHeader;

// The commands behind the menus that open the program's other windows; app/ wires them.
struct MainWindowCommands {
    std::function<void()> Archives;
    std::function<void()> Notes;
    std::function<void()> ErrorLog;
    std::function<void()> Preferences;
    std::function<void()> Print;
    std::function<void()> CycleCalendar;
    std::function<void()> DailyEntry;
    std::function<void()> WeeklyEntry;
    std::function<void()> MonthlyEntry;
    std::function<void()> YearlyEntry;
    std::function<void()> DeleteEntry;
    std::function<void()> Search;
    std::function<void()> About;
};

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

// The application title: the executable's name without folder and extension, its first
// character unchanged and the others in lower case.
QString ApplicationTitle(const QString& executable_path);

class TForm1 : public QWidget, public CalendarHost {
    Q_OBJECT
public:
    TForm1(StartupOptions options, Notifier& notifier, Desktop& desktop, const Clock& clock,
        QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up: single-instance lock, preferences, day store, first fill. False when the
    // program must end (the reason has been shown).
    bool FormCreate();
    void SetCommands(MainWindowCommands commands) { commands_ = std::move(commands); }
    void SetToolbarStrip(ToolbarStrip strip);

    // Activation work: placement, grid lines, preferences, menus, moon and sun.
    void FormActivate();

    // Commands.
    bool SaveCalendar(); // "Save Calendar"
    void QuitNoSave(); // "Quit - No Save"
    void Up1Click();
    void Dn1Click();
    void TopClick();
    void Up7Click();
    void Dn7Click();
    void ShowMonthMenu(); // the "Dates " button: builds the month menu, then pops it up
    void Instructions();

    // Note handling.
    void MemoEnter(int number);
    void MemoExit(int number);
    bool grid_stale() const { return grid_stale_; }
    int activation_count() const { return activation_count_; }
    QAction* action(const QString& name) const;
    QMenu* menu(const QString& name) const;
    // The note editor of a visible cell (in [1, 35]), created on first use.
    NoteEditor* note(int cell);
    QPoint PopupPosition(const QToolButton* button) const;

    // CalendarHost
    CalendarState& State() override { return state_; }
    Notifier& notifier() override { return notifier_; }
    Desktop& desktop() override { return desktop_; }
    const Clock& clock() const override { return clock_; }
    QWidget* MainWidget() override { return this; }
    void ResetMemos() override;
    void FillOutCalendar() override;
    void RadioButton1Click() override { FillOutCalendar(); }
    void MarkGridStale() override { grid_stale_ = true; }
    void FocusFirstNote() override;
    QFont ExpansionLabelFont() const override;
    std::vector<MonthMenuItem> RebuildMonthMenu() override;
    void Date1Click(int item) override;
    QStringList DayTitleTexts() const override;
    GridCellView Cell(int cell) const override;
    QFont NoteFont() const override;
    void ApplyPreferences() override;
    void SetNoteFontFamily(const QString& family) override;
    void ChildWindowClosed() override { FormActivate(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct GridCell {
        QWidget* panel = nullptr;
        DateHeader* header = nullptr;
        NoteView* view = nullptr; // shows the note until the cell is first edited
        NoteEditor* note = nullptr; // created when the cell first takes the focus
        QWidget* corner = nullptr;
        QWidget* marker = nullptr;
        QLabel* image = nullptr;
        QColor background;
        bool yellow_header = false;
    };

    void BuildToolbar();
    void BuildMenus();
    void BuildGrid();
    void BuildCell(int c);
    void ApplyStartupFlags();
    void ApplyDayTitles();
    void ApplyNoteFont(const QFont& font);
    void UpdateMarker(int cell);
    NoteEditor* EnsureEditor(int cell);
    QStringList CellLines(int cell) const;
    QPlainTextEdit* Preview();
    void ShowPreview(int cell);
    void HidePreview();
    void StoreActiveNote();
    void MoveTo(int top_slot);
    void SetEntryItemsEnabled(bool saved_items, bool entry_items);
    QString AccessibleDate(int slot) const;
    void PlaceWindow();

    StartupOptions options_;
    Notifier& notifier_;
    Desktop& desktop_;
    const Clock& clock_;
    CalendarState state_;
    MainWindowCommands commands_;
    ToolbarStrip strip_;
    std::unique_ptr<InstanceLock> lock_;

    QWidget* toolbar_ = nullptr;
    QWidget* grid_ = nullptr;
    QLabel* expansion_label_ = nullptr;
    std::array<QLabel*, 7> day_labels_ {};
    std::array<GridCell, 43> cells_ {}; // index 1-42
    QPlainTextEdit* preview_ = nullptr;
    int preview_cell_ = 0;
    QFont note_font_;
    QMenu* file_menu_ = nullptr;
    QMenu* cal_menu_ = nullptr;
    QMenu* help_menu_ = nullptr;
    QMenu* dates_menu_ = nullptr;
    std::array<QAction*, 26> month_actions_ {}; // Mo1-Mo25
    std::vector<MonthMenuItem> month_items_;
    std::map<QString, QAction*> actions_;
    std::map<QString, QToolButton*> buttons_;

    bool grid_filled_once_ = false;
    bool grid_stale_ = false;
    bool NoSaveOnClose = false;
    bool shown_once_ = false;
    int activation_count_ = 0;
    PrefLines pref_lines_; // the preference lines as last read
};

} // namespace orvane
