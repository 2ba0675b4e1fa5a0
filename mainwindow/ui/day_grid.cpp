#include "mainwindow/ui/day_grid.h"

#include "core/date_key.h"
#include "core/ui/dialog_style.h"
#include "core/ui/document_events.h"
#include "core/ui/text_codec.h"
#include "mainwindow/navigation.h"
#include "mainwindow/ui/note_editor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>

namespace orvane {

namespace {

constexpr std::array<int, 5> kRowTops = { 0, 139, 278, 417, 556 }; // within the grid
constexpr std::array<int, 7> kColumnLefts = { 0, 182, 364, 546, 728, 909, 1090 };
constexpr int kGreyHeight = 698; // the grey layer ends where the window's bottom strip begins
constexpr int kOverflowLines = 9;
constexpr int kPreviewHeight = 294;
constexpr int kPreviewWidth = 182;
const QColor kGrey(128, 128, 128);
const QColor kPreviewGrey(204, 204, 204);
const QColor kMarkerBlue(0, 0, 160);

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
int CellWidth(int cell) {
    return NarrowColumn(cell) ? 182 : 183;
}
QRect NoteRect(int cell) {
    return QRect(2, cell == 1 ? 18 : 19, NarrowColumn(cell) ? 179 : 180, 121);
}
QColor ToColour(const Rgb& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

const QPixmap& MarkerPixmap() {
    static const QPixmap pixmap = [] {
        QPixmap triangle(13, 17);
        triangle.fill(Qt::transparent);
        QPainter painter(&triangle);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kMarkerBlue);
        const std::array<QPointF, 3> corners = { QPointF(2, 6), QPointF(11, 6), QPointF(6.5, 13) };
        painter.drawPolygon(corners.data(), 3);
        return triangle;
    }();
    return pixmap;
}

} // namespace

QString AccessibleDate(const std::string& day) {
    const auto date = ParseDateKey(day);
    if (!date)
        return QStringLiteral("Day note");
    return QStringLiteral("%1 %2 %3 %4")
        .arg(QString::fromLatin1(kWeekdayNames[static_cast<std::size_t>(WeekdayIndex(*date))]))
        .arg(static_cast<unsigned>(date->day()))
        .arg(QString::fromLatin1(kMonthNames[static_cast<unsigned>(date->month()) - 1]))
        .arg(static_cast<int>(date->year()));
}

DayCell::DayCell(int cell, QWidget* parent)
    : QWidget(parent)
    , cell_(cell) {
    setObjectName(QStringLiteral("Panelb%1").arg(2 * cell));
    setGeometry(kColumnLefts[static_cast<std::size_t>(ColumnOf(cell))],
        kRowTops[static_cast<std::size_t>(RowOf(cell))], CellWidth(cell), 140);
    // Only a click on the header takes the focus here; the Tab key goes from note to note.
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
    view_ = new NoteView(2 * cell, this);
    view_->setObjectName(QStringLiteral("Memo%1").arg(2 * cell));
    view_->setGeometry(NoteRect(cell));
    view_->setFocusPolicy(Qt::StrongFocus);
    view_->setMouseTracking(true);
}

QRect DayCell::HeaderRect() const {
    return QRect(2, 2, NarrowColumn(cell_) ? 166 : 167, 17);
}

void DayCell::SetHeader(const QString& text, const QColor& background, const QColor& date_colour) {
    if (text == header_ && background == header_background_ && date_colour == date_colour_)
        return;
    header_ = text;
    header_background_ = background;
    date_colour_ = date_colour;
    update(QRect(0, 0, width(), 19));
}

void DayCell::SetOverflow(bool overflow) {
    if (overflow == overflow_)
        return;
    overflow_ = overflow;
    update(MarkerRect());
}

void DayCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The header, then the plain corner or the overflow marker beside it, on the header colour.
    const QRect header = HeaderRect();
    painter.fillRect(QRect(header.topLeft(), MarkerRect().bottomRight()), header_background_);
    if (overflow_)
        painter.drawPixmap(MarkerRect().topLeft(), MarkerPixmap());
    painter.setPen(date_colour_);
    const QFontMetrics metrics(font());
    const int baseline = header.top() + (header.height() - metrics.height()) / 2 + metrics.ascent();
    painter.setClipRect(header);
    painter.drawText(QPoint(header.left() + 1, baseline), header_);
}

void DayCell::mouseMoveEvent(QMouseEvent* event) {
    if (overflow_ && MarkerRect().contains(event->position().toPoint()))
        emit PointerOverMarker(cell_);
    else
        emit PointerElsewhere();
    event->accept(); // handled here, not by the grid behind the cell
}

void DayCell::mousePressEvent(QMouseEvent* event) {
    if (event->position().y() < NoteRect(cell_).top())
        setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

void DayCell::keyPressEvent(QKeyEvent* event) {
    if (const auto move = GridMoveOf(*event)) {
        emit Move(cell_, *move);
        return;
    }
    QWidget::keyPressEvent(event);
}

DayGrid::DayGrid(
    CalendarDocument& document, DocumentEvents& events, Notifier& notifier, QWidget* parent)
    : QWidget(parent)
    , document_(document)
    , notifier_(notifier)
    , note_font_(ProgramFont(QStringLiteral("Verdana"), 11)) {
    setObjectName(QStringLiteral("Grid"));
    setMouseTracking(true);
    // The cells start in the default cell colour with black text, which they inherit from here,
    // so a fill changes the palettes of only the cells that differ from it.
    const Rgb white = CellColorFor('1');
    SetColours(this, QPalette::Base, QColor(white.red, white.green, white.blue));
    for (int c = 1; c <= kVisibleCells; ++c) {
        auto* cell = new DayCell(c, this);
        cell->view()->setFont(note_font_);
        cell->view()->installEventFilter(this);
        connect(cell, &DayCell::PointerOverMarker, this, [this](int over) {
            if (preview_cell_ != over) {
                HidePreview();
                ShowPreview(over);
            }
        });
        connect(cell, &DayCell::PointerElsewhere, this, &DayGrid::HidePreview);
        connect(cell, &DayCell::Move, this, &DayGrid::MoveFrom);
        connect(cell->view(), &NoteView::Activated, this,
            [this](int number, Qt::FocusReason why) { EnsureEditor(number / 2)->setFocus(why); });
        connect(cell->view(), &NoteView::DragArrived, this,
            [this](int number) { EnsureEditor(number / 2); });
        connect(cell->view(), &NoteView::Clicked, this, [this](int number, QPoint position) {
            NoteEditor* editor = EnsureEditor(number / 2);
            editor->setFocus(Qt::MouseFocusReason);
            editor->setTextCursor(editor->cursorForPosition(position));
        });
        cells_[static_cast<std::size_t>(c)] = cell;
    }
    // The timer starts with the first keystroke and is not restarted by the next ones, so that
    // a long stretch of typing reaches the journal too.
    typing_timer_ = new QTimer(this);
    typing_timer_->setSingleShot(true);
    typing_timer_->setInterval(kTypingJournalMs);
    connect(typing_timer_, &QTimer::timeout, this, &DayGrid::SendTypedNote);
    // Before any change to the document the note being typed is stored; after a change the grid
    // shows the days again.
    connect(&events, &DocumentEvents::AboutToChange, this, [this] {
        if (!storing_)
            StoreActiveNote();
    });
    connect(&events, &DocumentEvents::DocumentChanged, this, &DayGrid::OnChanged);
}

DayGrid::~DayGrid() = default;

DayCell* DayGrid::CellWidget(int cell) const {
    if (cell < 1 || cell > kVisibleCells)
        return nullptr;
    return cells_[static_cast<std::size_t>(cell)];
}

void DayGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, width(), kGreyHeight), kGrey);
}

void DayGrid::mouseMoveEvent(QMouseEvent* event) {
    HidePreview();
    QWidget::mouseMoveEvent(event);
}

void DayGrid::OnChanged(const ChangeReport& report) {
    // The journal holds this change after the last typed note: the same text typed again is new.
    last_typed_.clear();
    if (report.kind == OperationKind::kStoreNote && storing_)
        return; // the grid's own store: it shows that text already
    bool refill = report.kind == OperationKind::kLoad || report.kind == OperationKind::kPreferences
        || report.window_moved();
    const int top = document_.TopSlot();
    for (const DayChange& day : report.days)
        refill = refill || (day.slot >= top && day.slot < top + kGridCells);
    if (refill)
        FillOutCalendar();
}

void DayGrid::FillOutCalendar() {
    HidePreview();
    const int focused = filled_once_ ? FocusedCell() : 0;
    const bool header_focused = focused > 0 && CellWidget(focused)->hasFocus();
    layout_ = LayOutGrid(
        document_.store(), document_.TopSlot(), document_.TodayKey(), document_.prefs());
    for (int c = 1; c <= kVisibleCells; ++c)
        ShowCell(c);
    if (filled_once_) {
        for (int c = 1; c <= kVisibleCells; ++c) {
            if (NoteEditor* editor = CellWidget(c)->editor())
                editor->MoveCaretToLine(0);
        }
        // The keyboard stays in the cell the user was in (the same row and column), so that
        // typing never lands on a day the user did not choose.
        if (focused > 0 && !header_focused)
            FocusCell(focused);
    }
    filled_once_ = true;
}

void DayGrid::ShowCell(int c) {
    const CellLayout& layout = layout_.cell(c);
    DayCell* cell = CellWidget(c);
    cell->SetHeader(FromCp1252(layout.text.header), ToColour(layout.header_background),
        ToColour(layout.date_colour));
    const QString note = FromCp1252(NoteText(layout.text));
    const QColor note_colour = ToColour(layout.note_background);
    SetColours(cell->view(), QPalette::Base, note_colour);
    cell->view()->SetText(note);
    const QString date = AccessibleDate(document_.store()[layout.slot]);
    const QString description = QString::fromLatin1(CellDescription(layout));
    cell->view()->setAccessibleName(date);
    cell->view()->setAccessibleDescription(description);
    cell->setAccessibleName(QStringLiteral("Date ") + date);
    if (NoteEditor* editor = cell->editor()) {
        SetColours(editor, QPalette::Base, note_colour);
        editor->Fill(note);
        editor->setAccessibleName(date);
        editor->setAccessibleDescription(description);
    }
    UpdateMarker(c);
}

void DayGrid::UpdateMarker(int c) {
    CellWidget(c)->SetOverflow(CellLines(c).size() > kOverflowLines);
}

QStringList DayGrid::CellLines(int c) const {
    const DayCell* cell = CellWidget(c);
    return cell->editor() ? cell->editor()->DisplayLines() : cell->view()->DisplayLines();
}

GridCellView DayGrid::Cell(int c) const {
    GridCellView view;
    if (c >= 1 && c <= kVisibleCells) {
        view.header = CellWidget(c)->header_text();
        view.lines = CellLines(c);
    } else if (c > kVisibleCells && c <= kGridCells) {
        // The hidden row has no widgets: its notes are wrapped as a visible cell would wrap them.
        const CellLayout& layout = layout_.cell(c);
        view.header = FromCp1252(layout.text.header);
        view.lines = WrapNoteLines(
            FromCp1252(NoteText(layout.text)), note_font_, NoteRect(c).width() - 2 * kNoteMargin);
    }
    return view;
}

void DayGrid::SetNoteFont(const QFont& font) {
    if (font == note_font_)
        return;
    note_font_ = font;
    for (int c = 1; c <= kVisibleCells; ++c) {
        DayCell* cell = CellWidget(c);
        cell->view()->setFont(note_font_);
        if (cell->editor())
            cell->editor()->setFont(note_font_);
        UpdateMarker(c);
    }
}

NoteEditor* DayGrid::note(int cell) {
    if (cell < 1 || cell > kVisibleCells)
        return nullptr;
    return EnsureEditor(cell);
}

NoteEditor* DayGrid::EnsureEditor(int c) {
    DayCell* cell = CellWidget(c);
    if (cell->editor())
        return cell->editor();
    NoteView* view = cell->view();
    auto* editor = new NoteEditor(2 * c, notifier_, cell);
    editor->setGeometry(view->geometry());
    editor->setFont(note_font_);
    editor->setPalette(view->palette());
    editor->setAccessibleName(view->accessibleName());
    editor->setAccessibleDescription(view->accessibleDescription());
    editor->Fill(view->text());
    editor->setMouseTracking(true);
    editor->viewport()->setMouseTracking(true);
    editor->viewport()->installEventFilter(this);
    connect(editor, &NoteEditor::Entered, this, &DayGrid::MemoEnter);
    connect(editor, &NoteEditor::Left, this, &DayGrid::MemoExit);
    connect(editor, &NoteEditor::Move, this, [this, c](GridMove move) { MoveFrom(c, move); });
    connect(editor, &QPlainTextEdit::textChanged, this, [this, c, editor] {
        UpdateMarker(c);
        if (!editor->changed())
            return; // filled by the grid
        if (typed_cell_ != c && typing_timer_->isActive())
            SendTypedNote(); // the note typed before goes first
        typed_cell_ = c;
        if (!typing_timer_->isActive())
            typing_timer_->start();
    });
    // The editor takes the view's place, in the Tab order too.
    QWidget::setTabOrder(view, editor);
    view->setObjectName(QStringLiteral("NoteView%1").arg(2 * c));
    cell->SetEditor(editor);
    editor->show();
    // Hiding a focused widget would pass the focus on to the next cell's view, which would then
    // build its own editor, and so on down the grid; the editor takes the focus first.
    if (view->hasFocus())
        editor->setFocus(Qt::OtherFocusReason);
    view->hide();
    return editor;
}

void DayGrid::MoveFrom(int cell, GridMove move) {
    int step = 0;
    switch (move) {
    case GridMove::kPreviousMonth:
    case GridMove::kNextMonth:
        emit PageKey(move == GridMove::kNextMonth);
        return;
    case GridMove::kToday:
        GoToToday();
        return;
    case GridMove::kDayBefore:
        step = -1;
        break;
    case GridMove::kDayAfter:
        step = 1;
        break;
    case GridMove::kWeekBefore:
        step = -7;
        break;
    case GridMove::kWeekAfter:
        step = 7;
        break;
    }
    int target = cell + step;
    if (target < 1 || target > kVisibleCells) {
        // Beyond the grid's edge the grid moves a week, as the Week buttons do.
        const bool earlier = target < 1;
        const auto top
            = earlier ? WeekEarlier(document_.TopSlot()) : WeekLater(document_.TopSlot());
        if (!top)
            return;
        document_.MoveWindow(*top);
        target += earlier ? 7 : -7;
    }
    FocusCell(target, Qt::ShortcutFocusReason);
}

void DayGrid::GoToToday() {
    const std::string& today = document_.TodayKey();
    for (int slot = 1; slot <= kLastShownSlot; ++slot) {
        if (DateKeyView(document_.store()[slot]).key() != today)
            continue;
        int top = document_.TopSlot();
        if (slot < top || slot >= top + kVisibleCells) {
            top = ClampTopSlot(slot);
            if (slot >= top + kVisibleCells)
                return; // the last week of the store is never shown
            document_.MoveWindow(top);
        }
        FocusCell(slot - document_.TopSlot() + 1, Qt::ShortcutFocusReason);
        return;
    }
}

int DayGrid::FocusedCell() const {
    for (const QWidget* widget = QApplication::focusWidget(); widget;
         widget = widget->parentWidget()) {
        if (const auto* cell = qobject_cast<const DayCell*>(widget))
            return cell->parentWidget() == this ? cell->cell() : 0;
    }
    return 0;
}

void DayGrid::FocusCell(int cell, Qt::FocusReason reason) {
    if (NoteEditor* editor = note(cell)) {
        editor->setFocus(reason);
        editor->MoveCaretToLine(0);
        document_.SetActiveNote(2 * cell);
    }
}

void DayGrid::SelectInCell(int cell, int position, int length) {
    NoteEditor* editor = note(cell);
    if (!editor)
        return;
    FocusCell(cell);
    // A note may hold text after its last entry that the editor does not show.
    const int end = editor->document()->characterCount() - 1;
    const int start = std::clamp(position, 0, end);
    QTextCursor cursor(editor->document());
    cursor.setPosition(start);
    cursor.setPosition(
        std::clamp(position + std::max(length, 0), start, end), QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
    editor->ensureCursorVisible();
}

void DayGrid::MemoEnter(int number) {
    document_.SetActiveNote(number);
}

void DayGrid::MemoExit(int number) {
    if (number < 2 || number > 2 * kVisibleCells || number % 2 != 0)
        return;
    NoteEditor* editor = CellWidget(number / 2)->editor();
    if (!editor || !editor->changed())
        return;
    const int slot = layout_.cell(number / 2).slot;
    std::vector<std::string> lines;
    for (const QString& line : editor->DisplayLines()) {
        // The editor admits only characters a day string can hold.
        lines.push_back(ToCp1252(line).value_or(std::string()));
    }
    storing_ = true;
    document_.StoreNote(slot, StoredNote(document_.store()[slot], lines));
    storing_ = false;
    editor->MarkStored();
}

void DayGrid::SendTypedNote() {
    typing_timer_->stop();
    const int c = typed_cell_;
    typed_cell_ = 0;
    NoteEditor* editor = c > 0 ? CellWidget(c)->editor() : nullptr;
    if (!editor || !editor->changed())
        return; // stored or refilled since
    // The note as MemoExit would store it, computed without touching the editor.
    const int slot = layout_.cell(c).slot;
    std::vector<std::string> lines;
    for (const QString& line : editor->DisplayLines())
        lines.push_back(ToCp1252(line).value_or(std::string()));
    std::string day = StoredNote(document_.store()[slot], lines);
    if (day == last_typed_)
        return;
    last_typed_ = day;
    emit NoteTyped(slot, last_typed_);
}

void DayGrid::StoreActiveNote() {
    MemoExit(document_.ActiveNote());
}

QPlainTextEdit* DayGrid::Preview() {
    // Built on the first hover over a marker: most runs never need it, and the first text editor
    // a program creates loads the input-method machinery.
    if (preview_)
        return preview_;
    preview_ = new QPlainTextEdit(parentWidget() ? parentWidget() : this);
    preview_->setObjectName(QStringLiteral("Memo85"));
    preview_->setReadOnly(true);
    preview_->setFrameShape(QFrame::NoFrame);
    preview_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    preview_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    preview_->setFont(ProgramFont(QStringLiteral("Tahoma"), 11));
    preview_->setFocusPolicy(Qt::NoFocus);
    preview_->setAccessibleName(QStringLiteral("Note preview"));
    SetColours(preview_, QPalette::Base, kPreviewGrey);
    preview_->resize(kPreviewWidth, kPreviewHeight);
    preview_->setMouseTracking(true);
    preview_->viewport()->setMouseTracking(true);
    preview_->viewport()->installEventFilter(this);
    preview_->hide();
    return preview_;
}

void DayGrid::ShowPreview(int c) {
    const QStringList lines = CellLines(c);
    if (lines.size() <= kOverflowLines)
        return;
    QPlainTextEdit* preview = Preview();
    const DayCell* cell = CellWidget(c);
    const QPoint panel = cell->mapTo(preview->parentWidget(), QPoint(0, 0));
    // In the bottom row the preview opens upward and ends at the cell's top edge.
    const int top = RowOf(c) < 4 ? panel.y() + NoteRect(c).top() : panel.y() - kPreviewHeight;
    preview->setGeometry(panel.x() + 2, top, kPreviewWidth, kPreviewHeight);
    preview->setPlainText(lines.join(QLatin1Char('\n')));
    preview->show();
    preview->raise();
    preview_cell_ = c;
}

void DayGrid::HidePreview() {
    if (preview_)
        preview_->hide();
    preview_cell_ = 0;
}

bool DayGrid::eventFilter(QObject* watched, QEvent* event) {
    // The pointer over a note, or over the preview itself, hides the preview.
    if (event->type() == QEvent::MouseMove)
        HidePreview();
    return QWidget::eventFilter(watched, event);
}

} // namespace orvane
