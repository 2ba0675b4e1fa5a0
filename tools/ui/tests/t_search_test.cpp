#include "tools/ui/t_search.h"

#include "core/ui/dialog_style.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "core/ui/testing/input_checks.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <utility>
#include <vector>

using namespace orvane;

namespace {

// Stands in for the grid: holds a note being typed in slot 40 (15 February 2024) and stores it
// when the document asks for pending edits, noting how many times the window had moved by then.
class TypingGrid final : public DocumentListener {
public:
    explicit TypingGrid(FakeCalendarHost& host)
        : host_(host) {
        host_.document.AddListener(this);
    }
    ~TypingGrid() override { host_.document.RemoveListener(this); }

    std::string note_being_edited;
    std::vector<int> stores; // the window moves made before each request to store

private:
    void BeforeChange(CalendarDocument& document) override {
        stores.push_back(host_.ReportsOf(OperationKind::kMoveWindow));
        if (!note_being_edited.empty())
            document.StoreNote(40, document.store()[40] + std::exchange(note_being_edited, {}));
    }

    FakeCalendarHost& host_;
};

} // namespace

class SearchTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<FakeCalendarHost> host_;
    std::unique_ptr<TypingGrid> grid_;
    std::unique_ptr<TSearch> search_;

    template <class T> T* Child(const char* name) { return search_->findChild<T*>(name); }
    QLineEdit* Edit1() { return Child<QLineEdit>("Edit1"); }
    QListWidget* ListBox1() { return Child<QListWidget>("ListBox1"); }
    QString Status() { return Child<QLabel>("Label1")->text(); }
    QStringList Results() {
        QStringList lines;
        for (int i = 0; i < ListBox1()->count(); ++i)
            lines << ListBox1()->item(i)->text();
        return lines;
    }
    void SetNote(int slot, const std::string& note) {
        host_->SetDay(slot, host_->Day(slot).substr(0, 11) + note);
    }
    void Find(const QString& text) {
        grid_->stores.clear();
        Edit1()->setText(text);
        search_->BitBtn1Click();
    }
    // The TopSlot of each move of the window, in order.
    std::vector<int> Moves() const {
        std::vector<int> tops;
        for (const ChangeReport& report : host_->reports) {
            if (report.kind == OperationKind::kMoveWindow)
                tops.push_back(report.top_after);
        }
        return tops;
    }
    void ClickResult(int row, Qt::MouseButton button = Qt::LeftButton) {
        const QPoint centre = ListBox1()->visualItemRect(ListBox1()->item(row)).center();
        QTest::mouseClick(ListBox1()->viewport(), button, {}, centre);
    }

private slots:
    void init() {
        search_.reset();
        grid_.reset();
        // Slot 1 is Sunday 7 January 2024; slot 726 is 1 January 2026. The month menu shows
        // custom titles, so a jump must go by the month, never by the caption.
        host_ = std::make_unique<FakeCalendarHost>(dir_.path().toStdString());
        grid_ = std::make_unique<TypingGrid>(*host_);
        Preferences prefs = host_->document.prefs();
        prefs.set_flag(Flag::CustomTitles, '1');
        prefs.MonthTitles = { "Ene", "F\xe9v", "M\xe4r", "Abr", "May", "Jun", "Jul", "Ago", "Sep",
            "Okt", "Nov", "Dez" };
        host_->document.SetPreferences(prefs);
        search_ = std::make_unique<TSearch>(host_->document, *host_, host_->services());
        search_->Prepare();
        search_->show();
        host_->reports.clear();
    }
    void cleanup() {
        search_.reset();
        grid_.reset();
        host_.reset();
    }

    void layoutActivationAndClosing() {
        QVERIFY(search_->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(search_->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!search_->isModal());
        QCOMPARE(Status(), QStringLiteral("Click on date to go to month"));
        // Every control has a name a screen reader speaks; the status line's is its text, and
        // the window is a window.
        for (QWidget* child : search_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(child);
            QVERIFY2(spoken && !spoken->text(QAccessible::Name).isEmpty(),
                qPrintable(child->objectName()));
        }
        QCOMPARE(
            QAccessible::queryAccessibleInterface(Child<QLabel>("Label1"))->text(QAccessible::Name),
            Status());
        QCOMPARE(QAccessible::queryAccessibleInterface(search_.get())->role(), QAccessible::Window);
        Child<QPushButton>("BitBtn3")->click();
        QVERIFY(!search_->isVisible());
        search_->close();
        QCOMPARE(host_->child_closed_calls, 1);
        // Each showing copies the days afresh, with the note being typed stored first.
        grid_->note_being_edited = "typed\a";
        search_->OpenModeless();
        QVERIFY(search_->isVisible());
        QVERIFY(host_->Day(40).ends_with("typed\a"));
    }

    void capitalsFindAnyCaseAndTheGridShowsTheFirstMonth() {
        SetNote(60, "dinner with Ana\a");
        SetNote(30, "DINNER\a");
        grid_->note_being_edited = "dinner typed\a";
        Find(QStringLiteral("DINNER"));
        QCOMPARE(Results(), QStringList({ "Feb/5 /2024", "Feb/15/2024", "Mar/6 /2024" }));
        QCOMPARE(Status(), QStringLiteral("Click on date to go to month."));
        // The note being edited is stored before the search and asked for again before the grid
        // moves to the row of 1 February 2024, a Thursday (slot 26).
        QCOMPARE(grid_->stores, (std::vector<int> { 0, 0 }));
        QCOMPARE(Moves(), std::vector<int> { 22 });
        QCOMPARE(host_->document.TopSlot(), 22);
    }

    void statusAndMarkOfEmptyTextAndNoMatch() {
        Find(QString());
        QVERIFY(IsMarkedError(Edit1()));
        QCOMPARE(Status(), QStringLiteral("Searching..."));
        Find(QStringLiteral("Jan")); // only in the date keys
        QVERIFY(!IsMarkedError(Edit1()));
        QCOMPARE(Status(), QStringLiteral("No match found."));
        QVERIFY(Moves().empty());
    }

    void enterSearchesTypingClearsAndUnstorableCharactersAreRefused() {
        SetNote(20, "Lunch\a");
        Edit1()->setFocus();
        QTest::keyClicks(Edit1(), QStringLiteral("lunch"));
        QTest::keyClick(Edit1(), Qt::Key_Return);
        QCOMPARE(Results(), QStringList { QStringLiteral("Jan/26/2024") });
        QTest::keyClick(Edit1(), Qt::Key_Backspace);
        QVERIFY(Results().isEmpty());
        const QString failure = CheckInputFilter(Edit1(), host_->notes, QStringLiteral("é"));
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        // A non-breaking space is searched for as itself, never as a blank.
        SetNote(30,
            "Tea\xa0"
            "at 5\a");
        SetNote(31, "Tea at 5\a");
        Edit1()->clear();
        SendText(Edit1(), QStringLiteral("tea\u00a0at"), InputRoute::kCommit);
        search_->BitBtn1Click();
        QCOMPARE(Results(), QStringList { QStringLiteral("Feb/5 /2024") });
    }

    void clickingAResultMovesTheGridToItsMonth() {
        for (int slot : { 5, 60, 730 })
            SetNote(slot, "gym\a");
        Find(QStringLiteral("gym"));
        ClickResult(2, Qt::RightButton);
        ClickResult(2);
        ClickResult(1);
        // The menu is built from the days as they stand at each click: with the key of
        // 1 January 2026 damaged it ends before that month, and a month it does not hold moves
        // nothing.
        host_->SetDay(726, "Jan/1 /2O26");
        ClickResult(2);
        // January 2024 from the top; January 2026 (1st on a Thursday, row 722) at the last
        // TopSlot; March 2024 from the row of Friday the 1st (slot 55).
        QCOMPARE(Moves(), (std::vector<int> { 1, kMaxTopSlot, 50 }));
        QCOMPARE(host_->document.TopSlot(), 50);
    }

    void textWiderThanTheFieldCannotBeTyped() {
        // Measured in the window's own font; bold notes narrow the limit; pastes are held too.
        const QFontMetrics metrics(search_->font());
        const auto fills = [&](int limit) {
            const QString text = Edit1()->text();
            return metrics.horizontalAdvance(text) <= limit
                && metrics.horizontalAdvance(text + text.back()) > limit;
        };
        Edit1()->setFocus();
        QTest::keyClicks(Edit1(), QString(40, QChar('W')));
        QVERIFY(fills(176));
        Preferences prefs = host_->document.prefs();
        prefs.set_flag(Flag::DataBoldFont, '1');
        host_->document.SetPreferences(prefs);
        Edit1()->clear();
        Edit1()->insert(QString(60, QChar('m')));
        QTest::keyClick(Edit1(), Qt::Key_End);
        QVERIFY(fills(156));
    }
};

QTEST_MAIN(SearchTest)
#include "t_search_test.moc"
