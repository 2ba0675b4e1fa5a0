// What other windows need from the main window's grid: the cells as shown (printing draws them
// again), the week-day titles, the fonts the width rules measure with, and where the keyboard goes
// when a dialog closes. The calendar's data is the CalendarDocument's; the windows' services come
// through their constructors (Services). TForm1 implements it; tests use FakeCalendarHost.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

namespace orvane {

// One grid cell as the main window shows it, for printing. Cells 1-42: cell k shows slot
// TopSlot + k - 1; cells 36-42 are the hidden sixth row.
struct GridCellView {
    QString header; // the header text as shown (bare day, or month and day and year)
    QStringList lines; // the note's display lines, broken where the cell's editor wraps them
};

class CalendarHost {
public:
    virtual ~CalendarHost() = default;

    virtual QWidget* MainWidget() = 0;
    virtual GridCellView Cell(int cell) const = 0; // cell in [1, 42]
    // The seven week-day titles as the column labels show them, Sunday first.
    virtual QStringList DayTitleTexts() const = 0;
    virtual QFont NoteFont() const = 0;
    // The font the width rules of the entry fields measure with (ExpansionLabel's).
    virtual QFont ExpansionLabelFont() const = 0;
    // The calendar font of the preferences, for the notes; bold stays as start-up set it.
    virtual void SetNoteFontFamily(const QString& family) = 0;
    // Moves the keyboard focus to the first cell's note (Memo2), as closing a dialog does.
    virtual void FocusFirstNote() = 0;
    // Moves the keyboard focus into the note of the day in `slot`, which the grid shows, with the
    // characters [position, position + length) of its text (the entries joined by line breaks)
    // selected; with `activate` the main window comes to the front as well. Returns the note's
    // cell on the screen, or an empty rectangle when the grid does not show the day.
    virtual QRect SelectInNote(int slot, int position, int length, bool activate) = 0;
    // One of the program's own windows closed: the main window runs its activation work
    // (preferences, sun and moon) once.
    virtual void ChildWindowClosed() = 0;
};

} // namespace orvane
