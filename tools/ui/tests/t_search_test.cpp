#include "tools/ui/t_search.h"

#include "core/text_file.h"
#include "core/ui/dialog_style.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "core/ui/testing/input_checks.h"
#include "cycling/ui/archive_windows.h"
#include "tools/ui/t_notes.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <filesystem>
#include <vector>

using namespace orvane;

namespace {

// archive.ovd with CR LF, a lone CR and a lone LF; line 3 has no date key.
const char* const kArchive = "Mar/5 /2024 Dentist 9:30 \r\n\r\n"
                             "Mar/12/2024 Call the dentist \r"
                             "dentist again, hand edit\n"
                             "Jan/1 /2023 dentists meeting \r\n";

// notes.ovd as rich text; it reads "Ask about the dentist bill\nSecond line\vwith dentist".
const char* const kNotesRtf
    = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red200\\green0\\blue0;}"
      "\\f0\\fs16 Ask about the {\\b dentist {\\i bill}}\\par Second \\cf1 line\\line with "
      "dentist\\par}";

} // namespace

class SearchTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<FakeCalendarHost> host_;
    std::unique_ptr<TSearch> search_;

    template <class T> T* Child(const char* name) { return search_->findChild<T*>(name); }
    QLineEdit* Edit1() { return Child<QLineEdit>("Edit1"); }
    QListWidget* ListBox1() { return Child<QListWidget>("ListBox1"); }
    QString Status() { return Child<QLabel>("Label1")->text(); }
    QStringList Results(int role = Qt::DisplayRole) {
        QStringList lines;
        for (int i = 0; i < ListBox1()->count(); ++i)
            lines << ListBox1()->item(i)->data(role).toString();
        return lines;
    }
    void SetNote(int slot, const std::string& note) {
        host_->SetDay(slot, host_->Day(slot).substr(0, 11) + note);
    }
    void Find(const QString& text) {
        Edit1()->setText(text);
        search_->BitBtn1Click();
    }
    void Tick(const char* name, bool on) { Child<QCheckBox>(name)->setChecked(on); }
    // Searches everywhere; the files are searched on a worker, so this waits for its outcome.
    void FindEverywhere(const QString& text) {
        Tick("CheckBox2", true);
        Tick("CheckBox3", true);
        QSignalSpy shown(search_.get(), &TSearch::ResultsShown);
        Find(text);
        QVERIFY(shown.wait(10000));
    }
    void WriteSources() {
        QVERIFY(WriteFileAtomic(host_->data().archive(), kArchive));
        QVERIFY(WriteFileAtomic(host_->data().notes(), kNotesRtf));
    }
    int Moves() const { return host_->ReportsOf(OperationKind::kMoveWindow); }

private slots:
    void init() {
        search_.reset();
        // Slot 1 is Sunday 7 January 2024.
        host_ = std::make_unique<FakeCalendarHost>(NonAsciiDataFolder(dir_.path()));
        search_ = std::make_unique<TSearch>(host_->document, *host_, host_->services());
        search_->Prepare();
        search_->show();
        host_->reports.clear();
    }
    void cleanup() {
        search_.reset();
        host_.reset();
        std::filesystem::remove_all(dir_.path().toStdString());
    }

    // "Find" stores the note being typed, lists the days and goes to the first one: the grid moves
    // to its month and its note gets the match selected, clear of this window.
    void findGoesToTheFirstDay() {
        SetNote(60, "dinner with Ana\a");
        SetNote(30, "Call before DINNER\a");
        host_->before_change_calls = 0;
        Find(QStringLiteral("DINNER"));
        QVERIFY(host_->before_change_calls > 0);
        QCOMPARE(Results(), QStringList({ "Feb/5 /2024", "Mar/6 /2024" }));
        QCOMPARE(Status(), QStringLiteral("Click on date to go to month."));
        QCOMPARE(Moves(), 1);
        QCOMPARE(host_->document.TopSlot(), 22);
        QCOMPARE(host_->note_selections,
            (std::vector<FakeCalendarHost::NoteSelection> { { 30, 12, 6, false } }));
        QVERIFY(!search_->frameGeometry().intersects(host_->note_rect));
    }

    void statusAndUnstorableCharacters() {
        Find(QString());
        QVERIFY(IsMarkedError(Edit1()));
        QCOMPARE(Status(), QStringLiteral("Searching..."));
        Find(QStringLiteral("Jan")); // only in the date keys
        QVERIFY(!IsMarkedError(Edit1()));
        QCOMPARE(Status(), QStringLiteral("No match found."));
        QVERIFY(Moves() == 0 && host_->note_selections.empty());
        Tick("CheckBox1", false);
        Find(QStringLiteral("lunch"));
        QCOMPARE(Status(), QStringLiteral("Tick Days, Archive or Notes."));
        const QString failure = CheckInputFilter(Edit1(), host_->notes, QStringLiteral("é"));
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    // A left click on a result goes to the day; a day the calendar no longer holds goes nowhere.
    void clickingADayGoesToItsNote() {
        SetNote(5, "the gym\a");
        SetNote(85, "the gym\a"); // 31 March 2024, in the sixth row of March
        Find(QStringLiteral("GYM"));
        QCOMPARE(Results(), QStringList({ "Jan/11/2024", "Mar/31/2024" }));
        host_->note_selections.clear();
        QTest::mouseClick(ListBox1()->viewport(), Qt::LeftButton, {},
            ListBox1()->visualItemRect(ListBox1()->item(1)).center());
        host_->SetDay(5, "Jan/11/2O24the gym\a");
        QTest::mouseClick(ListBox1()->viewport(), Qt::LeftButton, {},
            ListBox1()->visualItemRect(ListBox1()->item(0)).center());
        QCOMPARE(Moves(), 2);
        QCOMPARE(host_->document.TopSlot(), 57);
        QCOMPARE(host_->note_selections,
            (std::vector<FakeCalendarHost::NoteSelection> { { 85, 4, 3, true } }));
    }

    // Text wider than the field cannot be typed, measured in the window's own font.
    void textWiderThanTheFieldCannotBeTyped() {
        const QFontMetrics metrics(search_->font());
        Edit1()->setFocus();
        QTest::keyClicks(Edit1(), QString(40, QChar('W')));
        const QString text = Edit1()->text();
        QVERIFY(metrics.horizontalAdvance(text) <= 176);
        QVERIFY(metrics.horizontalAdvance(text + 'W') > 176);
    }

    // Each row shows its source, its date or place, a snippet with the match marked and a text
    // for the screen reader. A result in the files opens its window with the match selected, at
    // the line or place that window shows it (after a lone CR; a paragraph and a line break one
    // character each). The whole-word box reaches the search.
    void resultsOfEverySourceAndTheirWindows() {
        WriteSources();
        TArchive archive(host_->data(), host_->services(), host_->backups);
        TNotes notes(host_->data(), host_->notes, host_->backups);
        QList<int> blocks;
        QStringList selected;
        const auto seen = [&](QDialog& window, const QTextCursor& cursor) {
            blocks << cursor.block().blockNumber();
            selected << cursor.selectedText().toLower();
            window.reject();
        };
        SearchTargets targets;
        targets.open_archive = [&](int line, int offset, int length) {
            QTimer::singleShot(0, &archive,
                [&] { seen(archive, archive.findChild<QPlainTextEdit*>("Memo1")->textCursor()); });
            archive.OpenModalAt(line, offset, length);
        };
        targets.open_notes = [&](int position, int length) {
            QTimer::singleShot(0, &notes,
                [&] { seen(notes, notes.findChild<QTextEdit*>("RichEdit1")->textCursor()); });
            notes.OpenModalAt(position, length);
        };
        search_->SetTargets(targets);
        SetNote(20, "Fetch X-rays\aDENTIST\a");
        FindEverywhere(QStringLiteral("dentist"));
        QCOMPARE(Results(),
            QStringList({ "Jan/26/2024", "Mar/12/2024", "Mar/5 /2024", "Jan/1 /2023", "Line 4",
                "Paragraph 1", "Paragraph 2" }));
        QCOMPARE(Status(), QStringLiteral("Click on a result to go to it."));
        QCOMPARE(Results(Qt::UserRole + 3)[0].toInt(), 15); // the match in the snippet
        QCOMPARE(Results(Qt::UserRole + 4)[0].toInt(), 7);
        QCOMPARE(
            QAccessible::queryAccessibleInterface(ListBox1())->child(0)->text(QAccessible::Name),
            QStringLiteral("Days, Jan/26/2024: Fetch X-rays / DENTIST"));
        QCOMPARE(host_->note_selections.size(), std::size_t(1)); // the first day only

        for (const char* row : { "Mar/12/2024", "Line 4", "Paragraph 1", "Paragraph 2" })
            search_->GoToResult(static_cast<int>(Results().indexOf(row)), true);
        QCOMPARE(blocks, QList<int>({ 2, 3, 0, 1 }));
        QCOMPARE(selected, QStringList(4, "dentist"));
        QVERIFY(host_->notes.boxes.empty()); // nothing changed, so nothing asked or saved
        QCOMPARE(ReadWholeFile(host_->data().notes()).value_or(""), std::string(kNotesRtf));
        QSignalSpy shown(search_.get(), &TSearch::ResultsShown);
        Tick("CheckBox4", true); // whole words leave out "dentists"
        search_->BitBtn1Click();
        QVERIFY(shown.wait(10000));
        QVERIFY(!Results().contains(QStringLiteral("Jan/1 /2023")));
    }

    // Results follow the typing after a pause; the next keystroke cancels a search under way, and
    // what an overtaken search finds never shows.
    void resultsFollowTheTypingAndAKeystrokeCancels() {
        WriteSources();
        SetNote(12, "dentist\a");
        Tick("CheckBox2", true);
        Tick("CheckBox3", true);
        QSignalSpy shown(search_.get(), &TSearch::ResultsShown);
        Edit1()->setFocus();
        QTest::keyClicks(Edit1(), QStringLiteral("dentist"));
        search_->BitBtn1Click();
        QCOMPARE(search_->RunningSearches(), 1);
        QTest::keyClick(Edit1(), Qt::Key_S);
        QVERIFY(shown.wait(10000));
        QTRY_COMPARE(search_->RunningSearches(), 0);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(Results(), QStringList { QStringLiteral("Jan/1 /2023") });
        QCOMPARE(Moves(), 0); // neither typing nor the overtaken search moved the grid
    }

    void anUnreadableSourceIsNamedAndTheRestSearched() {
        QVERIFY(WriteFileAtomic(host_->data().archive(), kArchive));
        std::filesystem::create_directory(host_->data().notes()); // a folder, not a file
        FindEverywhere(QStringLiteral("dentist"));
        QCOMPARE(Results().size(), 4);
        auto* skipped = Child<QLabel>("Label2");
        QVERIFY(skipped->isVisibleTo(search_.get()));
        QVERIFY2(skipped->text().startsWith(QStringLiteral("Notes not searched: ")),
            qPrintable(skipped->text()));
        QVERIFY2(NamesDataFile(skipped->toolTip(), "notes.ovd"), qPrintable(skipped->toolTip()));
    }
};

QTEST_MAIN(SearchTest)
#include "t_search_test.moc"
