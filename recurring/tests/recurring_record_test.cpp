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

} // namespace
} // namespace orvane
