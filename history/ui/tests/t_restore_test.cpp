#include "core/clock.h"
#include "core/day_file.h"
#include "core/text_file.h"
#include "core/ui/desktop.h"
#include "core/ui/notifier.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "core/undo_history.h"
#include "history/ui/t_restore.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace orvane;

namespace {

constexpr auto D = MakeDate;

// A data folder under a non-ASCII name with a loaded calendar, its backups and undo history.
struct Harness {
    Harness()
        : data(NonAsciiDataFolder(dir.path()))
        , clock(LocalTime { D(2024, 3, 14), 9, 0, 0 }) {
        if (!WriteFileAtomic(data / "cdat.ovd", ""))
            qFatal("cannot write the test's cdat.ovd");
        document.SetBackups(&backups);
        if (!document.Load(D(2024, 3, 14)))
            qFatal("cannot load the test's calendar");
    }
    void At(int hour) { clock.Set(LocalTime { D(2024, 3, 14), hour, 30, 5 }); }
    void Note(int slot, const std::string& entries) {
        document.StoreNote(slot, document.store()[slot].substr(0, 11) + entries);
    }

    QTemporaryDir dir;
    std::filesystem::path data;
    FixedClock clock;
    RecordingNotifier notes;
    RecordingDesktop desk;
    CalendarDocument document { DataFolder { data } };
    FileBackups backups { data, clock };
    UndoHistory history { document };
    TRestore window { document, backups, Services { notes, clock, desk } };
};

QStringList Row(const TRestore& window, int row) {
    QStringList texts;
    const QTreeWidgetItem* item = window.list()->topLevelItem(row);
    for (int column = 0; column < window.list()->columnCount(); ++column)
        texts << item->text(column);
    return texts;
}

} // namespace

class TRestoreTest : public QObject {
    Q_OBJECT
private slots:
    void listsBackupsNewestFirstAndPreviewsTheChosenOne() {
        Harness h;
        h.At(10);
        QVERIFY(h.document.Save()); // keeps the new calendar as it was created
        h.Note(5, "Gym\aChoir\a"); // not saved
        QVERIFY(WriteFileAtomic(h.data / "fdat.ovd", "W1000  Choir\r\n"));
        h.At(12);
        QVERIFY(h.backups.Keep(h.data / "fdat.ovd"));

        h.window.Prepare();
        QCOMPARE(h.window.list()->topLevelItemCount(), 2);
        QCOMPARE(Row(h.window, 0),
            (QStringList { "Mar/14/2024", "12:30:05", "fdat.ovd", "14 bytes", "" }));
        QCOMPARE(Row(h.window, 1).at(4), QStringLiteral("1"));
        // The newest is chosen and shown as it is; a calendar backup shows its changed days.
        QCOMPARE(h.window.preview()->toPlainText(), QStringLiteral("W1000  Choir\n"));
        h.window.list()->setCurrentItem(h.window.list()->topLevelItem(1));
        QCOMPARE(h.window.preview()->toPlainText(),
            QStringLiteral("Mar/14/2024   now: Gym; Choir   backup: (nothing)\n"));

        // The folder may be deleted at any time: the window says there is nothing.
        std::filesystem::remove_all(h.backups.folder());
        h.window.Prepare();
        QVERIFY(!h.window.restore_button()->isEnabled());
        QVERIFY(
            h.window.findChild<QLabel*>("Label1")->text().startsWith("There are no backups yet."));
    }

    void restoringAsksFirstAndIsOneUndoStepAndADamagedBackupIsRefused() {
        Harness h;
        QVERIFY(h.document.Save());
        h.Note(3, "Dentist\a");
        const DayStore typed = h.document.store();
        h.window.Prepare();
        h.window.list()->setCurrentItem(h.window.list()->topLevelItem(0));

        h.notes.answers = { false };
        h.window.Button1Click();
        QCOMPARE(h.notes.texts(),
            QStringList { "Restore the calendar as it was on Mar/14/2024 09:00:00? What it holds "
                          "now is kept as a backup first, and Undo takes the restore back." });
        QCOMPARE(h.document.store()[3], typed[3]);

        h.notes.answers = { true };
        h.window.Button1Click();
        QCOMPARE(h.document.store()[3], std::string("Mar/12/2024"));
        QCOMPARE(h.window.result(), int(QDialog::Accepted));
        QCOMPARE(h.history.UndoName(), std::string("Restore cdat.ovd of Mar/14/2024 09:00:00"));

        // A backup that does not hold a calendar is refused with an error, and nothing changes.
        QVERIFY(WriteFileAtomic(h.backups.folder() / "cdat_20240315_080000.ovd", "a\r\nb\r\n"));
        h.window.Prepare();
        QCOMPARE(Row(h.window, 0).at(4), QStringLiteral("cannot be read"));
        h.notes.clear();
        h.window.Button1Click();
        QCOMPARE(h.notes.boxes.size(), std::size_t(2)); // the question, then the error
        QCOMPARE(h.notes.boxes.back().kind, Notifier::Kind::kError);
        QCOMPARE(h.document.store()[3], std::string("Mar/12/2024"));
    }
};

QTEST_MAIN(TRestoreTest)
#include "t_restore_test.moc"
