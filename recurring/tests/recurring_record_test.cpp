#include "recurring/recurring_record.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

Date D(int y, unsigned m, unsigned d) {
    return Date { std::chrono::year(y), std::chrono::month(m), std::chrono::day(d) };
}

TEST(RecordLine, EveryKindIsWrittenByteForByteAndReadsBack) {
    EXPECT_EQ(DailyRecordLine("Jan/29/2001", 7, "text"), "DJan/29/2001007  text");
    EXPECT_EQ(WeeklyRecordLine(6, 2, 0, "text"), "W6200  text");
    EXPECT_EQ(WeeklyRecordLine(1, 6, 12, "x"), "W1612  x");
    EXPECT_EQ(MonthlyRecordLine("EM", "text"), "MEM    text");
    EXPECT_EQ(MonthlyRecordLine(DayField(5), "text"), "M5     text");
    EXPECT_EQ(YearlyRecordLine("Oct/31/2024", "text"), "YOct/31text");
    EXPECT_EQ(YearlyRecordLine("Jan/5 /2024", "text"), "YJan/5 text");
    EXPECT_EQ(kRecordEnd, "\r\n\r\n");
    const std::pair<const char*, RecordKind> lines[]
        = { { "DJan/29/2001007  Gym", RecordKind::kDaily }, { "W3203  Gym", RecordKind::kWeekly },
              { "MEM    Gym", RecordKind::kMonthly }, { "YFeb/29Gym", RecordKind::kYearly } };
    for (const auto& [line, kind] : lines) {
        EXPECT_EQ(ParseRecord(line)->kind, kind) << line;
        EXPECT_EQ(ParseRecord(line)->text, "Gym") << line;
    }
}

TEST(RecordLine, TextIsCutToOneHundredCharactersAndEveryLineEndSplits) {
    const std::string long_text(150, 'x');
    EXPECT_EQ(ParseRecord("W1000  " + long_text)->text, std::string(100, 'x'));
    EXPECT_EQ(RecordFileLines("W1000  a\r\n\r\nM5     b\rYOct/31c\r\n\r\n"),
        (std::vector<std::string> { "W1000  a", "", "M5     b", "YOct/31c", "" }));
}

TEST(RecordLine, InvalidRecordsOfEveryKindAreRefused) {
    for (const char* line : { "", "X text", "d lower case", "D", "DJan/29/2001007  ", // no text
             "DJan/32/2001007  t", "DFoo/29/2001007  t", "DJan/29/2001000  t", "DJan/29/2001731  t",
             "DJan/29/20010a7  t", "DJan/29/2001", "W0000  t", "W8000  t", "W1700  t", "W1013  t",
             "W10x1  t", "W1000  ", "W1", "Mxx    t", "M0     t", "M32    t", "M05    t",
             "M 5    t", "MEM    ", "M", "YOct/31", "YOct-31t", "YFoo/31t", "YApr/31t", "YFeb/30t",
             "YOct/0 t", "W1000  a\ab" })
        EXPECT_FALSE(ParseRecord(line)) << line;
}

// Daily: anchor + k * interval, k >= 1. Weekly (IsNthWeekday): code 5 never in a four-Friday month,
// code 6 is the 5th where one exists, code 0 ignores the month filter. Monthly: "31" skips April,
// "EM" follows February by the year. Yearly: 29 February only in leap years.
TEST(RecordMatch, DecidesTheDay) {
    const struct {
        const char* line;
        int y;
        unsigned m, d;
        bool matches;
    } cases[] = { { "DJan/29/2001007  t", 2001, 2, 5, true },
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
    for (const auto& c : cases) {
        const auto record = ParseRecord(c.line);
        ASSERT_TRUE(record) << c.line;
        EXPECT_EQ(Matches(*record, D(c.y, c.m, c.d)), c.matches)
            << c.line << " " << c.m << "/" << c.d;
    }
}

} // namespace
} // namespace orvane
