#include "tools/search.h"

#include "core/day_file.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using std::chrono::January;
using std::chrono::year;

// A calendar whose slot 1 is Sunday 7 January 2024.
class DaySearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        NewCalendar(Date { year(2024), January, std::chrono::day(7) }, store_);
    }

    void SetNote(int slot, std::string_view note) {
        store_[slot] = store_[slot].substr(0, kDateKeyLength) + std::string(note);
    }

    std::vector<int> FoundSlots(std::string_view needle) {
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
    SetNote(12, "dEnTiSt\a");
    SetNote(13, "dentis\at\a");
    EXPECT_EQ(FoundSlots("DENTIST"), (std::vector<int> { 3, 12, 40 }));
    EXPECT_EQ(FoundSlots("dentist"), (std::vector<int> { 3, 12, 40 }));
}

TEST_F(DaySearchTest, FoldsWindows1252Capitals) {
    SetNote(5, "caf\xe9 cr\xe8me\a"); // café crème
    SetNote(6,
        "\x9c"
        "uvre \x9a"
        "koda \xff\a"); // œuvre škoda ÿ
    EXPECT_EQ(FoundSlots("CAF\xc9"), std::vector<int> { 5 }); // CAFÉ
    EXPECT_EQ(FoundSlots("CR\xc8ME"), std::vector<int> { 5 });
    EXPECT_EQ(FoundSlots("\x8cUVRE"), std::vector<int> { 6 }); // ŒUVRE
    EXPECT_EQ(FoundSlots("\x8aKODA"), std::vector<int> { 6 }); // ŠKODA
    EXPECT_EQ(FoundSlots("\x9f"), std::vector<int> { 6 }); // Ÿ
    // The multiplication and division signs are not letters: they stay apart.
    EXPECT_EQ(FoldCase('\xd7'), '\xd7');
    EXPECT_EQ(FoldCase('\xdf'), '\xdf');
}

TEST_F(DaySearchTest, DateKeysAreNeverSearched) {
    EXPECT_TRUE(FoundSlots("Jan").empty());
    EXPECT_TRUE(FoundSlots("2024").empty());
    EXPECT_TRUE(FoundSlots("/").empty());
    SetNote(30, "Jan's party\a");
    EXPECT_EQ(FoundSlots("jan"), std::vector<int> { 30 });
    // Text that only joins the key to the note is not in the note.
    SetNote(31, "24x\a");
    EXPECT_TRUE(FoundSlots("202424").empty());
}

TEST_F(DaySearchTest, SearchesTheWholeNoteOfEveryShownDay) {
    const std::string filler(400, 'x');
    SetNote(100, filler + "needle\a");
    SetNote(729, "needle\a");
    SetNote(735, "Needle\a");
    SetNote(736, "needle\a"); // past the last day the grid shows
    EXPECT_EQ(FoundSlots("needle"), (std::vector<int> { 100, 729, 735 }));
}

TEST_F(DaySearchTest, EmptyNeedleFindsNothingAndRebuildSeesNewTexts) {
    SetNote(8, "alpha\a");
    EXPECT_TRUE(FoundSlots("").empty());
    EXPECT_EQ(FoundSlots("alpha"), std::vector<int> { 8 });
    SetNote(8, "beta\a");
    EXPECT_EQ(search_.Find("alpha").size(), 1u) << "the copy is kept until it is rebuilt";
    EXPECT_TRUE(FoundSlots("alpha").empty());
}

TEST(SearchWidth, BoldNotesNarrowTheField) {
    Preferences prefs;
    EXPECT_EQ(SearchWidthLimit(prefs), 176);
    prefs.set_flag(Flag::DataBoldFont, '1');
    EXPECT_EQ(SearchWidthLimit(prefs), 156);
}

std::vector<MonthMenuItem> Menu() {
    // Custom titles: the captions say nothing a comparison could use.
    return {
        { "D\xe9z   2023", 2023, 12, 1, true },
        { "J\xe4n   2024", 2024, 1, 2, true },
        { "M\xe4r   2024", 2024, 3, 60, true },
        { "", 0, 0, 694, false },
    };
}

TEST(MonthMenuItemFor, MatchesTheItemsOwnMonthAndYearNotTheCaption) {
    EXPECT_EQ(MonthMenuItemFor(Menu(), "Dec/31/2023"), 1);
    EXPECT_EQ(MonthMenuItemFor(Menu(), "Jan/1 /2024"), 2);
    EXPECT_EQ(MonthMenuItemFor(Menu(), "Mar/15/2024"), 3);
    EXPECT_EQ(MonthMenuItemFor(Menu(), "Feb/15/2024"), std::nullopt);
    EXPECT_EQ(MonthMenuItemFor(Menu(), "Mar/15/2025"), std::nullopt);
    // Neither a broken key nor the empty item ever matches.
    EXPECT_EQ(MonthMenuItemFor(Menu(), "Xyz/15/2024"), std::nullopt);
    EXPECT_EQ(MonthMenuItemFor(Menu(), "Mar/15/20"), std::nullopt);
    EXPECT_EQ(MonthMenuItemFor(Menu(), "Mar/15/20x4"), std::nullopt);
    EXPECT_EQ(MonthMenuItemFor({}, "Mar/15/2024"), std::nullopt);
}

} // namespace
} // namespace orvane
