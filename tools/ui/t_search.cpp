#include "tools/ui/t_search.h"

#include "core/ui/calendar_host.h"
#include "core/ui/dialog_style.h"
#include "core/ui/input_filter.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"

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

TSearch::TSearch(orvane::CalendarHost& host, QWidget* parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , host_(host) {
    setObjectName(QStringLiteral("TSearch"));
    setWindowTitle(QStringLiteral("Search"));
    setFixedSize(193, 251);
    setFont(orvane::ProgramFont(QStringLiteral("MS Sans Serif"), 11));
    orvane::ApplyDialogBackground(this);

    BitBtn1 = new QPushButton(QStringLiteral("Find"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(7, 4, 61, 21);
    BitBtn1->setAccessibleName(QStringLiteral("Find"));
    BitBtn1->setAutoDefault(false);
    orvane::MakeNavy(BitBtn1, QPalette::ButtonText);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(71, 4, 115, 21);
    Edit1->setAccessibleName(QStringLiteral("Search text"));
    // Only Windows-1252 text can be in a note, so nothing else is worth searching for.
    orvane::InstallInputFilter(Edit1, host_.notifier());
    Edit1->installEventFilter(this);

    Label1 = new QLabel(kStatusReady, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(10, 37, 180, 14);
    Label1->setAccessibleName(QStringLiteral("Search status"));
    Label1->setAccessibleDescription(QStringLiteral("What the search found"));
    orvane::MakeNavy(Label1);

    auto* list = new ResultList(this);
    ListBox1 = list;
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(7, 51, 178, 174);
    ListBox1->setAccessibleName(QStringLiteral("Dates found"));
    ListBox1->setUniformItemSizes(true);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    list->on_press = [this](Qt::MouseButton button) { ListBox1MouseDown(button); };

    BitBtn3 = new QPushButton(QStringLiteral("Close"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setGeometry(66, 228, 60, 21);
    BitBtn3->setAccessibleName(QStringLiteral("Close"));
    BitBtn3->setAutoDefault(false);
    orvane::MakeNavy(BitBtn3, QPalette::ButtonText);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    // A paste or an input method's text is held to the width as well as a typed key.
    connect(Edit1, &QLineEdit::textEdited, this, [this] { WidthCheck(); });
}

void TSearch::Prepare() {
    host_.RebuildMonthMenu();
    if (first_activation_) {
        Edit1->setFocus();
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
    host_.ResetMemos();
    search_.Rebuild(host_.State().store);
}

void TSearch::BitBtn1Click() {
    Label1->setText(kStatusSearching);
    ListBox1->clear();
    Label1->repaint();
    orvane::MarkError(Edit1, false);
    if (Edit1->text().isEmpty()) {
        orvane::MarkError(Edit1, true);
        return;
    }
    RefreshCopy();
    const auto needle = orvane::ToCp1252(Edit1->text());
    const std::vector<orvane::SearchHit> hits
        = needle ? search_.Find(*needle) : std::vector<orvane::SearchHit> {};
    for (const orvane::SearchHit& hit : hits) {
        auto* item = new QListWidgetItem(orvane::FromCp1252(hit.date_key), ListBox1);
        item->setSizeHint(QSize(ListBox1->viewport()->width(), kItemHeight));
    }
    if (hits.empty()) {
        Label1->setText(kStatusNoMatch);
        return;
    }
    Label1->setText(kStatusFound);
    JumpToMonthOf(ListBox1->item(0)->text());
}

void TSearch::Edit1KeyUp(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        BitBtn1Click();
    else
        WidthCheck();
}

void TSearch::Edit1Change() {
    ListBox1->clear();
}

void TSearch::WidthCheck() {
    // The window's own font measures; bold notes narrow the limit instead.
    const QFontMetrics metrics(font());
    const int limit = orvane::SearchWidthLimit(host_.State().prefs);
    QString text = Edit1->text();
    int caret = Edit1->cursorPosition();
    bool trimmed = false;
    while (!text.isEmpty() && metrics.horizontalAdvance(text) > limit) {
        const int at = caret > 0 ? caret - 1 : static_cast<int>(text.size()) - 1;
        text.remove(at, 1);
        caret = at;
        trimmed = true;
    }
    if (trimmed) {
        Edit1->setText(text);
        Edit1->setCursorPosition(caret);
    }
}

void TSearch::ListBox1MouseDown(Qt::MouseButton button) {
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    if (selected.isEmpty()) {
        Edit1->setFocus();
        return;
    }
    if (button == Qt::LeftButton)
        JumpToMonthOf(selected.front()->text());
}

void TSearch::JumpToMonthOf(const QString& date_key) {
    const auto key = orvane::ToCp1252(date_key);
    if (!key)
        return;
    // Rebuilt now so the item numbers match the main window's menu as it stands.
    const auto item = orvane::MonthMenuItemFor(host_.RebuildMonthMenu(), *key);
    if (!item)
        return;
    host_.ResetMemos();
    host_.Date1Click(*item);
}

void TSearch::BitBtn3Click() {
    close();
}

bool TSearch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1) {
        if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat())
                Edit1KeyUp(key->key());
        } else if (event->type() == QEvent::FocusIn) {
            orvane::MarkError(Edit1, false);
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
