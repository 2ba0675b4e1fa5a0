// The note editor of one grid cell. Its lines are its display lines: each paragraph broken where
// the editor wraps it at its own width and font, an empty last line not counted. It refuses any
// input that would take the note past 20 lines or that a day string cannot hold (control
// characters, characters outside Windows-1252).
#pragma once

#include "core/ui/input_filter.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <QTextLayout>
#include <memory>
#include <optional>
#include <vector>

namespace orvane {

// Document margin of the note editors; the wrap width is the editor's width less both margins.
inline constexpr int kNoteMargin = 2;

// The keys that move about the grid from a note or a date header: Page Up and Page Down a month,
// Ctrl+Left, Ctrl+Right, Ctrl+Up and Ctrl+Down to the neighbouring day, Ctrl+Home to today.
enum class GridMove {
    kPreviousMonth,
    kNextMonth,
    kDayBefore,
    kDayAfter,
    kWeekBefore,
    kWeekAfter,
    kToday,
};
std::optional<GridMove> GridMoveOf(const QKeyEvent& key);

// The display lines of `text` as an editor of `font` wrapping at `width` pixels shows them.
QStringList WrapNoteLines(const QString& text, const QFont& font, int width);

// A cell's note as it is shown before anyone edits it: the display lines painted exactly where the
// editor would show them. Creating 35 full editors at start-up costs more than the rest of the
// window, so each cell gets its NoteEditor only when it first takes the focus.
class NoteView : public QWidget {
    Q_OBJECT
public:
    NoteView(int number, QWidget* parent);

    int number() const { return number_; }
    const QString& text() const { return text_; }
    void SetText(const QString& text);
    int WrapWidth() const;
    QStringList DisplayLines() const;

signals:
    void Activated(int number, Qt::FocusReason reason);
    void Clicked(int number, QPoint position);
    // Text is being dragged over a cell that has no editor yet.
    void DragArrived(int number);

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int number_;
    QString text_;
    mutable QStringList lines_;
    mutable std::vector<std::unique_ptr<QTextLayout>> blocks_;
    mutable bool lines_valid_ = false;
};

class NoteEditor : public FilteredPlainTextEdit {
    Q_OBJECT
public:
    NoteEditor(int number, Notifier& notifier, QWidget* parent);

    int number() const { return number_; } // N of MemoN
    QStringList DisplayLines() const;
    int WrapWidth() const;

    // Replaces the text as the grid fills it; the editor then counts as unchanged.
    void Fill(const QString& text);
    bool changed() const { return changed_; }
    void MarkStored() { changed_ = false; }
    void MoveCaretToLine(int line);

    // The number of display lines `text` would have if `insert` replaced the current selection.
    int LinesAfterInsert(const QString& insert) const;

signals:
    void Entered(int number);
    void Left(int number);
    void Move(orvane::GridMove move);

protected:
    // A day string holds no control character, and typing stops at 20 lines.
    bool AcceptsInsert(const QString& insert) const override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int number_;
    bool filling_ = false;
    bool changed_ = false;
};

} // namespace orvane
