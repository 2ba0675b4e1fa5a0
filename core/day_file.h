// The calendar day file cdat.ovd (and its backup bdat.ovd): one day string per line, CR LF line
// ends, 739 lines as written by the program (738 days and the empty slot 739).
#pragma once

#include "core/date_key.h"
#include "core/day_store.h"
#include "core/file_fingerprint.h"
#include "core/result.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

inline constexpr const char* kBadRecordCountMessage
    = "Bad record count in cdat.ovd file. Restore latest Orvane backup and restart.";

// Fills `store` from the bytes of a day file and returns the number of slots filled (empty lines
// after the 739th not counted). 0 means the file holds no calendar (0 or 1 line) and the caller
// creates a new one. 2 to 737 lines, or more than 741, is an error of kind kBadRecordCount.
// Leaves `store` untouched unless the file loads.
Result<int> ParseDayFile(std::string_view bytes, DayStore& store);

// Slots 1 to 739, each followed by CR LF.
std::string FormatDayFile(const DayStore& store);

// Puts a new calendar into `store`: slot 1 is the Sunday on or before `today` and slots 1-738
// hold bare date keys. Returns the file a new calendar is written as: 738 key lines, CR LF each.
std::string NewCalendar(const Date& today, DayStore& store);

struct DayFileLoaded {
    bool created = false; // a new calendar was made from today
    int current_slot = 1; // one past the last slot filled
    std::optional<Error> not_written; // a new calendar that could not be written to the file
    FileFingerprint file; // the file as read, or as written for a new calendar
};

// LoadDayFile: reads `path` into `store`, or creates and writes a new calendar from `today`.
// A missing or unreadable file loads nothing and writes nothing; its error says how to restore.
Result<DayFileLoaded> LoadDayFile(
    const std::filesystem::path& path, const Date& today, DayStore& store);

// SaveDayFile: writes slots 1-739 atomically and returns the file as written. A store that was
// never loaded is refused.
Result<FileFingerprint> SaveDayFile(const std::filesystem::path& path, const DayStore& store);

} // namespace orvane
