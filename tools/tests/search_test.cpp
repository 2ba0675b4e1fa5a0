#include "tools/search.h"

#include "core/day_file.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// A calendar whose slot 1 is Sunday 7 January 2024.
class DaySearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        NewCalendar(
            Date { std::chrono::year(2024), std::chrono::January, std::chrono::day(7) }, store_);
    }
    void SetNote(int slot, std::string_view note) {
        store_[slot] = store_[slot].substr(0, kDateKeyLength) + std::string(note);
    }
    std::vector<int> Found(std::string_view needle) {
        search_.Rebuild(store_);
        std::vector<int> slots;
        for (const SearchHit& hit : search_.Find(needle)) {
            EXPECT_EQ(hit.date_key, store_[hit.slot].substr(0, kDateKeyLength));
            slots.push_back(hit.slot);
        }
        return slots;
    }

    DayStore store_;
    DaySearch search_;
};

TEST_F(DaySearchTest, MatchesAnyCaseAndListsEachDayOnceInSlotOrder) {
    SetNote(40, "dentist\aDENTIST again\a");
    SetNote(3, "Call the Dentist\a");
    SetNote(13, "dentis\at\a"); // an entry break is not part of a word
    EXPECT_EQ(Found("DENTIST"), (std::vector<int> { 3, 40 }));
}

TEST_F(DaySearchTest, FoldsWindows1252Capitals) {
    SetNote(5, "caf\xe9 \x9cuvre \x9akoda \xff\a"); // café œuvre škoda ÿ
    for (const char* needle : { "CAF\xc9", "\x8cUVRE", "\x8aKODA", "\x9f" })
        EXPECT_EQ(Found(needle), std::vector<int> { 5 }) << needle;
    // The multiplication sign and sharp s sit where capitals would: they fold to nothing else.
    EXPECT_EQ(FoldCase('\xd7'), '\xd7');
    EXPECT_EQ(FoldCase('\xdf'), '\xdf');
}

TEST_F(DaySearchTest, DateKeysAreNeverSearched) {
    EXPECT_TRUE(Found("Jan").empty());
    SetNote(31, "24x\a"); // text that only joins the key to the note
    EXPECT_TRUE(Found("202424").empty());
}

TEST_F(DaySearchTest, SearchesTheWholeNoteOfEveryShownDay) {
    SetNote(100, std::string(400, 'x') + "needle\a");
    SetNote(729, "needle\a");
    SetNote(735, "Needle\a");
    SetNote(736, "needle\a"); // past the last day the grid shows
    EXPECT_EQ(Found("needle"), (std::vector<int> { 100, 729, 735 }));
}

TEST(MonthMenuItemFor, MatchesTheItemsOwnMonthAndYearNotTheCaption) {
    // Custom titles: the captions say nothing a comparison could use.
    const std::vector<MonthMenuItem> menu { { "D\xe9z   2023", 2023, 12, 1, true },
        { "J\xe4n   2024", 2024, 1, 2, true }, { "M\xe4r   2024", 2024, 3, 60, true },
        { "", 0, 0, 694, false } };
    const std::pair<const char*, std::optional<int>> cases[]
        = { { "Dec/31/2023", 1 }, { "Jan/1 /2024", 2 }, { "Mar/15/2024", 3 },
              { "Feb/15/2024", std::nullopt }, { "Mar/15/2025", std::nullopt },
              { "Xyz/15/2024", std::nullopt }, // neither a broken key nor the empty item matches
              { "Mar/15/20x4", std::nullopt } };
    for (const auto& [key, item] : cases)
        EXPECT_EQ(MonthMenuItemFor(menu, key), item) << key;
}

// Slot 1 is Sunday 7 January 2024. 1 March 2024 (slot 55) is a Friday, so March's row starts at
// slot 50 and Sunday the 31st (slot 85) falls in a sixth row.
TEST(TopSlotForDay, JumpsToTheMonthAndOnByTheFewestWeeksThatShowTheDay) {
    const std::vector<MonthMenuItem> menu { { "Jan   2024", 2024, 1, 1, true },
        { "Mar   2024", 2024, 3, 55, true }, { "Dec   2025", 2025, 12, 695, true } };
    struct Case {
        const char* key;
        int slot;
        int current_top;
        std::optional<int> top;
    };
    const Case cases[] = {
        { "Jan/10/2024", 4, 400, 1 }, // the month's row, wherever the grid was
        { "Mar/15/2024", 69, 1, 50 },
        { "Mar/30/2024", 84, 1, 50 }, // the fifth row's Saturday
        { "Mar/31/2024", 85, 1, 57 }, // the sixth row: one week further
        { "Mar/31/2024", 85, 50, 57 },
        { "Dec/31/2025", 725, 1, 694 }, // the month's row is past the last TopSlot
        // Months the menu does not hold: no move while the day is shown, else the fewest weeks.
        { "Feb/10/2024", 35, 22, 22 },
        { "Feb/10/2024", 35, 43, 29 }, // the day's week on top
        { "Jul/10/2024", 186, 1, 155 }, // the day's week at the bottom
        { "Jan/5 /2026", 730, 1, std::nullopt }, // never on screen
        { "Jan/3 /2026", 728, 694, 694 },
        { "Jan/3 /2026", 728, 1, 694 },
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

// Slot 1 is Sunday 7 January 2024; cycling the calendar by a week moves each day 7 slots back.
TEST(SlotOfFoundDay, FollowsTheDayAcrossACycleAndForgetsItOnceGone) {
    DayStore store;
    NewCalendar(Date { std::chrono::year(2024), std::chrono::January, std::chrono::day(7) }, store);
    EXPECT_EQ(SlotOfFoundDay(store, 20, "Jan/26/2024"), 20);
    EXPECT_EQ(SlotOfFoundDay(store, 1, "Jan/7 /2024"), 1);
    NewCalendar(
        Date { std::chrono::year(2024), std::chrono::January, std::chrono::day(14) }, store);
    EXPECT_EQ(SlotOfFoundDay(store, 20, "Jan/26/2024"), 13);
    EXPECT_EQ(SlotOfFoundDay(store, 1, "Jan/7 /2024"), std::nullopt); // archived
    EXPECT_EQ(SlotOfFoundDay(store, 5, ""), std::nullopt);
    // A key damaged by hand is still the same day string.
    store[30] = "Feb/1 /2O24lunch\a";
    EXPECT_EQ(SlotOfFoundDay(store, 30, "Feb/1 /2O24"), 30);
    EXPECT_EQ(SlotOfFoundDay(store, 900, "Feb/1 /2O24"), 30);
}

} // namespace
} // namespace orvane
