// The shared pieces of every window: the Windows-1252 codec and input filter, error texts, and
// the program's colour pairs under a dark desktop palette.
#include "core/ui/dialog_style.h"
#include "core/ui/error_text.h"
#include "core/ui/input_filter.h"
#include "core/ui/notifier.h"
#include "core/ui/testing/input_checks.h"
#include "core/ui/text_codec.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace orvane;

namespace {

QPalette DarkPalette() {
    QPalette palette(QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::Base, QColor(0x23, 0x23, 0x23));
    for (const auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText }) {
        palette.setColor(role, Qt::white);
        palette.setColor(QPalette::Disabled, role, QColor(0x7f, 0x7f, 0x7f));
    }
    return palette;
}

struct NavyCase {
    QWidget* widget;
    QPalette::ColorRole text;
    QPalette::ColorRole ground;
};

} // namespace

class CoreUiTest : public QObject {
    Q_OBJECT

private slots:
    void everyByteRoundTripsAndOtherCharactersAreRefused() {
        std::string all;
        for (int b = 0; b < 256; ++b)
            all += static_cast<char>(b);
        const QString text = FromCp1252(all);
        QCOMPARE(text.at(0x80), QChar(0x20AC));
        QVERIFY(ToCp1252(text) == all);
        QVERIFY(!ToCp1252(QStringLiteral("\u0141\u00f3d\u017a")).has_value());
    }

    void storableInput() {
        const std::tuple<QString, bool, bool> kCases[] = {
            { QStringLiteral("Dentist 9:30 € é œ\u00a0"), true, true },
            { QStringLiteral("a\tb\nb\r\nc\u2028d\u2029"), false, true },
            { QString(QChar(7)), false, false },
            { QString(QChar(0x81)), false, false }, // no character in Windows-1252
            { QStringLiteral("\U0001F600"), false, false },
        };
        for (const auto& [text, single, multi] : kCases) {
            QCOMPARE(IsStorableInput(text, FieldLines::kSingle), single);
            QCOMPARE(IsStorableInput(text, FieldLines::kMulti), multi);
        }
    }

    // Text the program read may keep what the filter refuses; an edit never adds such a
    // character, not even by replacing one or putting one back.
    void textAsReadKeepsOnlyItsOwnUnstorableCharacters() {
        RecordingNotifier notes;
        QLineEdit title;
        InstallInputFilter(&title, notes);
        SetTextAsRead(&title, QStringLiteral("Tu\tes\u4e2d"));
        title.setCursorPosition(2);
        title.insert(QStringLiteral("x"));
        QCOMPARE(title.text(), QStringLiteral("Tux\tes\u4e2d"));
        title.setSelection(3, 1);
        title.del(); // the tab goes, and cannot come back
        title.insert(QStringLiteral("\t"));
        QCOMPARE(title.text(), QStringLiteral("Tuxes\u4e2d"));
        QCOMPARE(notes.beeps, 1);
    }

    // Copying within the program keeps a non-breaking space, into a plain and into a rich box,
    // and a key that is a command is not text.
    void textBoxesCopyByteFaithfullyAndTellCommandsFromText() {
        RecordingNotifier notes;
        FilteredPlainTextEdit plain(notes, nullptr);
        FilteredTextEdit rich(notes, nullptr);
        plain.setPlainText(QStringLiteral("9\u00a0am\ttea"));
        plain.selectAll();
        plain.copy();
        rich.paste(); // from a box of the program, so in its format
        QCOMPARE(FieldText(&rich), QStringLiteral("9\u00a0am\ttea"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("9\u00a0am\ttea"));
        QTest::keyClick(&plain, Qt::Key_A, Qt::ControlModifier); // selects all, types nothing
        QTest::keyClick(&plain, Qt::Key_Tab);
        QKeyEvent bell(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, QString(QChar(7)));
        QApplication::sendEvent(&plain, &bell);
        QCOMPARE(FieldText(&plain), QStringLiteral("\t"));
        QCOMPARE(notes.beeps, 1);

        QTextDocument document;
        QTextCursor cursor(&document);
        cursor.insertText(QStringLiteral("a\u00a0b\u2028"));
        cursor.insertBlock();
        QCOMPARE(PlainTextOf(document), QStringLiteral("a\u00a0b\n\n"));
    }

    // A path keeps the spelling of its folder names; the program's own words come from
    // Windows-1252 and the system's reason from the user's language. A file failure that becomes
    // text also reaches the "orvane.files" log; a refusal is no file failure.
    void errorTextsKeepEachEncodingAndFileFailuresAreLogged() {
        static QStringList logged;
        logged.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                logged << QString::fromLatin1(context.category)
                        + (type == QtWarningMsg ? QStringLiteral(" warning ") : QStringLiteral(" "))
                        + message;
            });
        const QString folder = QStringLiteral("/home/ana/Tageb\u00fccher/\u65e5\u8a18/csystem");
        const std::filesystem::path path = std::filesystem::path(folder.toStdString()) / "cdat.ovd";
        Error error = FileError(
            FileOperation::kWrite, path, std::make_error_code(std::errc::no_space_on_device));
        error.Also("Caf\xe9 notes were kept.");
        const QString shown = ErrorText(error);
        QCOMPARE(
            ErrorText(Refusal("Day 7\nholds no date")), QStringLiteral("Day 7\nholds no date"));
        LogFileError(FileError(FileOperation::kRemove, "/data/.cdat.ovd.Ab12Cd", "busy"));
        qInstallMessageHandler(previous);

        QCOMPARE(shown,
            QStringLiteral("Could not write %1/cdat.ovd: %2\nCaf\u00e9 notes were kept.")
                .arg(folder,
                    QString::fromLocal8Bit(
                        std::make_error_code(std::errc::no_space_on_device).message())));
        QCOMPARE(ErrorText(FileError(FileOperation::kRead, path,
                     std::make_error_code(std::errc::no_such_file_or_directory))),
            QStringLiteral("Could not read %1/cdat.ovd: the file does not exist").arg(folder));
        QCOMPARE(logged,
            (QStringList {
                QStringLiteral("orvane.files warning ") + shown.section(QLatin1Char('\n'), 0, 0),
                QStringLiteral(
                    "orvane.files warning Could not remove /data/.cdat.ovd.Ab12Cd: busy") }));
    }

    // A background comes with its text colour, and navy text gets a light background where the
    // dark theme's would swallow it. The last test, as it leaves the theme in place.
    void coloursComeInPairs() {
        QApplication::setPalette(DarkPalette());
        QWidget dialog;
        ApplyDialogBackground(&dialog);
        auto* field = new QLineEdit(&dialog);
        MarkError(field, true);
        QCOMPARE(field->palette().color(QPalette::Base), kErrorYellow);
        QCOMPARE(field->palette().color(QPalette::Text), QColor(Qt::black));
        MarkError(field, false);
        QCOMPARE(
            field->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
        QCOMPARE(
            field->palette().color(QPalette::Text), QApplication::palette().color(QPalette::Text));

        QWidget window;
        auto* on_dialog = new QLabel(&dialog);
        MakeNavy(on_dialog);
        QCOMPARE(on_dialog->palette().color(QPalette::Window), kDialogBackground);
        for (const NavyCase& navy :
            { NavyCase { new QPushButton(&dialog), QPalette::ButtonText, QPalette::Button },
                NavyCase { new QLineEdit(&dialog), QPalette::Text, QPalette::Base },
                NavyCase { new QLabel(&window), QPalette::WindowText, QPalette::Window } }) {
            const auto [widget, role, ground] = navy;
            MakeNavy(widget, role);
            QCOMPARE(widget->palette().color(role), kLabelNavy);
            QVERIFY(
                ContrastRatio(kLabelNavy, widget->palette().color(ground)) >= kReadableContrast);
            QVERIFY(ground != QPalette::Window || widget->autoFillBackground());
        }
    }
};

QTEST_MAIN(CoreUiTest)
#include "core_ui_test.moc"
