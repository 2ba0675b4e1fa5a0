#include "mainwindow/ui/note_editor.h"

#include "core/day_store.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"

#include <QAccessibleWidget>
#include <QDragEnterEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <QTextBlock>
#include <QTextLayout>
#include <cmath>

namespace orvane {

namespace {

// Lays `text` out as the note editor does: one block a paragraph, wrapped at `width`. Returns the
// display lines (an empty last paragraph is not a line); keeps the blocks' layouts in `blocks`
// when given, positioned for drawing.
QStringList LayOutNote(const QString& text, const QFont& font, int width,
    std::vector<std::unique_ptr<QTextLayout>>* blocks) {
    QStringList lines;
    if (text.isEmpty())
        return lines;
    QStringList paragraphs = text.split(QLatin1Char('\n'));
    if (paragraphs.size() > 1 && paragraphs.last().isEmpty())
        paragraphs.removeLast();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString& paragraph : std::as_const(paragraphs)) {
        auto layout = std::make_unique<QTextLayout>(paragraph, font);
        layout->setTextOption(option);
        layout->beginLayout();
        const auto lines_before = lines.size();
        qreal y = 0;
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, y));
            y += line.height();
            lines << paragraph.mid(line.textStart(), line.textLength());
        }
        layout->endLayout();
        if (lines.size() == lines_before)
            lines << QString(); // an empty paragraph is still a line
        if (blocks)
            blocks->push_back(std::move(layout));
    }
    return lines;
}

} // namespace

std::optional<GridMove> GridMoveOf(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers
        = key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (modifiers == Qt::NoModifier) {
        if (key.key() == Qt::Key_PageUp)
            return GridMove::kPreviousMonth;
        if (key.key() == Qt::Key_PageDown)
            return GridMove::kNextMonth;
    } else if (modifiers == Qt::ControlModifier) {
        switch (key.key()) {
        case Qt::Key_Left:
            return GridMove::kDayBefore;
        case Qt::Key_Right:
            return GridMove::kDayAfter;
        case Qt::Key_Up:
            return GridMove::kWeekBefore;
        case Qt::Key_Down:
            return GridMove::kWeekAfter;
        case Qt::Key_Home:
            return GridMove::kToday;
        default:
            break;
        }
    }
    return std::nullopt;
}

QStringList WrapNoteLines(const QString& text, const QFont& font, int width) {
    return LayOutNote(text, font, width, nullptr);
}

namespace {

// A note that has no editor yet is read by a screen reader as the text field it stands for: its
// date as its name, "today" or "first of month" as its description, its note through the text
// interface.
class NoteViewAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit NoteViewAccessible(NoteView* view)
        : QAccessibleWidget(view, QAccessible::EditableText) { }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return Text();
        return QAccessibleWidget::text(kind);
    }

    // QAccessibleTextInterface
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QString text(int start, int end) const override { return Text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Text().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override { }
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return QString();
    }

private:
    const QString& Text() const { return static_cast<const NoteView*>(object())->text(); }
};

QAccessibleInterface* NoteViewFactory(const QString&, QObject* object) {
    if (auto* view = qobject_cast<NoteView*>(object))
        return new NoteViewAccessible(view);
    return nullptr;
}

} // namespace

NoteView::NoteView(int number, QWidget* parent)
    : QWidget(parent)
    , number_(number) {
    static const bool accessible = [] {
        QAccessible::installFactory(NoteViewFactory);
        return true;
    }();
    (void)accessible;
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setAcceptDrops(true);
}

void NoteView::SetText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    lines_valid_ = false;
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent changed(this, text_);
        QAccessible::updateAccessibility(&changed);
    }
}

int NoteView::WrapWidth() const {
    return width() - 2 * kNoteMargin;
}

QStringList NoteView::DisplayLines() const {
    if (!lines_valid_) {
        blocks_.clear();
        lines_ = LayOutNote(text_, font(), WrapWidth(), &blocks_);
        lines_valid_ = true;
    }
    return lines_;
}

void NoteView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        lines_valid_ = false;
        update();
    }
    QWidget::changeEvent(event);
}

void NoteView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    DisplayLines();
    // Blocks one under the other as the editor places them, each starting on a whole pixel.
    qreal y = kNoteMargin;
    for (const auto& block : blocks_) {
        if (y > height())
            break;
        block->draw(&painter, QPointF(kNoteMargin, y));
        y += std::ceil(block->boundingRect().height());
    }
}

void NoteView::dragEnterEvent(QDragEnterEvent* event) {
    // The editor that replaces this view takes the drag from its next move on.
    if (event->mimeData()->hasText()) {
        event->acceptProposedAction();
        emit DragArrived(number_);
    }
}

void NoteView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    emit Activated(number_, event->reason());
}

void NoteView::mousePressEvent(QMouseEvent* event) {
    emit Clicked(number_, event->position().toPoint());
}

NoteEditor::NoteEditor(int number, Notifier& notifier, QWidget* parent)
    : FilteredPlainTextEdit(notifier, parent)
    , number_(number) {
    setObjectName(QStringLiteral("Memo%1").arg(number));
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(true);
    document()->setDocumentMargin(kNoteMargin);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!filling_)
            changed_ = true;
    });
}

int NoteEditor::WrapWidth() const {
    return width() - 2 * kNoteMargin;
}

QStringList NoteEditor::DisplayLines() const {
    // The document's own characters, so that a non-breaking space wraps and is stored as the
    // cell's view shows it.
    return WrapNoteLines(PlainTextOf(*document()), font(), WrapWidth());
}

void NoteEditor::Fill(const QString& text) {
    filling_ = true;
    setPlainText(text);
    filling_ = false;
    changed_ = false;
}

void NoteEditor::MoveCaretToLine(int line) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor, line);
    setTextCursor(cursor);
    ensureCursorVisible();
}

int NoteEditor::LinesAfterInsert(const QString& insert) const {
    const QTextCursor cursor = textCursor();
    QString text = PlainTextOf(*document());
    text.replace(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart(), insert);
    return static_cast<int>(WrapNoteLines(text, font(), WrapWidth()).size());
}

bool NoteEditor::AcceptsInsert(const QString& insert) const {
    QString without_breaks = insert;
    without_breaks.remove(QLatin1Char('\n'));
    if (!IsStorableInput(without_breaks, FieldLines::kSingle))
        return false;
    const int lines_now = static_cast<int>(DisplayLines().size());
    const int lines_after = LinesAfterInsert(insert);
    // Inserting is refused only when it would pass the limit; a note already past it (from a
    // file) can still be edited as long as it does not grow.
    return lines_after <= kMaxEntries || lines_after <= lines_now;
}

bool NoteEditor::event(QEvent* event) {
    // The grid's keys are the grid's, not the editor's word and document moves.
    if (event->type() == QEvent::ShortcutOverride && GridMoveOf(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    // Ctrl+Z and Ctrl+Shift+Z or Ctrl+Y undo and redo the typing while the editor has any to undo
    // or redo; otherwise they reach the main window's Undo and Redo of the document's steps.
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeyCombination keys = static_cast<QKeyEvent*>(event)->keyCombination();
        const bool undo = keys == (Qt::CTRL | Qt::Key_Z);
        const bool redo
            = keys == (Qt::CTRL | Qt::SHIFT | Qt::Key_Z) || keys == (Qt::CTRL | Qt::Key_Y);
        if (undo || redo) {
            const bool own = !isReadOnly()
                && (undo ? document()->isUndoAvailable() : document()->isRedoAvailable());
            event->setAccepted(own);
            return true;
        }
    }
    return FilteredPlainTextEdit::event(event);
}

void NoteEditor::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    // Ctrl+Y is not redo everywhere; in a note it is, as the main window's item says.
    if (event->keyCombination() == (Qt::CTRL | Qt::Key_Y)) {
        redo();
        event->accept();
        return;
    }
    if (const auto move = GridMoveOf(*event)) {
        emit Move(*move);
        return;
    }
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        // Leaves the note. The input filter would take the Tab for text and refuse it.
        QPlainTextEdit::keyPressEvent(event); // NOLINT(bugprone-parent-virtual-call)
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // A plain line break, whatever the modifiers, so no other separator reaches the text.
        if (Admits(QStringLiteral("\n")))
            insertPlainText(QStringLiteral("\n"));
        event->accept();
        return;
    }
    FilteredPlainTextEdit::keyPressEvent(event);
}

void NoteEditor::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    emit Entered(number_);
}

void NoteEditor::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    // Another window becoming active or a pop-up opening is not the user leaving the note.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit Left(number_);
}

} // namespace orvane
