#include "app/ui/launch.h"

#include "core/ui/error_text.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <fstream>

using namespace orvane;
namespace fs = std::filesystem;

Q_DECLARE_METATYPE(CommandLine::Action)

namespace {

fs::path PathOf(const QString& text) {
    return fs::path(QFile::encodeName(text).toStdString());
}

void Put(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

class LaunchTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetProgramNames(); }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CommandLine::Action>("action");
        QTest::addColumn<QString>("data_dir"); // relative ones against the current folder
        QTest::addColumn<QString>("message"); // a part of what is printed

        using A = CommandLine::Action;
        const auto row = [](const char* name, QStringList arguments, A action,
                             const QString& data_dir = {}, const QString& message = {}) {
            QTest::newRow(name) << arguments << action << data_dir << message;
        };
        row("no options", {}, A::kRun);
        row("-h: the help names the user's folder", { "-h" }, A::kHelp, {},
            "Marrowby/Orvane/csystem");
        row("-v", { "-v" }, A::kVersion, {}, "Orvane " ORVANE_VERSION "\n");
        row("--data-dir FOLDER", { "--data-dir", "/media/usb/Calendar" }, A::kRun,
            "/media/usb/Calendar");
        row("--data-dir=FOLDER", { "--data-dir=/media/usb/Calendar" }, A::kRun,
            "/media/usb/Calendar");
        row("-data-dir FOLDER", { "-data-dir", "/media/usb/Calendar" }, A::kRun,
            "/media/usb/Calendar");
        row("relative folder", { "--data-dir", "sync/Calendar" }, A::kRun, "sync/Calendar");
        row("Qt's -style and -reverse", { "-style", "fusion", "-reverse" }, A::kRun);
        row("unknown short option", { "-x" }, A::kUsageError, {}, "Unknown option 'x'.");
        row("unknown option beside --help", { "--help", "--frobnicate" }, A::kUsageError, {},
            "--help' for the options");
        row("an argument", { "notes.txt" }, A::kUsageError, {}, "Unexpected argument 'notes.txt'.");
        row("--data-dir without a folder", { "--data-dir" }, A::kUsageError, {},
            "Missing value after '--data-dir'.");
        row("--data-dir with an empty folder", { "--data-dir", "" }, A::kUsageError, {},
            "--data-dir needs a folder.");
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(CommandLine::Action, action);
        QFETCH(QString, data_dir);
        QFETCH(QString, message);
        arguments.prepend(QStringLiteral("/usr/bin/orvane"));
        const CommandLine parsed = ParseCommandLine(arguments);
        QCOMPARE(parsed.action, action);
        QVERIFY2(parsed.message.contains(message), qPrintable(parsed.message));
        if (action == CommandLine::Action::kUsageError)
            QVERIFY(parsed.message.startsWith(QStringLiteral("orvane: ")));
        QCOMPARE(parsed.data_dir.has_value(), !data_dir.isEmpty());
        if (parsed.data_dir)
            QCOMPARE(*parsed.data_dir, PathOf(QDir::current().absoluteFilePath(data_dir)));
    }

    void placesPortableCommandLineAndUser() {
        QTemporaryDir tmp;
        const fs::path root = PathOf(tmp.path());
        ProgramFolders folders { root / "bin", root / "share" / "orvane",
            root / "home" / "Orvane" / "csystem" };
        for (const std::string_view name : kDefaultDataFiles)
            Put(folders.share_dir / "defaults" / "csystem" / name, std::string(name) + "\r\n");
        Put(folders.share_dir / "defaults" / "Error.doc", "installed");
        fs::create_directories(folders.program_dir);

        // Installed: the user's folder, made from the installed defaults; the documents are the
        // installed ones.
        ProgramPlaces places = ChooseProgramPlaces(std::nullopt, folders);
        QCOMPARE(places.data.kind, DataFolderKind::kUser);
        QCOMPARE(places.documents_dir, PathText(folders.share_dir / "defaults"));
        QVERIFY(ReadyDataFolder(places.data, folders));
        QCOMPARE(Read(folders.user_data_dir / "notes.ovd"), std::string("notes.ovd\r\n"));

        // Portable: csystem/ and the documents beside the program, used as they are, even when
        // files are missing (the program then says which, as it always did).
        fs::create_directories(folders.program_dir / "csystem");
        Put(folders.program_dir / "Error.doc", "beside");
        places = ChooseProgramPlaces(std::nullopt, folders);
        QCOMPARE(places.data.kind, DataFolderKind::kPortable);
        QCOMPARE(places.data.dir, folders.program_dir / "csystem");
        QCOMPARE(places.documents_dir, PathText(folders.program_dir));
        QVERIFY(ReadyDataFolder(places.data, folders));
        QVERIFY(fs::is_empty(folders.program_dir / "csystem"));

        // A system that names no data folder for the user.
        folders.user_data_dir.clear();
        fs::remove_all(folders.program_dir / "csystem");
        places = ChooseProgramPlaces(std::nullopt, folders);
        const Status none = ReadyDataFolder(places.data, folders);
        QVERIFY(!none);
        QVERIFY(DataFolderFailureText(places.data, none.error())
                    .startsWith(QStringLiteral("Orvane has no data folder.\nThe system names no "
                                               "data folder for this user")));
    }

    void failureTextNamesTheFolderTheReasonAndTheWayOut() {
        const fs::path dir = "/home/ana/Tageb\xc3\xbc"
                             "cher";
        const Error error
            = FileError(FileOperation::kCreateFolder, dir, "it is a file, not a folder");
        const QString chosen = DataFolderFailureText({ DataFolderKind::kCommandLine, dir }, error);
        QVERIFY(chosen.startsWith(
            QStringLiteral("Orvane cannot use the data folder /home/ana/Tageb\u00fccher.\n")));
        QVERIFY(chosen.contains(QStringLiteral(": it is a file, not a folder\n")));
        QVERIFY(chosen.endsWith(QStringLiteral("Choose another folder with --data-dir.")));
        const QString user = DataFolderFailureText({ DataFolderKind::kUser, dir }, error);
        QVERIFY(user.endsWith(QStringLiteral("--data-dir <folder> to keep its data elsewhere.")));
    }

    // Every window gets the program's icon, drawn from the resources: the red header band is where
    // the picture puts it.
    void desktopIdentityAndWindowIcon() {
        ApplyDesktopIdentity();
        ApplyProgramIcon();
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral(ORVANE_APP_ID));
        QWidget window;
        const QIcon icon = window.windowIcon();
        const QImage image = icon.pixmap(QSize(48, 48)).toImage();
        QCOMPARE(image.size(), QSize(48, 48));
        QCOMPARE(image.pixelColor(24, 13).name(), QStringLiteral("#b8432f")); // the header band
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0); // the corner outside the page
    }
};

QTEST_MAIN(LaunchTest)
#include "launch_test.moc"
