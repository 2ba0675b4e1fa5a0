#include "tools/search.h"

#include "core/day_file.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// Any case, each day once in slot order, the whole note of every day the grid shows, and never the
// date key. Slot 1 is Sunday 7 January 2024.
TEST(DaySearch, FindsEachShownDayOnceInSlotOrder) {
    DayStore store;
    NewCalendar(MakeDate(2024, 1, 7), store);
    for (const auto& [slot, note] : std::initializer_list<std::pair<int, std::string>> {
             { 40, "dentist\aDENTIST again\a" }, { 3, "Call the Dentist\a" },
             { 13, "dentis\at\a" }, // an entry break is not part of a word
             { 100, std::string(400, 'x') + "dentist\a" }, { 735, "Dentist\a" },
             { 736, "dentist\a" }, // past the last day the grid shows
             { 31, "24x\a" } }) // text that only joins the key to the note
        store[slot] = store[slot].substr(0, kDateKeyLength) + note;
    DaySearch search;
    search.Rebuild(store);
    std::vector<int> slots;
    for (const SearchHit& hit : search.Find("DENTIST")) {
        EXPECT_EQ(hit.date_key, store[hit.slot].substr(0, kDateKeyLength));
        slots.push_back(hit.slot);
    }
    EXPECT_EQ(slots, (std::vector<int> { 3, 40, 100, 735 }));
    EXPECT_TRUE(search.Find("202424").empty());
    EXPECT_TRUE(search.Find("Jan").empty());
}

// Latin-1 and Windows-1252 capitals fold, but the multiplication sign and sharp s do not.
TEST(FoldCase, FoldsWindows1252Capitals) {
    EXPECT_EQ(FoldCase("CAF\xc9 \x8a\x8c\x8e\x9f \xd7\xdf"), "caf\xe9 \x9a\x9c\x9e\xff \xd7\xdf");
}

// Slot 1 is Sunday 7 January 2024. 1 March 2024 (slot 55) is a Friday, so March's row starts at
// slot 50 and Sunday the 31st (slot 85) falls in a sixth row. The menu's items are matched on
// their own year and month: custom captions say nothing a comparison could use.
TEST(TopSlotForDay, JumpsToTheMonthAndOnByTheFewestWeeksThatShowTheDay) {
    const std::vector<MonthMenuItem> menu { { "Ene   2024", 2024, 1, 1, true },
        { "M\xe4r   2024", 2024, 3, 55, true }, { "Dez   2025", 2025, 12, 695, true },
        { "", 0, 0, 694, false } };
    struct Case {
        const char* key;
        int slot;
        int current_top;
        std::optional<int> top;
    };
    const Case cases[] = {
        { "Jan/10/2024", 4, 400, 1 }, // the month's row, wherever the grid was
        { "Mar/31/2024", 85, 1, 57 }, // the sixth row: one week further
        { "Dec/31/2025", 725, 1, 694 }, // the month's row is past the last TopSlot
        // Months the menu does not hold: no move while the day is shown, else the fewest weeks.
        { "Feb/10/2024", 35, 43, 29 }, // the day's week on top
        { "Jul/10/2024", 186, 1, 155 }, // the day's week at the bottom
        { "Jan/5 /2026", 730, 1, std::nullopt }, // never on screen
        { "Xyz/1 /2024", 0, 1, std::nullopt },
    };
    for (const Case& c : cases) {
        const std::optional<int> top = TopSlotForDay(menu, c.key, c.slot, c.current_top);
        EXPECT_EQ(top, c.top) << c.key << " from " << c.current_top;
        if (top) {
            EXPECT_EQ((*top - 1) % 7, 0) << c.key;
            EXPECT_TRUE(c.slot >= *top && c.slot < *top + kShownDays) << c.key;
        }
    }
}

// Where a found day is after the calendar cycled by a week since the search, and once it left.
TEST(SlotOfFoundDay, FollowsTheDayAcrossACycleAndForgetsItOnceGone) {
    DayStore store;
    NewCalendar(MakeDate(2024, 1, 14), store); // the search ran when slot 1 was 7 January
    EXPECT_EQ(SlotOfFoundDay(store, 20, "Jan/26/2024"), 13);
    EXPECT_EQ(SlotOfFoundDay(store, 1, "Jan/7 /2024"), std::nullopt);
}

} // namespace
} // namespace orvane
