// The main window and the recovery journal: what start-up does with a journal a crash left behind
// (the question, Recover, Discard, a journal cut off, one the program did not write), the note
// being typed reaching the journal while its cell keeps the focus, and the day file changed by
// another program.
#include "core/journal.h"
#include "mainwindow/ui/recovery.h"
#include "mainwindow/ui/tests/form_harness.h"

using namespace orvane;

namespace {

// The calendar as saved: slot 1 is Sunday 10 March 2024, slot 3 holds "Dentist".
std::string SavedCalendar() {
    return SavedCalendarWith(3, "Dentist\a");
}

JournalRecord Typed(int slot, const std::string& day) {
    return { JournalRecord::Kind::kTyping, "Typing", 0, { { slot, day } } };
}
JournalRecord Stored(int slot, const std::string& day) {
    return { JournalRecord::Kind::kChange, "Typing", 0, { { slot, day } } };
}

std::string JournalBytes(const std::vector<JournalRecord>& records) {
    std::string bytes(kJournalHeader);
    for (const JournalRecord& record : records)
        bytes += EncodeJournalRecord(record);
    return bytes;
}

// Two changes: typing "Gym" into Sunday and storing it, then "Swim" typed into Tuesday.
const std::vector<JournalRecord> kTwoChanges = { Typed(1, "Mar/10/2024Gy\a"),
    Stored(1, "Mar/10/2024Gym\a"), Typed(3, "Mar/12/2024Dentist\aSwim\a") };

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT
private slots:
    void recoverReplaysTheJournalAndWritesNothingUntilTheSave() {
        Harness h(SavedCalendar());
        h.Write(kJournalFileName, JournalBytes(kTwoChanges));
        h.notes.choices = { 0 };
        QVERIFY(h.Form().FormCreate());
        QCOMPARE(h.notes.boxes.size(), std::size_t(1));
        QCOMPARE(h.notes.boxes[0].text,
            QStringLiteral(
                "Orvane did not close properly. Recover the 2 changes made after the last save?"));
        QCOMPARE(h.notes.boxes[0].buttons,
            (QStringList { QStringLiteral("Recover"), QStringLiteral("Discard") }));
        QCOMPARE(h.Form().document().store()[1], std::string("Mar/10/2024Gym\a"));
        QCOMPARE(h.Form().document().store()[3], std::string("Mar/12/2024Dentist\aSwim\a"));
        QVERIFY(h.Form().recovered());
        QVERIFY(h.Form().grid().Cell(3).lines.contains(QStringLiteral("Swim")));
        // Nothing reached the day file; the journal keeps the changes for another crash.
        QCOMPARE(h.Read("cdat.ovd"), SavedCalendar());
        QCOMPARE(h.Read(kJournalFileName), JournalBytes(kTwoChanges));

        QVERIFY(h.Form().SaveCalendar());
        DayStore saved;
        QCOMPARE(ParseDayFile(h.Read("cdat.ovd"), saved).value_or(0), 739);
        QCOMPARE(saved[3], std::string("Mar/12/2024Dentist\aSwim\a"));
        QVERIFY(!h.Exists(kJournalFileName));
        QVERIFY(!h.Form().recovered());
    }

    void discardKeepsTheChangesInADatedFile() {
        Harness h(SavedCalendar());
        h.Write(kJournalFileName, JournalBytes(kTwoChanges));
        h.notes.choices = { 1 };
        QVERIFY(h.Form().FormCreate());
        QCOMPARE(h.Form().document().store()[1], std::string("Mar/10/2024"));
        QVERIFY(!h.Form().recovered());
        QVERIFY(!h.Exists(kJournalFileName));
        const std::string kept = "discarded-changes-2024-03-14-090000.txt";
        QCOMPARE(h.Read(kept), JournalText(kTwoChanges));
        QCOMPARE(h.notes.boxes.size(), std::size_t(2));
        QVERIFY(h.notes.boxes[1].text.contains(QString::fromLatin1(kept)));
        QCOMPARE(h.Read("cdat.ovd"), SavedCalendar());
    }

    void aCutOffJournalRecoversItsWholeRecordsAndSaysWhatWasLost() {
        Harness h(SavedCalendar());
        std::string bytes = JournalBytes(kTwoChanges);
        const std::string cut = EncodeJournalRecord(Stored(5, "Mar/14/2024Lost\a"));
        bytes += cut.substr(0, cut.size() / 2);
        h.Write(kJournalFileName, bytes);
        h.notes.choices = { 0 };
        QVERIFY(h.Form().FormCreate());
        QCOMPARE(h.notes.boxes.size(), std::size_t(2));
        QVERIFY(h.notes.boxes[0].text.contains(QStringLiteral("Recover the 2 changes")));
        QCOMPARE(h.notes.boxes[1].text,
            QStringLiteral("The last change before Orvane closed was cut off and could not be "
                           "recovered."));
        QCOMPARE(h.Form().document().store()[3], std::string("Mar/12/2024Dentist\aSwim\a"));
        QCOMPARE(h.Form().document().store()[5], std::string("Mar/14/2024"));
        // The journal holds the whole records only, so the next appends follow them.
        QCOMPARE(h.Read(kJournalFileName), JournalBytes(kTwoChanges));

        // A journal the program did not write is put aside, not replayed.
        Harness other(SavedCalendar());
        const std::string foreign = "Dentist on Tuesday\r\nCall Bob\r\n";
        other.Write(kJournalFileName, foreign);
        QVERIFY(other.Form().FormCreate());
        QCOMPARE(other.notes.boxes.size(), std::size_t(1));
        QVERIFY(other.notes.boxes[0].text.contains(
            QStringLiteral("is not one this version of Orvane wrote")));
        QCOMPARE(other.Read("recovery-refused-2024-03-14-090000.ovj"), foreign);
        QVERIFY(!other.Exists(kJournalFileName));
        QCOMPARE(other.Form().document().store()[3], std::string("Mar/12/2024Dentist\a"));
    }

    void typingReachesTheJournalWhileTheNoteKeepsTheFocusAndQuitNoSaveClearsIt() {
        auto h = std::make_unique<Harness>(SavedCalendar());
        QVERIFY(h->Form().FormCreate());
        h->Form().show();
        QApplication::setActiveWindow(&h->Form());
        NoteEditor* editor = h->Form().note(3);
        h->Form().grid().FocusCell(3);
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClicks(editor, QStringLiteral(" 9:30"));
        QTest::keyClick(editor, Qt::Key_Left);
        const int caret = editor->textCursor().position();
        const QString text = editor->toPlainText();
        QTRY_VERIFY_WITH_TIMEOUT(h->Exists(kJournalFileName), 3 * DayGrid::kTypingJournalMs);
        QVERIFY(h->Form().journal().WaitFlushed());
        // The editor was left as it was: focus, caret, text; nothing was stored.
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor));
        QCOMPARE(editor->textCursor().position(), caret);
        QCOMPARE(editor->toPlainText(), text);
        QCOMPARE(h->Form().document().store()[3], std::string("Mar/12/2024Dentist\a"));

        // The program ends without saving or quitting; the next start recovers the typing.
        h->form.reset();
        QCOMPARE(h->Read("cdat.ovd"), SavedCalendar());
        h->notes.clear();
        h->notes.choices = { 0 };
        QVERIFY(h->Form().FormCreate());
        QVERIFY(h->notes.boxes[0].text.contains(QStringLiteral("Recover the 1 change made")));
        QCOMPARE(h->Form().document().store()[3], std::string("Mar/12/2024Dentist 9:30\a"));
        // Quitting without saving clears the journal too.
        h->Form().show();
        h->Form().QuitNoSave();
        QVERIFY(!h->Exists(kJournalFileName));
        QCOMPARE(h->Read("cdat.ovd"), SavedCalendar());
    }

    void eachChoiceAboutAnOutsideChangeDoesWhatItSays() {
        DayStore other;
        NewCalendar(MakeDate(2024, 3, 10), other);
        other[6] += "Theirs\a";
        const std::string theirs = FormatDayFile(other);
        const std::string backup = "backups/cdat_20240314_090000.ovd";
        for (const int choice : { 0, 1, 2 }) {
            Harness h(SavedCalendar());
            QVERIFY(h.Form().FormCreate());
            (void)h.Form().document().StoreNote(5, "Mar/14/2024Mine\a");
            h.Write("cdat.ovd", theirs);
            h.notes.choices = { choice };
            const bool saved = h.Form().SaveCalendar();
            QCOMPARE(h.notes.boxes.size(), std::size_t(choice == 1 ? 2 : 1));
            QVERIFY(h.notes.boxes[0].text.contains(
                QStringLiteral("was changed by another program since Orvane read it")));
            QVERIFY(NamesDataFile(h.notes.boxes[0].text, "cdat.ovd"));
            const DayStore& store = h.Form().document().store();
            switch (choice) {
            case 0: // keep mine: theirs kept in backups/, mine saved
                QVERIFY(saved);
                QCOMPARE(h.Read(backup), theirs);
                QCOMPARE(h.Read("cdat.ovd"), FormatDayFile(store));
                QCOMPARE(store[5], std::string("Mar/14/2024Mine\a"));
                QVERIFY(!h.Exists(kJournalFileName));
                break;
            case 1: // take theirs: loaded, mine kept in a dated file
                QVERIFY(saved);
                QCOMPARE(store[6], std::string("Mar/15/2024Theirs\a"));
                QCOMPARE(store[5], std::string("Mar/14/2024"));
                QCOMPARE(h.Read("cdat.ovd"), theirs);
                QVERIFY(h.Read("discarded-changes-2024-03-14-090000.txt").find("    Mine\r\n")
                    != std::string::npos);
                QVERIFY(!h.Exists(kJournalFileName));
                break;
            default: // cancel: nothing written, mine still unsaved and journalled
                QVERIFY(!saved);
                QCOMPARE(h.Read("cdat.ovd"), theirs);
                QCOMPARE(store[5], std::string("Mar/14/2024Mine\a"));
                QVERIFY(h.Form().journal().WaitFlushed());
                QVERIFY(h.Exists(kJournalFileName));
                break;
            }
        }
    }

    void theWatcherSaysOnceWhenTheDayFileChangesOutsideAndNeverForOwnSaves() {
        Harness h(SavedCalendar());
        QVERIFY(h.Form().FormCreate());
        (void)h.Form().document().StoreNote(5, "Mar/14/2024Mine\a");
        QVERIFY(h.Form().SaveCalendar());
        QTest::qWait(400);
        QCOMPARE(h.notes.boxes.size(), std::size_t(0));

        h.Write("cdat.ovd", SavedCalendar());
        QTRY_COMPARE(h.notes.boxes.size(), std::size_t(1));
        QVERIFY(h.notes.boxes[0].text.contains(QStringLiteral(
            "was changed by another program. Saving the calendar will ask whether to keep this "
            "calendar or take the other version.")));
        QVERIFY(NamesDataFile(h.notes.boxes[0].text, "cdat.ovd"));
        // Other files in the folder say nothing.
        h.Write("notes.ovd", "{\\rtf1 }");
        QTest::qWait(400);
        QCOMPARE(h.notes.boxes.size(), std::size_t(1));
    }
};

QTEST_MAIN(RecoveryTest)
#include "recovery_test.moc"
