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

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <functional>

using namespace orvane;

namespace {

struct Bed {
    QTemporaryDir dir;
    FakeCalendarHost host { NonAsciiDataFolder(dir.path()) };
    FileBackups backups { host.data().dir, host.fixed_clock };
};

template <typename T = QPushButton> T* Child(QWidget* window, const char* name) {
    return window->findChild<T*>(QLatin1String(name));
}

void TypeMine(QWidget* box) {
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("Mine"));
}

std::string StandardPrefFile() {
    std::string bytes = "10100110131\r\n";
    for (const char* title : { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Jan", "Feb", "Mar",
             "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec", "csystem", "-05.00",
             "40.50", "-6", "DejaVu Sans" })
        bytes += std::string(title) + "\r\n";
    return bytes;
}

// One window: its file as it opens, how it is built (with the program's backups) and shown, how
// the user puts "Mine" into it, and its save.
struct WindowCase {
    const char* file;
    std::string original;
    std::function<std::unique_ptr<QDialog>(Bed&)> open;
    std::function<void(QDialog&)> type;
    std::function<void(QDialog&)> save;
};

const std::vector<WindowCase>& Windows() {
    static const std::vector<WindowCase> windows {
        { "notes.ovd", NotesBytes(PlainTextDocument("Original")),
            [](Bed& bed) -> std::unique_ptr<QDialog> {
                auto window
                    = std::make_unique<TNotes>(bed.host.data(), bed.host.notes, bed.backups);
                window->Prepare();
                return window;
            },
            [](QDialog& window) { TypeMine(Child<QTextEdit>(&window, "RichEdit1")); },
            [](QDialog& window) { Child(&window, "Button1")->click(); } },
        { "rdat.ovd", "Original\r\n",
            [](Bed& bed) -> std::unique_ptr<QDialog> {
                auto window
                    = std::make_unique<TErrors>(bed.host.data(), bed.host.notes, bed.backups);
                window->Prepare();
                return window;
            },
            [](QDialog& window) { TypeMine(Child<QPlainTextEdit>(&window, "Memo1")); },
            [](QDialog& window) { Child(&window, "Button1")->click(); } },
        { "archive.ovd", "Mar/14/2024 Original \r\n\r\n\r\n",
            [](Bed& bed) -> std::unique_ptr<QDialog> {
                auto window
                    = std::make_unique<TArchive>(bed.host.data(), bed.host.services(), bed.backups,
                        nullptr, [](QDialog& question) { Child(&question, "Button1")->click(); });
                window->Prepare();
                return window;
            },
            [](QDialog& window) { TypeMine(Child<QPlainTextEdit>(&window, "Memo1")); },
            [](QDialog& window) { Child(&window, "Button1")->click(); } },
        { "pref.ovd", StandardPrefFile(),
            [](Bed& bed) -> std::unique_ptr<QDialog> {
                auto window = std::make_unique<TPrefs>(
                    bed.host.document, bed.host, bed.host.services(), bed.backups);
                window->Prepare();
                return window;
            },
            [](QDialog& window) { Child<QLineEdit>(&window, "Edit1")->setText("Mine"); },
            [](QDialog& window) { Child(&window, "Button1")->click(); } },
    };
    return windows;
}

} // namespace

class WindowSavesTest : public QObject {
    Q_OBJECT

    static void Rows() {
        QTest::addColumn<int>("window");
        for (std::size_t i = 0; i < Windows().size(); ++i)
            QTest::newRow(Windows()[i].file) << static_cast<int>(i);
    }

private slots:
    // The save backs up the file it replaces, the backup is listed under the file's name, and
    // restoring it puts the file back as the window found it.
    void eachSaveLeavesABackupThatRestores_data() { Rows(); }
    void eachSaveLeavesABackupThatRestores() {
        QFETCH(int, window);
        const WindowCase& test = Windows()[static_cast<std::size_t>(window)];
        Bed bed;
        const std::filesystem::path path = bed.host.data().file(test.file);
        QVERIFY(WriteFileAtomic(path, test.original));
        const std::unique_ptr<QDialog> dialog = test.open(bed);
        dialog->show();
        test.type(*dialog);
        test.save(*dialog);
        QVERIFY(!dialog->isVisible());
        QVERIFY(bed.host.notes.boxes.empty());
        const std::string saved = ReadWholeFile(path).value_or("");
        QVERIFY(saved.find("Mine") != std::string::npos);

        const std::vector<BackupFile> kept = bed.backups.List(test.file);
        QCOMPARE(kept.size(), 1U);
        QCOMPARE(ReadWholeFile(kept[0].path).value_or(""), test.original);
        bed.host.fixed_clock.Set(LocalTime { bed.host.fixed_clock.Today(), 13, 0, 0 });
        QVERIFY(RestoreBackup(bed.host.document, bed.backups, kept[0]));
        QCOMPARE(ReadWholeFile(path).value_or(""), test.original);
        // What the restore replaced is a backup of its own.
        QCOMPARE(ReadWholeFile(bed.backups.List(test.file).front().path).value_or(""), saved);
    }

    // Another program rewrote the file: the question names it, and Keep Mine saves over it with
    // their version kept in backups/.
    void aFileRewrittenOutsideIsAskedAboutAndKeepMineKeepsTheirs_data() { Rows(); }
    void aFileRewrittenOutsideIsAskedAboutAndKeepMineKeepsTheirs() {
        QFETCH(int, window);
        const WindowCase& test = Windows()[static_cast<std::size_t>(window)];
        Bed bed;
        const std::filesystem::path path = bed.host.data().file(test.file);
        QVERIFY(WriteFileAtomic(path, test.original));
        const std::unique_ptr<QDialog> dialog = test.open(bed);
        dialog->show();
        test.type(*dialog);
        const std::string theirs = test.original + "Theirs\r\n";
        QVERIFY(WriteFileAtomic(path, theirs));
        bed.host.notes.choices = { 0 };
        test.save(*dialog);

        const auto& boxes = bed.host.notes.boxes;
        QCOMPARE(boxes.size(), 1U);
        QCOMPARE(boxes[0].kind, Notifier::Kind::kQuestion);
        QVERIFY(NamesDataFile(boxes[0].text, test.file));
        QVERIFY(boxes[0].text.contains(QStringLiteral("was changed by another program")));
        QVERIFY(!dialog->isVisible());
        const std::string saved = ReadWholeFile(path).value_or("");
        QVERIFY(saved.find("Mine") != std::string::npos);
        QVERIFY(saved.find("Theirs") == std::string::npos);
        const std::vector<BackupFile> kept = bed.backups.List(test.file);
        QCOMPARE(kept.size(), 1U);
        QCOMPARE(ReadWholeFile(kept[0].path).value_or(""), theirs);
    }
};

QTEST_MAIN(WindowSavesTest)
#include "window_saves_test.moc"
