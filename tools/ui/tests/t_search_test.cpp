#include "tools/ui/t_search.h"

#include "core/text_file.h"
#include "core/ui/dialog_style.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "core/ui/testing/input_checks.h"
#include "cycling/ui/archive_windows.h"
#include "tools/ui/t_notes.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <filesystem>
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

// archive.ovd as cycles wrote it and a hand edit changed it: lines end in CR LF, a lone CR or a
// lone LF, and line 3 lost its date key. Lines 0, 2 and 4 are dated (5 and 12 March 2024,
// 1 January 2023).
const char* const kArchive = "Mar/5 /2024 Dentist 9:30 \r\n\r\n"
                             "Mar/12/2024 Call the dentist \r"
                             "dentist again, hand edit\n"
                             "Jan/1 /2023 dentists meeting \r\n";

// notes.ovd as rich text with nested groups, a font table and a colour table. Its text reads
// "Ask about the dentist bill\nSecond line\vwith dentist".
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
    std::unique_ptr<TypingGrid> grid_;
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
        grid_->stores.clear();
        Edit1()->setText(text);
        search_->BitBtn1Click();
    }
    // Ticks the scopes and options by their boxes, as the user would.
    void Tick(const char* name, bool on) {
        auto* box = Child<QCheckBox>(name);
        if (box->isChecked() != on)
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QCOMPARE(box->isChecked(), on);
    }
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
    // The TopSlot of each move of the window, in order.
    std::vector<int> Moves() const {
        std::vector<int> tops;
        for (const ChangeReport& report : host_->reports) {
            if (report.kind == OperationKind::kMoveWindow)
                tops.push_back(report.top_after);
        }
        return tops;
    }
    // The row of the result listed as `text`; fails the test when there is none.
    int Row(const char* text) {
        const int row = static_cast<int>(Results().indexOf(QString::fromLatin1(text)));
        [&] { QVERIFY2(row >= 0, text); }();
        return row;
    }
    std::vector<int> SelectedSlots() const {
        std::vector<int> selected;
        for (const auto& selection : host_->note_selections)
            selected.push_back(selection.slot);
        return selected;
    }
    void ClickResult(int row, Qt::MouseButton button = Qt::LeftButton) {
        const QPoint centre = ListBox1()->visualItemRect(ListBox1()->item(row)).center();
        QTest::mouseClick(ListBox1()->viewport(), button, {}, centre);
    }
    void Activate() {
        QApplication::setActiveWindow(search_.get());
        QVERIFY(QTest::qWaitForWindowActive(search_.get()));
    }

private slots:
    void init() {
        search_.reset();
        grid_.reset();
        // Slot 1 is Sunday 7 January 2024; slot 726 is 1 January 2026. The month menu shows
        // custom titles, so a jump must go by the month, never by the caption.
        host_ = std::make_unique<FakeCalendarHost>(NonAsciiDataFolder(dir_.path()));
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
        std::filesystem::remove_all(dir_.path().toStdString());
    }

    void layoutActivationAndClosing() {
        QVERIFY(search_->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(search_->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!search_->isModal());
        QCOMPARE(Status(), QStringLiteral("Click on date to go to month"));
        // Only the days are searched until the user ticks more.
        QCOMPARE(Child<QCheckBox>("CheckBox1")->isChecked(), true);
        for (const char* name : { "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5" })
            QVERIFY2(!Child<QCheckBox>(name)->isChecked(), name);
        // Every control shown has a name a screen reader speaks; the status line's is its text,
        // and the window is a window.
        for (QWidget* child : search_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isVisibleTo(search_.get()))
                continue;
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
        // Each showing stores the note being typed first.
        grid_->note_being_edited = "typed\a";
        search_->OpenModeless();
        QVERIFY(search_->isVisible());
        QVERIFY(host_->Day(40).ends_with("typed\a"));
    }

    // Escape closes the window; F9 (the Search command again, or the key in the window) puts
    // the keyboard in the search field with its text selected, ready to be typed over.
    void escapeClosesAndF9ReturnsToTheField() {
        SetNote(20, "lunch\a");
        Find(QStringLiteral("lunch"));
        Activate();
        ListBox1()->setFocus();
        QTest::keyClick(ListBox1(), Qt::Key_F9);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Edit1()));
        QCOMPARE(Edit1()->selectedText(), QStringLiteral("lunch"));
        ListBox1()->setFocus();
        search_->OpenModeless();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Edit1()));
        QTest::keyClick(Edit1(), Qt::Key_Escape);
        QVERIFY(!search_->isVisible());
        QCOMPARE(host_->child_closed_calls, 1);
    }

    void capitalsFindAnyCaseAndTheGridShowsTheFirstDay() {
        SetNote(60, "dinner with Ana\a");
        SetNote(30, "Call before DINNER\a");
        grid_->note_being_edited = "dinner typed\a";
        Find(QStringLiteral("DINNER"));
        QCOMPARE(Results(), QStringList({ "Feb/5 /2024", "Feb/15/2024", "Mar/6 /2024" }));
        QCOMPARE(Results(Qt::UserRole + 1), QStringList({ "Days", "Days", "Days" }));
        QCOMPARE(Status(), QStringLiteral("Click on date to go to month."));
        // The note being edited is stored before the search and asked for again before the grid
        // moves to the row of 1 February 2024, a Thursday (slot 26).
        QCOMPARE(grid_->stores, (std::vector<int> { 0, 0 }));
        QCOMPARE(Moves(), std::vector<int> { 22 });
        QCOMPARE(host_->document.TopSlot(), 22);
        // The first day's note has the focus with the match selected; the search keeps the
        // keyboard, and the window has stepped off the day's cell.
        QCOMPARE(host_->note_selections.size(), std::size_t(1));
        QCOMPARE(host_->note_selections[0], (FakeCalendarHost::NoteSelection { 30, 12, 6, false }));
        QVERIFY(!search_->frameGeometry().intersects(host_->note_rect));
    }

    void statusAndMarkOfEmptyTextAndNoMatch() {
        Find(QString());
        QVERIFY(IsMarkedError(Edit1()));
        QCOMPARE(Status(), QStringLiteral("Searching..."));
        Find(QStringLiteral("Jan")); // only in the date keys
        QVERIFY(!IsMarkedError(Edit1()));
        QCOMPARE(Status(), QStringLiteral("No match found."));
        QVERIFY(Moves().empty());
        QVERIFY(host_->note_selections.empty());
        // Nothing ticked: nothing to search, and the status says what to do.
        Tick("CheckBox1", false);
        Find(QStringLiteral("lunch"));
        QCOMPARE(Status(), QStringLiteral("Tick Days, Archive or Notes."));
        QCOMPARE(ListBox1()->count(), 0);
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
        QCOMPARE(Results(),
            QStringList { QStringLiteral("Jan/26/2024") }.replaceInStrings("Jan/26", "Feb/5 "));
    }

    // A click goes to the day: the grid moves to its month, on by a week when the day would be
    // in the hidden sixth row; a day the grid can never show, or no longer holds, moves nothing.
    // The main window comes to the front.
    void clickingADayGoesToItsNote() {
        // 11 January 2024, 6 and 31 March 2024, 1 and 5 January 2026.
        for (int slot : { 5, 60, 85, 726, 730 })
            SetNote(slot, "the gym\a");
        Find(QStringLiteral("GYM"));
        QCOMPARE(Results(),
            QStringList(
                { "Jan/11/2024", "Mar/6 /2024", "Mar/31/2024", "Jan/1 /2026", "Jan/5 /2026" }));
        ClickResult(2, Qt::RightButton);
        ClickResult(2);
        ClickResult(1);
        ClickResult(3);
        ClickResult(4);
        ClickResult(1);
        // A day no longer in the calendar (here its key changed since the search) is not gone to.
        host_->SetDay(726, "Jan/1 /2O26the gym\a");
        ClickResult(3);
        QCOMPARE(Moves(), (std::vector<int> { 1, 57, 50, kMaxTopSlot, 50 }));
        QCOMPARE(SelectedSlots(), (std::vector<int> { 5, 85, 60, 726, 60 }));
        for (std::size_t i = 0; i < host_->note_selections.size(); ++i) {
            const auto& selection = host_->note_selections[i];
            QCOMPARE(selection.position, 4);
            QCOMPARE(selection.length, 3);
            QCOMPARE(selection.activate, i > 0); // the first by the search, the rest by clicks
        }
        QVERIFY(!search_->frameGeometry().intersects(host_->note_rect));
        // Enter on a row goes there too.
        ListBox1()->setFocus();
        ListBox1()->setCurrentRow(2);
        QTest::keyClick(ListBox1(), Qt::Key_Return);
        QCOMPARE(SelectedSlots().back(), 85);
        QCOMPARE(host_->document.TopSlot(), 57);
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

    // All three sources in one list: the days and the archive newest first, then the notes in
    // their order; each row with its source, its date or place, a snippet with the match marked
    // and a text for the screen reader.
    void scopesListEverySourceWithSnippets() {
        WriteSources();
        SetNote(3, "Dentist at 9\a");
        SetNote(20, "Fetch X-rays\aDENTIST\a");
        FindEverywhere(QStringLiteral("dentist"));
        QCOMPARE(Results(),
            QStringList({ "Jan/26/2024", "Jan/9 /2024", "Mar/12/2024", "Mar/5 /2024", "Jan/1 /2023",
                "Line 4", "Paragraph 1", "Paragraph 2" }));
        QCOMPARE(Results(Qt::UserRole + 1),
            QStringList(
                { "Days", "Days", "Archive", "Archive", "Archive", "Archive", "Notes", "Notes" }));
        QCOMPARE(Status(), QStringLiteral("Click on a result to go to it."));
        QVERIFY(!Child<QLabel>("Label2")->isVisibleTo(search_.get()));
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(ListBox1());
        for (int row = 0; row < ListBox1()->count(); ++row) {
            const QListWidgetItem* item = ListBox1()->item(row);
            const QString snippet = item->data(Qt::UserRole + 2).toString();
            const QString match = snippet.mid(
                item->data(Qt::UserRole + 3).toInt(), item->data(Qt::UserRole + 4).toInt());
            QCOMPARE(match.toLower(), QStringLiteral("dentist"));
            const QString spoken = list->child(row)->text(QAccessible::Name);
            QCOMPARE(spoken,
                item->data(Qt::UserRole + 1).toString() + QStringLiteral(", ") + item->text()
                    + QStringLiteral(": ") + snippet);
        }
        QCOMPARE(ListBox1()->item(0)->data(Qt::UserRole + 2).toString(),
            QStringLiteral("Fetch X-rays / DENTIST"));
        // Results of the files are not gone to on their own, but the first day still is.
        QCOMPARE(SelectedSlots(), std::vector<int> { 20 });
        // The options: whole words leave out "dentists"; all words need every word in one line.
        Tick("CheckBox4", true);
        QSignalSpy shown(search_.get(), &TSearch::ResultsShown);
        search_->BitBtn1Click();
        QVERIFY(shown.wait(10000));
        QVERIFY(!Results().contains(QStringLiteral("Jan/1 /2023")));
        QCOMPARE(Results().size(), 7);
        Tick("CheckBox4", false);
        Tick("CheckBox5", true);
        Find(QStringLiteral("DENTIST call"));
        QVERIFY(shown.wait(10000));
        QCOMPARE(Results(), QStringList { QStringLiteral("Mar/12/2024") });
        // Markup is never found: control words, the font and colour tables.
        Tick("CheckBox5", false);
        Tick("CheckBox1", false);
        Tick("CheckBox2", false);
        for (const char* markup : { "fonttbl", "Arial", "cf1", "par" }) {
            Find(QString::fromLatin1(markup));
            QVERIFY(shown.wait(10000));
            QCOMPARE(Status(), QStringLiteral("No match found."));
        }
    }

    // An archive result opens the archive window on that line with the match selected; the
    // search window steps aside from the window it opened.
    void anArchiveResultOpensTheArchiveAtItsLine() {
        WriteSources();
        TArchive archive(host_->data(), host_->services());
        struct Seen {
            int block = -1;
            QString selected;
            bool in_view = false;
            QRect search_frame; // where the search window was while the archive was open
            QRect archive_frame;
        };
        std::vector<Seen> seen;
        SearchTargets targets;
        targets.open_archive = [&](int line, int offset, int length) {
            QTimer::singleShot(0, &archive, [&] {
                auto* memo = archive.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
                const QTextCursor cursor = memo->textCursor();
                seen.push_back({ cursor.block().blockNumber(), cursor.selectedText(),
                    memo->viewport()->rect().contains(memo->cursorRect()), search_->frameGeometry(),
                    archive.frameGeometry() });
                archive.reject();
            });
            archive.OpenModalAt(line, offset, length);
        };
        search_->SetTargets(targets);
        FindEverywhere(QStringLiteral("dentist"));
        // The search window in the middle of the screen, where it first opens and where the
        // archive window opens too.
        const QRect screen = search_->screen()->availableGeometry();
        search_->move(screen.center() - search_->rect().center());
        const QRect start = search_->frameGeometry();
        search_->GoToResult(Row("Mar/12/2024"), true); // line 2
        search_->GoToResult(Row("Line 4"), true); // after a lone CR, line 3
        search_->GoToResult(Row("Jan/1 /2023"), true); // "dentists", line 4
        QCOMPARE(seen.size(), std::size_t(3));
        QCOMPARE(seen[0].block, 2);
        QCOMPARE(seen[1].block, 3);
        QCOMPARE(seen[2].block, 4);
        const auto covered = [](const QRect& a, const QRect& b) {
            const QRect both = a.intersected(b);
            return both.isEmpty() ? 0LL : static_cast<long long>(both.width()) * both.height();
        };
        for (const Seen& one : seen) {
            QCOMPARE(one.selected.toLower(), QStringLiteral("dentist"));
            QVERIFY(one.in_view);
            QVERIFY(start.intersects(one.archive_frame));
            QVERIFY(
                covered(one.search_frame, one.archive_frame) < covered(start, one.archive_frame));
            QVERIFY(screen.contains(one.search_frame));
        }
    }

    // A notes result opens the notes window with the match selected, counted in the text as the
    // window shows it (a paragraph break and a line break each one character).
    void aNotesResultOpensTheNotesAtTheMatch_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<int>>("paragraphs");
        QTest::newRow("rich text")
            << QByteArray(kNotesRtf) << QStringList { "Paragraph 1", "Paragraph 2" }
            << QList<int> { 0, 1 };
        // Notes that are not RTF are shown as plain text, each CR LF one paragraph break.
        QTest::newRow("plain text")
            << QByteArray("Dentist first\r\n\r\nA line\r\nthe DENTIST again\r\n")
            << QStringList { "Paragraph 1", "Paragraph 4" } << QList<int> { 0, 3 };
    }
    void aNotesResultOpensTheNotesAtTheMatch() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, rows);
        QFETCH(QList<int>, paragraphs);
        QVERIFY(WriteFileAtomic(host_->data().notes(), file.toStdString()));
        TNotes notes(host_->data(), host_->notes);
        QList<int> seen_paragraphs;
        QStringList seen_selections;
        SearchTargets targets;
        targets.open_notes = [&](int position, int length) {
            QTimer::singleShot(0, &notes, [&] {
                const QTextCursor cursor
                    = notes.findChild<QTextEdit*>(QStringLiteral("RichEdit1"))->textCursor();
                seen_paragraphs << cursor.block().blockNumber();
                seen_selections << cursor.selectedText().toLower();
                notes.reject();
            });
            notes.OpenModalAt(position, length);
        };
        search_->SetTargets(targets);
        FindEverywhere(QStringLiteral("dentist"));
        QCOMPARE(Results(Qt::UserRole + 1), QStringList({ "Notes", "Notes" }));
        for (const QString& row : rows)
            search_->GoToResult(Row(qPrintable(row)), true);
        QCOMPARE(seen_paragraphs, paragraphs);
        QCOMPARE(seen_selections, QStringList({ "dentist", "dentist" }));
        // Nothing was changed, so nothing was asked or saved.
        QVERIFY(host_->notes.boxes.empty());
        QCOMPARE(ReadWholeFile(host_->data().notes()).value_or(""), file.toStdString());
    }

    // Results follow the typing after a pause, without Enter; the next keystroke cancels a
    // search under way, and what a cancelled or overtaken search finds never shows.
    void resultsFollowTheTypingAndAKeystrokeCancels() {
        WriteSources();
        SetNote(9, "lunch\a");
        QSignalSpy shown(search_.get(), &TSearch::ResultsShown);
        Edit1()->setFocus();
        QTest::keyClicks(Edit1(), QStringLiteral("lun"));
        QVERIFY(Results().isEmpty());
        QVERIFY(shown.wait(10000));
        QCOMPARE(Results(), QStringList { QStringLiteral("Jan/15/2024") });
        QVERIFY(Moves().empty()); // typing never moves the grid
        QVERIFY(host_->note_selections.empty());

        // A day the overtaken search would have gone to.
        SetNote(12, "dentist\a");
        Edit1()->clear();
        Tick("CheckBox2", true);
        Tick("CheckBox3", true);
        shown.clear();
        QTest::keyClicks(Edit1(), QStringLiteral("dentist"));
        search_->BitBtn1Click(); // a search of the files under way ...
        QCOMPARE(search_->RunningSearches(), 1);
        QTest::keyClick(Edit1(), Qt::Key_S); // ... overtaken by the next keystroke
        QVERIFY(shown.wait(10000));
        QTRY_COMPARE(search_->RunningSearches(), 0);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(Results(), QStringList { QStringLiteral("Jan/1 /2023") });
        QVERIFY(Moves().empty()); // the overtaken search's first day was never gone to
    }

    // A source that cannot be read is left out and the window says which and why; the others
    // are searched as ever.
    void anUnreadableSourceIsNamedAndTheRestSearched() {
        QVERIFY(WriteFileAtomic(host_->data().archive(), kArchive));
        std::filesystem::create_directory(host_->data().notes()); // a folder, not a file
        SetNote(3, "dentist\a");
        FindEverywhere(QStringLiteral("dentist"));
        QCOMPARE(Results(Qt::UserRole + 1),
            QStringList({ "Days", "Archive", "Archive", "Archive", "Archive" }));
        auto* skipped = Child<QLabel>("Label2");
        QVERIFY(skipped->isVisibleTo(search_.get()));
        QVERIFY2(skipped->text().startsWith(QStringLiteral("Notes not searched: ")),
            qPrintable(skipped->text()));
        QVERIFY(!skipped->text().contains(QStringLiteral("notes.ovd")));
        QVERIFY2(NamesDataFile(skipped->toolTip(), "notes.ovd"), qPrintable(skipped->toolTip()));
        QCOMPARE(QAccessible::queryAccessibleInterface(skipped)->text(QAccessible::Description),
            skipped->toolTip());
        // Readable again: the note goes.
        std::filesystem::remove(host_->data().notes());
        QSignalSpy shown(search_.get(), &TSearch::ResultsShown);
        search_->BitBtn1Click();
        QVERIFY(shown.wait(10000));
        QVERIFY(!skipped->isVisibleTo(search_.get()));
    }
};

QTEST_MAIN(SearchTest)
#include "t_search_test.moc"
