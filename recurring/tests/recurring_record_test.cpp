#include "recurring/recurring_record.h"

#include <gtest/gtest.h>

#include <tuple>

namespace orvane {
namespace {

Date D(int y, unsigned m, unsigned d) {
    return Date { std::chrono::year(y), std::chrono::month(m), std::chrono::day(d) };
}

TEST(RecordLine, EveryKindIsWrittenByteForByteAndReadsBack) {
    EXPECT_EQ(DailyRecordLine("Jan/29/2001", 7, "text"), "DJan/29/2001007  text");
    EXPECT_EQ(DailyRecordLine("Jan/5 /2001", 730, "t"), "DJan/5 /2001730  t");
    EXPECT_EQ(WeeklyRecordLine(6, 2, 0, "text"), "W6200  text");
    EXPECT_EQ(WeeklyRecordLine(1, 6, 12, "x"), "W1612  x");
    EXPECT_EQ(MonthlyRecordLine("EM", "text"), "MEM    text");
    EXPECT_EQ(MonthlyRecordLine(DayField(5), "text"), "M5     text");
    EXPECT_EQ(YearlyRecordLine("Oct/31/2024", "text"), "YOct/31text");
    EXPECT_EQ(YearlyRecordLine("Jan/5 /2024", "text"), "YJan/5 text");
    EXPECT_EQ(kRecordEnd, "\r\n\r\n");

    const auto daily = ParseRecord(DailyRecordLine("Jan/29/2001", 7, "Gym"));
    ASSERT_TRUE(daily);
    EXPECT_EQ(daily->kind, RecordKind::kDaily);
    EXPECT_EQ(std::tie(daily->anchor, daily->interval, daily->text),
        std::make_tuple(D(2001, 1, 29), 7, std::string("Gym")));
    const auto weekly = ParseRecord("W3203  Club");
    ASSERT_TRUE(weekly);
    EXPECT_EQ(std::tie(weekly->weekday, weekly->occurrence, weekly->month_filter, weekly->text),
        std::make_tuple(3, 2, 3, std::string("Club")));
    const auto monthly = ParseRecord("M5     Rent");
    ASSERT_TRUE(monthly);
    EXPECT_FALSE(monthly->end_of_month);
    EXPECT_EQ(monthly->day, 5);
    EXPECT_TRUE(ParseRecord("MEM    Rent")->end_of_month);
    const auto yearly = ParseRecord("YFeb/29Leap");
    ASSERT_TRUE(yearly);
    EXPECT_EQ(std::tie(yearly->month, yearly->day, yearly->text),
        std::make_tuple(2, 29, std::string("Leap")));
}

TEST(RecordLine, TextIsCutToOneHundredCharactersAndEveryLineEndSplits) {
    const std::string long_text(150, 'x');
    EXPECT_EQ(ParseRecord("W1000  " + long_text)->text, std::string(100, 'x'));
    EXPECT_EQ(ParseRecord(DailyRecordLine("Jan/1 /2024", 3, long_text))->text.size(), 100u);
    EXPECT_EQ(RecordFileLines("W1000  a\r\n\r\nM5     b\rYOct/31c\r\n\r\n"),
        (std::vector<std::string> { "W1000  a", "", "M5     b", "YOct/31c", "" }));
}

class InvalidRecord : public ::testing::TestWithParam<const char*> { };

TEST_P(InvalidRecord, IsRefused) {
    EXPECT_FALSE(ParseRecord(GetParam())) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(EveryKind, InvalidRecord,
    ::testing::Values("", "X text", "d lower case", "D", "DJan/29/2001007  ", // no text
        "DJan/32/2001007  t", "DFoo/29/2001007  t", "DJan/29/2001000  t", "DJan/29/2001731  t",
        "DJan/29/20010a7  t", "DJan/29/2001", "W0000  t", "W8000  t", "W1700  t", "W1013  t",
        "W10x1  t", "W1000  ", "W1", "Mxx    t", "M0     t", "M32    t", "M05    t", "M 5    t",
        "MEM    ", "M", "YOct/31", "YOct-31t", "YFoo/31t", "YApr/31t", "YFeb/30t", "YOct/0 t",
        "W1000  a\ab"));

TEST(Weekday, NumbersRunFromSundayOneAndOccurrencesCountInTheMonth) {
    EXPECT_EQ(WeekdayNumber(D(2024, 3, 10)), 1); // a Sunday
    EXPECT_EQ(WeekdayNumber(D(2024, 3, 16)), 7);
    // March 2024 has five Fridays (1 ... 29), February 2024 four (2 ... 23).
    EXPECT_TRUE(IsNthWeekday(D(2024, 3, 8), 2));
    EXPECT_FALSE(IsNthWeekday(D(2024, 3, 8), 1));
    EXPECT_FALSE(IsNthWeekday(D(2024, 3, 8), 0));
    EXPECT_TRUE(IsNthWeekday(D(2024, 3, 29), 5));
    EXPECT_TRUE(IsNthWeekday(D(2024, 2, 23), kLastOfMonth));
    EXPECT_FALSE(IsNthWeekday(D(2024, 2, 16), kLastOfMonth));
}

struct MatchCase {
    const char* line;
    int y;
    unsigned m, d;
    bool matches;
};

class RecordMatch : public ::testing::TestWithParam<MatchCase> { };

TEST_P(RecordMatch, DecidesTheDay) {
    const MatchCase& c = GetParam();
    const auto record = ParseRecord(c.line);
    ASSERT_TRUE(record) << c.line;
    EXPECT_EQ(Matches(*record, D(c.y, c.m, c.d)), c.matches) << c.line << " " << c.y << c.m << c.d;
}

// Daily: anchor + k * interval, k >= 1. Weekly: code 5 never in a four-Friday month, code 6 is
// the 5th where one exists, code 0 ignores the month filter. Monthly: "31" skips April, "EM"
// follows February by the year. Yearly: 29 February only in leap years.
const MatchCase kMatchCases[] = { { "DJan/29/2001007  t", 2001, 2, 5, true },
    { "DJan/29/2001007  t", 2001, 1, 29, false }, { "DJan/29/2001007  t", 2001, 2, 6, false },
    { "DJan/29/2001007  t", 2001, 1, 22, false }, { "DDec/30/2023730  t", 2025, 12, 29, true },
    { "W6500  t", 2024, 2, 23, false }, { "W6500  t", 2024, 3, 29, true },
    { "W6600  t", 2024, 3, 29, true }, { "W6600  t", 2024, 2, 23, true },
    { "W6200  t", 2024, 3, 15, false }, { "W6000  t", 2024, 3, 15, true },
    { "W6003  t", 2024, 4, 5, true }, { "W7603  t", 2029, 3, 31, true },
    { "W7603  t", 2029, 4, 28, false }, { "W3203  t", 2002, 3, 12, true },
    { "W3203  t", 2002, 4, 9, false }, { "M31    t", 2024, 4, 30, false },
    { "M31    t", 2024, 5, 31, true }, { "MEM    t", 2024, 4, 30, true },
    { "MEM    t", 2024, 2, 29, true }, { "MEM    t", 2024, 2, 28, false },
    { "MEM    t", 2023, 2, 28, true }, { "M5     t", 2023, 7, 5, true },
    { "YFeb/29t", 2024, 2, 29, true }, { "YFeb/29t", 2023, 3, 1, false },
    { "YFeb/29t", 2023, 2, 28, false }, { "YOct/31t", 2030, 10, 31, true } };

INSTANTIATE_TEST_SUITE_P(Rules, RecordMatch, ::testing::ValuesIn(kMatchCases));

} // namespace
} // namespace orvane
