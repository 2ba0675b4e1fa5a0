#include "core/text_file.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "cycling/calendar_cycle.h"
#include "cycling/ui/archive_windows.h"
#include "cycling/ui/t_cycle.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;

namespace {

Date D(int y, unsigned m, unsigned d) {
    return Date { std::chrono::year(y), std::chrono::month(m), std::chrono::day(d) };
}

template <typename T> T* Child(QWidget* dialog, const char* name) {
    T* child = dialog->findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qFatal("no control %s", name);
    return child;
}

void Click(QWidget* dialog, const char* name) {
    Child<QPushButton>(dialog, name)->click();
}

} // namespace

class CyclingWindowsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<FakeCalendarHost> host_;

    std::string File(const std::filesystem::path& path) const { return ReadWholeFile(path).bytes; }
    void Write(const std::filesystem::path& path, const std::string& bytes) {
        QVERIFY(WriteFileAtomic(path, bytes).ok());
    }

private slots:
    void init() {
        for (const char* name : { "cdat.ovd", "bdat.ovd", "fdat.ovd", "rdat.ovd", "archive.ovd" })
            std::filesystem::remove_all(std::filesystem::path(dir_.path().toStdString()) / name);
        host_ = std::make_unique<FakeCalendarHost>(dir_.path().toStdString());
        Write(host_->state.data.cdat(), "saved\r\n");
    }

    void onTheTopWeeksSaturdayTheCalendarCycles() {
        host_->fixed_clock.Set(LocalTime { D(2024, 1, 13), 9, 0, 0 });
        host_->state.store[2] += "Gym\a";
        host_->state.store[9] += "Dentist\a";
        Write(host_->state.data.fdat(), "W1000  Sundays\r\n\r\n");
        TCycle cycle(*host_, nullptr, [](TCycle& dialog) {
            dialog.Prepare();
            dialog.show();
            Click(&dialog, "Button1");
        });
        cycle.CycleCalendar1Click();
        QVERIFY(cycle.Confirmed());
        QCOMPARE(host_->state.store[2], std::string("Jan/15/2024Dentist\a"));
        QCOMPARE(host_->state.store[729], std::string("Jan/11/2026Sundays\a"));
        QCOMPARE(host_->state.TopSlot, 1);
        QCOMPARE(File(host_->state.data.bdat()), std::string("saved\r\n"));
        QCOMPARE(File(host_->state.data.cdat()), std::string("saved\r\n"));
        QCOMPARE(File(host_->state.data.archive()), std::string("Jan/8 /2024 Gym \r\n\r\n\r\n"));
        QCOMPARE(File(host_->state.data.fdat()), std::string("W1000  Sundays\r\n\r\n"));
        QCOMPARE(host_->reset_memos_calls, 1);
        QCOMPARE(host_->fill_calls, 1);
        QVERIFY(!host_->stale);
        QCOMPARE(host_->focus_first_note_calls, 1);
        QVERIFY(host_->notes.boxes.empty());
    }

    void onTheFridayOnlyTheBackupChanges() {
        host_->fixed_clock.Set(LocalTime { D(2024, 1, 12), 9, 0, 0 });
        const std::string first = host_->state.store[1];
        TCycle cycle(*host_, nullptr, [](TCycle& dialog) {
            dialog.Prepare();
            dialog.show();
            Click(&dialog, "Button1");
        });
        cycle.CycleCalendar1Click();
        QVERIFY(!cycle.Confirmed());
        QCOMPARE(host_->notes.texts(),
            QStringList { QStringLiteral(
                "The calendar can not be cycled before the last day of the current week.") });
        QCOMPARE(host_->state.store[1], first);
        QCOMPARE(File(host_->state.data.bdat()), std::string("saved\r\n"));
        QVERIFY(!std::filesystem::exists(host_->state.data.archive()));
        QVERIFY(!std::filesystem::exists(host_->state.data.fdat()));
        QCOMPARE(host_->fill_calls, 1);
    }

    void thePointerGoesOntoOkWhenTheQuestionOpens() {
        QWidget main_window;
        main_window.setGeometry(300, 200, 700, 500);
        main_window.show();
        bool on_ok = false;
        TCycle cycle(*host_, &main_window, [&](TCycle& dialog) {
            for (int showing = 0; showing < 2; ++showing) {
                host_->desk.pointer_moves.clear();
                dialog.Prepare();
                dialog.show();
                auto* ok = Child<QPushButton>(&dialog, "Button1");
                const QRect global(ok->mapToGlobal(QPoint(0, 0)), ok->size());
                on_ok = host_->desk.pointer_moves.size() == 1
                    && global.contains(host_->desk.pointer_moves.front());
                if (!on_ok)
                    break;
                dialog.hide();
                main_window.move(40, 60); // the next showing follows the main window
            }
            Click(&dialog, "Button2");
        });
        cycle.CycleCalendar1Click();
        QVERIFY(on_ok);
    }

    void cancelChangesOnlyTheBackup() {
        host_->fixed_clock.Set(LocalTime { D(2024, 3, 1), 9, 0, 0 });
        TCycle cycle(*host_, nullptr, [](TCycle& dialog) {
            dialog.Prepare();
            dialog.show();
            Click(&dialog, "Button2");
        });
        cycle.CycleCalendar1Click();
        QVERIFY(!cycle.Confirmed());
        QCOMPARE(host_->state.store[1], std::string("Jan/7 /2024"));
        QCOMPARE(File(host_->state.data.bdat()), std::string("saved\r\n"));
        QVERIFY(host_->notes.boxes.empty());
    }

    void missingDayFileStopsBeforeTheQuestion() {
        std::filesystem::remove(host_->state.data.cdat());
        bool asked = false;
        TCycle cycle(*host_, nullptr, [&asked](TCycle&) { asked = true; });
        cycle.CycleCalendar1Click();
        QVERIFY(!asked);
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QVERIFY(host_->notes.boxes[0].text.contains(QStringLiteral("cdat.ovd")));
    }

    void archiveSaveOkRewritesTheFile() {
        Write(host_->state.data.archive(), "one\r\ntwo\r\n");
        TArchive archive(*host_, nullptr, [](QDialog& dialog) {
            dialog.show();
            Click(&dialog, "Button1");
        });
        archive.Prepare();
        archive.show();
        auto* text = Child<QPlainTextEdit>(&archive, "Memo1");
        QCOMPARE(text->toPlainText(), QStringLiteral("one\ntwo\n"));
        text->setPlainText(QStringLiteral("two\n"));
        Click(&archive, "Button1");
        QVERIFY(!archive.isVisible());
        QCOMPARE(File(host_->state.data.archive()), std::string("two\r\n"));
    }

    void archiveSaveCancelKeepsTheWindowAndReloads() {
        Write(host_->state.data.archive(), "one\r\n");
        TArchive archive(*host_, nullptr, [](QDialog& dialog) {
            dialog.show();
            Click(&dialog, "Button2");
        });
        archive.Prepare();
        archive.show();
        auto* text = Child<QPlainTextEdit>(&archive, "Memo1");
        text->setPlainText(QStringLiteral("changed"));
        Click(&archive, "Button1");
        QVERIFY(archive.isVisible());
        QVERIFY(!archive.SaveQuestion().KeepArchiveOpen);
        QCOMPARE(text->toPlainText(), QStringLiteral("one\n"));
        QCOMPARE(File(host_->state.data.archive()), std::string("one\r\n"));
    }

    void closingHelpReloads() {
        Write(host_->state.data.archive(), "kept\r\n");
        QString shown;
        TArchive archive(*host_, nullptr, [&shown](QDialog& dialog) {
            shown = Child<QLabel>(&dialog, "Label1")->text();
            dialog.show();
            Click(&dialog, "Button1");
        });
        archive.Prepare();
        archive.show();
        Child<QPlainTextEdit>(&archive, "Memo1")->setPlainText(QStringLiteral("unsaved"));
        QTest::mouseClick(Child<QLabel>(&archive, "Label1"), Qt::LeftButton);
        QCOMPARE(shown, TArchHelp::HelpText());
        QVERIFY(shown.startsWith(QStringLiteral("  The archive file consist of")));
        QCOMPARE(shown.count(QLatin1Char('\n')), 5);
        QCOMPARE(Child<QPlainTextEdit>(&archive, "Memo1")->toPlainText(), QStringLiteral("kept\n"));
    }

    void missingArchiveOpensEmptyAndIsCreatedOnSave() {
        TArchive archive(*host_, nullptr, [](QDialog& dialog) { Click(&dialog, "Button1"); });
        archive.Prepare();
        archive.show();
        QVERIFY(host_->notes.boxes.empty());
        QVERIFY(Child<QPlainTextEdit>(&archive, "Memo1")->toPlainText().isEmpty());
        Child<QPlainTextEdit>(&archive, "Memo1")->setPlainText(QStringLiteral("new"));
        Click(&archive, "Button1");
        QCOMPARE(File(host_->state.data.archive()), std::string("new"));
    }

    void unreadableArchiveIsNeverSavedOver() {
        std::filesystem::create_directories(host_->state.data.archive());
        bool asked = false;
        TArchive archive(*host_, nullptr, [&asked](QDialog&) { asked = true; });
        archive.Prepare();
        archive.show();
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QVERIFY(!archive.CanSave());
        QVERIFY(!Child<QPushButton>(&archive, "Button1")->isEnabled());
        archive.Button1Click();
        QVERIFY(!asked);
        QVERIFY(std::filesystem::is_directory(host_->state.data.archive()));
    }
};

QTEST_MAIN(CyclingWindowsTest)
#include "cycling_windows_test.moc"
