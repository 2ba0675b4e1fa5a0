// The windows that rewrite a data file whole (the notes, the error log, the archive, the
// preferences): each save leaves a backup of the file it replaced that a restore puts back, and
// a file another program rewrote is not saved over before the user is asked.
#include "core/file_backups.h"
#include "core/text_file.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "cycling/ui/archive_windows.h"
#include "history/backup_restore.h"
#include "prefs/ui/t_prefs.h"
#include "tools/notes_and_log.h"
#include "tools/ui/t_errors.h"
#include "tools/ui/t_notes.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace orvane;

namespace {

struct Bed {
    QTemporaryDir dir;
    FakeCalendarHost host { NonAsciiDataFolder(dir.path()) };
    FileBackups backups { host.data().dir, host.fixed_clock };
};

std::string StandardPrefFile() {
    std::string bytes = "10100110131\r\n";
    for (const char* line : { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Jan", "Feb", "Mar",
             "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec", "csystem", "-05.00",
             "40.50", "-6", "DejaVu Sans" })
        bytes += std::string(line) + "\r\n";
    return bytes;
}

template <typename Window> std::unique_ptr<QDialog> Prepared(std::unique_ptr<Window> window) {
    window->Prepare();
    window->show();
    return window;
}

// One window: its file as it opens, the window built with the program's backups and prepared,
// and the box the user types into; "Button1" saves.
struct WindowCase {
    const char* file;
    std::string original;
    std::function<std::unique_ptr<QDialog>(Bed&)> open;
    const char* box;
};

const std::vector<WindowCase>& Windows() {
    static const std::vector<WindowCase> windows {
        { "notes.ovd", NotesBytes(PlainTextDocument("Original")),
            [](Bed& bed) {
                return Prepared(
                    std::make_unique<TNotes>(bed.host.data(), bed.host.notes, bed.backups));
            },
            "RichEdit1" },
        { "rdat.ovd", "Original\r\n",
            [](Bed& bed) {
                return Prepared(
                    std::make_unique<TErrors>(bed.host.data(), bed.host.notes, bed.backups));
            },
            "Memo1" },
        { "archive.ovd", "Mar/14/2024 Original \r\n\r\n\r\n",
            [](Bed& bed) {
                return Prepared(std::make_unique<TArchive>(bed.host.data(), bed.host.services(),
                    bed.backups, nullptr, [](QDialog& question) {
                        question.findChild<QPushButton*>("Button1")->click(); // OK
                    }));
            },
            "Memo1" },
        { "pref.ovd", StandardPrefFile(),
            [](Bed& bed) {
                return Prepared(std::make_unique<TPrefs>(
                    bed.host.document, bed.host, bed.host.services(), bed.backups));
            },
            "Edit1" },
    };
    return windows;
}

void TypeAndSave(QDialog& dialog, const char* box) {
    QWidget* edit = dialog.findChild<QWidget*>(QLatin1String(box));
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("Mine"));
    dialog.findChild<QPushButton*>("Button1")->click();
}

} // namespace

class WindowSavesTest : public QObject {
    Q_OBJECT

private slots:
    void eachSaveIsBackedUpAndAVersionWrittenOutsideIsAskedAbout_data() {
        QTest::addColumn<int>("window");
        for (std::size_t i = 0; i < Windows().size(); ++i)
            QTest::newRow(Windows()[i].file) << static_cast<int>(i);
    }
    // A save backs up the file it replaces. When another program rewrote the file, the question
    // names it and Keep Mine saves over it with their version as the newest backup, listed under
    // the file's name; restoring that backup puts their version back.
    void eachSaveIsBackedUpAndAVersionWrittenOutsideIsAskedAbout() {
        QFETCH(int, window);
        const WindowCase& test = Windows()[static_cast<std::size_t>(window)];
        Bed bed;
        const std::filesystem::path path = bed.host.data().file(test.file);
        const auto newest_backup = [&] {
            const std::vector<BackupFile> kept = bed.backups.List(test.file);
            return kept.empty() ? std::string() : ReadWholeFile(kept[0].path).value_or("");
        };
        QVERIFY(WriteFileAtomic(path, test.original));
        std::unique_ptr<QDialog> dialog = test.open(bed);
        TypeAndSave(*dialog, test.box);
        QVERIFY(!dialog->isVisible() && bed.host.notes.boxes.empty());
        QCOMPARE(newest_backup(), test.original);

        bed.host.fixed_clock.Set(LocalTime { bed.host.fixed_clock.Today(), 13, 0, 0 });
        dialog = test.open(bed);
        const std::string theirs = test.original + "Theirs\r\n";
        QVERIFY(WriteFileAtomic(path, theirs));
        bed.host.notes.choices = { 0 };
        TypeAndSave(*dialog, test.box);
        const auto& boxes = bed.host.notes.boxes;
        QCOMPARE(boxes.size(), 1U);
        QCOMPARE(boxes[0].kind, Notifier::Kind::kQuestion);
        QVERIFY(NamesDataFile(boxes[0].text, test.file));
        QVERIFY(!dialog->isVisible());
        const std::string saved = ReadWholeFile(path).value_or("");
        QVERIFY(saved.find("Mine") != std::string::npos);
        QVERIFY(saved.find("Theirs") == std::string::npos);
        QCOMPARE(newest_backup(), theirs);

        bed.host.fixed_clock.Set(LocalTime { bed.host.fixed_clock.Today(), 14, 0, 0 });
        QVERIFY(RestoreBackup(bed.host.document, bed.backups, bed.backups.List(test.file)[0]));
        QCOMPARE(ReadWholeFile(path).value_or(""), theirs);
        QCOMPARE(newest_backup(), saved); // what the restore replaced
    }
};

QTEST_MAIN(WindowSavesTest)
#include "window_saves_test.moc"
