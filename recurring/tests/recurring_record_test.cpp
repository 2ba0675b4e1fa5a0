#include "recurring/recurring_record.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

Date D(int y, unsigned m, unsigned d) {
    return Date { std::chrono::year(y), std::chrono::month(m), std::chrono::day(d) };
}

TEST(RecordLine, EveryKindIsWrittenByteForByte) {
    EXPECT_EQ(DailyRecordLine("Jan/29/2001", 7, "text"), "DJan/29/2001007  text");
    EXPECT_EQ(DailyRecordLine("Jan/5 /2001", 730, "t"), "DJan/5 /2001730  t");
    EXPECT_EQ(WeeklyRecordLine(6, 2, 0, "text"), "W6200  text");
    EXPECT_EQ(WeeklyRecordLine(3, 2, 3, "text"), "W3203  text");
    EXPECT_EQ(WeeklyRecordLine(1, 6, 12, "x"), "W1612  x");
    EXPECT_EQ(MonthlyRecordLine("EM", "text"), "MEM    text");
    EXPECT_EQ(MonthlyRecordLine(DayField(5), "text"), "M5     text");
    EXPECT_EQ(YearlyRecordLine("Oct/31/2024", "text"), "YOct/31text");
    EXPECT_EQ(YearlyRecordLine("Jan/5 /2024", "text"), "YJan/5 text");
    EXPECT_EQ(kRecordEnd, "\r\n\r\n");
}

TEST(RecordLine, WrittenLinesReadBack) {
    const auto daily = ParseRecord(DailyRecordLine("Jan/29/2001", 7, "Gym"));
    ASSERT_TRUE(daily);
    EXPECT_EQ(daily->kind, RecordKind::kDaily);
    EXPECT_EQ(daily->anchor, D(2001, 1, 29));
    EXPECT_EQ(daily->interval, 7);
    EXPECT_EQ(daily->text, "Gym");

    const auto weekly = ParseRecord("W3203  Club");
    ASSERT_TRUE(weekly);
    EXPECT_EQ(weekly->weekday, 3);
    EXPECT_EQ(weekly->occurrence, 2);
    EXPECT_EQ(weekly->month_filter, 3);
    EXPECT_EQ(weekly->text, "Club");

    const auto monthly = ParseRecord("M5     Rent");
    ASSERT_TRUE(monthly);
    EXPECT_FALSE(monthly->end_of_month);
    EXPECT_EQ(monthly->day, 5);
    EXPECT_TRUE(ParseRecord("MEM    Rent")->end_of_month);

    const auto yearly = ParseRecord("YFeb/29Leap");
    ASSERT_TRUE(yearly);
    EXPECT_EQ(yearly->month, 2);
    EXPECT_EQ(yearly->day, 29);
    EXPECT_EQ(yearly->text, "Leap");
}

TEST(RecordLine, TextIsCutToOneHundredCharacters) {
    const std::string long_text(150, 'x');
    EXPECT_EQ(ParseRecord("W1000  " + long_text)->text, std::string(100, 'x'));
    EXPECT_EQ(ParseRecord(DailyRecordLine("Jan/1 /2024", 3, long_text))->text.size(), 100u);
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

TEST(Weekday, NumbersRunFromSundayOne) {
    EXPECT_EQ(WeekdayNumber(D(2024, 3, 10)), 1); // a Sunday
    EXPECT_EQ(WeekdayNumber(D(2001, 3, 13)), 3); // a Tuesday
    EXPECT_EQ(WeekdayNumber(D(2024, 3, 16)), 7);
}

TEST(IsNthWeekday, CountsFromTheFirstSuchWeekdayOfTheMonth) {
    // March 2024: Fridays 1, 8, 15, 22, 29 (five); February 2024: Fridays 2, 9, 16, 23 (four).
    EXPECT_TRUE(IsNthWeekday(D(2024, 3, 1), 1));
    EXPECT_TRUE(IsNthWeekday(D(2024, 3, 8), 2));
    EXPECT_TRUE(IsNthWeekday(D(2024, 3, 29), 5));
    EXPECT_TRUE(IsNthWeekday(D(2024, 3, 29), kLastOfMonth)); // fifth and last
    EXPECT_TRUE(IsNthWeekday(D(2024, 2, 23), 4));
    EXPECT_TRUE(IsNthWeekday(D(2024, 2, 23), kLastOfMonth)); // fourth and last
    EXPECT_FALSE(IsNthWeekday(D(2024, 2, 16), kLastOfMonth));
    EXPECT_FALSE(IsNthWeekday(D(2024, 3, 8), 1));
    EXPECT_FALSE(IsNthWeekday(D(2024, 3, 8), 0));
}

struct MatchCase {
    const char* line;
    Date day;
    bool matches;
};

class RecordMatch : public ::testing::TestWithParam<MatchCase> { };

TEST_P(RecordMatch, DecidesTheDay) {
    const auto record = ParseRecord(GetParam().line);
    ASSERT_TRUE(record) << GetParam().line;
    EXPECT_EQ(Matches(*record, GetParam().day), GetParam().matches)
        << GetParam().line << " " << DateKey(GetParam().day);
}

INSTANTIATE_TEST_SUITE_P(Rules, RecordMatch,
    ::testing::Values(
        // Daily: anchor + k * interval for k >= 1; the anchor day itself is not a day of the
        // series any more.
        MatchCase { "DJan/29/2001007  t", D(2001, 2, 5), true },
        MatchCase { "DJan/29/2001007  t", D(2001, 1, 29), false },
        MatchCase { "DJan/29/2001007  t", D(2001, 2, 6), false },
        MatchCase { "DJan/29/2001007  t", D(2001, 1, 22), false },
        MatchCase { "DDec/30/2023730  t", D(2025, 12, 29), true },
        // Weekly: code 5 never in a four-Friday month, code 6 equals the 5th where one exists.
        MatchCase { "W6500  t", D(2024, 2, 23), false },
        MatchCase { "W6500  t", D(2024, 3, 29), true },
        MatchCase { "W6600  t", D(2024, 3, 29), true },
        MatchCase { "W6600  t", D(2024, 2, 23), true },
        MatchCase { "W6200  t", D(2024, 3, 8), true },
        MatchCase { "W6200  t", D(2024, 3, 15), false },
        MatchCase { "W6000  t", D(2024, 3, 15), true },
        MatchCase { "W6003  t", D(2024, 4, 5), true }, // code 0 ignores the month filter
        MatchCase { "W7603  t", D(2029, 3, 31), true },
        MatchCase { "W7603  t", D(2029, 4, 28), false },
        MatchCase { "W3203  t", D(2002, 3, 12), true },
        MatchCase { "W3203  t", D(2002, 4, 9), false },
        // Monthly: "31" skips April; "EM" is the last day, February by the year.
        MatchCase { "M31    t", D(2024, 4, 30), false },
        MatchCase { "M31    t", D(2024, 5, 31), true },
        MatchCase { "MEM    t", D(2024, 4, 30), true },
        MatchCase { "MEM    t", D(2024, 2, 29), true },
        MatchCase { "MEM    t", D(2024, 2, 28), false },
        MatchCase { "MEM    t", D(2023, 2, 28), true },
        MatchCase { "M5     t", D(2023, 7, 5), true },
        // Yearly: 29 February only in leap years.
        MatchCase { "YFeb/29t", D(2024, 2, 29), true },
        MatchCase { "YFeb/29t", D(2023, 3, 1), false },
        MatchCase { "YFeb/29t", D(2023, 2, 28), false },
        MatchCase { "YOct/31t", D(2030, 10, 31), true }));

TEST(RecordFileLines, EveryLineEndAndTheDeleteCarriageReturn) {
    const auto lines = RecordFileLines("W1000  a\r\n\r\nM5     b\rYOct/31c\r\n\r\n");
    EXPECT_EQ(lines, (std::vector<std::string> { "W1000  a", "", "M5     b", "YOct/31c", "" }));
}

} // namespace
} // namespace orvane
