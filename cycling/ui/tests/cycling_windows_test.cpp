#include "core/file_backups.h"
#include "core/text_file.h"
#include "core/ui/error_text.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "core/ui/testing/input_checks.h"
#include "cycling/ui/archive_windows.h"
#include "cycling/ui/t_cycle.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;

template <typename T = QPushButton> static T* Child(QWidget* dialog, const char* name) {
    return dialog->findChild<T*>(QLatin1String(name)); // a missing control crashes the test
}

class CyclingWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeCalendarHost> host_;
    const std::string saved_ = "saved\r\nlone\rCR"; // the backup copies bytes
    const char* answer_ = "Button1";
    int pointer_on_ok_ = 0;

    std::string File(const std::filesystem::path& path) const {
        return ReadWholeFile(path).value_or("");
    }
    // Shows the cycle question once, notes whether the pointer went onto OK, answers `answer_`.
    void Answer(TCycle& dialog) {
        host_->desk.pointer_moves.clear();
        dialog.Prepare();
        dialog.show();
        QPushButton* ok = Child(&dialog, "Button1");
        pointer_on_ok_ += host_->desk.pointer_moves.size() == 1
            && QRect(ok->mapToGlobal(QPoint()), ok->size()).contains(host_->desk.pointer_moves[0]);
        Child(&dialog, answer_)->click();
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        pointer_on_ok_ = 0;
        host_ = std::make_unique<FakeCalendarHost>(NonAsciiDataFolder(dir_->path()));
        QVERIFY(WriteFileAtomic(host_->data().cdat(), saved_).has_value());
    }
    void cleanup() { host_.reset(); }

    // Friday's OK is refused and Saturday's Cancel declines: only the backup is written.
    // Saturday's OK cycles. Every showing puts the pointer on OK. Without cdat.ovd nothing is
    // asked.
    void theDateRuleAndTheAnswer() {
        host_->AddToDay(9, "Dentist\a");
        QWidget main_window;
        main_window.show();
        TCycle cycle(host_->document, *host_, host_->services(), &main_window,
            [this](TCycle& dialog) { Answer(dialog); });
        for (const auto& [day, button, at] : { std::tuple { 12u, "Button1", QPoint(300, 200) },
                 { 13u, "Button2", QPoint(40, 60) }, { 13u, "Button1", QPoint(100, 90) } }) {
            QCOMPARE(host_->Day(2), std::string("Jan/8 /2024"));
            main_window.setGeometry(QRect(at, QSize(700, 500)));
            host_->fixed_clock.Set({ std::chrono::year(2024) / 1 / day, 9 });
            answer_ = button;
            cycle.CycleCalendar1Click();
            QCOMPARE(File(host_->data().bdat()), saved_);
        }
        QCOMPARE(host_->Day(2), std::string("Jan/15/2024Dentist\a"));
        QCOMPARE(File(host_->data().cdat()), saved_); // written only at the next save
        QCOMPARE(host_->notes.texts(),
            QStringList {
                "The calendar can not be cycled before the last day of the current week." });
        QCOMPARE(host_->ReportsOf(OperationKind::kCycle), 1);
        std::filesystem::remove(host_->data().cdat());
        cycle.CycleCalendar1Click();
        QCOMPARE(host_->notes.texts().size(), 2);
        QVERIFY(NamesDataFile(host_->notes.texts()[1], "cdat.ovd"));
        QCOMPARE(pointer_on_ok_, 3);
    }

    // A cycle's report includes the backup it took of cdat.ovd, with bdat.ovd's old bytes (none
    // the first time), so that undoing the cycle puts the backup back too; a cycle stopped before
    // any day moved reports neither days nor the backup, although the backup was taken.
    void cycleReportIncludesTheBackupOnlyWhenTheDaysMoved() {
        host_->fixed_clock.Set({ std::chrono::year(2024) / 2 / 3, 9 });
        TCycle cycle(host_->document, *host_, host_->services(), nullptr,
            [](TCycle& dialog) { Child(&dialog, "Button1")->click(); });
        // Cycles with `cdat` saved; the changes of bdat.ovd the cycle reported.
        const auto cycle_with = [&](const char* cdat) {
            std::vector<FileChange> found;
            [&] { QVERIFY(WriteFileAtomic(host_->data().cdat(), cdat).has_value()); }();
            host_->reports.clear();
            cycle.CycleCalendar1Click();
            [&] { QCOMPARE(File(host_->data().bdat()), std::string(cdat)); }();
            [&] { QCOMPARE(host_->ReportsOf(OperationKind::kCycle), 1); }();
            for (const FileChange& file : host_->reports.back().files) {
                if (file.path == host_->data().bdat())
                    found.push_back(file);
            }
            return found;
        };
        std::vector<FileChange> backup = cycle_with("first\r\n");
        QCOMPARE(host_->reports.back().days.size(), std::size_t { kCalendarDays });
        QCOMPARE(backup.size(), std::size_t { 1 });
        QVERIFY(backup[0].kind == FileChange::Kind::kReplaced && backup[0].before_known);
        QCOMPARE(backup[0].before, std::nullopt);
        QCOMPARE(backup[0].after, std::string("first\r\n"));
        std::filesystem::remove(host_->data().archive());
        std::filesystem::create_directories(host_->data().archive()); // cannot be appended to
        QVERIFY(cycle_with("second\r\n").empty());
        QVERIFY(host_->reports.back().days.empty());
        QVERIFY(NamesDataFile(host_->notes.texts().last(), "archive.ovd"));
        std::filesystem::remove(host_->data().archive());
        backup = cycle_with("third\r\n");
        QCOMPARE(backup.size(), std::size_t { 1 });
        QCOMPARE(backup[0].before, std::optional<std::string>("second\r\n"));
    }

    // "Save" then Cancel shows the file again; Help shows its text; "Save" then OK writes.
    void archiveSaveCancelHelpAndOk() {
        QVERIFY(WriteFileAtomic(host_->data().archive(), "one\r\n").has_value());
        const char* answer = "Button2"; // Cancel, then OK
        QString shown;
        TArchive archive(
            host_->data(), host_->services(), host_->backups, nullptr, [&](QDialog& dialog) {
                shown = Child<QLabel>(&dialog, "Label1")->text();
                Child(&dialog, answer)->click();
            });
        archive.Prepare();
        archive.show();
        auto* text = Child<QPlainTextEdit>(&archive, "Memo1");
        text->setPlainText(QStringLiteral("changed"));
        Child(&archive, "Button1")->click();
        QVERIFY(archive.isVisible());
        QCOMPARE(text->toPlainText(), QStringLiteral("one\n"));
        answer = "Button1";
        QTest::mouseClick(Child<QLabel>(&archive, "Label1"), Qt::LeftButton);
        QVERIFY(shown.startsWith(QStringLiteral("  The archive file consist of")));
        text->setPlainText(QStringLiteral("two\n"));
        Child(&archive, "Button1")->click();
        QCOMPARE(File(host_->data().archive()), std::string("two\r\n"));
    }

    // The archive saved unchanged is the file it showed, non-breaking spaces and all; the box
    // takes only what the file can hold.
    void archiveSavedUnchangedKeepsEveryByte() {
        std::string bytes = "Mar/14/2024 Tea\xa0"
                            "at 5 \tcaf\xe9 \x80\x81\x9d \r\n\r\n\r\n";
        for (int b = 0; b < 0x100; ++b) {
            if (b != '\r' && b != '\n') // every other byte shows as one character
                bytes += static_cast<char>(b);
        }
        QVERIFY(WriteFileAtomic(host_->data().archive(), bytes).has_value());
        TArchive archive(host_->data(), host_->services(), host_->backups, nullptr,
            [](QDialog& dialog) { Child(&dialog, "Button1")->click(); });
        archive.Prepare();
        archive.show();
        archive.Button1Click();
        QVERIFY(!archive.isVisible());
        QCOMPARE(File(host_->data().archive()), bytes);
        archive.Prepare(); // and the box takes only what the file can hold
        const QString failure = CheckInputFilter(
            Child<QPlainTextEdit>(&archive, "Memo1"), host_->notes, QStringLiteral("é"));
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    // An unreadable archive is reported and never replaced.
    void unreadableArchive() {
        int asked = 0;
        TArchive archive(
            host_->data(), host_->services(), host_->backups, nullptr, [&asked](QDialog& dialog) {
                ++asked;
                Child(&dialog, "Button1")->click();
            });
        std::filesystem::create_directories(host_->data().archive());
        archive.Prepare();
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QVERIFY(NamesDataFile(host_->notes.boxes[0].text, "archive.ovd"));
        QVERIFY(!Child(&archive, "Button1")->isEnabled());
        archive.Button1Click();
        QCOMPARE(asked, 0);
        QVERIFY(std::filesystem::is_directory(host_->data().archive()));
    }

    // archive.ovd rewritten by another program while the window is open. Take Theirs closes the
    // save question and shows their version, the window's text kept in a dated file; Cancel
    // closes it and keeps the window's text as it was, with nothing written.
    void archiveChangedOutsideTakeTheirsOrCancel() {
        FileBackups& backups = host_->backups;
        const std::filesystem::path path = host_->data().archive();
        for (const int answer : { 1, 2 }) {
            QVERIFY(WriteFileAtomic(path, "one\r\n").has_value());
            bool accepted = false;
            TArchive archive(
                host_->data(), host_->services(), backups, nullptr, [&accepted](QDialog& dialog) {
                    Child(&dialog, "Button1")->click();
                    accepted = dialog.result() == QDialog::Accepted;
                });
            archive.Prepare();
            archive.show();
            auto* text = Child<QPlainTextEdit>(&archive, "Memo1");
            text->setPlainText(QStringLiteral("mine\n"));
            QVERIFY(WriteFileAtomic(path, "theirs\r\n").has_value());
            host_->notes.clear();
            host_->notes.choices = { answer };
            archive.Button1Click();
            QVERIFY(!accepted && archive.isVisible());
            QCOMPARE(File(path), std::string("theirs\r\n"));
            QVERIFY(backups.List("archive.ovd").empty());
            const auto aside = host_->data().dir / "archive-not-saved-2024-01-07-120000.txt";
            if (answer == 1) {
                QCOMPARE(text->toPlainText(), QStringLiteral("theirs\n"));
                QCOMPARE(File(aside), std::string("mine\r\n"));
                QVERIFY(host_->notes.texts().back().contains(PathText(aside)));
                std::filesystem::remove(aside);
            } else {
                QCOMPARE(text->toPlainText(), QStringLiteral("mine\n"));
                QVERIFY(!std::filesystem::exists(aside));
                QCOMPARE(host_->notes.boxes.size(), 1U);
            }
        }
    }
};

QTEST_MAIN(CyclingWindowsTest)
#include "cycling_windows_test.moc"
