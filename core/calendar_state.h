// The state the main window owns for the whole run and hands, by reference, to every window that
// reads or changes it: the day store, its indexes, the entry-limit exchange fields and the
// preferences held in memory.
#pragma once

#include "core/day_store.h"
#include "core/preferences.h"

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

struct CalendarState {
    DayStore store;
    int TopSlot = 1; // 1 + 7k, at most 694
    std::string TodayKey;
    int ActiveNote = 0; // cell number (2, 4, ... 70) of the note last entered; 0 before any
    Preferences prefs;
    DataFolder data;
};

} // namespace orvane
