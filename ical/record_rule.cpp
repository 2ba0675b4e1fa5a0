#include "ical/record_rule.h"

#include <array>
#include <string_view>

namespace orvane {

namespace {

// A 5th weekday in a month filter (the fifth Sunday of February) comes round every 28 years.
constexpr int kSearchDays = 40 * 366;

// RFC 5545 weekday names, Sunday first like the records' weekday digits.
constexpr std::array<std::string_view, 7> kWeekdayNames
    = { "SU", "MO", "TU", "WE", "TH", "FR", "SA" };

std::string Number(int value) {
    return std::to_string(value);
}

std::string RuleText(const RecurringRecord& record) {
    switch (record.kind) {
    case RecordKind::kDaily:
        return "FREQ=DAILY;INTERVAL=" + Number(record.interval);
    case RecordKind::kWeekly: {
        const std::string_view day = kWeekdayNames[static_cast<std::size_t>(record.weekday - 1)];
        if (record.occurrence == kEveryWeek)
            return "FREQ=WEEKLY;BYDAY=" + std::string(day);
        const std::string position
            = record.occurrence == kLastOfMonth ? "-1" : Number(record.occurrence);
        if (record.month_filter == 0)
            return "FREQ=MONTHLY;BYDAY=" + position + std::string(day);
        return "FREQ=YEARLY;BYMONTH=" + Number(record.month_filter) + ";BYDAY=" + position
            + std::string(day);
    }
    case RecordKind::kMonthly:
        return "FREQ=MONTHLY;BYMONTHDAY=" + (record.end_of_month ? "-1" : Number(record.day));
    case RecordKind::kYearly:
        return "FREQ=YEARLY;BYMONTH=" + Number(record.month) + ";BYMONTHDAY=" + Number(record.day);
    }
    return {};
}

} // namespace

std::optional<RecordRule> RuleOfRecord(const RecurringRecord& record, const Date& window_first) {
    RecordRule rule;
    rule.rrule = RuleText(record);
    if (record.kind == RecordKind::kDaily) {
        rule.first = AddDays(record.anchor, record.interval);
        return rule;
    }
    for (int offset = 0; offset < kSearchDays; ++offset) {
        const Date day = AddDays(window_first, offset);
        if (Matches(record, day)) {
            rule.first = day;
            return rule;
        }
    }
    return std::nullopt;
}

} // namespace orvane
