// Recurring-entry records, the lines of fdat.ovd: their bytes, their validation and which days
// they reach. Every record is one line followed by an empty line when a dialog appends it:
//
//   "DJan/29/2001007  Gym"   every 7 days after 29 January 2001
//   "W6200  Club"            the second Friday of every month
//   "MEM    Rent"            the last day of every month
//   "YOct/31Party"           31 October of every year
#pragma once

#include "core/date_key.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

inline constexpr std::size_t kMaxRecordText = 100; // readers take at most this much entry text
inline constexpr int kMaxInterval = 730;
inline constexpr std::string_view kRecordEnd = "\r\n\r\n"; // a record line and its empty line
inline constexpr std::string_view kInvalidRecordMessage
    = "Invalid record found in fdat.ovd file - ignoring";

enum class RecordKind { kDaily, kWeekly, kMonthly, kYearly };

// Occurrence codes of a weekly record.
inline constexpr int kEveryWeek = 0; // 1-5: the n-th such weekday of the month
inline constexpr int kLastOfMonth = 6;

struct RecurringRecord {
    RecordKind kind = RecordKind::kDaily;
    Date anchor {}; // daily: the series continues anchor + k * interval, k >= 1
    int interval = 1; // daily, in [1, 730]
    int weekday = 1; // weekly, 1 = Sunday ... 7 = Saturday
    int occurrence = kEveryWeek; // weekly, in [0, 6]
    int month_filter = 0; // weekly: 0 any month, else 1-12
    bool end_of_month = false; // monthly "EM"
    int month = 0; // yearly, 1-12
    int day = 0; // monthly (unless end_of_month) and yearly, 1-31
    std::string text; // the entry text, cut to kMaxRecordText
};

// Where the entry text starts in a record line (0-based): after the header of its kind.
std::size_t TextOffset(char kind);

// The record a line holds, or nothing when the line is not a valid record: an unknown kind, a
// field out of range or no entry text. Text holding an entry separator is refused too, since it
// would add more than one entry to a day.
std::optional<RecurringRecord> ParseRecord(std::string_view line);

// Record lines as the dialogs append them, without the line ends.
std::string DailyRecordLine(std::string_view anchor_key, int interval, std::string_view text);
std::string WeeklyRecordLine(int weekday, int occurrence, int month_filter, std::string_view text);
std::string MonthlyRecordLine(std::string_view day_field, std::string_view text); // "EM" or "5 "
std::string YearlyRecordLine(std::string_view date_key, std::string_view text);

// Characters 5-6 of a date key for a day of the month: "5 " or "15".
std::string DayField(int day);

// Weekday number 1 (Sunday) to 7 (Saturday).
int WeekdayNumber(const Date& date);

// True when `date` is occurrence `code` (1-5 the n-th, 6 the last) of its weekday in its month.
bool IsNthWeekday(const Date& date, int code);

// True when the record writes its text into the day `date`.
bool Matches(const RecurringRecord& record, const Date& date);

// The lines of fdat.ovd in file order; line ends CR LF, lone CR and lone LF.
std::vector<std::string> RecordFileLines(std::string_view bytes);

} // namespace orvane
