// What the program settles before its first window: the command line (--help, --version,
// --data-dir), the data folder and where the help page and Error.doc are, and the program's
// identity on the desktop (desktop entry, window icon).
//
//   const StartPlan start = PrepareStart(argc, argv);  // prints and refuses what it must
//   if (start.exit_code) return *start.exit_code;
//   QApplication app(argc, argv);
//   ApplyDesktopIdentity();                            // before the first window
//   ApplyProgramIcon();                                // after its first paint
#pragma once

#include "app/data_folder.h"
#include "core/result.h"

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

namespace orvane {

// Exit statuses besides 0: a start that cannot go on (no display, no usable data folder), and a
// command line the program does not understand.
inline constexpr int kExitCannotStart = 1;
inline constexpr int kExitUsage = 2;

struct CommandLine {
    enum class Action { kRun, kHelp, kVersion, kUsageError };
    Action action = Action::kRun;
    QString message; // the help, the version or what is wrong, ready to print
    std::optional<std::filesystem::path> data_dir; // --data-dir, made absolute
};

// `arguments` as the program got them, its own name first. Qt's own options (-platform, -style,
// -reverse, ...) are let through for QApplication. Works without an application object; with one,
// the help's usage line names the program as it was started.
CommandLine ParseCommandLine(const QStringList& arguments);

// The organisation, name and version the program goes by; they name the user's data folder
// (QStandardPaths::AppDataLocation) and the print-size settings. PrepareStart sets them first.
void SetProgramNames();

// The folders the program looks in.
struct ProgramFolders {
    std::filesystem::path program_dir; // the executable's folder
    std::filesystem::path share_dir; // the installed share/orvane folder
    std::filesystem::path user_data_dir; // the user's application data folder's csystem
};

// The running program's folders: its executable's, the share folder at the same place relative
// to it as the installation put it, and the user's application data folder
// (QStandardPaths::AppDataLocation, usually ~/.local/share/Marrowby/Orvane) + "/csystem".
ProgramFolders SystemProgramFolders();

struct ProgramPlaces {
    DataFolderChoice data;
    QString documents_dir; // holds Help/Orvane.html and Error.doc
};

// Chooses the data folder (ChooseDataFolder) and the documents: Help/Orvane.html and Error.doc
// come from the executable's folder when Error.doc is there, else from the installed defaults.
ProgramPlaces ChooseProgramPlaces(
    const std::optional<std::filesystem::path>& data_dir, const ProgramFolders& folders);

// Readies the chosen data folder from the installed defaults (PrepareDataFolder); a portable
// csystem/ is used as it is, exactly as the program always did.
Status ReadyDataFolder(const DataFolderChoice& data, const ProgramFolders& folders);

// "Orvane cannot use the data folder <dir>." with the reason and what to do about it.
QString DataFolderFailureText(const DataFolderChoice& choice, const Error& error);

// What main() goes on with: an exit status when the program ends before its first window.
struct StartPlan {
    std::optional<int> exit_code;
    ProgramPlaces places;
};

// Names the program (SetProgramNames), reads the command line, prints the help or
// the version, readies the data folder, and checks for a display: all before any window, so that
// --help and --version work without a display. Refusals go to standard error and, when there is
// a screen to show it on, to a message box as well (a program started from the desktop's menu has
// no terminal).
StartPlan PrepareStart(int& argc, char** argv);

// After QApplication exists and before any window: the desktop entry's id, which the desktop
// uses to find the program's name and icon.
void ApplyDesktopIdentity();
// The program's icon on every window. Decoding the pictures and handing them to the display costs
// several milliseconds, so the program sets it once the main window has first painted.
void ApplyProgramIcon();

// The desktop entry's id, which also names the icon and the AppStream metadata.
QString DesktopFileId();

// True when ORVANE_QUIT_AFTER_START is set: the program closes its main window as soon as every
// window has been created, through the usual shut-down. Tests of the installed program use it.
bool QuitAfterStartRequested();

} // namespace orvane
