#include "recurring/date_checks.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

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

std::string CaseName(const ::testing::TestParamInfo<DateCheckCase>& param_info) {
    return param_info.param.name;
}

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
    CaseName);

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
    CaseName);

} // namespace
} // namespace orvane
