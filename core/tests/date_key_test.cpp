#include "core/date_key.h"
#include "core/day_store.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr auto D = MakeDate;

TEST(DateKey, SingleDigitDayIsDigitAndBlankAndEveryDayOfTwoYearsRoundTrips) {
    EXPECT_EQ(DateKey(D(2024, 1, 5)), "Jan/5 /2024");
    EXPECT_EQ(DateKey(D(2001, 12, 31)), "Dec/31/2001");
    EXPECT_EQ(ParseDateKey("Feb/29/2024Dentist\a"), D(2024, 2, 29));
    Date date = D(2023, 12, 31);
    for (int i = 0; i < 800; ++i) {
        ASSERT_EQ(ParseDateKey(DateKey(date)), date) << DateKey(date);
        date = AddDays(date, 1);
    }
}

TEST(DateKey, TextThatIsNotAKeyIsInvalid) {
    for (const char* text : { "", "Jan/5 /202", "jan/05/2024", "Jan/ 5/2024", "Jan/5x/2024",
             "Feb/29/2023", "Jan/00/2024", "Jan/32/2024", "\a\a\a\a\a\a\a\a\a\a\a" }) {
        EXPECT_FALSE(ParseDateKey(text).has_value()) << text;
    }
}

TEST(DateKeyView, FieldsAreReadInPlaceAndEmptyForAShortText) {
    const DateKeyView fifth("Mar/5 /2024Dentist\a");
    EXPECT_TRUE(fifth.complete());
    EXPECT_EQ(fifth.key(), "Mar/5 /2024");
    EXPECT_EQ(fifth.month_and_day(), "Mar/5 ");
    EXPECT_FALSE(fifth.first_of_month());
    EXPECT_TRUE(DateKeyView("Apr/1 /2024").first_of_month());
    const DateKeyView short_text("Apr/1 /20");
    EXPECT_FALSE(short_text.complete());
    EXPECT_EQ(short_text.month(), "");
    EXPECT_FALSE(short_text.first_of_month());
}

TEST(DayStore, EntriesAreTheTextsBeforeEachSeparator) {
    const std::string day = "Mar/14/2024Dentist\aCall Bob\atail";
    EXPECT_EQ(EntryCount(day), 2);
    EXPECT_EQ(Entries(day), (std::vector<std::string> { "Dentist", "Call Bob" }));
    EXPECT_EQ(EntryText(day), "Dentist\aCall Bob\atail");
    EXPECT_EQ(Entries("Mar/14/2024\a\a"), (std::vector<std::string> { "", "" }));
    EXPECT_EQ(EntryText("short"), "");
}

} // namespace
} // namespace orvane
