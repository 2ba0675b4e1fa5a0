#include "core/clock.h"
#include "core/day_file.h"
#include "core/entry_limit.h"
#include "core/text_file.h"
#include "core/ui/desktop.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "core/ui/testing/input_checks.h"
#include "core/ui/text_codec.h"
#include "mainwindow/ui/day_grid.h"
#include "mainwindow/ui/instance_lock.h"
#include "mainwindow/ui/note_editor.h"
#include "mainwindow/ui/t_form1.h"
#include "mainwindow/ui/toolbar.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvane;

namespace {

const char* kPref
    = "01100001010\r\nSUN\r\nMON\r\nTUE\r\nWED\r\nTHU\r\nFRI\r\nSAT\r\nJan\r\nFeb\r\n"
      "Mar\r\nApr\r\nMay\r\nJun\r\nJul\r\nAug\r\nSep\r\nOct\r\nNov\r\nDec\r\ncsystem\r\n"
      "00.00\r\n00.00\r\n0\r\nVerdana\r\n";

constexpr auto D = MakeDate;

// A program folder in a temporary directory with its csystem data and a main window on it.
struct Harness {
    explicit Harness(const std::string& pref = kPref, const std::string* cdat = nullptr)
        : clock(LocalTime { D(2024, 3, 14), 9, 0, 0 }) {
        data = NonAsciiDataFolder(dir.path());
        if (!pref.empty())
            Write("pref.ovd", pref);
        Write("cdat.ovd", cdat ? *cdat : std::string());
        options.program_dir = dir.filePath(kNonAsciiFolder);
        options.data_dir = data;
        options.application_title = QStringLiteral("Orvane");
    }
    TForm1& Form() {
        if (!form)
            form = std::make_unique<TForm1>(options, Services { notes, clock, desk });
        return *form;
    }
    std::string Read(const char* name) { return ReadWholeFile(data / name).value_or(""); }
    void Write(const char* name, const std::string& bytes) {
        if (!WriteFileAtomic(data / name, bytes))
            qFatal("cannot write the test's %s", name);
    }

    QTemporaryDir dir;
    std::filesystem::path data;
    StartupOptions options;
    RecordingNotifier notes;
    RecordingDesktop desk;
    FixedClock clock;
    std::unique_ptr<TForm1> form;
};

// A menu item by its name in the program.
QAction* Item(TForm1& form, const char* name) {
    return form.findChild<QAction*>(QString::fromLatin1(name));
}

DayCell* CellOf(TForm1& form, int cell) {
    return form.grid().CellWidget(cell);
}

void Paste(NoteEditor* note, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    note->paste();
}

// `text` with each '~' a non-breaking space (0xA0).
std::string WithNbsp(std::string text) {
    std::replace(text.begin(), text.end(), '~', '\xa0');
    return text;
}

std::string SavedCalendarWith(int slot, const std::string& entries) {
    DayStore store;
    NewCalendar(D(2024, 3, 10), store);
    store[slot] += entries;
    return FormatDayFile(store);
}

} // namespace

class TForm1Test : public QObject {
    Q_OBJECT
private slots:
    void startupCreatesANewCalendarFromToday() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        QCOMPARE(SplitLines(h.Read("cdat.ovd")).size(), std::size_t(738));
        QCOMPARE(h.Form().document().store()[1], std::string("Mar/10/2024"));
        QCOMPARE(h.Form().document().TodayKey(), std::string("Mar/14/2024"));
        QCOMPARE(CellOf(h.Form(), 1)->header_text(), QStringLiteral("Mar 10, 2024"));
        QCOMPARE(CellOf(h.Form(), 5)->header_text(), QStringLiteral("14"));
        QCOMPARE(h.Form().note(5)->accessibleName(), QStringLiteral("Thursday 14 March 2024"));
        // Today: yellow throughout with a red date; other days white with a blue date.
        QCOMPARE(CellOf(h.Form(), 5)->date_colour(), QColor(255, 0, 0));
        QCOMPARE(CellOf(h.Form(), 5)->header_background(), QColor(255, 255, 0));
        QCOMPARE(h.Form().note(5)->palette().color(QPalette::Base), QColor(255, 255, 0));
        QCOMPARE(CellOf(h.Form(), 6)->date_colour(), QColor(0, 0, 255));
        QCOMPARE(CellOf(h.Form(), 6)->header_background(), QColor(255, 255, 255));
        // The grey behind the cells shows between them as grid lines.
        auto* panel = h.Form().findChild<QWidget*>(QStringLiteral("Panelb2"));
        QCOMPARE(panel->mapTo(&h.Form(), QPoint(0, 0)), QPoint(0, 37));
        const QImage grid = h.Form().grid().grab(QRect(0, 0, 4, 4)).toImage();
        QCOMPARE(QColor(grid.pixel(0, 0)), QColor(128, 128, 128));
        QVERIFY(h.notes.boxes.empty());
        // Entry items wait for the first activation; the saved-preferences items are enabled.
        QVERIFY(!Item(h.Form(), "DailyEntry1")->isEnabled());
        QVERIFY(Item(h.Form(), "SaveCalendar1")->isEnabled());
        h.Form().FormActivate();
        QVERIFY(Item(h.Form(), "DailyEntry1")->isEnabled());
    }

    void unsavedPreferencesDisableItemsAndSaveNothingOnClose() {
        std::string pref = kPref;
        pref[2] = '0';
        Harness h(pref);
        QVERIFY(h.Form().FormCreate());
        QVERIFY(!Item(h.Form(), "SaveCalendar1")->isEnabled());
        QVERIFY(!Item(h.Form(), "CycleCalendar1")->isEnabled());
        h.Form().FormActivate();
        QVERIFY(Item(h.Form(), "WeeklyEntry1")->isEnabled());
        QVERIFY(!Item(h.Form(), "Archives1")->isEnabled());
        const std::string before = h.Read("cdat.ovd");
        QTest::keyClicks(h.Form().note(1), QStringLiteral("lost"));
        h.Form().show();
        QVERIFY(h.Form().close());
        QCOMPARE(h.Read("cdat.ovd"), before);
    }

    void closingSavesWhatWasTypedUnlessQuitNoSave() {
        const std::string saved = SavedCalendarWith(3, "Dentist\a");
        for (const bool no_save : { true, false }) {
            Harness h(kPref, &saved);
            QVERIFY(h.Form().FormCreate());
            h.Form().document().SetActiveNote(2);
            QTest::keyClicks(h.Form().note(1), QStringLiteral("Gym"));
            h.Form().show();
            no_save ? h.Form().QuitNoSave() : void(h.Form().close());
            QVERIFY(!h.Form().isVisible());
            DayStore store;
            QCOMPARE(ParseDayFile(h.Read("cdat.ovd"), store).value_or(0), 739);
            QCOMPARE(store[1], std::string(no_save ? "Mar/10/2024" : "Mar/10/2024Gym\a"));
            QCOMPARE(store[3], std::string("Mar/12/2024Dentist\a"));
        }
    }

    void secondInstanceTouchesNoFile() {
        Harness h;
        QLockFile first(PathText(h.data / ".Orvane.lock"));
        QVERIFY(first.tryLock(0));
        std::filesystem::remove(h.data / "pref.ovd");
        QVERIFY(!h.Form().FormCreate());
        QCOMPARE(h.notes.texts(),
            QStringList { QStringLiteral(
                "You can only have one instance of [ORVANE] running at one time.") });
        QVERIFY(h.desk.opened.isEmpty());
        QCOMPARE(h.Read("cdat.ovd"), std::string());
    }

    // The lock belongs to the data folder: other data, another user's lock in the shared
    // temporary folder, and a lock whose copy is gone never refuse a start.
    void instanceLockIsPerDataFolderAndRecoveredWhenItsCopyIsGone() {
        Harness a;
        Harness b;
        QLockFile shared(QDir::temp().filePath(QStringLiteral("Orvane.lock")));
        const bool shared_held = shared.tryLock(0);
        QVERIFY(a.Form().FormCreate());
        QVERIFY(b.Form().FormCreate());
        if (shared_held)
            shared.unlock();
        QVERIFY(a.notes.boxes.empty() && b.notes.boxes.empty());

        Harness c;
        // A save killed mid-way left its temporary file; the next start clears it.
        c.Write(".cdat.ovd.Ab12Cd", "half a calendar");
        c.Write(".notes.ovd.xYz789", "half the notes");
        c.Write(".private.Ab12Cd", "not the program's");
        const pid_t child = fork();
        if (child == 0) {
            // A copy that takes the lock and dies without letting it go.
            QLockFile dead(PathText(c.data / ".Orvane.lock"));
            _exit(dead.tryLock(0) ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY(std::filesystem::exists(c.data / ".Orvane.lock"));
        QVERIFY(c.Form().FormCreate());
        QVERIFY(c.notes.boxes.empty());
        QVERIFY(!std::filesystem::exists(c.data / ".cdat.ovd.Ab12Cd"));
        QVERIFY(!std::filesystem::exists(c.data / ".notes.ovd.xYz789"));
        QVERIFY(std::filesystem::exists(c.data / ".private.Ab12Cd"));

        // A data folder that cannot hold the lock file (here: one that cannot be written to
        // because it is not there) keeps the rule through the user's runtime folder.
        const std::filesystem::path unwritable = c.data / "not-there";
        InstanceLock first(unwritable, QStringLiteral("Orvane"));
        QCOMPARE(first.state(), InstanceLock::State::kHeld);
        QVERIFY(!first.FilePath().startsWith(PathText(c.data)));
        QCOMPARE(InstanceLock(unwritable, QStringLiteral("Orvane")).state(),
            InstanceLock::State::kHeldElsewhere);
        QCOMPARE(InstanceLock(c.data / "elsewhere", QStringLiteral("Orvane")).state(),
            InstanceLock::State::kHeld);
    }

    void missingPreferencesOpensErrorDocAndEnds() {
        Harness h("");
        QVERIFY(!h.Form().FormCreate());
        // The message names the data folder in use, wherever it is.
        QCOMPARE(h.notes.texts(),
            QStringList { QStringLiteral("A pref.ovd file must be in the folder %1.  This "
                                         "error\nis usually caused by another program attempting "
                                         "to start Orvane.")
                              .arg(PathText(h.data)) });
        QCOMPARE(h.desk.opened.size(), 1);
        QVERIFY(h.desk.opened[0].endsWith(QStringLiteral("/Error.doc")));
        QCOMPARE(h.Read("cdat.ovd"), std::string());
    }

    void badRecordCountEndsWithoutWriting() {
        const std::string damaged = "Mar/10/2024\r\nMar/11/2024\r\nMar/12/2024\r\n";
        Harness h(kPref, &damaged);
        QVERIFY(!h.Form().FormCreate());
        QCOMPARE(h.notes.texts(),
            QStringList { QStringLiteral(
                "Bad record count in cdat.ovd file. Restore latest Orvane backup and restart.") });
        QCOMPARE(h.desk.pointer_moves.size(), std::size_t(1));
        QCOMPARE(h.Read("cdat.ovd"), damaged);
    }

    void missingDayFileStopsWithoutWriting() {
        Harness h;
        std::filesystem::remove(h.data / "cdat.ovd");
        QVERIFY(!h.Form().FormCreate());
        QCOMPARE(h.notes.boxes.size(), std::size_t(1));
        QVERIFY(NamesDataFile(h.notes.boxes[0].text, "cdat.ovd"));
        QVERIFY(h.notes.boxes[0].text.contains(QStringLiteral("bdat.ovd")));
        QVERIFY(!std::filesystem::exists(h.data / "cdat.ovd"));
    }

    void failedSaveKeepsTheProgramOpen() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        h.Form().show();
        std::filesystem::remove_all(h.data);
        QVERIFY(!h.Form().close());
        QVERIFY(h.Form().isVisible());
        QCOMPARE(h.notes.boxes.size(), std::size_t(1));
        QVERIFY(NamesDataFile(h.notes.boxes[0].text, "cdat.ovd"));
        h.Form().FormActivate(); // the preferences are gone too
        QCOMPARE(h.notes.boxes.size(), std::size_t(2));
        QVERIFY(NamesDataFile(h.notes.boxes[1].text, "pref.ovd"));
        h.Form().QuitNoSave();
        QVERIFY(!h.Form().isVisible());
    }

    void typedNotesAreStoredAsDisplayLines() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        NoteEditor* note = h.Form().note(1);
        h.Form().document().SetActiveNote(2);
        QTest::keyClicks(note, QStringLiteral("A"));
        QTest::keyClick(note, Qt::Key_Return);
        QTest::keyClick(note, Qt::Key_Return);
        QTest::keyClicks(note, QStringLiteral("C"));
        QTest::keyClick(note, Qt::Key_Return); // a final line break adds no entry
        h.Form().grid().StoreActiveNote();
        QCOMPARE(h.Form().document().store()[1], std::string("Mar/10/2024A\a\aC\a"));

        note->selectAll();
        QTest::keyClick(note, Qt::Key_Delete);
        h.Form().grid().StoreActiveNote();
        QCOMPARE(h.Form().document().store()[1], std::string("Mar/10/2024"));

        const QString long_line = QStringLiteral(
            "Meet the whole planning committee at the town hall about the summer fair");
        QTest::keyClicks(note, long_line);
        const QStringList lines = note->DisplayLines();
        QVERIFY(lines.size() >= 3);
        QCOMPARE(lines.join(QString()), long_line);
        // The stored lines are the lines the editor shows on screen.
        h.Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.Form()));
        int shown = 0;
        for (QTextBlock block = note->document()->begin(); block.isValid(); block = block.next())
            shown += block.layout()->lineCount();
        QCOMPARE(shown, static_cast<int>(lines.size()));
        h.Form().grid().StoreActiveNote();
        QCOMPARE(EntryCount(h.Form().document().store()[1]), static_cast<int>(lines.size()));
    }

    void unsafeCharactersAreRefused() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        NoteEditor* note = h.Form().note(2);
        QKeyEvent bell_key(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(7)));
        QApplication::sendEvent(note, &bell_key);
        QTest::keyClicks(note, QStringLiteral("ok"));
        QCOMPARE(note->toPlainText(), QStringLiteral("ok"));
        Paste(note, QStringLiteral("a") + QChar(7) + QStringLiteral("b"));
        Paste(note, QStringLiteral("中文"));
        QCOMPARE(note->toPlainText(), QStringLiteral("ok"));
        QCOMPARE(h.notes.beeps, 3);
        Paste(note, QStringLiteral("€5\r\nnext"));
        QCOMPARE(note->toPlainText(), QStringLiteral("ok€5\nnext"));
        // Every way in, an input method's text included, for an edited and a fresh cell.
        for (NoteEditor* editor : { note, h.Form().note(7) }) {
            const QString failure = CheckInputFilter(editor, h.notes, QStringLiteral("é"));
            QVERIFY2(failure.isEmpty(), qPrintable(failure));
        }
    }

    // A non-breaking space (0xA0) is not a blank: the cell's view and its editor wrap it alike
    // and editing another part of the note stores it back unchanged.
    void nonBreakingSpacesAreWrappedAndStoredAsTheyAre() {
        DayStore store;
        NewCalendar(D(2024, 3, 10), store);
        store[4] += WithNbsp("Tea~at~5\aCall Bob\a");
        store[5] += WithNbsp("Meet~the~planning~committee~at~the hall~about~the~fair\a");
        std::string every_byte; // that a day string can hold: all but the separator, CR and LF
        for (int b = 0; b < 0x100; ++b) {
            if (b != '\a' && b != '\r' && b != '\n')
                every_byte += static_cast<char>(b);
        }
        store[6] += every_byte + "\a";
        const std::string saved = FormatDayFile(store);
        Harness h(kPref, &saved);
        QVERIFY(h.Form().FormCreate());
        std::map<int, QStringList> shown;
        for (const int cell : { 4, 5, 6 }) {
            shown[cell] = h.Form().Cell(cell).lines; // painted before any editor
            QCOMPARE(h.Form().note(cell)->DisplayLines(), shown[cell]);
            QCOMPARE(shown[cell].join(QString()).count(QChar(0xA0)),
                std::count(store[cell].begin(), store[cell].end(), '\xa0'));
        }
        QVERIFY(shown[5].size() > 1);
        h.Form().document().SetActiveNote(8);
        NoteEditor* note = h.Form().note(4);
        note->moveCursor(QTextCursor::End);
        QTest::keyClicks(note, QStringLiteral("!"));
        h.Form().grid().StoreActiveNote();
        store[4] = WithNbsp("Mar/13/2024Tea~at~5\aCall Bob!\a");
        QCOMPARE(h.Form().document().store()[4], store[4]);
        // The long entry is stored as the lines the cell showed, split where it wrapped.
        h.Form().document().SetActiveNote(10);
        QTest::keyClicks(h.Form().note(5), QStringLiteral("x"));
        QTest::keyClick(h.Form().note(5), Qt::Key_Backspace);
        h.Form().grid().StoreActiveNote();
        store[5] = store[5].substr(0, 11);
        for (const QString& line : shown[5])
            store[5] += ToCp1252(line).value() + "\a";
        QCOMPARE(h.Form().document().store()[5], store[5]);
        // Every byte comes back, in the lines the cell showed.
        h.Form().document().SetActiveNote(12);
        QTest::keyClicks(h.Form().note(6), QStringLiteral("x"));
        QTest::keyClick(h.Form().note(6), Qt::Key_Backspace);
        h.Form().grid().StoreActiveNote();
        std::string stored = h.Form().document().store()[6].substr(11);
        QCOMPARE(EntryCount(h.Form().document().store()[6]), static_cast<int>(shown[6].size()));
        std::erase(stored, '\a');
        QCOMPARE(stored, every_byte);
        store[6] = h.Form().document().store()[6];
        QVERIFY(h.Form().SaveCalendar());
        QCOMPARE(h.Read("cdat.ovd"), FormatDayFile(store));
    }

    void twentyLineGuardRefusesWithoutDeleting() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        NoteEditor* note = h.Form().note(3);
        QStringList twenty;
        for (int i = 1; i <= 20; ++i)
            twenty << QString::number(i);
        Paste(note, twenty.join(QLatin1Char('\n')));
        QCOMPARE(note->DisplayLines().size(), 20);
        QTest::keyClick(note, Qt::Key_Return); // an empty last line is allowed and not counted
        QTest::keyClicks(note, QStringLiteral("x"));
        QCOMPARE(note->DisplayLines().size(), 20);
        QCOMPARE(note->toPlainText(), twenty.join(QLatin1Char('\n')) + QLatin1Char('\n'));
        Paste(note, QStringLiteral("a\nb"));
        QCOMPARE(note->DisplayLines().size(), 20);
        QTest::keyClick(note, Qt::Key_Backspace);
        QTest::keyClick(note, Qt::Key_Backspace);
        QCOMPARE(note->DisplayLines().last(), QStringLiteral("2"));
        QVERIFY(h.notes.beeps >= 2);
    }

    void overflowMarkerAndPreview() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        h.Form().show();
        auto fill = [&](int cell, int lines) {
            QStringList text;
            for (int i = 1; i <= lines; ++i)
                text << QStringLiteral("line %1").arg(i);
            h.Form().note(cell)->setPlainText(text.join(QLatin1Char('\n')));
        };
        fill(3, 9);
        QVERIFY(!CellOf(h.Form(), 3)->overflow());
        fill(3, 10);
        QVERIFY(CellOf(h.Form(), 3)->overflow());

        const QPoint on_marker = DayCell::MarkerRect().center();
        QTest::mouseMove(CellOf(h.Form(), 3), on_marker);
        auto* preview = h.Form().findChild<QPlainTextEdit*>(QStringLiteral("Memo85"));
        QVERIFY(preview != nullptr);
        QTRY_VERIFY(preview->isVisible());
        QCOMPARE(preview->geometry(), QRect(364 + 2, 37 + 19, 182, 294));
        QVERIFY(preview->toPlainText().endsWith(QStringLiteral("line 10")));

        fill(30, 12); // bottom row: the preview opens upward
        QTest::mouseMove(CellOf(h.Form(), 30), on_marker);
        QTRY_COMPARE(preview->geometry(), QRect(182 + 2, 593 - 294, 182, 294));
        QTest::mouseMove(h.Form().note(10)->viewport(), QPoint(10, 10));
        QTRY_VERIFY(!preview->isVisible());
    }

    void refillsLeaveUntouchedDaysByteIdentical() {
        DayStore store;
        NewCalendar(D(2024, 3, 10), store);
        store[2] += std::string(600, 'w') + "\a";
        store[3] += "An entry that is much wider than the cell it is shown in, by far\a";
        for (int i = 1; i <= 20; ++i)
            store[4] += (i == 7 ? std::string(90, 'y') : "entry " + std::to_string(i)) + "\a";
        store[5] += "tail kept\aafter the last separator";
        const std::string saved = FormatDayFile(store);
        Harness h(kPref, &saved);
        QVERIFY(h.Form().FormCreate());
        h.Form().show();
        for (int cell = 2; cell <= 5; ++cell)
            h.Form().note(cell); // editors that show the notes as wrapped lines
        for (int i = 0; i < 3; ++i)
            h.Form().grid().FillOutCalendar();
        h.Form().grid().StoreActiveNote();
        h.Form().Dn1Click();
        h.Form().Up1Click();
        QVERIFY(h.Form().SaveCalendar());
        QCOMPARE(h.Read("cdat.ovd"), saved);
    }

    // An operation first stores the note being typed, in a change of its own, and the grid then
    // shows what the operation made of the day: the grid is never stale.
    void theTypedNoteIsStoredBeforeAnOperationAndTheGridFollows() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        h.Form().document().SetActiveNote(2);
        QTest::keyClicks(h.Form().note(1), QStringLiteral("typed"));
        std::vector<ChangeReport> reports;
        class Listener final : public DocumentListener {
        public:
            explicit Listener(std::vector<ChangeReport>& reports)
                : reports_(reports) { }
            void Changed(const CalendarDocument&, const ChangeReport& report) override {
                reports_.push_back(report);
            }

        private:
            std::vector<ChangeReport>& reports_;
        } listener(reports);
        h.Form().document().AddListener(&listener);
        h.Form().document().Run(OperationKind::kApplyEntry, "Daily Entry 'x'",
            [](DocumentEdit& edit) { InsertFirstEntry(edit.Day(1), "x"); });
        h.Form().document().RemoveListener(&listener);
        QCOMPARE(reports.size(), std::size_t(2));
        QCOMPARE(reports[0].kind, OperationKind::kStoreNote);
        QCOMPARE(reports[0].days.at(0).after, std::string("Mar/10/2024typed\a"));
        QCOMPARE(reports[1].days.at(0).after, std::string("Mar/10/2024x\atyped\a"));
        QCOMPARE(h.Form().note(1)->toPlainText(), QStringLiteral("x\ntyped"));
        QVERIFY(!h.Form().note(1)->changed());
    }

    void typedTextSurvivesAMonthJump() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        h.Form().document().SetActiveNote(4);
        QTest::keyClicks(h.Form().note(2), QStringLiteral("keep me"));
        const auto items = h.Form().RebuildMonthMenu();
        QCOMPARE(items[0].caption, std::string("Mar   2024"));
        QCOMPARE(h.Form().MonthAction(3)->text(), QStringLiteral("May  2024"));
        h.Form().Date1Click(3);
        QCOMPARE(h.Form().document().TopSlot(), items[2].slot);
        QCOMPARE(h.Form().document().store()[2], std::string("Mar/11/2024keep me\a"));
        QVERIFY(h.notes.boxes.empty());
    }

    void navigationAndPageKeys() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        h.Form().document().SetActiveNote(2);
        h.Form().Dn1Click();
        QCOMPARE(h.Form().document().TopSlot(), 8);
        QCOMPARE(CellOf(h.Form(), 1)->header_text(), QStringLiteral("Mar 17, 2024"));
        QTest::keyClick(h.Form().note(3), Qt::Key_PageDown);
        QCOMPARE(h.Form().document().TopSlot(), 22); // the row holding 1 April 2024
        QTest::keyClick(CellOf(h.Form(), 3), Qt::Key_PageUp); // from a date header
        QCOMPARE(h.Form().document().TopSlot(), 1);
        h.Form().Up1Click();
        QCOMPARE(h.Form().document().TopSlot(), 1);
    }

    void functionKeysWorkWithMenusClosedWhenEnabled() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        int daily = 0;
        int search = 0;
        h.Form().SetCommand(Command::kDailyEntry, [&] { ++daily; });
        h.Form().SetCommand(Command::kSearch, [&] { ++search; });
        h.Form().show();
        QApplication::setActiveWindow(&h.Form());
        QVERIFY(QTest::qWaitForWindowActive(&h.Form()));
        QTRY_VERIFY(h.Form().activation_count() > 0);
        // Typing starts in the first note, so a dialog opened at once stores it without a box.
        QCOMPARE(QApplication::focusWidget(), h.Form().note(1));
        QCOMPARE(h.Form().document().ActiveNote(), 2);
        h.Form().grid().StoreActiveNote();
        QVERIFY(h.notes.boxes.empty());
        Item(h.Form(), "DailyEntry1")->setEnabled(false);
        QTest::keyClick(&h.Form(), Qt::Key_F1);
        QCOMPARE(daily, 0);
        Item(h.Form(), "DailyEntry1")->setEnabled(true);
        QTest::keyClick(&h.Form(), Qt::Key_F1);
        QTest::keyClick(&h.Form(), Qt::Key_F9);
        QCOMPARE(daily, 1);
        QCOMPARE(search, 1);
        Item(h.Form(), "Instructions1")->trigger();
        QCOMPARE(h.desk.opened,
            QStringList { h.options.program_dir + QStringLiteral("/Help/Orvane.html") });
    }

    // From a note, every menu command is its menu's key and one letter (or one function key), and
    // every toolbar move one key: never more than three presses.
    void everyCommandIsAFewKeysFromANote() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        TForm1& form = h.Form();
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const std::map<MenuName, QKeyCombination> menu_keys
            = { { MenuName::kFile, Qt::ALT | Qt::Key_F }, { MenuName::kCal, Qt::ALT | Qt::Key_C },
                  { MenuName::kHelp, Qt::ALT | Qt::Key_H } };
        std::map<MenuName, QString> letters;
        for (const CommandItem& item : kCommandItems) {
            // Each mnemonic is a letter of its caption and no other item of the menu has it.
            const QChar letter = QChar::fromLatin1(item.mnemonic).toUpper();
            QVERIFY2(QString::fromLatin1(item.caption).contains(QChar::fromLatin1(item.mnemonic)),
                item.caption);
            QVERIFY2(!letters[item.menu].contains(letter), item.caption);
            letters[item.menu] += letter;
            QCOMPARE(form.action(item.command)->text().remove(QLatin1Char('&')),
                QString::fromLatin1(item.caption));

            int runs = 0;
            form.SetCommand(item.command, [&runs] { ++runs; });
            form.action(item.command)->setEnabled(true);
            form.note(3)->setFocus();
            QTest::keyClick(form.note(3), menu_keys.at(item.menu).key(), Qt::AltModifier);
            QMenu* menu = form.menu(item.menu);
            QTRY_VERIFY(menu->isVisible());
            QTest::keyClick(menu, letter.toLatin1());
            QTRY_COMPARE(runs, 1);
            QVERIFY(!menu->isVisible());
        }

        // The toolbar's moves, each one key from a note, and each press counts however quickly the
        // next one follows; Dates opens its menu.
        QTest::keyClick(form.note(3), Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(form.document().TopSlot(), 8);
        QTest::keyClick(form.note(3), Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(form.document().TopSlot(), 15);
        QTest::keyClick(form.note(3), Qt::Key_Up, Qt::AltModifier);
        QCOMPARE(form.document().TopSlot(), 8);
        QTest::keyClick(form.note(3), Qt::Key_Home, Qt::AltModifier);
        QCOMPARE(form.document().TopSlot(), 1);
        QTest::keyClick(form.note(3), Qt::Key_D, Qt::AltModifier);
        QTRY_VERIFY(form.findChild<QMenu*>(QStringLiteral("DatesMenu"))->isVisible());
        QTest::keyClick(form.findChild<QMenu*>(QStringLiteral("DatesMenu")), Qt::Key_Escape);
        auto* week_later = form.findChild<QToolButton*>(QStringLiteral("SpeedButton7"));
        QCOMPARE(week_later->toolTip(),
            QStringLiteral("One week later (%1)")
                .arg(QKeySequence(Qt::ALT | Qt::Key_Down).toString(QKeySequence::NativeText)));
    }

    // The Undo and Redo items name the step they take back or make again and are enabled only
    // when there is one; Ctrl+Z in a note undoes its typing while it has any, and the document's
    // last step otherwise.
    void undoAndRedoNameTheirStepAndLeaveTypingToTheNote() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        TForm1& form = h.Form();
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QAction* undo = Item(form, "Undo1");
        QAction* redo = Item(form, "Redo1");
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));
        QVERIFY(!undo->isEnabled());
        QVERIFY(!redo->isEnabled());
        QCOMPARE(redo->shortcuts(),
            (QList<QKeySequence> { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                QKeySequence(Qt::CTRL | Qt::Key_Y) }));
        QCOMPARE(form.menu(MenuName::kCal)->actions().at(0), undo);
        QCOMPARE(form.menu(MenuName::kCal)->actions().at(1), redo);

        const std::string bare = form.document().store()[5];
        form.document().Run(OperationKind::kApplyEntry, "Weekly Entry 'Bob & Ann'",
            [](DocumentEdit& edit) { edit.Day(5) += "Bob & Ann\a"; });
        QCOMPARE(undo->text(), QStringLiteral("&Undo Weekly Entry 'Bob && Ann'"));
        QVERIFY(undo->isEnabled());
        QVERIFY(!redo->isEnabled());

        // A note with nothing of its own to undo passes the keys on.
        form.note(3)->setFocus();
        QTest::keyClick(form.note(3), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form.document().store()[5], bare);
        QCOMPARE(form.note(5)->toPlainText(), QString());
        QVERIFY(!undo->isEnabled());
        QCOMPARE(redo->text(), QStringLiteral("&Redo Weekly Entry 'Bob && Ann'"));
        QTest::keyClick(form.note(3), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(form.document().store()[5], bare + "Bob & Ann\a");
        QCOMPARE(form.note(5)->toPlainText(), QStringLiteral("Bob & Ann"));

        // Typing is the note's to undo while it has the focus.
        QTest::keyClicks(form.note(3), QStringLiteral("abc"));
        QTest::keyClick(form.note(3), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form.note(3)->toPlainText(), QString());
        QCOMPARE(form.document().store()[5], bare + "Bob & Ann\a");
        QCOMPARE(undo->text(), QStringLiteral("&Undo Weekly Entry 'Bob && Ann'"));
        QVERIFY(!redo->isEnabled()); // the document's history was not touched
        QTest::keyClick(form.note(3), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(form.note(3)->toPlainText(), QStringLiteral("abc"));
        QVERIFY(!redo->isEnabled());
        QTest::keyClick(form.note(3), Qt::Key_Z, Qt::ControlModifier);

        // Once the note is left, what it stored is one step.
        QTest::keyClicks(form.note(3), QStringLiteral("xyz"));
        form.note(4)->setFocus();
        QCOMPARE(form.document().store()[3], std::string("Mar/12/2024xyz\a"));
        QCOMPARE(undo->text(), QStringLiteral("&Undo Typing"));
        QTest::keyClick(form.note(4), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form.document().store()[3], std::string("Mar/12/2024"));
        QCOMPARE(form.note(3)->toPlainText(), QString());
        QCOMPARE(redo->text(), QStringLiteral("&Redo Typing"));
        QVERIFY(h.notes.boxes.empty());

        // A step whose file changed since is refused with a warning that says so.
        h.Write("fdat.ovd", "W1\r\n");
        form.document().Run(
            OperationKind::kDeleteEntries, "Delete Entry 'Bob & Ann'", [&](DocumentEdit& edit) {
                edit.Day(5) = bare;
                QVERIFY(edit.WriteFile(h.data / "fdat.ovd", ""));
            });
        h.Write("fdat.ovd", "W2\r\n");
        undo->trigger();
        QCOMPARE(h.notes.texts(),
            QStringList { QStringLiteral(
                "Cannot undo Delete Entry 'Bob & Ann': fdat.ovd has changed since.") });
        QCOMPARE(form.document().store()[5], bare);
        QVERIFY(undo->isEnabled());
    }

    void cellsShowNotesBeforeTheirEditorExists() {
        const std::string saved
            = SavedCalendarWith(10, "Dentist 9:30\aCall Bob about the weekend plans\a\aC\a");
        Harness h(kPref, &saved);
        QVERIFY(h.Form().FormCreate());
        h.Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.Form()));
        auto* view = h.Form().findChild<NoteView*>(QStringLiteral("Memo20"));
        QVERIFY(view != nullptr);
        QVERIFY(h.Form().findChild<NoteEditor*>(QStringLiteral("Memo20")) == nullptr);
        const QImage shown = view->grab().toImage();
        const GridCellView before = h.Form().Cell(10);
        // The editor that replaces the view shows the same pixels and the same lines.
        NoteEditor* editor = h.Form().note(10);
        QCOMPARE(editor->objectName(), QStringLiteral("Memo20"));
        QVERIFY(!view->isVisible());
        QCOMPARE(h.Form().Cell(10).lines, before.lines);
        QCOMPARE(editor->grab().toImage().convertToFormat(QImage::Format_RGB32),
            shown.convertToFormat(QImage::Format_RGB32));
        QVERIFY(!editor->changed());
    }

    void clickingAViewEditsWhereThePointerIs() {
        const std::string saved = SavedCalendarWith(12, "first\asecond\athird\a");
        Harness h(kPref, &saved);
        QVERIFY(h.Form().FormCreate());
        h.Form().show();
        QApplication::setActiveWindow(&h.Form());
        QVERIFY(QTest::qWaitForWindowActive(&h.Form()));
        auto* view = h.Form().findChild<NoteView*>(QStringLiteral("Memo24"));
        const int second_line_y = 2 + QFontMetrics(view->font()).height() * 3 / 2;
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(40, second_line_y));
        auto* editor = h.Form().findChild<NoteEditor*>(QStringLiteral("Memo24"));
        QVERIFY(editor != nullptr);
        QTRY_COMPARE(QApplication::focusWidget(), editor);
        QCOMPARE(editor->textCursor().blockNumber(), 1);
        QCOMPARE(h.Form().document().ActiveNote(), 24);
        // Only the clicked cell got its editor.
        QVERIFY(h.Form().findChild<NoteEditor*>(QStringLiteral("Memo26")) == nullptr);
        QTest::keyClicks(editor, QStringLiteral("!"));
        // Tab leaves the note, which stores it, and moves on to the next day.
        QTest::keyClick(editor, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(),
            static_cast<QWidget*>(h.Form().findChild<NoteEditor*>(QStringLiteral("Memo26"))));
        QCOMPARE(h.Form().document().ActiveNote(), 26);
        const std::vector<std::string> entries = Entries(h.Form().document().store()[12]);
        QCOMPARE(entries.size(), std::size_t(3));
        QCOMPARE(entries[0], std::string("first"));
        QVERIFY(entries[1].find('!') != std::string::npos);
        QCOMPARE(entries[1].size(), std::size_t(7));
    }

    void textDraggedOverAnUneditedCellGetsItsEditor() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        h.Form().show();
        auto* view = h.Form().findChild<NoteView*>(QStringLiteral("Memo30"));
        QMimeData dragged;
        dragged.setText(QStringLiteral("moved text"));
        QDragEnterEvent enter(
            QPoint(10, 10), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &enter);
        QVERIFY(enter.isAccepted());
        auto* editor = h.Form().findChild<NoteEditor*>(QStringLiteral("Memo30"));
        QVERIFY(editor != nullptr);
        QVERIFY(editor->isVisible());
        QVERIFY(!view->isVisible());
        QVERIFY(editor->acceptDrops());
    }

    void appliedPreferencesChangeOnlyWhatTheDialogApplies() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        Preferences prefs = h.Form().document().prefs();
        // A colour tried out while the saved flag is cleared in memory leaves the menus alone.
        prefs.set_flag(Flag::PreferencesSaved, '0');
        prefs.set_flag(Flag::CellColor, '5');
        h.Form().document().SetPreferences(prefs);
        QVERIFY(Item(h.Form(), "SaveCalendar1")->isEnabled());
        QCOMPARE(h.Form().note(2)->palette().color(QPalette::Base), QColor(255, 153, 0));
        // Titles apply at once; bold notes wait for the next start.
        prefs.set_flag(Flag::CustomTitles, '1');
        prefs.DayTitles = { "Dom", "Lun", "Mar", "Mie", "Jue", "Vie", "Sab" };
        prefs.set_flag(Flag::DataBoldFont, '1');
        h.Form().document().SetPreferences(prefs);
        h.Form().SetNoteFontFamily(QStringLiteral("Verdana"));
        QCOMPARE(h.Form().DayTitleTexts().first(), QStringLiteral("Dom"));
        QVERIFY(!h.Form().NoteFont().bold());
    }

    // After a move the keyboard stays in the cell (row and column) it was in, on the day that
    // cell shows now; the fill stores nothing, and the entry dialogs propose that day.
    void theFocusStaysInItsCellAcrossMoves() {
        const std::string saved = SavedCalendarWith(20, "Untouched\a");
        Harness h(kPref, &saved);
        QVERIFY(h.Form().FormCreate());
        h.Form().show();
        QApplication::setActiveWindow(&h.Form());
        QVERIFY(QTest::qWaitForWindowActive(&h.Form()));
        h.Form().grid().FocusCell(10);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(h.Form().note(10)));
        for (auto move : { &TForm1::Dn1Click, &TForm1::Dn7Click, &TForm1::TopClick }) {
            (h.Form().*move)();
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(h.Form().note(10)));
            QCOMPARE(h.Form().grid().FocusedCell(), 10);
            QCOMPARE(h.Form().document().ActiveNote(), 20);
            QCOMPARE(h.Form().document().ActiveSlot(), h.Form().document().TopSlot() + 9);
        }
        h.Form().Date1Click(2);
        QCOMPARE(h.Form().grid().FocusedCell(), 10);
        QCOMPARE(h.Form().document().store()[20], std::string("Mar/29/2024Untouched\a"));
    }

    // A search result puts the keyboard in its day's note with the match selected, counted in
    // the note's text with a line break between entries, and tells where that day's cell is; a
    // day the grid does not show is left alone.
    void aFoundDayGetsTheFocusWithTheMatchSelected() {
        const std::string saved = SavedCalendarWith(20, "Fetch X-rays\aCall the DENTIST\a");
        Harness h(kPref, &saved);
        QVERIFY(h.Form().FormCreate());
        h.Form().show();
        QApplication::setActiveWindow(&h.Form());
        QVERIFY(QTest::qWaitForWindowActive(&h.Form()));
        TForm1& form = h.Form();
        struct Case {
            int top;
            int position;
            int length;
            const char* selected;
        };
        for (const Case& c : { Case { 1, 22, 7, "DENTIST" }, Case { 8, 0, 5, "Fetch" },
                 Case { 15, 25, 100, "TIST" }, Case { 15, -3, 4, "F" } }) {
            form.document().MoveWindow(c.top);
            const int cell = 20 - c.top + 1;
            const QRect shown = form.SelectInNote(20, c.position, c.length, true);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.note(cell)));
            QCOMPARE(form.note(cell)->textCursor().selectedText(), QString::fromLatin1(c.selected));
            QCOMPARE(form.document().ActiveSlot(), 20);
            const DayCell* day = CellOf(form, cell);
            QCOMPARE(shown, QRect(day->mapToGlobal(QPoint(0, 0)), day->size()));
        }
        // Nothing stored changed.
        QCOMPARE(form.document().store()[20],
            std::string("Mar/29/2024Fetch X-rays\aCall the DENTIST\a"));
        // The day above the grid: no cell, no focus change.
        form.document().MoveWindow(22);
        const QWidget* focused = QApplication::focusWidget();
        QVERIFY(form.SelectInNote(20, 0, 5, true).isEmpty());
        QVERIFY(form.SelectInNote(57, 0, 5, true).isEmpty());
        QCOMPARE(QApplication::focusWidget(), focused);
        QCOMPARE(form.document().ActiveSlot(), 27); // the focused cell's day since the move
    }

    // Ctrl+arrows go to the neighbouring day, a week of the grid further at its edges; Ctrl+Home
    // goes to today wherever the grid is.
    void keysMoveBetweenDaysAndToToday() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        h.Form().show();
        QApplication::setActiveWindow(&h.Form());
        QVERIFY(QTest::qWaitForWindowActive(&h.Form()));
        TForm1& form = h.Form();
        form.grid().FocusCell(9);
        const auto press = [&](Qt::Key key) {
            QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
            return std::make_pair(form.document().TopSlot(), form.grid().FocusedCell());
        };
        QCOMPARE(press(Qt::Key_Right), std::make_pair(1, 10));
        QCOMPARE(press(Qt::Key_Left), std::make_pair(1, 9));
        QCOMPARE(press(Qt::Key_Up), std::make_pair(1, 2));
        QCOMPARE(press(Qt::Key_Up), std::make_pair(1, 2)); // the first week: nowhere to go
        QCOMPARE(press(Qt::Key_Left), std::make_pair(1, 1));
        form.grid().FocusCell(35);
        QCOMPARE(press(Qt::Key_Right), std::make_pair(8, 29)); // the next Sunday, a week on
        QCOMPARE(press(Qt::Key_Down), std::make_pair(15, 29));
        form.Dn7Click();
        form.Dn7Click();
        QCOMPARE(press(Qt::Key_Home), std::make_pair(1, 5)); // 14 March 2024 in the first week
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.note(5)));
        // In the text the keys still edit as usual.
        QTest::keyClicks(form.note(5), QStringLiteral("ab"));
        QTest::keyClick(form.note(5), Qt::Key_Left);
        QCOMPARE(form.note(5)->textCursor().position(), 1);
    }

    // The whole Saturday column fits; each arrow sits right after its own caption; saving says
    // so; the month menu's years line up.
    void whatTheUserSees() {
        Harness h;
        QVERIFY(h.Form().FormCreate());
        TForm1& form = h.Form();
        QWidget* saturday = form.findChild<QWidget*>(QStringLiteral("Panelb14"));
        QVERIFY(saturday->mapTo(&form, QPoint(saturday->width(), 0)).x() <= form.width());
        for (int i : { 6, 7, 9, 10 }) {
            auto* button = qobject_cast<ArrowButton*>(
                form.findChild<QToolButton*>(QStringLiteral("SpeedButton%1").arg(i)));
            QVERIFY(button);
            QCOMPARE(
                button->text().trimmed(), i < 8 ? QStringLiteral("Week") : QStringLiteral("Month"));
            const QRect arrow = button->ArrowRect();
            QVERIFY(button->rect().contains(arrow));
            QVERIFY(arrow.left() - button->CaptionRect().right() <= 4);
            // Nearer its own caption than the next button's.
            QVERIFY(button->width() - arrow.right() > arrow.left() - button->CaptionRect().right());
        }
        form.action(Command::kSaveCalendar)->trigger();
        QCOMPARE(form.toolbar().status_label()->text(), QStringLiteral("Saved at 09:00"));
        QCOMPARE(form.action(Command::kSaveCalendar)->shortcut(),
            QKeySequence(QStringLiteral("Ctrl+S")));

        // Two captions whose blanks differ in width draw their years at the same place.
        QMenu* dates = form.menu(MenuName::kFile)
                           ->parentWidget()
                           ->findChild<QMenu*>(QStringLiteral("DatesMenu"));
        QVERIFY(dates);
        const auto draw = [dates](const QString& caption) {
            QStyleOptionMenuItem item;
            item.initFrom(dates);
            item.menuItemType = QStyleOptionMenuItem::Normal;
            item.text = caption;
            item.font = dates->font();
            item.rect = QRect(0, 0, 160, 20);
            QImage image(160, 20, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            dates->style()->drawControl(QStyle::CE_MenuItem, &item, &painter, dates);
            return image;
        };
        const QImage may = draw(QStringLiteral("May  2024"));
        const QImage march = draw(QStringLiteral("Mar   2024"));
        QCOMPARE(may.copy(110, 0, 50, 20), march.copy(110, 0, 50, 20));
        QVERIFY(
            may.copy(110, 0, 50, 20) != draw(QStringLiteral("Mar   2025")).copy(110, 0, 50, 20));
    }

    // Every visible day is read with its note before any editor exists, today and the first of
    // a month are said, and the main window is a window to a screen reader.
    void aScreenReaderHearsEveryDay() {
        const std::string saved = SavedCalendarWith(10, "Dentist 9:30\aCall Bob\a");
        Harness h(kPref, &saved);
        QVERIFY(h.Form().FormCreate());
        QAccessible::setActive(true);
        auto* view = h.Form().findChild<NoteView*>(QStringLiteral("Memo20"));
        QVERIFY(view);
        QAccessibleInterface* note = QAccessible::queryAccessibleInterface(view);
        QVERIFY(note);
        QCOMPARE(note->role(), QAccessible::EditableText);
        QCOMPARE(note->text(QAccessible::Name), QStringLiteral("Tuesday 19 March 2024"));
        QAccessibleTextInterface* text = note->textInterface();
        QVERIFY(text);
        QCOMPARE(text->text(0, text->characterCount()), QStringLiteral("Dentist 9:30\nCall Bob"));
        QCOMPARE(note->text(QAccessible::Value), QStringLiteral("Dentist 9:30\nCall Bob"));
        const auto description = [&](int cell) {
            return QAccessible::queryAccessibleInterface(
                h.Form().findChild<NoteView*>(QStringLiteral("Memo%1").arg(2 * cell)))
                ->text(QAccessible::Description);
        };
        QCOMPARE(description(5), QStringLiteral("today"));
        QCOMPARE(description(23), QStringLiteral("first of month")); // 1 April 2024
        QCOMPARE(description(6), QString());
        QVERIFY(h.Form().findChildren<NoteEditor*>().isEmpty()); // no editor was needed
        QCOMPARE(QAccessible::queryAccessibleInterface(&h.Form())->role(), QAccessible::Window);
        // The editor that takes a view's place says the same.
        QCOMPARE(
            QAccessible::queryAccessibleInterface(h.Form().note(5))->text(QAccessible::Description),
            QStringLiteral("today"));
    }

    void applicationTitleKeepsFirstCharacter() {
        QCOMPARE(ApplicationTitle(QStringLiteral("/opt/x/orvane")), QStringLiteral("orvane"));
        QCOMPARE(ApplicationTitle(QStringLiteral("C:/x/ORVANE.exe")), QStringLiteral("Orvane"));
    }
};

QTEST_MAIN(TForm1Test)
#include "t_form1_test.moc"
