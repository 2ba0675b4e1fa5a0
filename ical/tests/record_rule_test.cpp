#include "ical/libical_support.h"
#include "ical/record_rule.h"
#include "ical/tests/ical_test_support.h"
#include "recurring/recurring_record.h"

#include <gtest/gtest.h>

#include <set>

namespace orvane {
namespace {

using namespace orvane::testing;
using namespace orvane::ical_support;

struct RuleCase {
    const char* line;
    Date window_first;
    const char* rrule;
    Date first;
};

class RecordRules : public ::testing::TestWithParam<RuleCase> { };

TEST_P(RecordRules, AreTheRuleOfEachKindOfRecord) {
    const auto record = ParseRecord(GetParam().line);
    ASSERT_TRUE(record);
    const auto rule = RuleOfRecord(*record, GetParam().window_first);
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->rrule, GetParam().rrule);
    EXPECT_EQ(rule->first, GetParam().first);
}

INSTANTIATE_TEST_SUITE_P(Table, RecordRules,
    ::testing::Values(
        // A daily series continues one interval after its anchor, wherever the window is.
        RuleCase { "DJan/29/2001007  Gym", D(2024, 1, 7), "FREQ=DAILY;INTERVAL=7", D(2001, 2, 5) },
        RuleCase { "DDec/31/2025001  Walk", D(2024, 1, 7), "FREQ=DAILY;INTERVAL=1", D(2026, 1, 1) },
        // The month filter is not consulted for every week.
        RuleCase { "W1005  Sun", D(2024, 1, 7), "FREQ=WEEKLY;BYDAY=SU", D(2024, 1, 7) },
        RuleCase { "W2600  Last Monday", D(2024, 1, 7), "FREQ=MONTHLY;BYDAY=-1MO", D(2024, 1, 29) },
        RuleCase {
            "W1601  Snow", D(2024, 1, 7), "FREQ=YEARLY;BYMONTH=1;BYDAY=-1SU", D(2024, 1, 28) },
        // The fifth Sunday of February: only in a leap year whose February begins on a Sunday.
        RuleCase {
            "W1502  Rare", D(2024, 1, 7), "FREQ=YEARLY;BYMONTH=2;BYDAY=5SU", D(2032, 2, 29) },
        RuleCase { "MEM    Rent", D(2024, 1, 7), "FREQ=MONTHLY;BYMONTHDAY=-1", D(2024, 1, 31) },
        RuleCase {
            "M31    Long months", D(2024, 4, 7), "FREQ=MONTHLY;BYMONTHDAY=31", D(2024, 5, 31) },
        RuleCase {
            "YFeb/29Leap", D(2025, 1, 5), "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29", D(2028, 2, 29) }));

// Every kind of record: daily with several anchors and intervals, weekly with each occurrence
// code and month filter, monthly on each day and the last, yearly on each day of the year.
std::vector<std::string> EveryKindOfRecord(const Date& first, const Date& last) {
    std::vector<std::string> lines;
    const Date earliest = D(1901, 1, 1);
    for (const int back : { -1, 400, 2000 }) {
        for (const int interval : { 1, 2, 3, 7, 30, 100, 365, 730 }) {
            Date anchor = AddDays(first, -back);
            if (anchor < earliest)
                anchor = earliest;
            lines.push_back(DailyRecordLine(DateKey(anchor), interval, ""));
        }
    }
    for (const int interval : { 1, 9, 730 })
        lines.push_back(DailyRecordLine(DateKey(last), interval, ""));
    for (int weekday = 1; weekday <= 7; ++weekday) {
        lines.push_back(WeeklyRecordLine(weekday, kEveryWeek, 0, ""));
        for (int occurrence = 1; occurrence <= kLastOfMonth; ++occurrence) {
            for (int filter = 0; filter <= 12; ++filter)
                lines.push_back(WeeklyRecordLine(weekday, occurrence, filter, ""));
        }
    }
    for (int day = 1; day <= 31; ++day)
        lines.push_back(MonthlyRecordLine(DayField(day), ""));
    lines.push_back(MonthlyRecordLine("EM", ""));
    for (Date day = D(2000, 1, 1); day.year() == std::chrono::year(2000); day = AddDays(day, 1))
        lines.push_back(YearlyRecordLine(DateKey(day), ""));
    return lines;
}

// The days libical's own iterator gives from DTSTART on, without any help: the rule as another
// program reads it.
std::set<Date> LibicalDays(const RecordRule& rule, const Date& first, const Date& last) {
    std::set<Date> days;
    IteratorPtr iterator(icalrecur_iterator_new(
        icalrecurrencetype_from_string(rule.rrule.c_str()), IcalDate(rule.first)));
    if (!iterator)
        return days;
    int steps = 0;
    for (icaltimetype t = icalrecur_iterator_next(iterator.get()); !icaltime_is_null_time(t);
         t = icalrecur_iterator_next(iterator.get())) {
        const Date day = DateOf(t);
        if (++steps > 100000) { // an iterator that does not advance
            ADD_FAILURE() << rule.rrule << " from " << DateKey(rule.first) << " stays at "
                          << DateKey(day);
            break;
        }
        if (day > last)
            break;
        if (day >= first)
            days.insert(day);
    }
    return days;
}

class RecordRuleWindows : public ::testing::TestWithParam<Date> { };

TEST_P(RecordRuleWindows, ExpandToExactlyTheDaysTheRecordsMatch) {
    const Date first = *ParseDateKey(EmptyCalendar(GetParam())[1]);
    const Date last = AddDays(first, kCalendarDays - 1);
    ASSERT_GE(first, D(1901, 1, 1));
    ASSERT_LE(last, D(2099, 12, 31));

    for (const std::string& line : EveryKindOfRecord(first, last)) {
        const auto record = ParseRecord(line + "R");
        ASSERT_TRUE(record) << line;
        std::set<Date> matched;
        for (Date day = first; day <= last; day = AddDays(day, 1)) {
            if (Matches(*record, day))
                matched.insert(day);
        }
        const auto rule = RuleOfRecord(*record, first);
        ASSERT_TRUE(rule) << line;
        EXPECT_EQ(LibicalDays(*rule, first, last), matched) << line << " " << rule->rrule;
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, RecordRuleWindows,
    ::testing::Values(
        D(1901, 1, 6), D(1903, 3, 1), D(1999, 12, 26), D(2023, 12, 31), D(2097, 12, 1)));

} // namespace
} // namespace orvane
