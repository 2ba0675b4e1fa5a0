// What the Restore window shows of each backup and how it restores one: a backup of cdat.ovd is
// compared day by day with the calendar in memory and restored into the days; a backup of any
// other data file replaces that file. Either way the restore is one kRestore operation (undoable)
// and the state it replaces goes to the backups first.
//
//   std::vector<DayChange> changes = *CompareDayBackup(document.store(), bytes);
//   Status restored = RestoreBackup(document, backups, backups.List().front());
#pragma once

#include "core/calendar_document.h"
#include "core/file_backups.h"
#include "core/result.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// The days (slots 1-739) whose text in a day file backup differs from `current`: `before` is the
// text now, `after` the backup's. A backup that holds no calendar or has a bad line count is an
// error.
Result<std::vector<DayChange>> CompareDayBackup(const DayStore& current, std::string_view bytes);

// The changed days as the window previews them, one day to a line, at most `max_days` days and a
// last line with how many more: "Jan/9 /2024   now: Dentist; Call Bob   backup: Dentist".
std::string PreviewChanges(const std::vector<DayChange>& changes, std::size_t max_days = 40);

// "Dec/6 /2024 19:02:05", the date as a date key and the time.
std::string BackupTimeText(const BackupFile& file);
// The operation's name, and the undo item's: "Restore cdat.ovd of Dec/6 /2024 19:02:05".
std::string RestoreName(const BackupFile& file);

// Restores `file`: the calendar in memory (a day file backup) or the data file it is a backup of
// (any other) is backed up first, then replaced in one kRestore operation. A backup that cannot
// be read or holds no calendar changes nothing.
Status RestoreBackup(CalendarDocument& document, FileBackups& backups, const BackupFile& file);

} // namespace orvane
