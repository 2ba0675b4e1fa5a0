#include "recurring/date_checks.h"
#include "recurring/recurring_record.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(RecordLine, EveryKindIsWrittenByteForByteAndReadsBack) {
    EXPECT_EQ(DailyRecordLine("Jan/29/2001", 7, "text"), "DJan/29/2001007  text");
    EXPECT_EQ(WeeklyRecordLine(1, 6, 12, "x"), "W1612  x");
    EXPECT_EQ(MonthlyRecordLine("EM", "text"), "MEM    text");
    EXPECT_EQ(MonthlyRecordLine(DayField(5), "text"), "M5     text");
    EXPECT_EQ(YearlyRecordLine("Jan/5 /2024", "text"), "YJan/5 text");
    const std::pair<const char*, RecordKind> lines[]
        = { { "DJan/29/2001007  Gym", RecordKind::kDaily }, { "W3203  Gym", RecordKind::kWeekly },
              { "MEM    Gym", RecordKind::kMonthly }, { "YFeb/29Gym", RecordKind::kYearly } };
    for (const auto& [line, kind] : lines) {
        EXPECT_EQ(ParseRecord(line)->kind, kind) << line;
        EXPECT_EQ(ParseRecord(line)->text, "Gym") << line;
    }
    EXPECT_EQ(ParseRecord("W1000  " + std::string(150, 'x'))->text, std::string(100, 'x'));
    EXPECT_EQ(RecordFileLines("W1000  a\r\n\r\nM5     b\rYOct/31c\r\n\r\n"),
        (std::vector<std::string> { "W1000  a", "", "M5     b", "YOct/31c", "" }));
}

TEST(RecordLine, InvalidRecordsOfEveryKindAreRefused) {
    for (const char* line : { "", "X text", "d lower case", "DJan/29/2001007  ",
             "DJan/32/2001007  t", "DJan/29/2001000  t", "DJan/29/2001731  t", "W0000  t",
             "W8000  t", "W1700  t", "W1013  t", "M0     t", "M32    t", "M05    t", "MEM    ",
             "YApr/31t", "YFeb/30t", "W1000  a\ab" })
        EXPECT_FALSE(ParseRecord(line)) << line;
}

// One table for the rules of every kind, with the rows at each rule's edges.
TEST(RecordMatch, DecidesTheDay) {
    const struct {
        const char* line;
        Date day;
        bool matches;
    } cases[] = { // Every N days: anchor + k * N with k >= 1, up to 730 days across a year turn.
        { "DJan/29/2001007  t", MakeDate(2001, 2, 5), true },
        { "DJan/29/2001007  t", MakeDate(2001, 1, 29), false },
        { "DJan/29/2001007  t", MakeDate(2001, 2, 6), false },
        { "DJan/29/2001007  t", MakeDate(2001, 1, 22), false },
        { "DDec/30/2023730  t", MakeDate(2025, 12, 29), true },
        // N-th and last weekday: no fifth Friday in a four-Friday February, the last is the
        // fifth or the fourth, every week ignores the month filter, the filter holds otherwise.
        { "W6500  t", MakeDate(2024, 2, 23), false }, { "W6500  t", MakeDate(2024, 3, 29), true },
        { "W6600  t", MakeDate(2024, 3, 29), true }, { "W6600  t", MakeDate(2024, 2, 23), true },
        { "W6200  t", MakeDate(2024, 3, 15), false }, { "W6003  t", MakeDate(2024, 4, 5), true },
        { "W3203  t", MakeDate(2002, 3, 12), true }, { "W7603  t", MakeDate(2029, 3, 31), true },
        { "W7603  t", MakeDate(2029, 4, 28), false },
        // Day of month and last day of month, February by the year.
        { "M31    t", MakeDate(2024, 4, 30), false }, { "M31    t", MakeDate(2024, 5, 31), true },
        { "MEM    t", MakeDate(2024, 4, 30), true }, { "MEM    t", MakeDate(2024, 2, 29), true },
        { "MEM    t", MakeDate(2024, 2, 28), false }, { "MEM    t", MakeDate(2023, 2, 28), true },
        // Yearly on 29 February: in leap years only, never moved to a neighbour.
        { "YFeb/29t", MakeDate(2024, 2, 29), true }, { "YFeb/29t", MakeDate(2023, 3, 1), false },
        { "YFeb/29t", MakeDate(2023, 2, 28), false }
    };
    for (const auto& c : cases) {
        const auto record = ParseRecord(c.line);
        ASSERT_TRUE(record) << c.line;
        EXPECT_EQ(Matches(*record, c.day), c.matches) << c.line << " " << DateKey(c.day);
    }
}

// The dialog proposed 10 January 2024; the last calendar day is 10 January 2026.
const Date kInitial = MakeDate(2024, 1, 10);
const Date kLast = MakeDate(2026, 1, 10);
const Date kBefore = MakeDate(2024, 1, 9);
const Date kAfter = MakeDate(2026, 1, 11);
const Date kMiddle = MakeDate(2025, 3, 1);

// The four flags in the order From too early, From too late, From after To, To too late.
constexpr DateErrors E(bool early, bool late, bool after_to, bool to_late) {
    return DateErrors { early, late, after_to, to_late };
}
constexpr DateErrors kNone {};

struct DateCheckCase {
    const char* name;
    bool from_check; // CheckFrom, else CheckTo
    DateErrors errors; // before the check
    Date from;
    Date to;
    bool clear_messages;
    std::vector<std::string_view> added;
    std::optional<bool> from_marked;
    std::optional<bool> to_marked;
    DateErrors errors_after;
};

class DateCheckTest : public ::testing::TestWithParam<DateCheckCase> { };

TEST_P(DateCheckTest, MessagesMarksAndFlags) {
    const DateCheckCase& c = GetParam();
    const DateCheck check = c.from_check ? CheckFrom(c.errors, c.from, c.to, kInitial, kLast)
                                         : CheckTo(c.errors, c.from, c.to, kLast);
    EXPECT_EQ(check.clear_messages, c.clear_messages);
    EXPECT_EQ(check.added, c.added);
    EXPECT_EQ(check.from_marked, c.from_marked);
    EXPECT_EQ(check.to_marked, c.to_marked);
    EXPECT_EQ(check.errors, c.errors_after);
}

const auto kNo = std::nullopt;

// A From too early keeps the other flags and the earlier lines; every other From outcome clears
// the area first and sets both From flags afresh; a good From hands on to the To check, which
// refreshes the To flags.
INSTANTIATE_TEST_SUITE_P(CheckFrom, DateCheckTest,
    ::testing::Values(DateCheckCase { "TooEarlyKeepsTheOtherFlags", true, E(0, 1, 1, 0), kBefore,
                          kLast, false, { kFromBeforeCalendar }, true, kNo, E(1, 1, 1, 0) },
        DateCheckCase { "TooLate", true, E(1, 0, 0, 1), kAfter, kLast, true, { kFromAfterCalendar },
            true, kNo, E(0, 1, 0, 1) },
        DateCheckCase { "AfterTo", true, E(1, 0, 0, 0), kMiddle, kInitial, true, { kFromAfterTo },
            false, true, E(0, 0, 1, 0) },
        DateCheckCase { "ToTooLate", true, E(0, 0, 1, 0), kMiddle, kAfter, true,
            { kToAfterCalendar }, false, true, E(0, 0, 0, 1) },
        DateCheckCase { "FirstAndLastDayAreInside", true, E(1, 1, 1, 1), kInitial, kLast, true, {},
            false, false, kNone },
        DateCheckCase {
            "LastDayAsFromAndTo", true, kNone, kLast, kLast, true, {}, false, false, kNone }),
    [](const auto& param) { return std::string(param.param.name); });

// To before From adds below the earlier lines and leaves To too late as it was; otherwise the
// area is cleared and To too late follows the date. The From flags are never touched.
INSTANTIATE_TEST_SUITE_P(CheckTo, DateCheckTest,
    ::testing::Values(DateCheckCase { "OneDayBeforeFrom", false, E(0, 0, 0, 1), kMiddle,
                          AddDays(kMiddle, -1), false, { kFromAfterTo }, kNo, true, E(0, 0, 1, 1) },
        DateCheckCase { "TooLate", false, E(0, 0, 1, 0), kMiddle, kAfter, true,
            { kToAfterCalendar }, kNo, true, E(0, 0, 0, 1) },
        DateCheckCase {
            "SameDayAsFrom", false, E(0, 0, 1, 0), kMiddle, kMiddle, true, {}, kNo, false, kNone },
        DateCheckCase { "GoodKeepsTheFromFlags", false, E(1, 1, 1, 1), kBefore, kLast, true, {},
            kNo, false, E(1, 1, 0, 0) }),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
} // namespace orvane
