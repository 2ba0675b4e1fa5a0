// The main window: start-up and the ways it ends, typing into the notes and storing them, moving
// around the grid, the menus' keys, undo and what a screen reader hears. The rules behind the
// cells, the month moves and the stored lines are the model's and tested there.
#include "core/entry_limit.h"
#include "core/ui/testing/input_checks.h"
#include "core/ui/text_codec.h"
#include "mainwindow/ui/instance_lock.h"
#include "mainwindow/ui/tests/form_harness.h"
#include "mainwindow/ui/toolbar.h"

#include <QAccessible>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextLayout>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvane;

namespace {

void Paste(NoteEditor* note, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    note->paste();
}

} // namespace

class TForm1Test : public QObject {
    Q_OBJECT
private slots:
    void startupCreatesANewCalendarFromToday() {
        Harness h;
        TForm1& form = h.Start();
        QCOMPARE(SplitLines(h.Read("cdat.ovd")).size(), std::size_t(738));
        QCOMPARE(form.document().store()[1], std::string("Mar/10/2024"));
        QCOMPARE(CellOf(form, 1)->header_text(), QStringLiteral("Mar 10, 2024"));
        QCOMPARE(CellOf(form, 5)->header_text(), QStringLiteral("14"));
        // Today's colours reach its note; the grey behind the cells shows as grid lines.
        QCOMPARE(CellOf(form, 5)->date_colour(), QColor(255, 0, 0));
        QCOMPARE(form.note(5)->palette().color(QPalette::Base), QColor(255, 255, 0));
        const QImage grid = form.grid().grab(QRect(0, 0, 4, 4)).toImage();
        QCOMPARE(QColor(grid.pixel(0, 0)), QColor(128, 128, 128));
        QVERIFY(h.notes.boxes.empty());
        // Entry items wait for the first activation.
        QVERIFY(!Item(form, "DailyEntry1")->isEnabled());
        form.FormActivate();
        QVERIFY(Item(form, "DailyEntry1")->isEnabled());
    }

    void unsavedPreferencesDisableItemsAndSaveNothingOnClose() {
        std::string pref = kPref;
        pref[2] = '0';
        Harness h({}, pref);
        TForm1& form = h.Start();
        QVERIFY(!Item(form, "SaveCalendar1")->isEnabled());
        form.FormActivate();
        QVERIFY(!Item(form, "Archives1")->isEnabled());
        const std::string before = h.Read("cdat.ovd");
        QTest::keyClicks(form.note(1), QStringLiteral("lost"));
        form.show();
        QVERIFY(form.close());
        QCOMPARE(h.Read("cdat.ovd"), before);
    }

    void closingSavesWhatWasTypedUnlessQuitNoSave() {
        const std::string saved = SavedCalendarWith(3, "Dentist\a");
        for (const bool no_save : { true, false }) {
            Harness h(saved);
            TForm1& form = h.Start();
            form.document().SetActiveNote(2);
            QTest::keyClicks(form.note(1), QStringLiteral("Gym"));
            form.show();
            no_save ? form.QuitNoSave() : void(form.close());
            QVERIFY(!form.isVisible());
            DayStore store;
            QCOMPARE(ParseDayFile(h.Read("cdat.ovd"), store).value_or(0), 739);
            QCOMPARE(store[1], std::string(no_save ? "Mar/10/2024" : "Mar/10/2024Gym\a"));
            QCOMPARE(store[3], std::string("Mar/12/2024Dentist\a"));
        }
    }

    // One running copy per data folder; a lock whose copy died is taken over, and the start
    // clears the temporary files a save killed mid-way left behind.
    void instanceLockIsPerDataFolderAndRecoveredWhenItsCopyIsGone() {
        Harness a;
        QLockFile first(PathText(a.data / ".Orvane.lock"));
        QVERIFY(first.tryLock(0));
        QVERIFY(!a.Form().FormCreate());
        QCOMPARE(a.notes.texts(),
            QStringList { QStringLiteral(
                "You can only have one instance of [ORVANE] running at one time.") });
        QCOMPARE(a.Read("cdat.ovd"), std::string());

        Harness b;
        b.Write(".cdat.ovd.Ab12Cd", "half a calendar");
        b.Write(".private.Ab12Cd", "not the program's");
        const pid_t child = fork();
        if (child == 0) {
            QLockFile dead(PathText(b.data / ".Orvane.lock"));
            _exit(dead.tryLock(0) ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY(b.Form().FormCreate());
        QVERIFY(b.notes.boxes.empty());
        QVERIFY(!b.Exists(".cdat.ovd.Ab12Cd"));
        QVERIFY(b.Exists(".private.Ab12Cd"));

        // A data folder that cannot hold the lock file keeps the rule through the runtime folder.
        const std::filesystem::path unwritable = b.data / "not-there";
        InstanceLock held(unwritable, QStringLiteral("Orvane"));
        QCOMPARE(held.state(), InstanceLock::State::kHeld);
        QCOMPARE(InstanceLock(unwritable, QStringLiteral("Orvane")).state(),
            InstanceLock::State::kHeldElsewhere);
        QCOMPARE(InstanceLock(b.data / "elsewhere", QStringLiteral("Orvane")).state(),
            InstanceLock::State::kHeld);
    }

    // Each start that cannot go on says why and leaves the day file as it was.
    void startupFailuresSayWhyAndWriteNothing() {
        Harness no_prefs({}, "");
        QVERIFY(!no_prefs.Form().FormCreate());
        QCOMPARE(no_prefs.notes.texts(),
            QStringList { QStringLiteral("A pref.ovd file must be in the folder %1.  This "
                                         "error\nis usually caused by another program attempting "
                                         "to start Orvane.")
                              .arg(PathText(no_prefs.data)) });
        QCOMPARE(no_prefs.desk.opened.size(), 1);
        QVERIFY(no_prefs.desk.opened[0].endsWith(QStringLiteral("/Error.doc")));
        QCOMPARE(no_prefs.Read("cdat.ovd"), std::string());

        const std::string damaged = "Mar/10/2024\r\nMar/11/2024\r\nMar/12/2024\r\n";
        Harness bad_count(damaged);
        QVERIFY(!bad_count.Form().FormCreate());
        QCOMPARE(bad_count.notes.texts(),
            QStringList { QStringLiteral(
                "Bad record count in cdat.ovd file. Restore latest Orvane backup and restart.") });
        QCOMPARE(bad_count.Read("cdat.ovd"), damaged);

        Harness no_days;
        std::filesystem::remove(no_days.data / "cdat.ovd");
        QVERIFY(!no_days.Form().FormCreate());
        QCOMPARE(no_days.notes.boxes.size(), std::size_t(1));
        QVERIFY(NamesDataFile(no_days.notes.boxes[0].text, "cdat.ovd"));
        QVERIFY(no_days.notes.boxes[0].text.contains(QStringLiteral("bdat.ovd")));
        QVERIFY(!no_days.Exists("cdat.ovd"));
    }

    // A save says so; one that fails says why and keeps the program open.
    void aFailedSaveKeepsTheProgramOpen() {
        Harness h;
        TForm1& form = h.Start();
        form.show();
        form.action(Command::kSaveCalendar)->trigger();
        QCOMPARE(form.toolbar().status_label()->text(), QStringLiteral("Saved at 09:00"));
        std::filesystem::remove_all(h.data);
        QVERIFY(!form.close());
        QVERIFY(form.isVisible());
        QCOMPARE(h.notes.boxes.size(), std::size_t(1));
        QVERIFY(NamesDataFile(h.notes.boxes[0].text, "cdat.ovd"));
        form.QuitNoSave();
        QVERIFY(!form.isVisible());
    }

    // The stored lines are the lines the editor shows on screen, wrapped ones included.
    void typedNotesAreStoredAsDisplayLines() {
        Harness h;
        TForm1& form = h.Start(true);
        NoteEditor* note = form.note(1);
        form.document().SetActiveNote(2);
        QTest::keyClicks(note, QStringLiteral("A"));
        QTest::keyClick(note, Qt::Key_Return);
        QTest::keyClick(note, Qt::Key_Return);
        QTest::keyClicks(note, QStringLiteral("C"));
        QTest::keyClick(note, Qt::Key_Return); // a final line break adds no entry
        form.grid().StoreActiveNote();
        QCOMPARE(form.document().store()[1], std::string("Mar/10/2024A\a\aC\a"));

        note->clear();
        const QString long_line = QStringLiteral(
            "Meet the whole planning committee at the town hall about the summer fair");
        QTest::keyClicks(note, long_line);
        const QStringList lines = note->DisplayLines();
        QVERIFY(lines.size() >= 3);
        QCOMPARE(lines.join(QString()), long_line);
        int shown = 0;
        for (QTextBlock block = note->document()->begin(); block.isValid(); block = block.next())
            shown += block.layout()->lineCount();
        QCOMPARE(shown, static_cast<int>(lines.size()));
        form.grid().StoreActiveNote();
        QCOMPARE(EntryCount(form.document().store()[1]), static_cast<int>(lines.size()));
    }

    void unsafeCharactersAreRefused() {
        Harness h;
        TForm1& form = h.Start();
        NoteEditor* note = form.note(2);
        QKeyEvent bell_key(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(7)));
        QApplication::sendEvent(note, &bell_key);
        QCOMPARE(note->toPlainText(), QString());
        QCOMPARE(h.notes.beeps, 1);
        Paste(note, QStringLiteral("\u20ac5\r\nnext"));
        QCOMPARE(note->toPlainText(), QStringLiteral("\u20ac5\nnext"));
        // Every way in, an input method's text included, for an edited and a fresh cell.
        for (NoteEditor* editor : { note, form.note(7) }) {
            const QString failure = CheckInputFilter(editor, h.notes, QStringLiteral("\u00e9"));
            QVERIFY2(failure.isEmpty(), qPrintable(failure));
        }
    }

    // Every byte a day can hold (0xA0 included, which is no blank) is shown and wrapped alike by
    // the cell's view and its editor, and editing stores it back unchanged.
    void everyByteIsShownAndStoredAsItIs() {
        std::string every_byte;
        for (int b = 0; b < 0x100; ++b) {
            if (b != '\a' && b != '\r' && b != '\n')
                every_byte += static_cast<char>(b);
        }
        const std::string saved = SavedCalendarWith(6, every_byte + "\a");
        Harness h(saved);
        TForm1& form = h.Start();
        const QStringList shown = form.Cell(6).lines; // painted before any editor
        QCOMPARE(form.note(6)->DisplayLines(), shown);
        QCOMPARE(shown.join(QString()).count(QChar(0xA0)), 1);
        form.document().SetActiveNote(12);
        QTest::keyClicks(form.note(6), QStringLiteral("x"));
        QTest::keyClick(form.note(6), Qt::Key_Backspace);
        form.grid().StoreActiveNote();
        std::string stored = form.document().store()[6].substr(11);
        QCOMPARE(EntryCount(form.document().store()[6]), static_cast<int>(shown.size()));
        std::erase(stored, '\a');
        QCOMPARE(stored, every_byte);
    }

    void twentyLineGuardRefusesWithoutDeleting() {
        Harness h;
        NoteEditor* note = h.Start().note(3);
        QStringList twenty;
        for (int i = 1; i <= 20; ++i)
            twenty << QString::number(i);
        Paste(note, twenty.join(QLatin1Char('\n')));
        QTest::keyClick(note, Qt::Key_Return); // an empty last line is allowed and not counted
        QTest::keyClicks(note, QStringLiteral("x"));
        Paste(note, QStringLiteral("a\nb"));
        QCOMPARE(note->toPlainText(), twenty.join(QLatin1Char('\n')) + QLatin1Char('\n'));
        QVERIFY(h.notes.beeps >= 2);
    }

    void overflowMarkerAndPreview() {
        Harness h;
        TForm1& form = h.Start();
        form.show();
        auto fill = [&](int cell, int lines) {
            QStringList text;
            for (int i = 1; i <= lines; ++i)
                text << QStringLiteral("line %1").arg(i);
            form.note(cell)->setPlainText(text.join(QLatin1Char('\n')));
        };
        fill(3, 9);
        QVERIFY(!CellOf(form, 3)->overflow());
        fill(3, 10);
        QVERIFY(CellOf(form, 3)->overflow());
        const QPoint on_marker = DayCell::MarkerRect().center();
        QTest::mouseMove(CellOf(form, 3), on_marker);
        auto* preview = form.findChild<QPlainTextEdit*>(QStringLiteral("Memo85"));
        QVERIFY(preview != nullptr);
        QTRY_VERIFY(preview->isVisible());
        fill(30, 12); // bottom row: the preview opens upward
        QTest::mouseMove(CellOf(form, 30), on_marker);
        QTRY_COMPARE(preview->geometry(), QRect(182 + 2, 593 - 294, 182, 294));
        QTest::mouseMove(form.note(10)->viewport(), QPoint(10, 10));
        QTRY_VERIFY(!preview->isVisible());
    }

    void refillsLeaveUntouchedDaysByteIdentical() {
        DayStore store;
        NewCalendar(MakeDate(2024, 3, 10), store);
        store[2] += std::string(600, 'w') + "\a";
        store[3] += "An entry that is much wider than the cell it is shown in, by far\a";
        for (int i = 1; i <= 20; ++i)
            store[4] += (i == 7 ? std::string(90, 'y') : "entry " + std::to_string(i)) + "\a";
        store[5] += "tail kept\aafter the last separator";
        const std::string saved = FormatDayFile(store);
        Harness h(saved);
        TForm1& form = h.Start();
        form.show();
        for (int cell = 2; cell <= 5; ++cell)
            form.note(cell); // editors that show the notes as wrapped lines
        for (int i = 0; i < 3; ++i)
            form.grid().FillOutCalendar();
        form.grid().StoreActiveNote();
        form.Dn1Click();
        form.Up1Click();
        QVERIFY(form.SaveCalendar());
        QCOMPARE(h.Read("cdat.ovd"), saved);
    }

    // An operation first stores the note being typed, as a step of its own, and the grid then
    // shows what the operation made of the day.
    void theTypedNoteIsStoredBeforeAnOperationAndTheGridFollows() {
        Harness h;
        TForm1& form = h.Start();
        form.document().SetActiveNote(2);
        QTest::keyClicks(form.note(1), QStringLiteral("typed"));
        form.document().Run(OperationKind::kApplyEntry, "Daily Entry 'x'",
            [](DocumentEdit& edit) { InsertFirstEntry(edit.Day(1), "x"); });
        QCOMPARE(form.note(1)->toPlainText(), QStringLiteral("x\ntyped"));
        QVERIFY(!form.note(1)->changed());
        Item(form, "Undo1")->trigger();
        QCOMPARE(form.document().store()[1], std::string("Mar/10/2024typed\a"));
    }

    void typedTextSurvivesAMonthJump() {
        Harness h;
        TForm1& form = h.Start();
        form.document().SetActiveNote(4);
        QTest::keyClicks(form.note(2), QStringLiteral("keep me"));
        const auto items = form.RebuildMonthMenu();
        QCOMPARE(form.MonthAction(3)->text(), QStringLiteral("May  2024"));
        form.Date1Click(3);
        QCOMPARE(form.document().TopSlot(), items[2].slot);
        QCOMPARE(form.document().store()[2], std::string("Mar/11/2024keep me\a"));
        QVERIFY(h.notes.boxes.empty());
    }

    // Ctrl+arrows go to the neighbouring day, a week of the grid further at its edges; Ctrl+Home
    // goes to today; Page Down and Up move by month, from a note or a date header.
    void keysMoveBetweenDaysAndToToday() {
        Harness h;
        TForm1& form = h.Start(true);
        form.grid().FocusCell(9);
        const auto press = [&](Qt::Key key) {
            QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
            return std::make_pair(form.document().TopSlot(), form.grid().FocusedCell());
        };
        QCOMPARE(press(Qt::Key_Up), std::make_pair(1, 2));
        QCOMPARE(press(Qt::Key_Up), std::make_pair(1, 2)); // the first week: nowhere to go
        QCOMPARE(press(Qt::Key_Left), std::make_pair(1, 1));
        form.grid().FocusCell(35);
        QCOMPARE(press(Qt::Key_Right), std::make_pair(8, 29)); // the next Sunday, a week on
        QCOMPARE(press(Qt::Key_Down), std::make_pair(15, 29));
        form.Dn7Click();
        QCOMPARE(press(Qt::Key_Home), std::make_pair(1, 5)); // 14 March 2024 in the first week
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.note(5)));
        // In the text the keys still edit as usual.
        QTest::keyClicks(form.note(5), QStringLiteral("ab"));
        QTest::keyClick(form.note(5), Qt::Key_Left);
        QCOMPARE(form.note(5)->textCursor().position(), 1);
        QTest::keyClick(form.note(3), Qt::Key_PageDown);
        QCOMPARE(form.document().TopSlot(), 22); // the row holding 1 April 2024
        QTest::keyClick(CellOf(form, 3), Qt::Key_PageUp);
        QCOMPARE(form.document().TopSlot(), 1);
    }

    // From a note every menu command is its menu's key and one letter, each letter once a menu,
    // and the toolbar's moves one key each; a disabled item's function key does nothing.
    void everyCommandIsAFewKeysFromANote() {
        Harness h;
        TForm1& form = h.Start(true);
        QTRY_VERIFY(form.activation_count() > 0);
        // Typing starts in the first note.
        QCOMPARE(QApplication::focusWidget(), form.note(1));
        Item(form, "Instructions1")->trigger();
        QCOMPARE(h.desk.opened,
            QStringList { h.options.program_dir + QStringLiteral("/Help/Orvane.html") });
        const std::map<MenuName, Qt::Key> menu_keys = { { MenuName::kFile, Qt::Key_F },
            { MenuName::kCal, Qt::Key_C }, { MenuName::kHelp, Qt::Key_H } };
        std::map<MenuName, QString> letters;
        for (const CommandItem& item : kCommandItems) {
            const QChar letter = QChar::fromLatin1(item.mnemonic).toUpper();
            QVERIFY2(QString::fromLatin1(item.caption).contains(QChar::fromLatin1(item.mnemonic)),
                item.caption);
            QVERIFY2(!letters[item.menu].contains(letter), item.caption);
            letters[item.menu] += letter;
            int runs = 0;
            form.SetCommand(item.command, [&runs] { ++runs; });
            form.action(item.command)->setEnabled(true);
            form.note(3)->setFocus();
            QTest::keyClick(form.note(3), menu_keys.at(item.menu), Qt::AltModifier);
            QMenu* menu = form.menu(item.menu);
            QTRY_VERIFY(menu->isVisible());
            QTest::keyClick(menu, letter.toLatin1());
            QTRY_COMPARE(runs, 1);
            QVERIFY(!menu->isVisible());
        }
        int daily = 0;
        form.SetCommand(Command::kDailyEntry, [&] { ++daily; });
        Item(form, "DailyEntry1")->setEnabled(false);
        QTest::keyClick(&form, Qt::Key_F1);
        QCOMPARE(daily, 0);
        Item(form, "DailyEntry1")->setEnabled(true);
        QTest::keyClick(&form, Qt::Key_F1);
        QCOMPARE(daily, 1);

        QTest::keyClick(form.note(3), Qt::Key_Down, Qt::AltModifier);
        QTest::keyClick(form.note(3), Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(form.document().TopSlot(), 15);
        QTest::keyClick(form.note(3), Qt::Key_Home, Qt::AltModifier);
        QCOMPARE(form.document().TopSlot(), 1);
        QTest::keyClick(form.note(3), Qt::Key_D, Qt::AltModifier);
        QTRY_VERIFY(form.findChild<QMenu*>(QStringLiteral("DatesMenu"))->isVisible());
        QTest::keyClick(form.findChild<QMenu*>(QStringLiteral("DatesMenu")), Qt::Key_Escape);
    }

    // Undo and Redo name their step; Ctrl+Z in a note undoes its typing while it has any, and the
    // document's last step otherwise; a step whose file changed since is refused.
    void undoAndRedoNameTheirStepAndLeaveTypingToTheNote() {
        Harness h;
        TForm1& form = h.Start(true);
        QAction* undo = Item(form, "Undo1");
        QAction* redo = Item(form, "Redo1");
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        const std::string bare = form.document().store()[5];
        form.document().Run(OperationKind::kApplyEntry, "Weekly Entry 'Bob & Ann'",
            [](DocumentEdit& edit) { edit.Day(5) += "Bob & Ann\a"; });
        QCOMPARE(undo->text(), QStringLiteral("&Undo Weekly Entry 'Bob && Ann'"));
        form.note(3)->setFocus();
        QTest::keyClick(form.note(3), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form.document().store()[5], bare);
        QCOMPARE(form.note(5)->toPlainText(), QString());
        QCOMPARE(redo->text(), QStringLiteral("&Redo Weekly Entry 'Bob && Ann'"));
        QTest::keyClick(form.note(3), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(form.note(5)->toPlainText(), QStringLiteral("Bob & Ann"));

        QTest::keyClicks(form.note(3), QStringLiteral("abc"));
        QTest::keyClick(form.note(3), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form.note(3)->toPlainText(), QString());
        QCOMPARE(form.document().store()[5], bare + "Bob & Ann\a");
        QVERIFY(!redo->isEnabled()); // the document's history was not touched

        // Once the note is left, what it stored is one step.
        QTest::keyClicks(form.note(3), QStringLiteral("xyz"));
        form.note(4)->setFocus();
        QCOMPARE(undo->text(), QStringLiteral("&Undo Typing"));
        QTest::keyClick(form.note(4), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form.document().store()[3], std::string("Mar/12/2024"));
        QCOMPARE(form.note(3)->toPlainText(), QString());
        QVERIFY(h.notes.boxes.empty());

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

    // A cell shows its note before its editor exists; the editor that replaces the view shows
    // the same pixels, and a click edits where the pointer is.
    void cellsShowNotesBeforeTheirEditorExists() {
        DayStore store;
        NewCalendar(MakeDate(2024, 3, 10), store);
        store[10] += "Dentist 9:30\aCall Bob about the weekend plans\a\aC\a";
        store[12] += "first\asecond\athird\a";
        Harness h(FormatDayFile(store));
        TForm1& form = h.Start(true);
        auto* view = form.findChild<NoteView*>(QStringLiteral("Memo20"));
        QVERIFY(view != nullptr);
        QVERIFY(form.findChild<NoteEditor*>(QStringLiteral("Memo20")) == nullptr);
        const QImage shown = view->grab().toImage();
        NoteEditor* editor = form.note(10);
        QVERIFY(!view->isVisible());
        QCOMPARE(editor->grab().toImage().convertToFormat(QImage::Format_RGB32),
            shown.convertToFormat(QImage::Format_RGB32));
        QVERIFY(!editor->changed());

        view = form.findChild<NoteView*>(QStringLiteral("Memo24"));
        const int second_line_y = 2 + QFontMetrics(view->font()).height() * 3 / 2;
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(40, second_line_y));
        editor = form.findChild<NoteEditor*>(QStringLiteral("Memo24"));
        QVERIFY(editor != nullptr);
        QTRY_COMPARE(QApplication::focusWidget(), editor);
        QCOMPARE(form.document().ActiveNote(), 24);
        QCOMPARE(editor->textCursor().blockNumber(), 1);
        QVERIFY(form.findChild<NoteEditor*>(QStringLiteral("Memo26")) == nullptr);
        // Tab leaves the note, which stores it, and moves on to the next day.
        QTest::keyClicks(editor, QStringLiteral("!"));
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(form.document().ActiveNote(), 26);
        const std::vector<std::string> entries = Entries(form.document().store()[12]);
        QCOMPARE(entries.size(), std::size_t(3));
        QVERIFY(entries[1].find('!') != std::string::npos);

        // Text dragged over a cell without an editor lands in a new one.
        auto* unedited = form.findChild<NoteView*>(QStringLiteral("Memo30"));
        QMimeData dragged;
        dragged.setText(QStringLiteral("moved text"));
        QDragEnterEvent enter(
            QPoint(10, 10), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(unedited, &enter);
        QVERIFY(enter.isAccepted());
        editor = form.findChild<NoteEditor*>(QStringLiteral("Memo30"));
        QVERIFY(editor != nullptr && editor->isVisible() && editor->acceptDrops());
    }

    // A colour tried out with the saved flag cleared leaves the menus alone; titles apply at
    // once, bold notes wait for the next start.
    void appliedPreferencesChangeOnlyWhatTheDialogApplies() {
        Harness h;
        TForm1& form = h.Start();
        Preferences prefs = form.document().prefs();
        prefs.set_flag(Flag::PreferencesSaved, '0');
        prefs.set_flag(Flag::CellColor, '5');
        prefs.set_flag(Flag::CustomTitles, '1');
        prefs.DayTitles = { "Dom", "Lun", "Mar", "Mie", "Jue", "Vie", "Sab" };
        prefs.set_flag(Flag::DataBoldFont, '1');
        form.document().SetPreferences(prefs);
        form.SetNoteFontFamily(QStringLiteral("Verdana"));
        QVERIFY(Item(form, "SaveCalendar1")->isEnabled());
        QCOMPARE(form.note(2)->palette().color(QPalette::Base), QColor(255, 153, 0));
        QCOMPARE(form.DayTitleTexts().first(), QStringLiteral("Dom"));
        QVERIFY(!form.NoteFont().bold());
    }

    // After a move the keyboard stays in its cell, on the day that cell shows now, and the fill
    // stores nothing.
    void theFocusStaysInItsCellAcrossMoves() {
        Harness h(SavedCalendarWith(20, "Untouched\a"));
        TForm1& form = h.Start(true);
        form.grid().FocusCell(10);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.note(10)));
        for (auto move : { &TForm1::Dn1Click, &TForm1::Dn7Click, &TForm1::TopClick }) {
            (form.*move)();
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.note(10)));
            QCOMPARE(form.document().ActiveSlot(), form.document().TopSlot() + 9);
        }
        QCOMPARE(form.document().store()[20], std::string("Mar/29/2024Untouched\a"));
    }

    // A search result puts the keyboard in its day's note with the match selected (a range
    // before the note's start cut to it) and tells where the cell is; a day the grid does not
    // show is left alone.
    void aFoundDayGetsTheFocusWithTheMatchSelected() {
        Harness h(SavedCalendarWith(20, "Fetch X-rays\aCall the DENTIST\a"));
        TForm1& form = h.Start(true);
        struct Case {
            int top;
            int position;
            int length;
            const char* selected;
        };
        for (const Case& c : { Case { 1, 22, 7, "DENTIST" }, Case { 15, -3, 4, "F" } }) {
            form.document().MoveWindow(c.top);
            const int cell = 20 - c.top + 1;
            const QRect shown = form.SelectInNote(20, c.position, c.length, true);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.note(cell)));
            QCOMPARE(form.note(cell)->textCursor().selectedText(), QString::fromLatin1(c.selected));
            const DayCell* day = CellOf(form, cell);
            QCOMPARE(shown, QRect(day->mapToGlobal(QPoint(0, 0)), day->size()));
        }
        form.document().MoveWindow(22);
        const QWidget* focused = QApplication::focusWidget();
        QVERIFY(form.SelectInNote(20, 0, 5, true).isEmpty());
        QCOMPARE(QApplication::focusWidget(), focused);
        QCOMPARE(form.document().store()[20],
            std::string("Mar/29/2024Fetch X-rays\aCall the DENTIST\a"));
    }

    // Every visible day is read with its note before any editor exists, today is said, and the
    // main window is a window to a screen reader.
    void aScreenReaderHearsEveryDay() {
        Harness h(SavedCalendarWith(10, "Dentist 9:30\aCall Bob\a"));
        TForm1& form = h.Start();
        QAccessible::setActive(true);
        const auto reader = [&](int cell) {
            return QAccessible::queryAccessibleInterface(
                form.findChild<NoteView*>(QStringLiteral("Memo%1").arg(2 * cell)));
        };
        QCOMPARE(reader(10)->role(), QAccessible::EditableText);
        QCOMPARE(reader(10)->text(QAccessible::Name), QStringLiteral("Tuesday 19 March 2024"));
        QAccessibleTextInterface* text = reader(10)->textInterface();
        QVERIFY(text);
        QCOMPARE(text->text(0, text->characterCount()), QStringLiteral("Dentist 9:30\nCall Bob"));
        QCOMPARE(reader(5)->text(QAccessible::Description), QStringLiteral("today"));
        QVERIFY(form.findChildren<NoteEditor*>().isEmpty()); // no editor was needed
        QCOMPARE(QAccessible::queryAccessibleInterface(&form)->role(), QAccessible::Window);
        QCOMPARE(
            QAccessible::queryAccessibleInterface(form.note(5))->text(QAccessible::Description),
            QStringLiteral("today"));
    }

    void applicationTitleKeepsFirstCharacter() {
        QCOMPARE(ApplicationTitle(QStringLiteral("/opt/x/orvane")), QStringLiteral("orvane"));
        QCOMPARE(ApplicationTitle(QStringLiteral("C:/x/ORVANE.exe")), QStringLiteral("Orvane"));
    }
};

QTEST_MAIN(TForm1Test)
#include "t_form1_test.moc"
