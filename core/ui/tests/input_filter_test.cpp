#include "core/ui/input_filter.h"

#include "core/ui/notifier.h"
#include "core/ui/testing/input_checks.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

using namespace orvane;

class InputFilterTest : public QObject {
    Q_OBJECT
private slots:
    void storableInput_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("single");
        QTest::addColumn<bool>("multi");
        QTest::newRow("Windows-1252 letters")
            << QStringLiteral("Dentist 9:30 € é œ") << true << true;
        QTest::newRow("non-breaking space") << QStringLiteral("9\u00a0am") << true << true;
        QTest::newRow("tab") << QStringLiteral("a\tb") << false << true;
        QTest::newRow("line breaks") << QStringLiteral("a\nb\r\nc\u2028d\u2029") << false << true;
        QTest::newRow("bell") << QString(QChar(7)) << false << false;
        QTest::newRow("nul") << QString(QChar(0)) << false << false;
        QTest::newRow("undefined byte 0x81") << QString(QChar(0x81)) << false << false;
        QTest::newRow("CJK") << QStringLiteral("\u4e2d") << false << false;
        QTest::newRow("a macron") << QStringLiteral("\u0101") << false << false;
        QTest::newRow("emoji") << QStringLiteral("\U0001F600") << false << false;
        QTest::newRow("zero-width joiner") << QStringLiteral("\u200d") << false << false;
    }
    void storableInput() {
        QFETCH(QString, text);
        QFETCH(bool, single);
        QFETCH(bool, multi);
        QCOMPARE(IsStorableInput(text, FieldLines::kSingle), single);
        QCOMPARE(IsStorableInput(text, FieldLines::kMulti), multi);
    }

    // Text the program read may keep what the filter refuses; an edit never adds such a
    // character, not even by replacing one or putting one back.
    void textAsReadKeepsOnlyItsOwnUnstorableCharacters() {
        RecordingNotifier notes;
        QLineEdit title;
        InstallInputFilter(&title, notes);
        SetTextAsRead(&title, QStringLiteral("Tu\tes\u4e2d"));
        QCOMPARE(title.text(), QStringLiteral("Tu\tes\u4e2d"));
        title.setCursorPosition(2);
        title.insert(QStringLiteral("x"));
        QCOMPARE(title.text(), QStringLiteral("Tux\tes\u4e2d"));
        title.insert(QStringLiteral("\t"));
        title.setSelection(6, 1); // the CJK character, replaced by another one
        title.insert(QStringLiteral("\u6587"));
        QCOMPARE(title.text(), QStringLiteral("Tux\tes\u4e2d"));
        QCOMPARE(notes.beeps, 2);
        title.setSelection(3, 1);
        title.del(); // the tab goes, and cannot come back
        title.insert(QStringLiteral("\t"));
        QCOMPARE(title.text(), QStringLiteral("Tuxes\u4e2d"));
        QCOMPARE(notes.beeps, 3);
        title.setText(QStringLiteral("Tue")); // the program's own text ends what was kept
        title.end(false);
        title.insert(QStringLiteral("\u4e2d"));
        QCOMPARE(title.text(), QStringLiteral("Tue"));
        QCOMPARE(notes.beeps, 4);
    }

    // In a text box a key that is a command is not text, and copying within the program keeps
    // a non-breaking space, into a plain and into a rich box.
    void textBoxesCopyByteFaithfullyAndTellCommandsFromText() {
        RecordingNotifier notes;
        FilteredPlainTextEdit plain(notes, nullptr);
        FilteredTextEdit rich(notes, nullptr);
        plain.setPlainText(QStringLiteral("9\u00a0am\ttea"));
        plain.selectAll();
        plain.copy();
        rich.clear();
        rich.paste(); // from a box of the program, so in its format
        plain.moveCursor(QTextCursor::End);
        plain.paste();
        QCOMPARE(FieldText(&plain), QStringLiteral("9\u00a0am\ttea9\u00a0am\ttea"));
        QCOMPARE(FieldText(&rich), QStringLiteral("9\u00a0am\ttea"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("9\u00a0am\ttea"));
        QTest::keyClick(&plain, Qt::Key_A, Qt::ControlModifier); // selects all, types nothing
        QTest::keyClick(&plain, Qt::Key_Tab);
        QCOMPARE(FieldText(&plain), QStringLiteral("\t"));
        QCOMPARE(notes.beeps, 0);
        QKeyEvent bell(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, QString(QChar(7)));
        QApplication::sendEvent(&plain, &bell);
        QCOMPARE(notes.beeps, 1);
    }

    void plainTextOfKeepsEveryCharacter() {
        QTextDocument document;
        QTextCursor cursor(&document);
        cursor.insertText(QStringLiteral("a\u00a0b"));
        cursor.insertText(QString(QChar(QChar::LineSeparator)));
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("\tc"));
        QCOMPARE(PlainTextOf(document), QStringLiteral("a\u00a0b\n\n\tc"));
        cursor.setPosition(1);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        QCOMPARE(PlainTextOf(cursor.selection()), QStringLiteral("\u00a0b\n"));
        QCOMPARE(document.toPlainText(), QStringLiteral("a b\n\n\tc")); // what it replaces
    }
};

QTEST_MAIN(InputFilterTest)
#include "input_filter_test.moc"
