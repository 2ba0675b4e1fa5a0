#include "tools/ui/t_search.h"

#include "core/ui/dialog_style.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "core/ui/testing/input_checks.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;

namespace {

// Stores the note being edited as the main window does, noting how many jumps came before.
class JumpHost : public FakeCalendarHost {
public:
    using FakeCalendarHost::FakeCalendarHost;
    void ResetMemos() override {
        resets.push_back(jumps.size());
        state.store[40] += std::exchange(note_being_edited, std::string());
    }
    std::vector<MonthMenuItem> RebuildMonthMenu() override {
        ++menu_builds;
        return FakeCalendarHost::RebuildMonthMenu();
    }
    std::vector<std::size_t> resets;
    int menu_builds = 0;
    std::string note_being_edited; // belongs to slot 40, 15 February 2024
};

} // namespace

class SearchTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<JumpHost> host_;
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
        host_->state.store[slot] = host_->state.store[slot].substr(0, 11) + note;
    }
    void Find(const QString& text) {
        Edit1()->setText(text);
        search_->BitBtn1Click();
    }
    void ClickResult(int row, Qt::MouseButton button = Qt::LeftButton) {
        const QPoint centre = ListBox1()->visualItemRect(ListBox1()->item(row)).center();
        QTest::mouseClick(ListBox1()->viewport(), button, {}, centre);
    }

private slots:
    void init() {
        search_.reset();
        // Slot 1 is Sunday 7 January 2024; slot 729 is 4 January 2026. Some titles are custom.
        host_ = std::make_unique<JumpHost>(dir_.path().toStdString());
        host_->month_menu
            = { { "Jan   2024", 2024, 1, 1, true }, { "F\xe9v   2024", 2024, 2, 26, true },
                  { "M\xe4r   2024", 2024, 3, 55, true }, { "Jan   2026", 2026, 1, 726, true } };
        search_ = std::make_unique<TSearch>(*host_);
        search_->Prepare();
        search_->show();
        host_->resets.clear();
    }

    void layoutActivationAndClosing() {
        QVERIFY(search_->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(search_->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!search_->isModal());
        QCOMPARE(Status(), QStringLiteral("Click on date to go to month"));
        for (QWidget* child : search_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(!child->accessibleName().isEmpty(), qPrintable(child->objectName()));
        Child<QPushButton>("BitBtn3")->click();
        QVERIFY(!search_->isVisible());
        search_->close();
        QCOMPARE(host_->child_closed_calls, 1);
        search_->OpenModeless();
        QVERIFY(search_->isVisible());
        QCOMPARE(host_->menu_builds, 2); // rebuilt on each showing
    }

    void capitalsFindAnyCaseAndTheGridShowsTheFirstMonth() {
        SetNote(60, "dinner with Ana\a");
        SetNote(30, "DINNER\a");
        host_->note_being_edited = "dinner typed\a";
        Find(QStringLiteral("DINNER"));
        QCOMPARE(Results(), QStringList({ "Feb/5 /2024", "Feb/15/2024", "Mar/6 /2024" }));
        QCOMPARE(Status(), QStringLiteral("Click on date to go to month."));
        // The note being edited is stored before the search and again before the grid moves.
        QCOMPARE(host_->resets, (std::vector<std::size_t> { 0, 0 }));
        QCOMPARE(host_->jumps, std::vector<int> { 2 });
    }

    void statusAndMarkOfEmptyTextAndNoMatch() {
        Find(QString());
        QVERIFY(IsMarkedError(Edit1()));
        QCOMPARE(Status(), QStringLiteral("Searching..."));
        Find(QStringLiteral("Jan")); // only in the date keys
        QVERIFY(!IsMarkedError(Edit1()));
        QCOMPARE(Status(), QStringLiteral("No match found."));
        QVERIFY(host_->jumps.empty());
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
        host_->month_menu.pop_back(); // a month the menu does not hold moves nothing
        ClickResult(2);
        QCOMPARE(host_->jumps, (std::vector<int> { 1, 4, 3 }));
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
        host_->state.prefs.set_flag(Flag::DataBoldFont, '1');
        Edit1()->clear();
        Edit1()->insert(QString(60, QChar('m')));
        QTest::keyClick(Edit1(), Qt::Key_End);
        QVERIFY(fills(156));
    }
};

QTEST_MAIN(SearchTest)
#include "t_search_test.moc"
