#include "core/text_file.h"
#include "core/ui/error_text.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "cycling/ui/archive_windows.h"
#include "cycling/ui/t_cycle.h"

#include <QLabel>
#include <QLineEdit>
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
        QVERIFY(WriteFileAtomic(host_->state.data.cdat(), saved_).has_value());
    }

    // Friday's OK is refused and Saturday's Cancel declines: only the backup is written. Saturday's
    // OK cycles. Every showing puts the pointer on OK. Without cdat.ovd nothing is asked.
    void theDateRuleAndTheAnswer() {
        host_->state.store[9] += "Dentist\a";
        QWidget main_window;
        main_window.show();
        TCycle cycle(*host_, &main_window, [this](TCycle& dialog) { Answer(dialog); });
        for (const auto& [day, button, at] : { std::tuple { 12u, "Button1", QPoint(300, 200) },
                 { 13u, "Button2", QPoint(40, 60) }, { 13u, "Button1", QPoint(100, 90) } }) {
            QCOMPARE(host_->state.store[2], std::string("Jan/8 /2024"));
            QVERIFY(!std::filesystem::exists(host_->state.data.archive()));
            main_window.setGeometry(QRect(at, QSize(700, 500)));
            host_->fixed_clock.Set({ std::chrono::year(2024) / 1 / day, 9 });
            answer_ = button;
            cycle.CycleCalendar1Click();
            QCOMPARE(File(host_->state.data.bdat()), saved_);
        }
        QCOMPARE(host_->state.store[2], std::string("Jan/15/2024Dentist\a"));
        QCOMPARE(host_->state.TopSlot, 1);
        QCOMPARE(File(host_->state.data.cdat()), saved_); // written only at the next save
        QCOMPARE(host_->notes.texts(),
            QStringList {
                "The calendar can not be cycled before the last day of the current week." });
        QCOMPARE(host_->reset_memos_calls, 3);
        QCOMPARE(host_->fill_calls, 3);
        QVERIFY(!host_->stale);
        std::filesystem::remove(host_->state.data.cdat());
        cycle.CycleCalendar1Click();
        QCOMPARE(File(host_->state.data.bdat()), saved_);
        QCOMPARE(host_->notes.texts().size(), 2);
        QVERIFY(NamesDataFile(host_->notes.texts()[1], "cdat.ovd"));
        QCOMPARE(pointer_on_ok_, 3);
    }

    // "Save" then Cancel, and closing Help, show the file again; "Save" then OK writes the text.
    void archiveSaveCancelHelpAndOk() {
        QVERIFY(WriteFileAtomic(host_->state.data.archive(), "one\r\n").has_value());
        const char* answer = "Button2";
        QString shown;
        TArchive archive(*host_, nullptr, [&](QDialog& dialog) {
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
        text->setPlainText(QStringLiteral("unsaved"));
        QTest::mouseClick(Child<QLabel>(&archive, "Label1"), Qt::LeftButton);
        QVERIFY(shown.startsWith(QStringLiteral("  The archive file consist of")));
        QCOMPARE(shown.count(QLatin1Char('\n')), 5);
        QCOMPARE(text->toPlainText(), QStringLiteral("one\n"));
        text->setPlainText(QStringLiteral("two\n"));
        Child(&archive, "Button1")->click();
        QVERIFY(!archive.isVisible());
        QCOMPARE(File(host_->state.data.archive()), std::string("two\r\n"));
    }

    // A missing archive opens empty and is created on "Save"; an unreadable one is never replaced.
    void missingOrUnreadableArchive() {
        int asked = 0;
        TArchive archive(*host_, nullptr, [&asked](QDialog& dialog) {
            ++asked;
            Child(&dialog, "Button1")->click();
        });
        archive.Prepare();
        auto* text = Child<QPlainTextEdit>(&archive, "Memo1");
        QVERIFY(text->toPlainText().isEmpty() && host_->notes.boxes.empty());
        text->setPlainText(QStringLiteral("new"));
        archive.Button1Click();
        QCOMPARE(File(host_->state.data.archive()), std::string("new"));
        std::filesystem::remove(host_->state.data.archive());
        std::filesystem::create_directories(host_->state.data.archive());
        archive.Prepare();
        QCOMPARE(host_->notes.boxes.size(), std::size_t { 1 });
        QVERIFY(NamesDataFile(host_->notes.boxes[0].text, "archive.ovd"));
        QVERIFY(!Child(&archive, "Button1")->isEnabled());
        archive.Button1Click();
        QCOMPARE(asked, 1);
    }

    // The About box names the data folder in use, spelled as the desktop spells it, in a field
    // that shows the whole path even when it is longer than the box is wide.
    void aboutShowsTheDataFolder() {
        TAbout about(*host_);
        about.show();
        auto* folder = Child<QLineEdit>(&about, "Edit1");
        QCOMPARE(folder->text(), PathText(host_->state.data.dir));
        QVERIFY(folder->text().contains(kNonAsciiFolder));
        QVERIFY(folder->isReadOnly());
        QCOMPARE(Child<QLabel>(&about, "Label2")->text(), QStringLiteral("Data folder:"));
        QVERIFY(about.rect().contains(folder->geometry()));
        QVERIFY(!folder->geometry().intersects(Child(&about, "Button1")->geometry()));
    }
};

QTEST_MAIN(CyclingWindowsTest)
#include "cycling_windows_test.moc"
