#include "tools/ui/t_errors.h"
#include "tools/ui/t_notes.h"

#include "core/text_file.h"
#include "core/ui/testing/fake_calendar_host.h"
#include "tools/notes_and_log.h"
#include "tools/rtf.h"
#include "tools/ui/rich_text_bridge.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

using namespace orvane;

namespace {

// Types a character that has no key of its own, as an input method would deliver it.
void TypeCharacter(QWidget* widget, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

} // namespace

class NotesErrorsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeCalendarHost> host_;

    static std::string Fixture(const char* name) {
        // The model's fixtures: tools/tests/data.
        const auto path = std::filesystem::path(ORVANE_TEST_DATA) / "../../../tests/data" / name;
        return ReadWholeFile(path.lexically_normal()).bytes;
    }
    std::filesystem::path NotesPath() const { return host_->state.data.notes(); }
    std::filesystem::path LogPath() const { return host_->state.data.rdat(); }

    // The text of the box's fragments that are bold.
    static QString BoldText(const QTextDocument* document) {
        QString bold;
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().charFormat().fontWeight() >= QFont::Bold)
                    bold += it.fragment().text();
            }
        }
        return bold;
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        host_ = std::make_unique<FakeCalendarHost>(dir_->path().toStdString());
    }
    void cleanup() {
        host_.reset();
        dir_.reset();
    }

    void notesWindowHasItsLayout() {
        TNotes notes(*host_);
        QCOMPARE(notes.windowTitle(), QStringLiteral("Notes"));
        QCOMPARE(notes.size(), QSize(263, 343));
        QVERIFY(!(notes.windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(notes.findChild<QTextEdit*>("RichEdit1")->geometry(), QRect(7, 6, 249, 305));
        QCOMPARE(notes.findChild<QPushButton*>("Button1")->geometry(), QRect(94, 316, 75, 25));
        TErrors errors(*host_);
        QCOMPARE(errors.windowTitle(), QStringLiteral("Error Log"));
        QCOMPARE(errors.size(), QSize(349, 347));
        QCOMPARE(errors.findChild<QPlainTextEdit*>("Memo1")->geometry(), QRect(5, 8, 339, 305));
        QCOMPARE(errors.findChild<QPushButton*>("Button1")->geometry(), QRect(137, 320, 75, 25));
    }

    void richTextNotesLoadAndSaveBack() {
        const std::string bytes = Fixture("richedit_notes.ovd");
        QVERIFY(!bytes.empty());
        QVERIFY(WriteFileAtomic(NotesPath(), bytes));
        TNotes notes(*host_);
        notes.Prepare();
        notes.show();
        auto* box = notes.findChild<QTextEdit*>("RichEdit1");
        const QTextDocument* document = box->document();
        QCOMPARE(document->blockCount(), 6);
        QCOMPARE(document->begin().text(), QStringLiteral("Café opens at 9"));
        QCOMPARE(BoldText(document), QStringLiteral("opens"));
        QVERIFY(document->findBlockByNumber(2).text().contains(QChar(QChar::LineSeparator)));
        QCOMPARE(document->findBlockByNumber(3).text(), QStringLiteral("€ and ?"));

        notes.findChild<QPushButton*>("Button1")->click();
        QVERIFY(!notes.isVisible());
        QVERIFY(host_->notes.boxes.empty());
        const RtfDocument saved = ParseRtf(ReadWholeFile(NotesPath()).bytes);
        QCOMPARE(QByteArray::fromStdString(saved.PlainText()),
            QByteArray::fromStdString(ParseRtf(bytes).PlainText()));
        // Every run of the file keeps its format through the box.
        for (const RtfRun& run : ParseRtf(bytes).runs) {
            if (run.text == "\n")
                continue;
            bool kept = false;
            for (const RtfRun& back : saved.runs)
                kept = kept
                    || (back.format == run.format
                        && back.text.find(run.text.substr(0, 3)) != std::string::npos);
            QVERIFY2(kept, run.text.c_str());
        }
    }

    void plainNotesOpenAsTextAndAreSavedAsRichText() {
        QVERIFY(WriteFileAtomic(NotesPath(), Fixture("plain_notes.ovd")));
        TNotes notes(*host_);
        notes.Prepare();
        notes.show();
        auto* box = notes.findChild<QTextEdit*>("RichEdit1");
        QCOMPARE(box->toPlainText(), QStringLiteral("Shopping list\nMilk\n\nCall Renée\n"));
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, QStringLiteral("Bread"));
        notes.Button1Click();
        const std::string bytes = ReadWholeFile(NotesPath()).bytes;
        QVERIFY(LooksLikeRtf(bytes));
        QCOMPARE(QByteArray::fromStdString(ParseRtf(bytes).PlainText()),
            QByteArray("Shopping list\nMilk\n\nCall Ren\xe9"
                       "e\nBread"));
        for (const RtfRun& run : ParseRtf(bytes).runs)
            QCOMPARE(run.format, RtfFormat {});
    }

    void missingNotesOpenEmptyAndSaveCreatesTheFile() {
        TNotes notes(*host_);
        notes.Prepare();
        notes.show();
        QVERIFY(notes.SaveOffered());
        auto* box = notes.findChild<QTextEdit*>("RichEdit1");
        QVERIFY(box->toPlainText().isEmpty());
        QVERIFY(host_->notes.boxes.empty());
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("first"));
        QTest::keyClick(box, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClicks(box, QStringLiteral(" bold"));
        notes.Button1Click();
        const RtfDocument saved = ParseRtf(ReadWholeFile(NotesPath()).bytes);
        QCOMPARE(QByteArray::fromStdString(saved.PlainText()), QByteArray("first bold"));
        QCOMPARE(saved.runs.size(), std::size_t { 2 });
        QVERIFY(saved.runs[1].format.bold);
        QCOMPARE(saved.runs[1].format.half_points, kNotesHalfPoints);
    }

    void unreadableFilesAreReportedAndNeverSavedOver() {
        std::filesystem::create_directories(NotesPath());
        std::filesystem::create_directories(LogPath());
        TNotes notes(*host_);
        notes.Prepare();
        notes.show();
        QCOMPARE(host_->notes.texts().size(), 1);
        QVERIFY(host_->notes.texts().front().contains(QStringLiteral("notes.ovd")));
        QVERIFY(!notes.SaveOffered());
        auto* button = notes.findChild<QPushButton*>("Button1");
        QCOMPARE(button->text(), QStringLiteral("Close"));
        QVERIFY(notes.findChild<QTextEdit*>("RichEdit1")->isReadOnly());
        button->click();
        QVERIFY(!notes.isVisible());
        QVERIFY(std::filesystem::is_directory(NotesPath()));

        TErrors errors(*host_);
        errors.Prepare();
        errors.show();
        QCOMPARE(host_->notes.texts().size(), 2);
        QVERIFY(host_->notes.texts().back().contains(QStringLiteral("rdat.ovd")));
        QVERIFY(!errors.SaveOffered());
        errors.Button1Click();
        QVERIFY(!errors.isVisible());
        QVERIFY(std::filesystem::is_directory(LogPath()));

        // Once the file is readable again, the next showing offers "Save" again.
        std::filesystem::remove_all(NotesPath());
        notes.Prepare();
        QVERIFY(notes.SaveOffered());
        QCOMPARE(button->text(), QStringLiteral("Save"));
    }

    void aFailedSaveIsReportedAndTheWindowStaysOpen() {
        host_->state.data.dir = dir_->filePath(QStringLiteral("gone")).toStdString();
        TNotes notes(*host_);
        notes.Prepare();
        notes.show();
        notes.Button1Click();
        QVERIFY(notes.isVisible());
        QCOMPARE(host_->notes.texts().size(), 1);
        QVERIFY(host_->notes.texts().front().contains(QStringLiteral("notes.ovd")));

        TErrors errors(*host_);
        errors.Prepare();
        errors.show();
        errors.Button1Click();
        QVERIFY(errors.isVisible());
        QCOMPARE(host_->notes.texts().size(), 2);
    }

    void saveIsTheOnlyWayOut() {
        TNotes notes(*host_);
        notes.Prepare();
        notes.show();
        QTest::keyClick(&notes, Qt::Key_Escape);
        notes.close();
        QVERIFY(notes.isVisible());
        TErrors errors(*host_);
        errors.Prepare();
        errors.show();
        QTest::keyClick(&errors, Qt::Key_Escape);
        QVERIFY(errors.isVisible());
    }

    void errorLogBytesComeBackExactly() {
        const std::string bytes = Fixture("rdat.ovd")
            + "Apr/1 /2024 \xa0"
              "caf\xe9\x80  (Error - Date NOT Updated)";
        QVERIFY(WriteFileAtomic(LogPath(), bytes));
        TErrors errors(*host_);
        errors.Prepare();
        errors.show();
        auto* memo = errors.findChild<QPlainTextEdit*>("Memo1");
        QCOMPARE(memo->document()->blockCount(), 3);
        errors.Button1Click();
        QVERIFY(!errors.isVisible());
        QCOMPARE(QByteArray::fromStdString(ReadWholeFile(LogPath()).bytes),
            QByteArray::fromStdString(bytes));
    }

    void errorLogLineBreaksAreSavedAsCrLfAndAnEmptyLogIsAnEmptyFile() {
        QVERIFY(WriteFileAtomic(LogPath(), "one\ntwo\rthree\r\n"));
        TErrors errors(*host_);
        errors.Prepare();
        errors.show();
        auto* memo = errors.findChild<QPlainTextEdit*>("Memo1");
        memo->moveCursor(QTextCursor::End);
        QTest::keyClicks(memo, QStringLiteral("four"));
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, QStringLiteral("five"));
        errors.Button1Click();
        QCOMPARE(QByteArray::fromStdString(ReadWholeFile(LogPath()).bytes),
            QByteArray("one\r\ntwo\r\nthree\r\nfour\r\nfive"));

        // Shift+Enter breaks the line too, and is saved as the same CR LF.
        errors.Prepare();
        errors.show();
        memo->moveCursor(QTextCursor::End);
        QTest::keyClick(memo, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(memo, QStringLiteral("six"));
        errors.Button1Click();
        QVERIFY(!errors.isVisible());
        QCOMPARE(QByteArray::fromStdString(ReadWholeFile(LogPath()).bytes),
            QByteArray("one\r\ntwo\r\nthree\r\nfour\r\nfive\r\nsix"));

        errors.Prepare();
        errors.show();
        memo->selectAll();
        QTest::keyClick(memo, Qt::Key_Delete);
        errors.Button1Click();
        QVERIFY(ReadWholeFile(LogPath()).ok());
        QCOMPARE(ReadWholeFile(LogPath()).bytes, std::string());
        errors.Prepare();
        QVERIFY(memo->toPlainText().isEmpty());
        QVERIFY(host_->notes.boxes.empty());
    }

    void formatsSurviveTheBoxAndMovesWithinIt() {
        for (int half_points : { 1, 16, 17, 20, 24, 40, 99, kRtfMaxHalfPoints }) {
            RtfFormat format;
            format.bold = half_points % 2 == 0;
            format.italic = half_points > 20;
            format.underline = half_points < 20;
            format.strike = half_points == 17;
            format.half_points = half_points;
            if (half_points > 30)
                format.color = RtfColor { 12, 34, 56 };
            QCOMPARE(RtfFormatOf(CharFormatOf(format)), format);
            // Without the exact size, the pixel size still gives a size shown the same.
            QTextCharFormat pixels = CharFormatOf(format);
            pixels.clearProperty(kHalfPointsProperty);
            QCOMPARE(PixelSizeOfHalfPoints(RtfFormatOf(pixels).half_points),
                PixelSizeOfHalfPoints(half_points));
        }

        RtfDocument document;
        RtfFormat bold;
        bold.bold = true;
        document.Append("plain ", {});
        document.Append("strong", bold);
        QVERIFY(SaveNotes(NotesPath(), document));
        TNotes notes(*host_);
        notes.Prepare();
        notes.show();
        auto* box = notes.findChild<QTextEdit*>("RichEdit1");
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(6);
        cursor.setPosition(12, QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
        box->copy();
        box->moveCursor(QTextCursor::Start);
        box->paste();
        notes.Button1Click();
        const RtfDocument saved = LoadNotes(NotesPath()).document;
        QCOMPARE(QByteArray::fromStdString(saved.PlainText()), QByteArray("strongplain strong"));
        QCOMPARE(saved.runs.front().text, std::string("strong"));
        QCOMPARE(saved.runs.front().format, bold);
    }

    void charactersAFileCannotHoldAreRefusedWhereTyped() {
        TNotes notes(*host_);
        notes.Prepare();
        notes.show();
        auto* box = notes.findChild<QTextEdit*>("RichEdit1");
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("a"));
        TypeCharacter(box, QStringLiteral("中"));
        QTest::keyClicks(box, QStringLiteral("b"));
        QCOMPARE(box->toPlainText(), QStringLiteral("ab"));
        QCOMPARE(host_->notes.beeps, 1);

        TErrors errors(*host_);
        errors.Prepare();
        errors.show();
        auto* memo = errors.findChild<QPlainTextEdit*>("Memo1");
        QTest::keyClicks(memo, QStringLiteral("x"));
        TypeCharacter(memo, QStringLiteral("中"));
        QCOMPARE(memo->toPlainText(), QStringLiteral("x"));
        QCOMPARE(host_->notes.beeps, 2);
    }
};

QTEST_MAIN(NotesErrorsTest)
#include "t_notes_errors_test.moc"
