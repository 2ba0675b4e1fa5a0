// Cycling the calendar one week forward, as steps a window runs in order:
//
//   BackupDayFile(data)              cdat.ovd copied to bdat.ovd, before the user confirms
//   MayCycle(store, today)           today on or after the top week's Saturday (slot 7)
//   CycleCalendar(edit)              archive, move, new keys, records into the new week,
//                                    fdat.ovd rewritten; one document operation, which includes
//                                    the backup's change so that undoing it restores bdat.ovd
#pragma once

#include "core/calendar_document.h"
#include "core/date_key.h"
#include "core/result.h"

#include <string>
#include <vector>

namespace orvane {

inline constexpr int kNewWeekFirstSlot = 729; // the new week: slots 729-735
inline constexpr std::string_view kCycleTooEarlyMessage
    = "The calendar can not be cycled before the last day of the current week.";

// Copies cdat.ovd byte for byte to bdat.ovd, replacing the backup atomically; returns that change
// for the cycle to include.
Result<FileChange> BackupDayFile(const DataFolder& data);

// True when `today` is on or after the date of slot 7.
bool MayCycle(const DayStore& store, const Date& today);

// Slots 1-731 take the text of slots 8-738, whole; slots 731-738 get bare keys of the days after
// slot 730's date. The caller has checked slot 737 with CheckCycleSlots.
void MoveWeek(DayStore& store);

// Refuses a store whose slot 7, 736 or 737 holds no date key: the message names the slot.
Status CheckCycleSlots(const DayStore& store);

// Writes every valid record of `lines` (in file order) into the new week behind the entry limit.
// `messages` receives, in order, one "Invalid record" notice per invalid line and one "already
// has maximum entries" notice per refused day. A failed error-log append ends it there.
Status ApplyRecords(
    DocumentEdit& edit, const std::vector<std::string>& lines, std::vector<std::string>& messages);

// fdat.ovd as a cycle writes it back: the lines read, every empty line dropped except a last one,
// each with CR LF.
std::string RewrittenRecordFile(const std::vector<std::string>& lines);

struct CycleOutcome {
    bool moved = false; // the days moved: the grid is stale
    std::vector<std::string> messages; // notices to show, in order
    Status error; // what stopped or cut short the cycle
};

// The confirmed cycle. Everything that could refuse it (slots, unreadable files, a failed
// archive append) does so before any day moves; missing fdat.ovd, rdat.ovd and archive.ovd are
// created empty.
CycleOutcome CycleCalendar(DocumentEdit& edit);

} // namespace orvane
