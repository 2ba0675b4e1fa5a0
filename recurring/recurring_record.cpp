#include "recurring/recurring_record.h"

#include "core/day_store.h"
#include "core/text_file.h"

namespace orvane {

namespace {

using std::chrono::sys_days;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Two or three digits starting at `pos`, or -1.
int Number(std::string_view text, std::size_t pos, std::size_t count) {
    if (pos + count > text.size())
        return -1;
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (!IsDigit(text[i]))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// A day field as date keys write it ("5 " or "15"), 1-31, or -1.
int ParseDayField(std::string_view field) {
    if (field.size() != 2)
        return -1;
    if (field[0] >= '1' && field[0] <= '9' && field[1] == ' ')
        return field[0] - '0';
    const int day = Number(field, 0, 2);
    return day >= 10 && day <= 31 ? day : -1;
}

bool TakeText(std::string_view line, std::size_t offset, RecurringRecord& record) {
    if (line.size() <= offset)
        return false;
    std::string_view text = line.substr(offset);
    if (text.find(kEntrySeparator) != std::string_view::npos)
        return false;
    record.text = std::string(text.substr(0, kMaxRecordText));
    return true;
}

std::optional<RecurringRecord> ParseDaily(std::string_view line) {
    RecurringRecord record;
    record.kind = RecordKind::kDaily;
    if (line.size() < 1 + kDateKeyLength)
        return std::nullopt;
    const auto anchor = ParseDateKey(line.substr(1, kDateKeyLength));
    const int interval = Number(line, 12, 3);
    if (!anchor || interval < 1 || interval > kMaxInterval)
        return std::nullopt;
    record.anchor = *anchor;
    record.interval = interval;
    if (!TakeText(line, TextOffset('D'), record))
        return std::nullopt;
    return record;
}

std::optional<RecurringRecord> ParseWeekly(std::string_view line) {
    RecurringRecord record;
    record.kind = RecordKind::kWeekly;
    const int weekday = Number(line, 1, 1);
    const int occurrence = Number(line, 2, 1);
    const int filter = Number(line, 3, 2);
    if (weekday < 1 || weekday > 7 || occurrence < 0 || occurrence > kLastOfMonth || filter < 0
        || filter > 12)
        return std::nullopt;
    record.weekday = weekday;
    record.occurrence = occurrence;
    record.month_filter = filter;
    if (!TakeText(line, TextOffset('W'), record))
        return std::nullopt;
    return record;
}

std::optional<RecurringRecord> ParseMonthly(std::string_view line) {
    RecurringRecord record;
    record.kind = RecordKind::kMonthly;
    if (line.size() < 3)
        return std::nullopt;
    const std::string_view field = line.substr(1, 2);
    if (field == "EM") {
        record.end_of_month = true;
    } else {
        record.day = ParseDayField(field);
        if (record.day < 0)
            return std::nullopt;
    }
    if (!TakeText(line, TextOffset('M'), record))
        return std::nullopt;
    return record;
}

std::optional<RecurringRecord> ParseYearly(std::string_view line) {
    RecurringRecord record;
    record.kind = RecordKind::kYearly;
    if (line.size() < 7)
        return std::nullopt;
    record.month = MonthFromAbbreviation(line.substr(1, 3));
    record.day = ParseDayField(line.substr(5, 2));
    if (record.month == 0 || line[4] != '/' || record.day < 0)
        return std::nullopt;
    // Leap year 2000 lets 29 February through; days no month has are refused.
    const Date probe { std::chrono::year(2000),
        std::chrono::month(static_cast<unsigned>(record.month)),
        std::chrono::day(static_cast<unsigned>(record.day)) };
    if (!probe.ok())
        return std::nullopt;
    if (!TakeText(line, TextOffset('Y'), record))
        return std::nullopt;
    return record;
}

} // namespace

std::size_t TextOffset(char kind) {
    return kind == 'D' ? 17 : 7;
}

std::optional<RecurringRecord> ParseRecord(std::string_view line) {
    if (line.empty())
        return std::nullopt;
    switch (line[0]) {
    case 'D':
        return ParseDaily(line);
    case 'W':
        return ParseWeekly(line);
    case 'M':
        return ParseMonthly(line);
    case 'Y':
        return ParseYearly(line);
    default:
        return std::nullopt;
    }
}

std::string DayField(int day) {
    std::string field;
    if (day < 10) {
        field += static_cast<char>('0' + day);
        field += ' ';
    } else {
        field += static_cast<char>('0' + day / 10);
        field += static_cast<char>('0' + day % 10);
    }
    return field;
}

std::string DailyRecordLine(std::string_view anchor_key, int interval, std::string_view text) {
    std::string line = "D";
    line += anchor_key.substr(0, kDateKeyLength);
    line += static_cast<char>('0' + interval / 100 % 10);
    line += static_cast<char>('0' + interval / 10 % 10);
    line += static_cast<char>('0' + interval % 10);
    line += "  ";
    line += text;
    return line;
}

std::string WeeklyRecordLine(int weekday, int occurrence, int month_filter, std::string_view text) {
    std::string line = "W";
    line += static_cast<char>('0' + weekday);
    line += static_cast<char>('0' + occurrence);
    line += static_cast<char>('0' + month_filter / 10);
    line += static_cast<char>('0' + month_filter % 10);
    line += "  ";
    line += text;
    return line;
}

std::string MonthlyRecordLine(std::string_view day_field, std::string_view text) {
    std::string line = "M";
    line += day_field;
    line += "    ";
    line += text;
    return line;
}

std::string YearlyRecordLine(std::string_view date_key, std::string_view text) {
    std::string line = "Y";
    line += DateKeyView(date_key).month_and_day();
    line += text;
    return line;
}

int WeekdayNumber(const Date& date) {
    return WeekdayIndex(date) + 1;
}

bool IsNthWeekday(const Date& date, int code) {
    const int day = static_cast<int>(static_cast<unsigned>(date.day()));
    if (code >= 1 && code <= 5)
        return (day - 1) / 7 + 1 == code;
    if (code == kLastOfMonth)
        return AddDays(date, 7).month() != date.month();
    return false;
}

bool Matches(const RecurringRecord& record, const Date& date) {
    const int day = static_cast<int>(static_cast<unsigned>(date.day()));
    const int month = static_cast<int>(static_cast<unsigned>(date.month()));
    switch (record.kind) {
    case RecordKind::kDaily: {
        const auto days = (sys_days(date) - sys_days(record.anchor)).count();
        return days > 0 && days % record.interval == 0;
    }
    case RecordKind::kWeekly:
        if (WeekdayNumber(date) != record.weekday)
            return false;
        if (record.occurrence == kEveryWeek)
            return true;
        return (record.month_filter == 0 || record.month_filter == month)
            && IsNthWeekday(date, record.occurrence);
    case RecordKind::kMonthly:
        return record.end_of_month ? date == LastDayOfMonth(date) : day == record.day;
    case RecordKind::kYearly:
        return month == record.month && day == record.day;
    }
    return false;
}

std::vector<std::string> RecordFileLines(std::string_view bytes) {
    return SplitLines(bytes);
}

} // namespace orvane
