// The day grid: five visible weeks of day cells (and the hidden sixth row that printing reads),
// each a date header, a note, and a plain corner or an overflow marker, on a grey layer whose
// colour shows between the cells as grid lines; and the note preview (Memo85) that shows a long
// note in full when the pointer rests on its marker.
//
// The grid follows the calendar document: before any operation it stores the note being typed
// (only when its text changed since it was filled or stored), and after any change that concerns
// the days it shows it refills itself from the document. So nothing typed is lost and nothing is
// ever stored from a grid that shows other days than the document.
#pragma once

#include "core/calendar_document.h"
#include "core/ui/calendar_host.h"
#include "mainwindow/grid_layout.h"
#include "mainwindow/ui/note_editor.h"

#include <QColor>
#include <QWidget>
#include <array>
#include <string>

class QPlainTextEdit;
class QTimer;

namespace orvane {

class DocumentEvents;
class Notifier;
class NoteEditor;
class NoteView;

// One visible cell (Panelb2, Panelb4, ... Panelb70): it paints its header, corner and marker on its
// colours and holds the note's view, and its editor once the cell is first edited. Clicking the
// header gives the cell the keyboard focus without entering the note, so Page Up and Page Down
// work from it, as from a date header.
class DayCell : public QWidget {
    Q_OBJECT
public:
    DayCell(int cell, QWidget* parent);

    int cell() const { return cell_; }
    const QString& header_text() const { return header_; }
    QColor header_background() const { return header_background_; }
    QColor date_colour() const { return date_colour_; }
    bool overflow() const { return overflow_; }
    NoteView* view() const { return view_; }
    NoteEditor* editor() const { return editor_; }

    void SetHeader(const QString& text, const QColor& background, const QColor& date_colour);
    void SetOverflow(bool overflow);
    // The note is edited from now on by `editor`, which takes the view's place.
    void SetEditor(NoteEditor* editor) { editor_ = editor; }

    static QRect MarkerRect() { return QRect(169, 2, 13, 17); }
    QRect HeaderRect() const;

signals:
    void PointerOverMarker(int cell);
    void PointerElsewhere();
    void Move(int cell, orvane::GridMove move);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int cell_;
    NoteView* view_ = nullptr;
    NoteEditor* editor_ = nullptr;
    QString header_;
    QColor header_background_ { 255, 255, 255 };
    QColor date_colour_ { 0, 0, 255 };
    bool overflow_ = false;
};

class DayGrid : public QWidget {
    Q_OBJECT
public:
    DayGrid(CalendarDocument& document, DocumentEvents& events, Notifier& notifier,
        QWidget* parent = nullptr);
    ~DayGrid() override;

    // Fills all 42 cells from the document. After the first fill, the focus returns to the cell
    // the user was in; nothing is stored by the fill itself.
    void FillOutCalendar();
    // Stores the note being edited, if its text changed since it was filled or stored.
    void StoreActiveNote();

    // Cells 1-35 (visible) and 1-42 (with the hidden row).
    DayCell* CellWidget(int cell) const;
    // The note editor of a visible cell, created on first use.
    NoteEditor* note(int cell);
    GridCellView Cell(int cell) const;
    const GridLayout& layout() const { return layout_; }

    QFont NoteFont() const { return note_font_; }
    void SetNoteFont(const QFont& font);

    // The visible cell whose note (or header) has the keyboard focus, or 0.
    int FocusedCell() const;
    // Puts the keyboard focus in a visible cell's note, caret on its first line.
    void FocusCell(int cell, Qt::FocusReason reason = Qt::OtherFocusReason);
    // Puts the keyboard focus in a visible cell's note with its characters
    // [position, position + length) selected, as much of them as the note holds.
    void SelectInCell(int cell, int position, int length);

    // The note preview, or nothing before it was first needed.
    QPlainTextEdit* preview() const { return preview_; }
    void HidePreview();

    // A move key pressed in visible cell `cell`: the neighbouring day (a week of the grid further
    // when it lies beyond the grid's edge) or today takes the focus; a month move goes to the
    // window as PageKey.
    void MoveFrom(int cell, GridMove move);
    // Puts the focus in today's note, moving the grid when today is not shown.
    void GoToToday();

    // How soon after typing begins the note being typed reaches the recovery journal, however
    // long the typing goes on.
    static constexpr int kTypingJournalMs = 1500;

signals:
    void PageKey(bool down);
    // The note being typed in `slot`, not stored yet, would be stored as `day`. Sent at most
    // kTypingJournalMs after a keystroke, while the editor keeps the focus, its caret and text.
    void NoteTyped(int slot, const std::string& day);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnChanged(const ChangeReport& report);
    void ShowCell(int cell);
    void UpdateMarker(int cell);
    QStringList CellLines(int cell) const;
    NoteEditor* EnsureEditor(int cell);
    void MemoEnter(int number);
    void MemoExit(int number);
    QPlainTextEdit* Preview();
    void ShowPreview(int cell);
    void SendTypedNote();

    CalendarDocument& document_;
    Notifier& notifier_;
    GridLayout layout_;
    std::array<DayCell*, kVisibleCells + 1> cells_ {}; // index 1-35
    QFont note_font_;
    QPlainTextEdit* preview_ = nullptr;
    int preview_cell_ = 0;
    bool filled_once_ = false;
    bool storing_ = false; // the grid is storing a note: its own report needs no refill
    QTimer* typing_timer_ = nullptr;
    int typed_cell_ = 0; // the visible cell typed in since the timer started
    std::string last_typed_; // the last day sent as NoteTyped
};

// The accessible name of a day: "Thursday 14 March 2024", or "Day note" for a day string
// without a valid date.
QString AccessibleDate(const std::string& day);

} // namespace orvane
