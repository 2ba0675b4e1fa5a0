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

#include <QApplication>
#include <QKeyEvent>
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

    void richTextNotesLoadAndSaveBack() {
        const std::string bytes = Fixture("richedit_notes.ovd");
        QVERIFY(WriteFileAtomic(NotesPath(), bytes));
        Show(*notes_);
        const QTextDocument* document = RichEdit1()->document();
        QCOMPARE(document->blockCount(), 6);
        QVERIFY(document->findBlockByNumber(2).text().contains(QChar(QChar::LineSeparator)));
        QCOMPARE(document->findBlockByNumber(3).text(), QStringLiteral("€ and ?"));
        notes_->findChild<QPushButton*>("Button1")->click();
        QVERIFY(!notes_->isVisible());
        QCOMPARE(SavedNotes(), ParseRtf(bytes)); // every run keeps its text and format
    }

    void plainNotesOpenAsTextAndAreSavedAsRichText() {
        QVERIFY(WriteFileAtomic(NotesPath(), Fixture("plain_notes.ovd")));
        Show(*notes_);
        QCOMPARE(RichEdit1()->toPlainText(), QStringLiteral("Shopping list\nMilk\n\nCall Renée\n"));
        RichEdit1()->moveCursor(QTextCursor::End);
        QTest::keyClicks(RichEdit1(), QStringLiteral("Bread"));
        notes_->Button1Click();
        QCOMPARE(SavedNotes(), PlainTextDocument("Shopping list\nMilk\n\nCall Ren\xe9\x65\nBread"));
    }

    void missingNotesOpenEmptyAndTypedTextIsSaved() {
        Show(*notes_);
        QVERIFY(RichEdit1()->toPlainText().isEmpty());
        RichEdit1()->setFocus();
        QTest::keyClicks(RichEdit1(), QStringLiteral("first"));
        QKeyEvent cjk(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("中"));
        QApplication::sendEvent(RichEdit1(), &cjk); // a file cannot hold it: refused
        QCOMPARE(said_.beeps, 1);
        QTest::keyClick(RichEdit1(), Qt::Key_B, Qt::ControlModifier);
        QTest::keyClicks(RichEdit1(), QStringLiteral(" bold"));
        notes_->Button1Click();
        QCOMPARE(SavedNotes().runs,
            (std::vector<RtfRun> { { "first", {} }, { " bold", { .bold = true, .color = {} } } }));
    }

    // Both boxes refuse what their files cannot hold however it arrives, and take tabs, line
    // breaks and every Windows-1252 character.
    void boxesRefuseUnstorableTextEveryWay() {
        Show(*notes_);
        Show(*errors_);
        for (QWidget* box : std::initializer_list<QWidget*> { RichEdit1(), Memo1() }) {
            const QString failure = CheckInputFilter(box, said_, QStringLiteral("é"));
            QVERIFY2(failure.isEmpty(), qPrintable(failure));
            SendText(box, QStringLiteral("\t€\n\u00a0"), InputRoute::kPaste);
            QVERIFY(FieldText(box).endsWith(QStringLiteral("\t€\n\u00a0")));
        }
        QCOMPARE(said_.beeps, 20);
        notes_->Button1Click();
        errors_->Button1Click();
        QVERIFY(!notes_->isVisible() && !errors_->isVisible());
        QCOMPARE(SavedLog(), std::string("\xe9\t\x80\r\n\xa0"));
    }

    // notes.ovd written by the program comes back byte for byte, its non-breaking spaces too.
    void nonBreakingSpacesSurviveTheNotesBox() {
        RtfDocument document;
        document.Append("Tea\xa0"
                        "at 5\n",
            {});
        document.Append("\xa0\xa0indented\v\xa0", { .bold = true, .color = {} });
        QVERIFY(SaveNotes(NotesPath(), document));
        const std::string bytes = ReadWholeFile(NotesPath()).value_or("");
        Show(*notes_);
        QCOMPARE(
            FieldText(RichEdit1()), QStringLiteral("Tea\u00a0at 5\n\u00a0\u00a0indented\n\u00a0"));
        notes_->Button1Click();
        QCOMPARE(ReadWholeFile(NotesPath()).value_or(""), bytes);
    }

    void unreadableFilesAreReportedAndNeverSavedOver() {
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
        QVERIFY(std::filesystem::is_directory(NotesPath())); // not saved over
        // Once the file is readable again, the next showing offers "Save" again.
        std::filesystem::remove_all(NotesPath());
        notes_->Prepare();
        QCOMPARE(button->text(), QStringLiteral("Save"));
    }

    // Escape and the window's close leave without writing; with changes the window asks first:
    // Cancel stays, Discard leaves the file as it was, Save writes it and closes.
    void leavingWithoutSavingAsksAboutChanges() {
        QVERIFY(WriteFileAtomic(NotesPath(), "plain notes"));
        QVERIFY(WriteFileAtomic(LogPath(), "one line\r\n"));
        for (QDialog* window : std::initializer_list<QDialog*> { notes_.get(), errors_.get() }) {
            QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
            window == notes_.get() ? Show(*notes_) : Show(*errors_);
            QTest::keyClick(window, Qt::Key_Escape); // unchanged: closes, no question
            QVERIFY(!window->isVisible());
            QVERIFY(said_.boxes.empty());
        }
        const std::string notes_before = ReadWholeFile(NotesPath()).value_or("");
        Show(*notes_);
        QTest::keyClicks(RichEdit1(), QStringLiteral("more "));
        said_.save_answers = { Notifier::SaveChoice::kCancel, Notifier::SaveChoice::kDiscard };
        QTest::keyClick(notes_.get(), Qt::Key_Escape);
        QVERIFY(notes_->isVisible());
        QCOMPARE(said_.texts(), QStringList { QStringLiteral("Save the changes to the notes?") });
        notes_->close();
        QVERIFY(!notes_->isVisible());
        QCOMPARE(ReadWholeFile(NotesPath()).value_or(""), notes_before);

        Show(*errors_);
        QTest::keyClicks(Memo1(), QStringLiteral("x"));
        said_.clear();
        said_.save_answers = { Notifier::SaveChoice::kSave };
        errors_->close();
        QVERIFY(!errors_->isVisible());
        QCOMPARE(
            said_.texts(), QStringList { QStringLiteral("Save the changes to the error log?") });
        QCOMPARE(ReadWholeFile(LogPath()).value_or(""), std::string("xone line\r\n"));
    }

    void onlyASuccessfulSaveClosesTheWindows() {
        Show(*notes_);
        Show(*errors_);
        // The data folder goes away while the windows are open (both files were missing).
        std::filesystem::rename(data_.dir, data_.dir.parent_path() / "moved");
        for (QDialog* window : std::initializer_list<QDialog*> { notes_.get(), errors_.get() }) {
            window->findChild<QPushButton*>("Button1")->click(); // the save fails
            QVERIFY(window->isVisible());
        }
        QCOMPARE(said_.texts().size(), 2);
        QVERIFY(NamesDataFile(said_.texts().front(), "notes.ovd"));
        QVERIFY(NamesDataFile(said_.texts().back(), "rdat.ovd"));
    }

    // notes.ovd rewritten by another program while the window is open: the save asks, and each
    // answer does what it says. A file only touched is saved over without a question.
    void notesChangedOutsideAskBeforeTheSave_data() {
        QTest::addColumn<int>("answer"); // -1: not asked
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QString>("file"); // the notes' text in notes.ovd afterwards
        QTest::addColumn<QString>("backup"); // the text of the one backup; empty: none
        QTest::addColumn<QString>("shown"); // the box's text afterwards
        QTest::addColumn<bool>("kept_aside");
        const QString mine = QStringLiteral("Mine Original");
        const QString theirs = QStringLiteral("Theirs");
        const QString original = QStringLiteral("Original");
        QTest::newRow("keep mine") << 0 << true << mine << theirs << mine << false;
        QTest::newRow("take theirs") << 1 << false << theirs << QString() << theirs << true;
        QTest::newRow("cancel") << 2 << false << theirs << QString() << mine << false;
        QTest::newRow("touched only") << -1 << true << mine << original << mine << false;
    }
    void notesChangedOutsideAskBeforeTheSave() {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QFETCH(QString, file);
        QFETCH(QString, backup);
        QFETCH(QString, shown);
        QFETCH(bool, kept_aside);
        QVERIFY(SaveNotes(NotesPath(), PlainTextDocument("Original")));
        Show(*notes_);
        QTest::keyClicks(RichEdit1(), QStringLiteral("Mine "));
        if (answer < 0) {
            const auto time = std::filesystem::last_write_time(NotesPath());
            std::filesystem::last_write_time(NotesPath(), time + std::chrono::hours(1));
        } else {
            QVERIFY(SaveNotes(NotesPath(), PlainTextDocument("Theirs")));
            said_.choices = { answer };
        }
        notes_->findChild<QPushButton*>("Button1")->click();

        const auto text_of = [](const std::filesystem::path& path) {
            return QString::fromStdString(ParseRtf(ReadWholeFile(path).value_or("")).PlainText());
        };
        if (answer < 0) {
            QVERIFY(said_.boxes.empty());
        } else {
            QVERIFY(!said_.boxes.empty());
            QCOMPARE(said_.boxes[0].kind, Notifier::Kind::kQuestion);
            QVERIFY(said_.boxes[0].text.startsWith(PathText(NotesPath()) + " was changed"));
            QCOMPARE(
                said_.boxes[0].buttons, (QStringList { "Keep Mine", "Take Theirs", "Cancel" }));
        }
        QCOMPARE(notes_->isVisible(), !closes);
        QCOMPARE(text_of(NotesPath()), file);
        QCOMPARE(RichEdit1()->toPlainText(), shown);
        const std::vector<BackupFile> kept = backups_->List("notes.ovd");
        QCOMPARE(kept.size(), backup.isEmpty() ? 0U : 1U);
        if (!kept.empty())
            QCOMPARE(text_of(kept[0].path), backup);
        const auto aside = data_.dir / "notes-not-saved-2024-03-14-090507.rtf";
        QCOMPARE(std::filesystem::exists(aside), kept_aside);
        if (!kept_aside)
            return;
        QCOMPARE(text_of(aside), QStringLiteral("Mine Original"));
        QCOMPARE(said_.boxes.back().kind, Notifier::Kind::kInformation);
        QVERIFY(said_.boxes.back().text.contains(PathText(aside)));
        // Their version is now the one the window read: the next save asks nothing.
        said_.clear();
        QTest::keyClicks(RichEdit1(), QStringLiteral("Again "));
        notes_->Button1Click();
        QVERIFY(said_.boxes.empty() && !notes_->isVisible());
        QCOMPARE(text_of(NotesPath()), QStringLiteral("Again Theirs"));
    }

    // Keep Mine saves nothing when the other version cannot be kept; a backup that fails before
    // an ordinary save does not stop it, and the window says so after saving.
    void backupFailuresAreReported() {
        QVERIFY(WriteFileAtomic(LogPath(), "first\r\n"));
        QVERIFY(WriteFileAtomic(data_.dir / "backups", "a file where the folder goes"));
        Show(*errors_);
        QTest::keyClicks(Memo1(), QStringLiteral("x"));
        errors_->Button1Click();
        QVERIFY(!errors_->isVisible());
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
        QCOMPARE(said_.boxes.size(), 2U);
        QCOMPARE(said_.boxes[1].kind, Notifier::Kind::kError);
        QVERIFY(said_.boxes[1].text.contains(QStringLiteral("Nothing was saved")));
    }

    void errorLogBytesComeBackExactlyWithCrLfLineBreaks() {
        const std::string bytes = Fixture("rdat.ovd")
            + "Apr/1 /2024 \xa0"
              "caf\xe9\x80  (Error - Date NOT Updated)";
        QVERIFY(WriteFileAtomic(LogPath(), bytes));
        Show(*errors_);
        QCOMPARE(Memo1()->document()->blockCount(), 3);
        errors_->Button1Click();
        QCOMPARE(SavedLog(), bytes);

        QVERIFY(WriteFileAtomic(LogPath(), "one\ntwo\rthree\r\n\n\r"));
        Show(*errors_);
        Memo1()->moveCursor(QTextCursor::End);
        QTest::keyClicks(Memo1(), QStringLiteral("four"));
        QTest::keyClick(Memo1(), Qt::Key_Return);
        QTest::keyClick(Memo1(), Qt::Key_Return, Qt::ShiftModifier); // a line break, saved the same
        QTest::keyClicks(Memo1(), QStringLiteral("six"));
        errors_->Button1Click();
        QCOMPARE(SavedLog(), std::string("one\r\ntwo\r\nthree\r\n\r\n\r\nfour\r\n\r\nsix"));

        Show(*errors_); // an empty log is saved as an empty file
        Memo1()->clear();
        errors_->Button1Click();
        QVERIFY(!errors_->isVisible());
        QVERIFY(ReadWholeFile(LogPath()).has_value());
        QCOMPARE(SavedLog(), std::string());
    }

    void formatsSurviveTheBoxAndMovesWithinIt() {
        // The exact size, then the pixel size alone, at the smallest, an odd and the largest size.
        for (int half_points : { 1, 17, kRtfMaxHalfPoints }) {
            QTextCharFormat chars
                = CharFormatOf({ .italic = true, .half_points = half_points, .color = {} });
            QCOMPARE(RtfFormatOf(chars).half_points, half_points);
            chars.clearProperty(kHalfPointsProperty);
            QCOMPARE(PixelSizeOfHalfPoints(RtfFormatOf(chars).half_points),
                PixelSizeOfHalfPoints(half_points));
        }
        // Text copied within the box keeps its format.
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
