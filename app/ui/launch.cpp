#include "app/ui/launch.h"

#include "core/ui/error_text.h"
#include "core/ui/notifier.h"

#include <QApplication>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#ifndef ORVANE_VERSION
#error "ORVANE_VERSION must name the program's version"
#endif
#ifndef ORVANE_SHARE_FROM_BIN
#error "ORVANE_SHARE_FROM_BIN must give the share folder relative to the executable's"
#endif
#ifndef ORVANE_APP_ID
#error "ORVANE_APP_ID must give the desktop entry's id"
#endif

namespace orvane {

namespace fs = std::filesystem;

namespace {

// QApplication's own options, which it takes out of the command line itself.
constexpr const char* kQtValueOptions[] = { "platform", "platformpluginpath", "platformtheme",
    "plugin", "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display", "geometry",
    "style", "stylesheet", "qmljsdebugger" };
constexpr const char* kQtFlagOptions[] = { "reverse", "nograb", "dograb", "sync", "widgetcount" };

fs::path PathOf(const QString& text) {
    return fs::path(QFile::encodeName(text).toStdString());
}

QString ProgramName(const QStringList& arguments) {
    const QString name
        = arguments.isEmpty() ? QString() : QFileInfo(arguments.constFirst()).fileName();
    return name.isEmpty() ? QStringLiteral("orvane") : name;
}

CommandLine UsageError(const QStringList& arguments, const QString& what) {
    const QString program = ProgramName(arguments);
    return { CommandLine::Action::kUsageError,
        QStringLiteral("%1: %2\nTry '%1 --help' for the options it understands.\n")
            .arg(program, what),
        std::nullopt };
}

bool DisplayAvailable() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// A message box needs a screen someone looks at; on the offscreen and minimal platforms it would
// wait for ever for an answer nobody can give.
bool ScreenToShowBoxes() {
    if (!DisplayAvailable())
        return false;
    const QString platform
        = qEnvironmentVariable("QT_QPA_PLATFORM").section(QLatin1Char(':'), 0, 0);
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

void ReportStartFailure(int& argc, char** argv, const QString& text) {
    Print(stderr, text + QLatin1Char('\n'));
    if (ScreenToShowBoxes()) {
        QApplication app(argc, argv);
        MessageBoxNotifier().Error(text);
    }
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // Qt's options are written with one dash ("-platform"); so may ours be.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Show this help and end."));
    const QCommandLineOption version({ QStringLiteral("v"), QStringLiteral("version") },
        QStringLiteral("Show the program's version and end."));
    const QCommandLineOption data_dir(QStringLiteral("data-dir"),
        QStringLiteral("Keep the data files in <folder> (a synced folder, a USB stick). It is "
                       "created when missing and given the default of each missing data file; "
                       "existing files are never replaced."),
        QStringLiteral("folder"));
    parser.addOptions({ help, version, data_dir });
    for (const char* name : kQtValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : kQtFlagOptions) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    if (!parser.parse(arguments))
        return UsageError(arguments, parser.errorText());
    if (!parser.positionalArguments().isEmpty()) {
        return UsageError(arguments,
            QStringLiteral("Unexpected argument '%1'.")
                .arg(parser.positionalArguments().constFirst()));
    }
    if (parser.isSet(help)) {
        parser.setApplicationDescription(
            QStringLiteral("Orvane, a desktop calendar and diary.\n\nIts data files are in "
                           "csystem/ beside the program when that folder exists,\nelse in the "
                           "user's data folder:\n  ")
            + QDir::toNativeSeparators(
                QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/')
                + QString::fromLatin1(
                    kDataFolderName.data(), static_cast<qsizetype>(kDataFolderName.size()))));
        return { CommandLine::Action::kHelp, parser.helpText(), std::nullopt };
    }
    if (parser.isSet(version)) {
        return { CommandLine::Action::kVersion,
            QStringLiteral("Orvane %1\n").arg(QStringLiteral(ORVANE_VERSION)), std::nullopt };
    }
    CommandLine command_line;
    if (parser.isSet(data_dir)) {
        const QString folder = parser.value(data_dir);
        if (folder.isEmpty())
            return UsageError(arguments, QStringLiteral("--data-dir needs a folder."));
        command_line.data_dir = PathOf(QDir::current().absoluteFilePath(folder));
    }
    return command_line;
}

ProgramFolders SystemProgramFolders() {
    ProgramFolders folders;
    if (QCoreApplication::instance()) {
        folders.program_dir = PathOf(QCoreApplication::applicationDirPath());
    } else {
        // Before the application object exists, the executable is where the system says it is.
        std::error_code ec;
        const fs::path executable = fs::canonical("/proc/self/exe", ec);
        folders.program_dir = ec ? fs::current_path(ec) : executable.parent_path();
    }
    folders.share_dir = (folders.program_dir / ORVANE_SHARE_FROM_BIN).lexically_normal();
    const QString app_data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!app_data.isEmpty())
        folders.user_data_dir = PathOf(app_data) / kDataFolderName;
    return folders;
}

ProgramPlaces ChooseProgramPlaces(
    const std::optional<fs::path>& data_dir, const ProgramFolders& folders) {
    ProgramPlaces places;
    places.data = ChooseDataFolder(data_dir, folders.program_dir, folders.user_data_dir);
    std::error_code ec;
    places.documents_dir = PathText(fs::exists(folders.program_dir / "Error.doc", ec)
            ? folders.program_dir
            : folders.share_dir / "defaults");
    return places;
}

Status ReadyDataFolder(const DataFolderChoice& data, const ProgramFolders& folders) {
    if (data.kind == DataFolderKind::kPortable)
        return Ok();
    if (data.dir.empty())
        return Refusal("The system names no data folder for this user (is HOME set?).");
    const Result<std::vector<std::string>> copied
        = PrepareDataFolder(data.dir, folders.share_dir / "defaults" / kDataFolderName);
    if (!copied)
        return copied.error();
    for (const std::string& name : *copied) {
        qCInfo(FileLog).noquote() << "Copied the default" << QString::fromStdString(name) << "into"
                                  << PathText(data.dir);
    }
    return Ok();
}

QString DataFolderFailureText(const DataFolderChoice& choice, const Error& error) {
    QString text = choice.dir.empty()
        ? QStringLiteral("Orvane has no data folder.\n")
        : QStringLiteral("Orvane cannot use the data folder %1.\n").arg(PathText(choice.dir));
    text += ErrorText(error);
    if (choice.kind == DataFolderKind::kCommandLine)
        text += QStringLiteral("\nChoose another folder with --data-dir.");
    else
        text += QStringLiteral(
            "\nStart Orvane with --data-dir <folder> to keep its data elsewhere.");
    return text;
}

void SetProgramNames() {
    QCoreApplication::setOrganizationName(QStringLiteral("Marrowby"));
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
}

StartPlan PrepareStart(int& argc, char** argv) {
    // The system's reasons for a refused data folder in the user's language, as every later
    // message has them once the application object has set the locale.
    std::setlocale(LC_ALL, "");
    SetProgramNames();

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    CommandLine command_line = ParseCommandLine(arguments);
    if (command_line.action != CommandLine::Action::kRun) {
        // Only now an application object: it names the program in the help's usage line.
        const QCoreApplication core(argc, argv);
        command_line = ParseCommandLine(arguments);
        const bool refused = command_line.action == CommandLine::Action::kUsageError;
        Print(refused ? stderr : stdout, command_line.message);
        return { refused ? kExitUsage : 0, {} };
    }

    const ProgramFolders folders = SystemProgramFolders();
    ProgramPlaces places = ChooseProgramPlaces(command_line.data_dir, folders);
    if (const Status ready = ReadyDataFolder(places.data, folders); !ready) {
        ReportStartFailure(argc, argv, DataFolderFailureText(places.data, ready.error()));
        return { kExitCannotStart, {} };
    }
    qCInfo(FileLog).noquote() << "Data folder:" << PathText(places.data.dir);

    if (!DisplayAvailable()) {
        Print(stderr,
            QStringLiteral("No display available: Orvane is a desktop program; start it from a "
                           "desktop session (or under xvfb-run).\n"));
        return { kExitCannotStart, {} };
    }
    return { std::nullopt, std::move(places) };
}

void ApplyDesktopIdentity() {
    QGuiApplication::setDesktopFileName(DesktopFileId());
}

void ApplyProgramIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/orvane-48.png"), QSize(48, 48));
    icon.addFile(QStringLiteral(":/icons/orvane-256.png"), QSize(256, 256));
    QApplication::setWindowIcon(icon);
}

QString DesktopFileId() {
    return QStringLiteral(ORVANE_APP_ID);
}

bool QuitAfterStartRequested() {
    return !qEnvironmentVariableIsEmpty("ORVANE_QUIT_AFTER_START");
}

} // namespace orvane
