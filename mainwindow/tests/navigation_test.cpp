#include "core/date_key.h"
#include "core/day_file.h"
#include "mainwindow/navigation.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr auto D = MakeDate;

DayStore StoreFrom(Date sunday) {
    DayStore store;
    NewCalendar(sunday, store);
    return store;
}

bool RowHasFirst(const DayStore& store, int row) {
    for (int slot = row; slot < row + 7; ++slot) {
        if (store[slot].substr(4, 2) == "1 ")
            return true;
    }
    return false;
}

TEST(Navigation, WeeksStopAtBothEnds) {
    EXPECT_FALSE(WeekEarlier(1).has_value());
    EXPECT_EQ(WeekEarlier(8), 1);
    EXPECT_FALSE(WeekLater(694).has_value());
    EXPECT_EQ(WeekLater(687), 694);
    EXPECT_EQ(ClampTopSlot(700), 694);
    EXPECT_EQ(ClampTopSlot(20), 15);
}

// 1 January 2024 is slot 2. Row 36 holds no 1st; only slot 29 of the row above is tested, so
// February is passed over.
TEST(Navigation, MonthsFromAStoreStartingOnNewYearsEve) {
    const DayStore store = StoreFrom(D(2023, 12, 31));
    EXPECT_EQ(NextMonth(store, 1), 29); // 1 February 2024 is slot 33, in row 29
    EXPECT_FALSE(PreviousMonth(store, 1).has_value());
    EXPECT_FALSE(NextMonth(store, 694).has_value());
    ASSERT_FALSE(RowHasFirst(store, 36));
    EXPECT_EQ(PreviousMonth(store, 36), 1);
}

TEST(Navigation, PreviousMonthMovesTwoRowsAboveASundayFirst) {
    // 1 September 2024 is a Sunday: from the row below it, that row's own slot is tested too.
    const DayStore store = StoreFrom(D(2024, 1, 7));
    int sunday_first = 0;
    for (int slot = 1; slot <= 735; slot += 7) {
        if (store[slot].substr(0, 6) == "Sep/1 ")
            sunday_first = slot;
    }
    ASSERT_GT(sunday_first, 8);
    EXPECT_EQ(PreviousMonth(store, sunday_first + 7), sunday_first - 7);
}

TEST(Navigation, EveryAlignmentMovesAndLandsOnValidRows) {
    Date sunday = D(2023, 1, 1);
    for (int week = 0; week < 60; ++week, sunday = AddDays(sunday, 7)) {
        const DayStore store = StoreFrom(sunday);
        const auto up = PreviousMonth(store, 694);
        ASSERT_TRUE(up.has_value());
        EXPECT_LT(*up, 694) << DateKey(sunday);
        EXPECT_EQ((*up - 1) % 7, 0);
        for (int top = 1; top < 694; top += 7) {
            const auto next = NextMonth(store, top);
            ASSERT_TRUE(next.has_value());
            EXPECT_GT(*next, top);
            EXPECT_TRUE(*next == 694 || RowHasFirst(store, *next)) << DateKey(sunday) << top;
            const auto previous = PreviousMonth(store, *next);
            ASSERT_TRUE(previous.has_value());
            EXPECT_LT(*previous, *next);
            EXPECT_GE(*previous, 1);
            EXPECT_EQ((*previous - 1) % 7, 0);
        }
    }
}

TEST(MonthMenu, CaptionsAndTargetsFromNewYearsEve) {
    const DayStore store = StoreFrom(D(2023, 12, 31));
    const auto items = BuildMonthMenu(store, {}, {});
    ASSERT_EQ(items.size(), 25U);
    // The blanks after each month name line the years up in the menu's font.
    EXPECT_EQ(items[0].caption, "Dec  2023");
    EXPECT_EQ(items[1].slot, 1);
    EXPECT_EQ(items[2].caption, "Feb   2024");
    EXPECT_EQ(items[2].slot, 29);
    EXPECT_EQ(items[7].caption, "Jul    2024");
    EXPECT_EQ(items[24].year, 2025);
    for (const auto& item : items)
        EXPECT_LE(item.slot, 694);
}

TEST(MonthMenu, TwentyFourMonthStoreLeavesItem25Empty) {
    const DayStore store = StoreFrom(D(2026, 3, 1)); // slot 731 is 29 February 2028
    std::vector<MonthMenuItem> previous(25, MonthMenuItem { "Old  1999", 1999, 1, 5, true });
    const auto items = BuildMonthMenu(store, {}, previous);
    EXPECT_EQ(items[23].caption, "Feb   2028");
    EXPECT_EQ(items[24].caption, "");
    EXPECT_EQ(items[24].slot, 694);
    EXPECT_FALSE(items[24].visible);
}

TEST(MonthMenu, CustomTitlesMapEachItemFromItsOwnMonth) {
    const DayStore store = StoreFrom(D(2023, 12, 31));
    Preferences prefs;
    prefs.set_flag(Flag::CustomTitles, '1');
    // Titles that are themselves English names must not be replaced a second time.
    prefs.MonthTitles
        = { "Feb", "Mar", "M\xe4r", "Abr", "May", "Jun", "Jul", "Ago", "Sep", "Oct", "Nov", "Dic" };
    const auto items = BuildMonthMenu(store, prefs, {});
    EXPECT_EQ(items[0].caption, "Dic   2023");
    EXPECT_EQ(items[1].caption, "Feb   2024");
    EXPECT_EQ(items[2].caption, "Mar   2024");
}

} // namespace
} // namespace orvane
