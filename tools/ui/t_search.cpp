#include "tools/ui/t_search.h"

#include "core/ui/accessible_window.h"
#include "core/ui/dialog_style.h"
#include "core/ui/error_text.h"
#include "core/ui/input_filter.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "mainwindow/navigation.h"
#include "tools/placement.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTimer>
#include <functional>

namespace orvane {

namespace {

const QString kStatusReady = QStringLiteral("Click on date to go to month");
const QString kStatusSearching = QStringLiteral("Searching...");
const QString kStatusNoMatch = QStringLiteral("No match found.");
const QString kStatusFound = QStringLiteral("Click on date to go to month.");
const QString kStatusFoundElsewhere = QStringLiteral("Click on a result to go to it.");
const QString kStatusNoScope = QStringLiteral("Tick Days, Archive or Notes.");

constexpr int kLineHeight = 13;
constexpr int kRowHeight = 2 * kLineHeight + 4; // the date and source, then the snippet

// What a row of the list keeps beside its text (the date, the archive line or the paragraph).
enum ResultRole {
    kSourceRole = Qt::UserRole + 1, // "Days", "Archive", "Notes"
    kSnippetRole, // the snippet's text
    kMatchStartRole, // where the match is in the snippet
    kMatchLengthRole,
};

QString SourceName(SearchScope scope) {
    switch (scope) {
    case SearchScope::kDays:
        return QStringLiteral("Days");
    case SearchScope::kArchive:
        return QStringLiteral("Archive");
    case SearchScope::kNotes:
        return QStringLiteral("Notes");
    }
    return {};
}

// The row's first line: a day's date key as the list has always shown it, an archive line's key
// or its number, the paragraph of the notes.
QString RowText(const SearchResult& result) {
    if (!result.date_key.empty())
        return FromCp1252(result.date_key);
    if (result.scope == SearchScope::kArchive)
        return QStringLiteral("Line %1").arg(result.line + 1);
    return QStringLiteral("Paragraph %1").arg(result.paragraph + 1);
}

// Draws a result in two lines: its date (or place) with its source at the right, then the
// snippet with the match in bold, shortened at either end so that the match stays in view.
class ResultDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return QSize(option.rect.width(), kRowHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        item.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

        const bool selected = option.state & QStyle::State_Selected;
        const QColor text
            = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        const QRect area = option.rect.adjusted(3, 2, -3, -2);
        const QRect first(area.left(), area.top(), area.width(), kLineHeight);
        const QRect second(area.left(), area.top() + kLineHeight + 1, area.width(), kLineHeight);

        painter->save();
        painter->setFont(option.font);
        painter->setPen(text);
        const QString source = index.data(kSourceRole).toString();
        painter->drawText(first, Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
        QColor quiet = text;
        quiet.setAlpha(selected ? 255 : 150);
        painter->setPen(quiet);
        painter->drawText(first, Qt::AlignRight | Qt::AlignVCenter, source);

        const QString snippet = index.data(kSnippetRole).toString();
        const int start = index.data(kMatchStartRole).toInt();
        const int length = index.data(kMatchLengthRole).toInt();
        QFont bold = option.font;
        bold.setBold(true);
        const QFontMetrics plain_metrics(option.font);
        const QFontMetrics bold_metrics(bold);
        const QString match = snippet.mid(start, length);
        const int match_width = bold_metrics.horizontalAdvance(match);
        QString after = snippet.mid(start + length);
        // Room before the match: what is left after the match and a little of what follows.
        const int after_room = std::min(plain_metrics.horizontalAdvance(after), area.width() / 4);
        const QString before = plain_metrics.elidedText(snippet.left(start), Qt::ElideLeft,
            std::max(0, area.width() - match_width - after_room));
        const int before_width = plain_metrics.horizontalAdvance(before);
        after = plain_metrics.elidedText(
            after, Qt::ElideRight, std::max(0, area.width() - before_width - match_width));

        painter->setPen(text);
        painter->setClipRect(second);
        int x = second.left();
        painter->drawText(QRect(x, second.top(), before_width, kLineHeight),
            Qt::AlignLeft | Qt::AlignVCenter, before);
        x += before_width;
        painter->setFont(bold);
        painter->drawText(QRect(x, second.top(), match_width, kLineHeight),
            Qt::AlignLeft | Qt::AlignVCenter, match);
        x += match_width;
        painter->setFont(option.font);
        painter->drawText(QRect(x, second.top(), second.right() - x + 1, kLineHeight),
            Qt::AlignLeft | Qt::AlignVCenter, after);
        painter->restore();
    }
};

// A list that reports a mouse press after it has selected the line under the pointer.
class ResultList final : public QListWidget {
public:
    using QListWidget::QListWidget;
    std::function<void(Qt::MouseButton)> on_press;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QListWidget::mousePressEvent(event);
        if (on_press)
            on_press(event->button());
    }
};

ScreenBox BoxOf(const QRect& rect) {
    return ScreenBox { rect.x(), rect.y(), rect.width(), rect.height() };
}

QCheckBox* CheckBox(QWidget* parent, const char* name, const QString& caption,
    const QString& description, const QRect& geometry, bool checked) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(caption);
    box->setAccessibleDescription(description);
    box->setGeometry(geometry);
    box->setChecked(checked);
    MakeNavy(box);
    return box;
}

} // namespace

TSearch::TSearch(CalendarDocument& document, CalendarHost& host, Services services, QWidget* parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , document_(document)
    , host_(host)
    , services_(services) {
    // Before anything that could make the screen reader ask about it.
    MarkAccessibleWindow(this);
    setObjectName(QStringLiteral("TSearch"));
    setWindowTitle(QStringLiteral("Search"));
    setFixedSize(320, 405);
    setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 11));
    ApplyDialogBackground(this);

    find_button_ = new QPushButton(QStringLiteral("Find"), this);
    find_button_->setObjectName(QStringLiteral("BitBtn1"));
    find_button_->setGeometry(7, 4, 61, 21);
    find_button_->setAccessibleName(QStringLiteral("Find"));
    find_button_->setAutoDefault(false);
    MakeNavy(find_button_, QPalette::ButtonText);

    search_edit_ = new QLineEdit(this);
    search_edit_->setObjectName(QStringLiteral("Edit1"));
    search_edit_->setGeometry(71, 4, 242, 21);
    search_edit_->setAccessibleName(QStringLiteral("Search text"));
    // Only Windows-1252 text can be in a note, so nothing else is worth searching for.
    InstallInputFilter(search_edit_, services_.notifier);
    search_edit_->installEventFilter(this);

    days_check_ = CheckBox(this, "CheckBox1", QStringLiteral("Days"),
        QStringLiteral("Search the days of the calendar"), QRect(10, 30, 60, 17), true);
    archive_check_ = CheckBox(this, "CheckBox2", QStringLiteral("Archive"),
        QStringLiteral("Search the archive of past weeks"), QRect(80, 30, 80, 17), false);
    notes_check_ = CheckBox(this, "CheckBox3", QStringLiteral("Notes"),
        QStringLiteral("Search the notes"), QRect(170, 30, 70, 17), false);
    whole_word_check_ = CheckBox(this, "CheckBox4", QStringLiteral("Whole words"),
        QStringLiteral("Find the text only as a whole word"), QRect(10, 49, 110, 17), false);
    all_words_check_ = CheckBox(this, "CheckBox5", QStringLiteral("All words"),
        QStringLiteral("Find every word of the text, in any order, within one day, line or "
                       "paragraph"),
        QRect(125, 49, 110, 17), false);

    status_label_ = new QLabel(kStatusReady, this);
    status_label_->setObjectName(QStringLiteral("Label1"));
    status_label_->setGeometry(10, 70, 300, 14);
    status_label_->setAccessibleDescription(QStringLiteral("What the search found"));
    MakeNavy(status_label_);

    auto* list = new ResultList(this);
    list->on_press = [this](Qt::MouseButton button) { ListBox1MouseDown(button); };
    result_list_ = list;
    result_list_->setObjectName(QStringLiteral("ListBox1"));
    result_list_->setGeometry(7, 86, 306, 262);
    result_list_->setAccessibleName(QStringLiteral("Results"));
    result_list_->setUniformItemSizes(true);
    result_list_->setSelectionMode(QAbstractItemView::SingleSelection);
    result_list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    result_list_->setItemDelegate(new ResultDelegate(result_list_));
    result_list_->installEventFilter(this);

    skipped_label_ = new QLabel(this);
    skipped_label_->setObjectName(QStringLiteral("Label2"));
    skipped_label_->setGeometry(10, 350, 300, 28);
    skipped_label_->setWordWrap(true);
    skipped_label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    MakeNavy(skipped_label_);
    skipped_label_->hide();

    close_button_ = new QPushButton(QStringLiteral("Close"), this);
    close_button_->setObjectName(QStringLiteral("BitBtn3"));
    close_button_->setGeometry(130, 380, 60, 21);
    close_button_->setAccessibleName(QStringLiteral("Close"));
    close_button_->setAutoDefault(false);
    MakeNavy(close_button_, QPalette::ButtonText);

    typing_pause_ = new QTimer(this);
    typing_pause_->setSingleShot(true);
    typing_pause_->setInterval(kTypingPauseMs);
    connect(typing_pause_, &QTimer::timeout, this, [this] { StartSearch(false); });

    connect(find_button_, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(close_button_, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(search_edit_, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    // A paste or an input method's text is held to the width as well as a typed key.
    connect(search_edit_, &QLineEdit::textEdited, this, [this] { WidthCheck(); });
    for (QCheckBox* box :
        { days_check_, archive_check_, notes_check_, whole_word_check_, all_words_check_ }) {
        connect(box, &QCheckBox::toggled, this, [this] {
            if (!search_edit_->text().isEmpty())
                StartSearch(false);
        });
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { BitBtn3Click(); });
    auto* f9 = new QShortcut(QKeySequence(Qt::Key_F9), this);
    connect(f9, &QShortcut::activated, this, [this] { FocusSearchField(); });
}

TSearch::~TSearch() {
    for (auto& [id, worker] : workers_)
        worker.request_stop();
    workers_.clear();
}

void TSearch::Prepare() {
    if (first_activation_) {
        search_edit_->setFocus();
        first_activation_ = false;
    }
    // The note being typed in the grid is part of what the user expects to find.
    document_.FlushPendingEdits();
}

void TSearch::OpenModeless() {
    const bool was_visible = isVisible();
    Prepare();
    if (!was_visible) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
    if (was_visible)
        FocusSearchField();
}

void TSearch::FocusSearchField() {
    activateWindow();
    search_edit_->setFocus(Qt::ShortcutFocusReason);
    search_edit_->selectAll();
}

SearchQuery TSearch::CurrentQuery() const {
    SearchQuery query;
    query.scopes.days = days_check_->isChecked();
    query.scopes.archive = archive_check_->isChecked();
    query.scopes.notes = notes_check_->isChecked();
    query.whole_word = whole_word_check_->isChecked();
    query.all_words = all_words_check_->isChecked();
    return query;
}

void TSearch::BitBtn1Click() {
    StartSearch(true);
}

void TSearch::StartSearch(bool go_to_first) {
    typing_pause_->stop();
    CancelSearch();
    status_label_->setText(kStatusSearching);
    result_list_->clear();
    results_.clear();
    status_label_->repaint();
    MarkError(search_edit_, false);
    if (search_edit_->text().isEmpty()) {
        MarkError(search_edit_, true);
        return;
    }
    SearchQuery query = CurrentQuery();
    if (!query.scopes.days && !query.scopes.archive && !query.scopes.notes) {
        status_label_->setText(kStatusNoScope);
        return;
    }
    // The field admits only Windows-1252 text; anything else could not be in a file anyway.
    const auto text = ToCp1252(search_edit_->text());
    if (!text) {
        ShowOutcome({}, false);
        return;
    }
    query.text = *text;
    document_.FlushPendingEdits();

    if (!query.scopes.archive && !query.scopes.notes) {
        // The days alone are in memory and take well under a millisecond.
        if (!sources_.days || !sources_.days->Holds(document_.store()))
            sources_.days = std::make_shared<const DaysIndex>(document_.store());
        SearchSources days;
        days.days = sources_.days;
        ShowOutcome(RunSearch(days, query), go_to_first);
        return;
    }

    // The files are read and searched on a worker; everything it needs is copied or shared.
    const int worker = next_worker_++;
    const int generation = generation_;
    workers_.emplace(worker,
        std::jthread([this, worker, generation, go_to_first, data = document_.data(),
                         days = document_.store(), previous = sources_,
                         query = std::move(query)](const std::stop_token& stop) {
            auto done = std::make_shared<WorkerOutcome>();
            done->sources = LoadSearchSources(data, days, previous);
            done->outcome = RunSearch(done->sources, query, stop);
            QMetaObject::invokeMethod(
                this,
                [this, worker, generation, go_to_first, done] {
                    WorkerDone(worker, generation, go_to_first, *done);
                },
                Qt::QueuedConnection);
        }));
}

void TSearch::CancelSearch() {
    ++generation_;
    for (auto& [id, worker] : workers_)
        worker.request_stop();
}

void TSearch::WorkerDone(int worker, int generation, bool go_to_first, const WorkerOutcome& done) {
    // The worker's last act was to send this, so joining it does not wait.
    if (const auto it = workers_.find(worker); it != workers_.end()) {
        it->second.join();
        workers_.erase(it);
    }
    if (generation != generation_ || done.outcome.cancelled)
        return;
    sources_ = done.sources;
    ShowOutcome(done.outcome, go_to_first);
}

void TSearch::ShowOutcome(const SearchOutcome& outcome, bool go_to_first) {
    results_ = outcome.results;
    bool days_only = true;
    for (const SearchResult& result : results_) {
        auto* item = new QListWidgetItem(RowText(result), result_list_);
        const QString source = SourceName(result.scope);
        const std::string_view snippet = result.snippet;
        // Windows-1252 has one character per byte, so byte offsets are character offsets.
        const QString shown = FromCp1252(snippet);
        item->setData(kSourceRole, source);
        item->setData(kSnippetRole, shown);
        item->setData(kMatchStartRole, static_cast<int>(result.snippet_offset));
        item->setData(kMatchLengthRole, static_cast<int>(result.snippet_length));
        item->setData(
            Qt::AccessibleTextRole, QStringLiteral("%1, %2: %3").arg(source, item->text(), shown));
        item->setSizeHint(QSize(result_list_->viewport()->width(), kRowHeight));
        days_only = days_only && result.scope == SearchScope::kDays;
    }
    ShowSkipped(outcome.skipped);
    if (results_.empty())
        status_label_->setText(kStatusNoMatch);
    else
        status_label_->setText(days_only ? kStatusFound : kStatusFoundElsewhere);
    emit ResultsShown();
    // As the search has always done: the grid shows the first day found. Opening another window
    // unasked would take the keyboard from the search field.
    if (go_to_first && !results_.empty() && results_.front().scope == SearchScope::kDays)
        GoToDay(results_.front(), false);
}

void TSearch::ShowSkipped(const std::vector<SkippedSource>& skipped) {
    // The reason alone fits the window; the whole message, with the file's path, is the tooltip
    // and what a screen reader reads. It is made (and the failure logged) only when it changes.
    QStringList reasons;
    for (const SkippedSource& source : skipped) {
        reasons << QStringLiteral("%1 not searched: %2")
                       .arg(SourceName(source.scope), ReasonText(source.error));
    }
    const QString shown = reasons.join(QLatin1Char('\n'));
    if (shown == skipped_shown_)
        return;
    skipped_shown_ = shown;
    QStringList details;
    for (const SkippedSource& source : skipped)
        details << SourceName(source.scope) + QStringLiteral(" not searched. ")
                + ErrorText(source.error);
    skipped_label_->setText(shown);
    skipped_label_->setToolTip(details.join(QLatin1Char('\n')));
    skipped_label_->setAccessibleDescription(details.join(QLatin1Char('\n')));
    skipped_label_->setVisible(!shown.isEmpty());
}

void TSearch::Edit1KeyUp(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        BitBtn1Click();
    else
        WidthCheck();
}

void TSearch::Edit1Change() {
    CancelSearch();
    result_list_->clear();
    results_.clear();
    if (search_edit_->text().isEmpty()) {
        typing_pause_->stop();
        status_label_->setText(kStatusReady);
        return;
    }
    typing_pause_->start();
}

void TSearch::WidthCheck() {
    // The window's own font measures; bold notes narrow the limit instead.
    const QFontMetrics metrics(font());
    const int limit = SearchWidthLimit(document_.prefs());
    QString text = search_edit_->text();
    int caret = search_edit_->cursorPosition();
    bool trimmed = false;
    while (!text.isEmpty() && metrics.horizontalAdvance(text) > limit) {
        const int at = caret > 0 ? caret - 1 : static_cast<int>(text.size()) - 1;
        text.remove(at, 1);
        caret = at;
        trimmed = true;
    }
    if (trimmed) {
        search_edit_->setText(text);
        search_edit_->setCursorPosition(caret);
    }
}

void TSearch::ListBox1MouseDown(Qt::MouseButton button) {
    const QList<QListWidgetItem*> selected = result_list_->selectedItems();
    if (selected.isEmpty()) {
        search_edit_->setFocus();
        return;
    }
    if (button == Qt::LeftButton)
        GoToResult(result_list_->row(selected.front()), true);
}

void TSearch::GoToResult(int row, bool activate) {
    if (row < 0 || row >= static_cast<int>(results_.size()))
        return;
    const SearchResult& result = results_[static_cast<std::size_t>(row)];
    const int offset = static_cast<int>(result.offset);
    const int length = static_cast<int>(result.length);
    if (result.scope == SearchScope::kDays) {
        GoToDay(result, activate);
        return;
    }
    // The window opened at the result runs modally; once it is on screen, this window, which
    // stays on top, steps aside.
    QTimer::singleShot(0, this, [this] {
        if (const QWidget* opened = QApplication::activeModalWidget())
            MoveClearOf(opened->frameGeometry());
    });
    if (result.scope == SearchScope::kArchive && targets_.open_archive)
        targets_.open_archive(result.line, offset, length);
    else if (result.scope == SearchScope::kNotes && targets_.open_notes)
        targets_.open_notes(offset, length);
}

void TSearch::GoToDay(const SearchResult& result, bool activate) {
    // The month menu as the main window builds it for the days as they stand.
    const std::vector<MonthMenuItem> items
        = BuildMonthMenu(document_.store(), document_.prefs(), {});
    // The calendar may have cycled since the search: the day is looked for by its key.
    const auto slot = SlotOfFoundDay(document_.store(), result.slot, result.date_key);
    if (!slot)
        return;
    const auto top = TopSlotForDay(items, result.date_key, *slot, document_.TopSlot());
    if (!top)
        return;
    document_.MoveWindow(*top);
    MoveClearOf(host_.SelectInNote(
        *slot, static_cast<int>(result.offset), static_cast<int>(result.length), activate));
}

void TSearch::MoveClearOf(const QRect& area) {
    if (area.isEmpty() || !isVisible())
        return;
    const QScreen* shown_on = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!shown_on)
        return;
    const QRect frame = frameGeometry();
    const ScreenBox placed
        = PlaceClearOf(BoxOf(frame), BoxOf(area), BoxOf(shown_on->availableGeometry()));
    if (placed.left != frame.x() || placed.top != frame.y())
        move(placed.left, placed.top);
}

void TSearch::BitBtn3Click() {
    close();
}

bool TSearch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == search_edit_) {
        if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat())
                Edit1KeyUp(key->key());
        } else if (event->type() == QEvent::FocusIn) {
            MarkError(search_edit_, false);
        }
    } else if (watched == result_list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            GoToResult(result_list_->currentRow(), true);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TSearch::closeEvent(QCloseEvent* event) {
    const bool was_visible = isVisible();
    typing_pause_->stop();
    CancelSearch();
    event->accept();
    QWidget::closeEvent(event);
    if (was_visible)
        host_.ChildWindowClosed();
}

} // namespace orvane
