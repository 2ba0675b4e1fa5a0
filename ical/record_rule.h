// A recurring-entry record as an iCalendar rule: the first date of the series (DTSTART) and the
// RRULE that gives exactly the days the record writes its text into.
//
//   "DJan/29/2001007  Gym"  -> DTSTART 5 Feb 2001, "FREQ=DAILY;INTERVAL=7"
//   "W6200  Club"           -> "FREQ=MONTHLY;BYDAY=2FR"
//   "W1601  Snow"           -> "FREQ=YEARLY;BYMONTH=1;BYDAY=-1SU"
//   "MEM    Rent"           -> "FREQ=MONTHLY;BYMONTHDAY=-1"
//   "YFeb/29Leap"           -> "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29" (leap years only)
#pragma once

#include "core/date_key.h"
#include "recurring/recurring_record.h"

#include <optional>
#include <string>

namespace orvane {

struct RecordRule {
    Date first; // DTSTART, itself a day the record matches
    std::string rrule; // the RRULE value
};

// A daily record's series is anchor + k * interval for k >= 1, so it starts one interval after
// the anchor. Every other record starts on the first day on or after `window_first` that it
// matches. Nothing when no such day lies within 40 years (no valid record is that rare).
std::optional<RecordRule> RuleOfRecord(const RecurringRecord& record, const Date& window_first);

} // namespace orvane
