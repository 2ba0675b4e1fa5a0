// The main window's wiring: start-up and the ways it ends, typing into the notes and storing them,
// the keys that move the grid, undo and what a screen reader hears. The rules behind the cells, the
// month moves and the stored lines are the model's and tested there.
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
#include <QMimeData>
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
    // Closing saves what was typed; Quit No Save, and closing with the preferences unsaved (whose
    // Save item is then off), leave the day file as it was.
    void closingSavesWhatWasTypedUnlessQuitNoSaveOrUnsavedPreferences() {
        const std::string saved = SavedCalendarWith(3, "Dentist\a");
        std::string unsaved_prefs = kPref;
        unsaved_prefs[2] = '0';
        for (const int way : { 0, 1, 2 }) {
            Harness h(saved, way == 2 ? unsaved_prefs : kPref);
            TForm1& form = h.Start();
            QCOMPARE(Item(form, "SaveCalendar1")->isEnabled(), way != 2);
            form.document().SetActiveNote(2);
            QTest::keyClicks(form.note(1), QStringLiteral("Gym"));
            form.show();
            way == 1 ? form.QuitNoSave() : void(form.close());
            QVERIFY(!form.isVisible());
            QCOMPARE(h.Read("cdat.ovd") == saved, way != 0);
            DayStore store;
            QCOMPARE(ParseDayFile(h.Read("cdat.ovd"), store).value_or(0), 739);
            QCOMPARE(store[1], std::string(way != 0 ? "Mar/10/2024" : "Mar/10/2024Gym\a"));
            QCOMPARE(store[3], std::string("Mar/12/2024Dentist\a"));
        }
    }

    // A lock whose copy died is taken over, and the start clears the temporary files a save
    // killed mid-way left behind.
    void aLockWhoseCopyIsGoneIsTakenOver() {
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

        // One running copy per data folder.
        Harness second;
        QLockFile first(PathText(second.data / ".Orvane.lock"));
        QVERIFY(first.tryLock(0));
        QVERIFY(!second.Form().FormCreate());
        QCOMPARE(second.notes.texts(),
            QStringList { QStringLiteral(
                "You can only have one instance of [ORVANE] running at one time.") });
        QCOMPARE(second.Read("cdat.ovd"), std::string());
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

    void unsafeCharactersAreRefused() {
        Harness h;
        TForm1& form = h.Start();
        NoteEditor* note = form.note(2);
        QKeyEvent bell_key(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(7)));
        QApplication::sendEvent(note, &bell_key);
        QCOMPARE(note->toPlainText(), QString());
        QCOMPARE(h.notes.beeps, 1);
        // Every way in, an input method's text included.
        const QString failure = CheckInputFilter(form.note(7), h.notes, QStringLiteral("\u00e9"));
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
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
        form.Date1Click(3);
        QCOMPARE(form.document().TopSlot(), items[2].slot);
        QCOMPARE(form.document().store()[2], std::string("Mar/11/2024keep me\a"));
        QVERIFY(h.notes.boxes.empty());
    }

    // Ctrl+arrows go to the neighbouring day, Ctrl+Home to today, Page Down by month and Alt+Down
    // a week (the rules are the model's); in the text the arrows still edit as usual. After a
    // move the keyboard stays in its cell and the fill stores nothing.
    void keysMoveTheGridAndTheFocusStaysInItsCell() {
        Harness h(SavedCalendarWith(20, "Untouched\a"));
        TForm1& form = h.Start(true);
        form.grid().FocusCell(9);
        const auto press = [&](Qt::Key key, Qt::KeyboardModifier with = Qt::ControlModifier) {
            QTest::keyClick(QApplication::focusWidget(), key, with);
            return std::make_pair(form.document().TopSlot(), form.grid().FocusedCell());
        };
        QCOMPARE(press(Qt::Key_Up), std::make_pair(1, 2));
        form.grid().FocusCell(35);
        QCOMPARE(press(Qt::Key_Right), std::make_pair(8, 29)); // the next Sunday, a week on
        QCOMPARE(press(Qt::Key_Down, Qt::AltModifier), std::make_pair(15, 29));
        QCOMPARE(press(Qt::Key_Home), std::make_pair(1, 5)); // 14 March 2024 in the first week
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.note(5)));
        QTest::keyClicks(form.note(5), QStringLiteral("ab"));
        QTest::keyClick(form.note(5), Qt::Key_Left);
        QCOMPARE(form.note(5)->textCursor().position(), 1);
        QCOMPARE(press(Qt::Key_PageDown, Qt::NoModifier).first, 22); // the row of 1 April 2024
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.note(5)));
        QCOMPARE(form.document().ActiveSlot(), 22 + 4);
        QCOMPARE(form.document().store()[20], std::string("Mar/29/2024Untouched\a"));
    }

    // Each menu command has a letter of its caption, once a menu; a key reaches its command, and a
    // disabled item's function key does nothing.
    void menuKeysReachTheirCommands() {
        Harness h;
        TForm1& form = h.Start(true);
        std::map<MenuName, QString> letters;
        for (const CommandItem& item : kCommandItems) {
            const QChar letter = QChar::fromLatin1(item.mnemonic).toUpper();
            QVERIFY2(QString::fromLatin1(item.caption).contains(QChar::fromLatin1(item.mnemonic)),
                item.caption);
            QVERIFY2(!letters[item.menu].contains(letter), item.caption);
            letters[item.menu] += letter;
        }
        Item(form, "Instructions1")->trigger();
        QCOMPARE(h.desk.opened,
            QStringList { h.options.program_dir + QStringLiteral("/Help/Orvane.html") });
        int daily = 0;
        form.SetCommand(Command::kDailyEntry, [&] { ++daily; });
        Item(form, "DailyEntry1")->setEnabled(false);
        QTest::keyClick(&form, Qt::Key_F1);
        QCOMPARE(daily, 0);
        Item(form, "DailyEntry1")->setEnabled(true);
        QTest::keyClick(&form, Qt::Key_F1);
        QCOMPARE(daily, 1);
    }

    // Undo names its step; Ctrl+Z in a note undoes its typing first; a step whose file changed
    // since is refused and says so.
    void undoNamesItsStepAndARefusalIsReported() {
        Harness h;
        TForm1& form = h.Start(true);
        QAction* undo = Item(form, "Undo1");
        const std::string bare = form.document().store()[5];
        form.document().Run(OperationKind::kApplyEntry, "Weekly Entry 'Bob & Ann'",
            [](DocumentEdit& edit) { edit.Day(5) += "Bob & Ann\a"; });
        QCOMPARE(undo->text(), QStringLiteral("&Undo Weekly Entry 'Bob && Ann'"));
        QTest::keyClicks(form.note(3), QStringLiteral("abc"));
        QTest::keyClick(form.note(3), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form.note(3)->toPlainText(), QString());
        QCOMPARE(form.document().store()[5], bare + "Bob & Ann\a");
        QTest::keyClick(form.note(3), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form.note(5)->toPlainText(), QString());

        h.Write("fdat.ovd", "W1\r\n");
        form.document().Run(
            OperationKind::kDeleteEntries, "Delete Entry 'Bob & Ann'", [&](DocumentEdit& edit) {
                edit.Day(5) += "x\a";
                QVERIFY(edit.WriteFile(h.data / "fdat.ovd", ""));
            });
        h.Write("fdat.ovd", "W2\r\n");
        undo->trigger();
        QCOMPARE(h.notes.texts(),
            QStringList { QStringLiteral(
                "Cannot undo Delete Entry 'Bob & Ann': fdat.ovd has changed since.") });
        QCOMPARE(form.document().store()[5], bare + "x\a");
        QVERIFY(undo->isEnabled());
    }

    // A cell shows its note before its editor exists; a click makes the editor where the pointer
    // is, and text dragged over a cell without an editor lands in a new one.
    void cellsGetTheirEditorWhenUsed() {
        Harness h(SavedCalendarWith(12, "first\asecond\athird\a"));
        TForm1& form = h.Start(true);
        auto* view = form.findChild<NoteView*>(QStringLiteral("Memo24"));
        QVERIFY(form.findChild<NoteEditor*>(QStringLiteral("Memo24")) == nullptr);
        const int second_line_y = 2 + QFontMetrics(view->font()).height() * 3 / 2;
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(40, second_line_y));
        auto* editor = form.findChild<NoteEditor*>(QStringLiteral("Memo24"));
        QVERIFY(editor != nullptr);
        QTRY_COMPARE(QApplication::focusWidget(), editor);
        QCOMPARE(editor->textCursor().blockNumber(), 1);
        // Tab leaves the note, which stores it, and moves on to the next day.
        QTest::keyClicks(editor, QStringLiteral("!"));
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(form.document().ActiveNote(), 26);
        const std::vector<std::string> entries = Entries(form.document().store()[12]);
        QCOMPARE(entries.size(), std::size_t(3));
        QVERIFY(entries[1].find('!') != std::string::npos);

        QMimeData dragged;
        dragged.setText(QStringLiteral("moved text"));
        QDragEnterEvent enter(
            QPoint(10, 10), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.findChild<NoteView*>(QStringLiteral("Memo30")), &enter);
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
        QVERIFY(Item(form, "SaveCalendar1")->isEnabled());
        QCOMPARE(form.note(2)->palette().color(QPalette::Base), QColor(255, 153, 0));
        QCOMPARE(form.DayTitleTexts().first(), QStringLiteral("Dom"));
        QVERIFY(!form.NoteFont().bold());
    }

    // A search result puts the keyboard in its day's note with the match selected (a range
    // before the note's start cut to it); a day the grid does not show is left alone.
    void aFoundDayGetsTheFocusWithTheMatchSelected() {
        Harness h(SavedCalendarWith(20, "Fetch X-rays\aCall the DENTIST\a"));
        TForm1& form = h.Start(true);
        form.document().MoveWindow(15);
        const QRect shown = form.SelectInNote(20, -3, 4, true);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.note(6)));
        QCOMPARE(form.note(6)->textCursor().selectedText(), QStringLiteral("F"));
        QCOMPARE(shown, QRect(CellOf(form, 6)->mapToGlobal(QPoint(0, 0)), CellOf(form, 6)->size()));
        form.document().MoveWindow(22);
        QVERIFY(form.SelectInNote(20, 0, 5, true).isEmpty());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.note(6)));
        QCOMPARE(form.document().store()[20],
            std::string("Mar/29/2024Fetch X-rays\aCall the DENTIST\a"));
    }

    // Every visible day is read with its note before any editor exists, and today is said.
    void aScreenReaderHearsEveryDay() {
        Harness h(SavedCalendarWith(10, "Dentist 9:30\aCall Bob\a"));
        TForm1& form = h.Start();
        QAccessible::setActive(true);
        const auto reader = [&](int cell) {
            return QAccessible::queryAccessibleInterface(
                form.findChild<NoteView*>(QStringLiteral("Memo%1").arg(2 * cell)));
        };
        QCOMPARE(reader(10)->text(QAccessible::Name), QStringLiteral("Tuesday 19 March 2024"));
        QAccessibleTextInterface* text = reader(10)->textInterface();
        QVERIFY(text);
        QCOMPARE(text->text(0, text->characterCount()), QStringLiteral("Dentist 9:30\nCall Bob"));
        QCOMPARE(reader(5)->text(QAccessible::Description), QStringLiteral("today"));
        QVERIFY(form.findChildren<NoteEditor*>().isEmpty()); // no editor was needed
    }

    void applicationTitleKeepsFirstCharacter() {
        QCOMPARE(ApplicationTitle(QStringLiteral("/opt/x/orvane")), QStringLiteral("orvane"));
        QCOMPARE(ApplicationTitle(QStringLiteral("C:/x/ORVANE.exe")), QStringLiteral("Orvane"));
    }
};

QTEST_MAIN(TForm1Test)
#include "t_form1_test.moc"
