// What every other window needs from the main window. TForm1 implements it; tests use
// FakeCalendarHost. The dialogs reach the grid only through this interface, so they never depend
// on the main window's widgets.
#pragma once

#include "core/calendar_state.h"
#include "core/month_menu_item.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

namespace orvane {

class Clock;
class Notifier;
class Desktop;

// One grid cell as the main window shows it, for printing. Cells 1-42: cell k shows slot
// TopSlot + k - 1; cells 36-42 are the hidden sixth row.
struct GridCellView {
    QString header; // the header text as shown (bare day, or month and day and year)
    QStringList lines; // the note's display lines, broken where the cell's editor wraps them
};

class CalendarHost {
public:
    virtual ~CalendarHost() = default;

    virtual CalendarState& State() = 0;
    virtual Notifier& notifier() = 0;
    virtual Desktop& desktop() = 0;
    virtual const Clock& clock() const = 0;
    virtual QWidget* MainWidget() = 0;

    // Stores the note being edited into the day store (silently when no note was entered yet).
    virtual void ResetMemos() = 0;
    // Refills the grid from the day store; nothing is stored from the editors while the grid is
    // stale.
    virtual void FillOutCalendar() = 0;
    // The refill the entry and delete dialogs call after they changed days.
    virtual void RadioButton1Click() = 0;
    // Tells the grid that the day store or TopSlot changed and the editors are out of date.
    virtual void MarkGridStale() = 0;
    // Moves the keyboard focus to the first cell's note editor (Memo2).
    virtual void FocusFirstNote() = 0;

    // The font the width rules of the entry and search fields measure with (ExpansionLabel's).
    virtual QFont ExpansionLabelFont() const = 0;

    // The "Dates " month menu, rebuilt from the day store, and a jump to one of its items (1-25).
    virtual std::vector<MonthMenuItem> RebuildMonthMenu() = 0;
    virtual void Date1Click(int item) = 0;

    // The seven week-day titles as the column labels show them, Sunday first.
    virtual QStringList DayTitleTexts() const = 0;
    virtual GridCellView Cell(int cell) const = 0; // cell in [1, 42]
    virtual QFont NoteFont() const = 0;

    // Re-applies the in-memory preferences to the grid: titles, underline, cell colour, bold notes,
    // enabled menu items; then refills.
    virtual void ApplyPreferences() = 0;
    virtual void SetNoteFontFamily(const QString& family) = 0;

    // Called when one of the program's own windows closes: the main window runs its activation
    // work (preferences, sun and moon) once.
    virtual void ChildWindowClosed() = 0;
};

} // namespace orvane
