// The state the main window owns for the whole run and hands, by reference, to every window that
// reads or changes it: the day store, its indexes, the entry-limit exchange fields and the
// preferences held in memory.
#pragma once

#include "core/day_store.h"
#include "core/preferences.h"

#include <filesystem>
#include <string>

namespace orvane {

struct DataFolder {
    std::filesystem::path dir; // the csystem folder

    std::filesystem::path file(const char* name) const { return dir / name; }
    std::filesystem::path cdat() const { return file("cdat.ovd"); }
    std::filesystem::path bdat() const { return file("bdat.ovd"); }
    std::filesystem::path pref() const { return file("pref.ovd"); }
    std::filesystem::path fdat() const { return file("fdat.ovd"); }
    std::filesystem::path wdat() const { return file("wdat.ovd"); }
    std::filesystem::path rdat() const { return file("rdat.ovd"); }
    std::filesystem::path archive() const { return file("archive.ovd"); }
    std::filesystem::path notes() const { return file("notes.ovd"); }
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
