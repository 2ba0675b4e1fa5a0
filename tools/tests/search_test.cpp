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

} // namespace
} // namespace orvane
