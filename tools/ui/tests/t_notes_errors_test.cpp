#include "tools/ui/t_errors.h"
#include "tools/ui/t_notes.h"

#include "core/clock.h"
#include "core/file_backups.h"
#include "core/text_file.h"
#include "core/ui/error_text.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "core/ui/testing/input_checks.h"
#include "tools/notes_and_log.h"
#include "tools/ui/rich_text_bridge.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

using namespace orvane;

class NotesErrorsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    DataFolder data_; // the windows keep a reference to it, as to the program's data folder
    RecordingNotifier said_;
    FixedClock clock_ { LocalTime { MakeDate(2024, 3, 14), 9, 5, 7 } };
    std::unique_ptr<FileBackups> backups_;
    std::unique_ptr<TNotes> notes_;
    std::unique_ptr<TErrors> errors_;

    static std::string Fixture(const char* name) { // the model's fixtures, in tools/tests/data
        const auto path = std::filesystem::path(ORVANE_TEST_DATA) / "../../../tests/data" / name;
        return ReadWholeFile(path.lexically_normal()).value_or("");
    }
    std::filesystem::path NotesPath() const { return data_.notes(); }
    std::filesystem::path LogPath() const { return data_.rdat(); }
    RtfDocument SavedNotes() const { return ParseRtf(ReadWholeFile(NotesPath()).value_or("")); }
    std::string SavedLog() const { return ReadWholeFile(LogPath()).value_or(""); }
    template <class Window> void Show(Window& window) { window.Prepare(), window.show(); }
    QTextEdit* RichEdit1() { return notes_->findChild<QTextEdit*>("RichEdit1"); }
    QPlainTextEdit* Memo1() { return errors_->findChild<QPlainTextEdit*>("Memo1"); }

private slots:
    void init() {
        errors_.reset();
        notes_.reset();
        dir_ = std::make_unique<QTemporaryDir>();
        data_ = DataFolder { NonAsciiDataFolder(dir_->path()) };
        said_.clear();
        said_.choices.clear();
        backups_ = std::make_unique<FileBackups>(data_.dir, clock_);
        notes_ = std::make_unique<TNotes>(data_, said_, *backups_);
        errors_ = std::make_unique<TErrors>(data_, said_, *backups_);
    }

    // Rich text comes back with every run's text and format; plain text opens as text and is
    // saved as rich text.
    void notesLoadAndSaveBack() {
        const std::string bytes = Fixture("richedit_notes.ovd");
        QVERIFY(WriteFileAtomic(NotesPath(), bytes));
        Show(*notes_);
        notes_->findChild<QPushButton*>("Button1")->click();
        QCOMPARE(SavedNotes(), ParseRtf(bytes));
        QVERIFY(WriteFileAtomic(NotesPath(), Fixture("plain_notes.ovd")));
        Show(*notes_);
        QCOMPARE(RichEdit1()->toPlainText(), QStringLiteral("Shopping list\nMilk\n\nCall Renée\n"));
        RichEdit1()->moveCursor(QTextCursor::End);
        QTest::keyClick(RichEdit1(), Qt::Key_B, Qt::ControlModifier);
        QTest::keyClicks(RichEdit1(), QStringLiteral("Bread"));
        notes_->Button1Click();
        QCOMPARE(SavedNotes().PlainText(),
            "Shopping list\nMilk\n\nCall Ren\xe9"
            "e\nBread");
        QCOMPARE(SavedNotes().runs.back(), (RtfRun { "Bread", { .bold = true, .color = {} } }));
    }

    // Both boxes refuse what their files cannot hold however it arrives, and take tabs, line
    // breaks and non-breaking spaces.
    void boxesKeepEveryStorableCharacter() {
        Show(*notes_);
        Show(*errors_);
        for (QWidget* box : std::initializer_list<QWidget*> { RichEdit1(), Memo1() }) {
            const QString failure = CheckInputFilter(box, said_, QStringLiteral("é"));
            QVERIFY2(failure.isEmpty(), qPrintable(failure));
            SendText(box, QStringLiteral("\t€\n\u00a0"), InputRoute::kPaste);
            QVERIFY(FieldText(box).endsWith(QStringLiteral("\t€\n\u00a0")));
        }
        errors_->Button1Click();
        QCOMPARE(SavedLog(), std::string("\xe9\t\x80\r\n\xa0"));
    }

    // A file that cannot be read is reported and never saved over; a save that fails is reported
    // and leaves the window open.
    void failuresAreReportedAndNeverSavedOver() {
        std::filesystem::create_directories(NotesPath());
        std::filesystem::create_directories(LogPath());
        Show(*notes_);
        Show(*errors_);
        QCOMPARE(said_.texts().size(), 2);
        QVERIFY(NamesDataFile(said_.texts().front(), "notes.ovd"));
        QVERIFY(NamesDataFile(said_.texts().back(), "rdat.ovd"));
        auto* button = notes_->findChild<QPushButton*>("Button1");
        QCOMPARE(button->text(), QStringLiteral("Close"));
        QVERIFY(RichEdit1()->isReadOnly());
        button->click();
        errors_->Button1Click();
        QVERIFY(!notes_->isVisible() && !errors_->isVisible());
        QVERIFY(
            std::filesystem::is_directory(NotesPath()) && std::filesystem::is_directory(LogPath()));
        std::filesystem::remove_all(NotesPath());
        notes_->Prepare();
        QCOMPARE(button->text(), QStringLiteral("Save"));
    }

    // Escape and the window's close leave without writing; with changes the window asks first:
    // Cancel stays, Discard leaves the file as it was, Save writes it and closes.
    void leavingWithoutSavingAsksAboutChanges() {
        QVERIFY(WriteFileAtomic(NotesPath(), "plain notes"));
        QVERIFY(WriteFileAtomic(LogPath(), "one line\r\n"));
        Show(*notes_);
        QTest::keyClicks(RichEdit1(), QStringLiteral("more "));
        said_.save_answers = { Notifier::SaveChoice::kCancel, Notifier::SaveChoice::kDiscard };
        QTest::keyClick(notes_.get(), Qt::Key_Escape);
        QVERIFY(notes_->isVisible());
        QCOMPARE(said_.texts(), QStringList { QStringLiteral("Save the changes to the notes?") });
        notes_->close();
        QVERIFY(!notes_->isVisible());
        QCOMPARE(ReadWholeFile(NotesPath()).value_or(""), std::string("plain notes"));
        Show(*errors_);
        QTest::keyClicks(Memo1(), QStringLiteral("x"));
        said_.clear();
        said_.save_answers = { Notifier::SaveChoice::kSave };
        errors_->close();
        QVERIFY(!errors_->isVisible());
        QCOMPARE(
            said_.texts(), QStringList { QStringLiteral("Save the changes to the error log?") });
        QCOMPARE(SavedLog(), std::string("xone line\r\n"));
    }

    // A backup that fails before an ordinary save does not stop it, and the window says so after
    // saving; Keep Mine saves nothing when the other version cannot be kept.
    void backupFailuresAreReported() {
        QVERIFY(WriteFileAtomic(LogPath(), "first\r\n"));
        QVERIFY(WriteFileAtomic(data_.dir / "backups", "a file where the folder goes"));
        Show(*errors_);
        QTest::keyClicks(Memo1(), QStringLiteral("x"));
        errors_->Button1Click();
        QCOMPARE(SavedLog(), std::string("xfirst\r\n"));
        QCOMPARE(said_.boxes.size(), 1U);
        QCOMPARE(said_.boxes[0].kind, Notifier::Kind::kWarning);
        QVERIFY(said_.boxes[0].text.startsWith(PathText(LogPath()) + " was saved, but"));
        said_.clear();
        Show(*errors_);
        QTest::keyClicks(Memo1(), QStringLiteral("y"));
        QVERIFY(WriteFileAtomic(LogPath(), "theirs\r\n"));
        said_.choices = { 0 };
        errors_->Button1Click();
        QVERIFY(errors_->isVisible());
        QCOMPARE(SavedLog(), std::string("theirs\r\n"));
        QCOMPARE(said_.boxes.back().kind, Notifier::Kind::kError);
        QVERIFY(said_.boxes.back().text.contains(QStringLiteral("Nothing was saved")));
    }

    // The log comes back byte for byte; every line break, Shift+Enter's too, is saved as CR LF.
    void errorLogBytesAndLineBreaks() {
        const std::string bytes = Fixture("rdat.ovd")
            + "Apr/1 /2024 \xa0"
              "caf\xe9\x80  (Error - Date NOT Updated)";
        QVERIFY(WriteFileAtomic(LogPath(), bytes));
        Show(*errors_);
        errors_->Button1Click();
        QCOMPARE(SavedLog(), bytes);
        QVERIFY(WriteFileAtomic(LogPath(), "one\ntwo\rthree\r\n"));
        Show(*errors_);
        Memo1()->moveCursor(QTextCursor::End);
        QTest::keyClicks(Memo1(), QStringLiteral("four"));
        QTest::keyClick(Memo1(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(Memo1(), QStringLiteral("five"));
        errors_->Button1Click();
        QCOMPARE(SavedLog(), std::string("one\r\ntwo\r\nthree\r\nfour\r\nfive"));
    }

    // Sizes survive the box exactly; text copied within the box keeps its format.
    void formatsSurviveTheBoxAndMovesWithinIt() {
        for (int half_points : { 1, 17, kRtfMaxHalfPoints }) {
            QTextCharFormat chars
                = CharFormatOf({ .italic = true, .half_points = half_points, .color = {} });
            QCOMPARE(RtfFormatOf(chars).half_points, half_points);
            chars.clearProperty(kHalfPointsProperty);
            QCOMPARE(PixelSizeOfHalfPoints(RtfFormatOf(chars).half_points),
                PixelSizeOfHalfPoints(half_points));
        }
        const RtfFormat bold { .bold = true, .color = {} };
        RtfDocument document;
        document.Append("plain ", {});
        document.Append("strong", bold);
        QVERIFY(SaveNotes(NotesPath(), document));
        Show(*notes_);
        RichEdit1()->selectAll();
        RichEdit1()->copy();
        RichEdit1()->moveCursor(QTextCursor::Start);
        RichEdit1()->paste();
        notes_->Button1Click();
        QCOMPARE(SavedNotes().runs,
            (std::vector<RtfRun> {
                { "plain ", {} }, { "strong", bold }, { "plain ", {} }, { "strong", bold } }));
    }
};

QTEST_MAIN(NotesErrorsTest)
#include "t_notes_errors_test.moc"
