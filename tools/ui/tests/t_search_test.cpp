#include "tools/ui/t_search.h"

#include "core/ui/dialog_style.h"
#include "core/ui/testing/fake_calendar_host.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;

namespace {

// Types a character that has no key of its own, as an input method would deliver it.
void TypeCharacter(QWidget* widget, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

// Records the order of the calls a jump makes, and lets a test put text into the store as the
// main window does when it stores the note being edited.
class JumpHost : public FakeCalendarHost {
public:
    using FakeCalendarHost::FakeCalendarHost;

    void ResetMemos() override {
        FakeCalendarHost::ResetMemos();
        calls << QStringLiteral("ResetMemos");
        if (!note_being_edited.empty()) {
            state.store[note_slot] += note_being_edited;
            note_being_edited.clear();
        }
    }
    std::vector<MonthMenuItem> RebuildMonthMenu() override {
        ++menu_builds;
        return FakeCalendarHost::RebuildMonthMenu();
    }
    void Date1Click(int item) override {
        FakeCalendarHost::Date1Click(item);
        calls << QStringLiteral("Date1Click %1").arg(item);
    }

    QStringList calls;
    int menu_builds = 0;
    int note_slot = 1;
    std::string note_being_edited;
};

} // namespace

class SearchTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<JumpHost> host_;
    std::unique_ptr<TSearch> search_;
    QTemporaryDir dir_;

    template <class T> T* Child(const char* name) {
        T* child = search_->findChild<T*>(QString::fromLatin1(name));
        Q_ASSERT(child);
        return child;
    }
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
        std::string& day = host_->state.store[slot];
        day = day.substr(0, 11) + note;
    }
    void Find(const QString& text) {
        Edit1()->setText(text);
        search_->BitBtn1Click();
    }

private slots:
    void init() {
        // Slot 1 is Sunday 7 January 2024; slot 729 is 4 January 2026.
        host_ = std::make_unique<JumpHost>(dir_.path().toStdString());
        host_->month_menu = {
            { "Jan   2024", 2024, 1, 1, true },
            { "Feb   2024", 2024, 2, 26, true },
            { "Mar   2024", 2024, 3, 55, true },
            { "Dec  2025", 2025, 12, 694, true },
            { "Jan   2026", 2026, 1, 726, true },
        };
        search_ = std::make_unique<TSearch>(*host_);
        search_->Prepare();
        search_->show();
        host_->calls.clear();
    }
    void cleanup() {
        search_.reset();
        host_.reset();
    }

    void windowHasItsLayout() {
        QCOMPARE(search_->windowTitle(), QStringLiteral("Search"));
        QCOMPARE(search_->size(), QSize(193, 251));
        QVERIFY(search_->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(search_->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!search_->isModal());
        QCOMPARE(Child<QPushButton>("BitBtn1")->text(), QStringLiteral("Find"));
        QCOMPARE(Child<QPushButton>("BitBtn3")->text(), QStringLiteral("Close"));
        QCOMPARE(Child<QPushButton>("BitBtn1")->geometry(), QRect(7, 4, 61, 21));
        QCOMPARE(Edit1()->geometry(), QRect(71, 4, 115, 21));
        QCOMPARE(ListBox1()->geometry(), QRect(7, 51, 178, 174));
        QCOMPARE(Status(), QStringLiteral("Click on date to go to month"));
        for (QWidget* child : search_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(!child->accessibleName().isEmpty(), qPrintable(child->objectName()));
        QCOMPARE(host_->menu_builds, 1);
    }

    void capitalsFindAnyCaseAndTheGridShowsTheFirstMonth() {
        SetNote(60, "dinner with Ana\a"); // 6 March 2024
        SetNote(30, "DINNER\a"); // 5 February 2024
        SetNote(31, "Dinner again\a");
        Find(QStringLiteral("DINNER"));
        QCOMPARE(Results(),
            QStringList({ QStringLiteral("Feb/5 /2024"), QStringLiteral("Feb/6 /2024"),
                QStringLiteral("Mar/6 /2024") }));
        QCOMPARE(Status(), QStringLiteral("Click on date to go to month."));
        // The note being edited is stored before the grid moves.
        QCOMPARE(host_->calls.mid(host_->calls.size() - 2),
            QStringList({ QStringLiteral("ResetMemos"), QStringLiteral("Date1Click 2") }));
        QCOMPARE(host_->jumps, std::vector<int> { 2 });
    }

    void customMonthTitlesStillMoveTheGrid() {
        host_->month_menu[2].caption = "M\xe4r   2024";
        host_->month_menu[1].caption = "Février   2024";
        SetNote(60, "dentist\a");
        Find(QStringLiteral("Dentist"));
        QCOMPARE(host_->jumps, std::vector<int> { 3 });
    }

    void dateKeysAreNotSearched() {
        Find(QStringLiteral("Jan"));
        QCOMPARE(Status(), QStringLiteral("No match found."));
        QVERIFY(Results().isEmpty());
        QVERIFY(host_->jumps.empty());
    }

    void searchSeesTheNoteBeingEdited() {
        host_->note_slot = 40;
        host_->note_being_edited = "just typed\a";
        Find(QStringLiteral("typed"));
        QCOMPARE(Results(), QStringList { QStringLiteral("Feb/15/2024") });
    }

    void emptyTextMarksTheField() {
        Find(QString());
        QVERIFY(IsMarkedError(Edit1()));
        QCOMPARE(Status(), QStringLiteral("Searching..."));
        QVERIFY(host_->jumps.empty());
        Find(QStringLiteral("x"));
        QVERIFY(!IsMarkedError(Edit1()));
    }

    void enterSearchesAndTypingClearsTheResults() {
        SetNote(20, "Lunch\a");
        Edit1()->setFocus();
        QTest::keyClicks(Edit1(), QStringLiteral("lunch"));
        QVERIFY(Results().isEmpty());
        QTest::keyClick(Edit1(), Qt::Key_Return);
        QCOMPARE(Results(), QStringList { QStringLiteral("Jan/26/2024") });
        QTest::keyClick(Edit1(), Qt::Key_Backspace);
        QVERIFY(Results().isEmpty());
    }

    void clickingAResultMovesTheGridToItsMonth() {
        SetNote(5, "gym\a");
        SetNote(60, "gym\a");
        SetNote(730, "gym\a");
        Find(QStringLiteral("gym"));
        QCOMPARE(ListBox1()->count(), 3);
        host_->jumps.clear();
        QListWidget* list = ListBox1();
        const QPoint third = list->visualItemRect(list->item(2)).center();
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, third);
        QVERIFY(host_->jumps.empty());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third);
        QCOMPARE(host_->jumps, std::vector<int> { 5 });
        const QPoint second = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
        QCOMPARE(host_->jumps, (std::vector<int> { 5, 3 }));

        // A month the menu does not hold moves nothing.
        host_->month_menu.pop_back();
        host_->jumps.clear();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third);
        QVERIFY(host_->jumps.empty());
    }

    void textWiderThanTheFieldCannotBeTyped() {
        // Measured in the search window's own font; bold notes only narrow the limit.
        const QFontMetrics metrics(search_->font());
        QVERIFY(!search_->font().bold());
        Edit1()->setFocus();
        QTest::keyClicks(Edit1(), QString(40, QChar('W')));
        const QString plain = Edit1()->text();
        QVERIFY(plain.size() < 40);
        QVERIFY(metrics.horizontalAdvance(plain) <= 176);
        QVERIFY(metrics.horizontalAdvance(plain + QChar('W')) > 176);

        host_->state.prefs.set_flag(Flag::DataBoldFont, '1');
        Edit1()->clear();
        QTest::keyClicks(Edit1(), QString(40, QChar('W')));
        const QString narrow = Edit1()->text();
        QVERIFY(metrics.horizontalAdvance(narrow) <= 156);
        QVERIFY(metrics.horizontalAdvance(narrow + QChar('W')) > 156);
        QVERIFY(narrow.size() < plain.size());

        // A paste is held to the same width.
        Edit1()->clear();
        Edit1()->insert(QString(60, QChar('m')));
        QTest::keyClick(Edit1(), Qt::Key_End);
        QVERIFY(metrics.horizontalAdvance(Edit1()->text()) <= 156);
        QVERIFY(metrics.horizontalAdvance(Edit1()->text() + QChar('m')) > 156);
    }

    void charactersANoteCannotHoldAreRefused() {
        Edit1()->setFocus();
        QTest::keyClicks(Edit1(), QStringLiteral("ab"));
        TypeCharacter(Edit1(), QStringLiteral("中"));
        QCOMPARE(Edit1()->text(), QStringLiteral("ab"));
        QCOMPARE(host_->notes.beeps, 1);
        TypeCharacter(Edit1(), QStringLiteral("é"));
        QCOMPARE(Edit1()->text(), QStringLiteral("abé"));
    }

    void closingTellsTheMainWindowOnce() {
        Child<QPushButton>("BitBtn3")->click();
        QVERIFY(!search_->isVisible());
        QCOMPARE(host_->child_closed_calls, 1);
        search_->close();
        QCOMPARE(host_->child_closed_calls, 1);
        search_->OpenModeless();
        QVERIFY(search_->isVisible());
        QCOMPARE(host_->menu_builds, 2);
    }
};

QTEST_MAIN(SearchTest)
#include "t_search_test.moc"
