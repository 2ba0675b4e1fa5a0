// Which folder holds the program's data files, and getting it ready before the first window: a
// portable copy keeps csystem/ beside the executable; otherwise the folder named on the command
// line or the user's own data folder is created when needed and given the default of each data
// file that is missing.
//
//   const DataFolderChoice choice = ChooseDataFolder(command_line_dir, program_dir, user_dir);
//   if (choice.kind != DataFolderKind::kPortable)
//       if (auto ready = PrepareDataFolder(choice.dir, defaults_dir); !ready)
//       Report(ready.error());
#pragma once

#include "core/data_folder.h"
#include "core/result.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// The data files a new data folder starts with; bdat.ovd and wdat.ovd are made by the program.
inline constexpr std::array<std::string_view, 6> kDefaultDataFiles = { kPreferencesFileName,
    kDayFileName, kRecordsFileName, kErrorLogFileName, kArchiveFileName, kNotesFileName };

// The folder name of the data files, beside a portable program and inside the user's data folder.
inline constexpr std::string_view kDataFolderName = "csystem";

enum class DataFolderKind {
    kPortable, // csystem/ beside the executable: used as it is, exactly as the program always did
    kCommandLine, // --data-dir
    kUser, // the user's application data folder
};

struct DataFolderChoice {
    DataFolderKind kind = DataFolderKind::kUser;
    std::filesystem::path dir;
};

// The folder named on the command line wins; else csystem/ beside the executable when it is a
// folder (or a link to one); else `user_dir`.
DataFolderChoice ChooseDataFolder(const std::optional<std::filesystem::path>& command_line_dir,
    const std::filesystem::path& program_dir, const std::filesystem::path& user_dir);

// Makes `dir` a data folder the program can work in: creates it (and its parents) when it is not
// there, copies each of kDefaultDataFiles that is missing from `defaults_dir`, and checks that a
// file can be created in it. A file that exists (even a link whose target is missing) is never
// replaced. Returns the names of the files copied. Fails, naming the folder or the file, when
// `dir` is not a folder, cannot be created or written to, or a missing file has no readable
// default; nothing is written outside `dir`.
Result<std::vector<std::string>> PrepareDataFolder(
    const std::filesystem::path& dir, const std::filesystem::path& defaults_dir);

} // namespace orvane
