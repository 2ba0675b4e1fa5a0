#include "tools/ui/t_errors.h"
#include "tools/ui/t_notes.h"

#include "core/text_file.h"
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
        notes_ = std::make_unique<TNotes>(data_, said_);
        errors_ = std::make_unique<TErrors>(data_, said_);
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
        data_.dir = data_.dir / "gone";
        Show(*notes_);
        Show(*errors_);
        for (QDialog* window : std::initializer_list<QDialog*> { notes_.get(), errors_.get() }) {
            window->findChild<QPushButton*>("Button1")->click(); // the save fails
            QVERIFY(window->isVisible());
        }
        QCOMPARE(said_.texts().size(), 2);
        QVERIFY(said_.texts().front().contains(
            kNonAsciiFolder + QStringLiteral("/csystem/gone/notes.ovd")));
        QVERIFY(said_.texts().back().contains(
            kNonAsciiFolder + QStringLiteral("/csystem/gone/rdat.ovd")));
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
