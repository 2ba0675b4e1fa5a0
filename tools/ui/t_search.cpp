#include "tools/ui/t_search.h"

#include "core/ui/accessible_window.h"
#include "core/ui/dialog_style.h"
#include "core/ui/input_filter.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"
#include "mainwindow/navigation.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <functional>

namespace orvane {

namespace {

const QString kStatusReady = QStringLiteral("Click on date to go to month");
const QString kStatusSearching = QStringLiteral("Searching...");
const QString kStatusNoMatch = QStringLiteral("No match found.");
const QString kStatusFound = QStringLiteral("Click on date to go to month.");
constexpr int kItemHeight = 13;

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
    setFixedSize(193, 251);
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
    search_edit_->setGeometry(71, 4, 115, 21);
    search_edit_->setAccessibleName(QStringLiteral("Search text"));
    // Only Windows-1252 text can be in a note, so nothing else is worth searching for.
    InstallInputFilter(search_edit_, services_.notifier);
    search_edit_->installEventFilter(this);

    status_label_ = new QLabel(kStatusReady, this);
    status_label_->setObjectName(QStringLiteral("Label1"));
    status_label_->setGeometry(10, 37, 180, 14);
    status_label_->setAccessibleDescription(QStringLiteral("What the search found"));
    MakeNavy(status_label_);

    auto* list = new ResultList(this);
    result_list_ = list;
    result_list_->setObjectName(QStringLiteral("ListBox1"));
    result_list_->setGeometry(7, 51, 178, 174);
    result_list_->setAccessibleName(QStringLiteral("Dates found"));
    result_list_->setUniformItemSizes(true);
    result_list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list->on_press = [this](Qt::MouseButton button) { ListBox1MouseDown(button); };

    close_button_ = new QPushButton(QStringLiteral("Close"), this);
    close_button_->setObjectName(QStringLiteral("BitBtn3"));
    close_button_->setGeometry(66, 228, 60, 21);
    close_button_->setAccessibleName(QStringLiteral("Close"));
    close_button_->setAutoDefault(false);
    MakeNavy(close_button_, QPalette::ButtonText);

    connect(find_button_, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(close_button_, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(search_edit_, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    // A paste or an input method's text is held to the width as well as a typed key.
    connect(search_edit_, &QLineEdit::textEdited, this, [this] { WidthCheck(); });
}

void TSearch::Prepare() {
    if (first_activation_) {
        search_edit_->setFocus();
        first_activation_ = false;
    }
    RefreshCopy();
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
}

void TSearch::RefreshCopy() {
    // The note being typed in the grid is part of what the user expects to find.
    document_.FlushPendingEdits();
    search_.Rebuild(document_.store());
}

void TSearch::BitBtn1Click() {
    status_label_->setText(kStatusSearching);
    result_list_->clear();
    status_label_->repaint();
    MarkError(search_edit_, false);
    if (search_edit_->text().isEmpty()) {
        MarkError(search_edit_, true);
        return;
    }
    RefreshCopy();
    const auto needle = ToCp1252(search_edit_->text());
    const std::vector<SearchHit> hits = needle ? search_.Find(*needle) : std::vector<SearchHit> {};
    for (const SearchHit& hit : hits) {
        auto* item = new QListWidgetItem(FromCp1252(hit.date_key), result_list_);
        item->setSizeHint(QSize(result_list_->viewport()->width(), kItemHeight));
    }
    if (hits.empty()) {
        status_label_->setText(kStatusNoMatch);
        return;
    }
    status_label_->setText(kStatusFound);
    JumpToMonthOf(result_list_->item(0)->text());
}

void TSearch::Edit1KeyUp(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        BitBtn1Click();
    else
        WidthCheck();
}

void TSearch::Edit1Change() {
    result_list_->clear();
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
        JumpToMonthOf(selected.front()->text());
}

void TSearch::JumpToMonthOf(const QString& date_key) {
    const auto key = ToCp1252(date_key);
    if (!key)
        return;
    // The month menu as the main window builds it for the days as they stand.
    const std::vector<MonthMenuItem> items
        = BuildMonthMenu(document_.store(), document_.prefs(), {});
    const auto item = MonthMenuItemFor(items, *key);
    if (!item)
        return;
    document_.MoveWindow(items[static_cast<std::size_t>(*item - 1)].slot);
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
    }
    return QWidget::eventFilter(watched, event);
}

void TSearch::closeEvent(QCloseEvent* event) {
    const bool was_visible = isVisible();
    event->accept();
    QWidget::closeEvent(event);
    if (was_visible)
        host_.ChildWindowClosed();
}

} // namespace orvane
