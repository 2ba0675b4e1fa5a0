// The data folder (csystem) and the program's files in it.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvane {

// The program's data files, by their names in the data folder. kDataFileNames lists every one of
// them, so that whatever must treat all data files alike (removing what an interrupted save left)
// never misses one.
inline constexpr std::string_view kDayFileName = "cdat.ovd";
inline constexpr std::string_view kBackupDayFileName = "bdat.ovd";
inline constexpr std::string_view kPreferencesFileName = "pref.ovd";
inline constexpr std::string_view kRecordsFileName = "fdat.ovd";
inline constexpr std::string_view kWeekFileName = "wdat.ovd";
inline constexpr std::string_view kErrorLogFileName = "rdat.ovd";
inline constexpr std::string_view kArchiveFileName = "archive.ovd";
inline constexpr std::string_view kNotesFileName = "notes.ovd";
inline constexpr std::array<std::string_view, 8> kDataFileNames
    = { kDayFileName, kBackupDayFileName, kPreferencesFileName, kRecordsFileName, kWeekFileName,
          kErrorLogFileName, kArchiveFileName, kNotesFileName };

struct DataFolder {
    std::filesystem::path dir; // the csystem folder

    std::filesystem::path file(std::string_view name) const { return dir / name; }
    std::filesystem::path cdat() const { return file(kDayFileName); }
    std::filesystem::path bdat() const { return file(kBackupDayFileName); }
    std::filesystem::path pref() const { return file(kPreferencesFileName); }
    std::filesystem::path fdat() const { return file(kRecordsFileName); }
    std::filesystem::path wdat() const { return file(kWeekFileName); }
    std::filesystem::path rdat() const { return file(kErrorLogFileName); }
    std::filesystem::path archive() const { return file(kArchiveFileName); }
    std::filesystem::path notes() const { return file(kNotesFileName); }
};

} // namespace orvane
