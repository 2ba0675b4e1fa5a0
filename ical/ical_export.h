// Export to iCalendar (RFC 5545): the calendar's days, optionally the archive, and the recurring
// records as one .ics file that other calendar programs read.
//
// Every entry of the days in slots 1-738 is an all-day event; every archived day one all-day event
// (its entries can no longer be told apart); every record of fdat.ovd one recurring event whose
// rule gives exactly the days the record matches. An entry that a record put into its day is
// left to the record's rule, so it is not exported twice. The same entry or record gets the same
// UID in every export, so a calendar that imports the file twice recognises its events.
//
//   Result<IcsExport> done = ExportCalendarFiles(document.data(), document.store(), true, now);
//   if (done) Status written = WriteFileAtomic(chosen_path, done->ics);
#pragma once

#include "core/data_folder.h"
#include "core/date_key.h"
#include "core/day_store.h"
#include "core/result.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

inline constexpr std::string_view kIcsProductId = "-//Marrowby//Orvane 1.0//EN";
inline constexpr std::string_view kUidDomain = "@orvane";

struct IcsExport {
    std::string ics; // UTF-8, CR LF, lines folded as libical writes them
    int day_events = 0; // entries of the days in slots 1-738
    int archive_events = 0; // archived days
    int record_events = 0; // recurring records
    int record_entries = 0; // day entries left to their record's rule
    int blank_entries = 0; // empty entries (blank lines of a note), left out
    int invalid_records = 0; // lines of fdat.ovd that are not valid records, left out
};

// `records` are the bytes of fdat.ovd, `archive` those of archive.ovd when the archive is
// exported too. `stamp` is when the file is made (every event's DTSTAMP). Refused when slot 1
// holds no date key (no calendar is loaded).
Result<IcsExport> ExportCalendar(const DayStore& store, std::string_view records,
    std::optional<std::string_view> archive, std::chrono::sys_seconds stamp);

// The same from the data files: a missing fdat.ovd holds no records, a missing archive.ovd is
// empty; a file that exists but cannot be read is an error and nothing is exported.
Result<IcsExport> ExportCalendarFiles(const DataFolder& data, const DayStore& store,
    bool include_archive, std::chrono::sys_seconds stamp);

// The UID of the `occurrence`-th (from 0) entry with text `text` (Windows-1252) on `date`.
std::string DayEntryUid(const Date& date, std::string_view text, int occurrence);
// The UID of the `occurrence`-th (from 0) record line of fdat.ovd equal to `line`.
std::string RecordUid(std::string_view line, int occurrence);

} // namespace orvane
