#include "core/day_store.h"
#include "mainwindow/cell_texts.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

Preferences CustomTitles() {
    Preferences prefs;
    prefs.set_flag(Flag::CustomTitles, '1');
    prefs.MonthTitles
        = { "Ene", "Feb", "M\xe4r", "Abr", "May", "Jun", "Jul", "Ago", "Sep", "Oct", "Nov", "Dic" };
    return prefs;
}

struct HeaderCase {
    const char* slot;
    bool first_cell;
    const char* header;
    bool first_of_month;
};

class CellHeader : public ::testing::TestWithParam<HeaderCase> { };

TEST_P(CellHeader, NamesMonthAndYearOnlyInFirstCellsAndFirsts) {
    const CellText cell = CellTexts(GetParam().slot, GetParam().first_cell, "Jan/1 /1999", {});
    EXPECT_EQ(cell.header, GetParam().header);
    EXPECT_EQ(cell.first_of_month, GetParam().first_of_month);
}

INSTANTIATE_TEST_SUITE_P(Headers, CellHeader,
    ::testing::Values(HeaderCase { "Mar/5 /2024", true, "Mar 5, 2024", false },
        HeaderCase { "Mar/1 /2024", false, "Mar 1, 2024", true },
        HeaderCase { "Mar/5 /2024", false, "5 ", false },
        HeaderCase { "Mar/15/2024x\a", false, "15", false },
        HeaderCase { "Mar/1", true, "Mar/1", false }));

TEST(CellTexts, TodayByItsKeyAndCustomMonthTitles) {
    EXPECT_FALSE(CellTexts("Mar/14/2024", false, "Mar/15/2024", {}).today);
    const CellText first_today = CellTexts("Mar/1 /2024", false, "Mar/1 /2024", {});
    EXPECT_TRUE(first_today.today && first_today.first_of_month);
    EXPECT_EQ(CellTexts("Mar/1 /2024", false, "", CustomTitles()).header, "M\xe4r 1, 2024");
    Preferences off = CustomTitles();
    off.set_flag(Flag::CustomTitles, '0');
    EXPECT_EQ(CellTexts("Jan/5 /2024", true, "", off).header, "Jan 5, 2024");
}

TEST(CellTexts, NoteLinesAreTheEntriesWhole) {
    EXPECT_EQ(CellTexts("Mar/14/2024Dentist\aCall Bob\a", false, "", {}).note_lines,
        (std::vector<std::string> { "Dentist", "Call Bob" }));
    EXPECT_EQ(CellTexts("Mar/14/2024A\a\aC\atail", false, "", {}).note_lines,
        (std::vector<std::string> { "A", "", "C" }));
    EXPECT_TRUE(CellTexts("Mar/14/2024", false, "", {}).note_lines.empty());
    const std::string long_entry(600, 'x');
    const CellText cell = CellTexts("Mar/14/2024" + long_entry + "\a", false, "", {});
    ASSERT_EQ(cell.note_lines.size(), 1U);
    EXPECT_EQ(cell.note_lines[0], long_entry);
    EXPECT_EQ(NoteText(CellTexts("Mar/14/2024A\a\aC\a", false, "", {})), "A\n\nC");
}

TEST(StoredNote, EveryLineEndsWithTheSeparator) {
    EXPECT_EQ(StoredNote("Mar/14/2024old\a", { "A", "", "C" }), "Mar/14/2024A\a\aC\a");
    EXPECT_EQ(StoredNote("Mar/14/2024old\a", {}), "Mar/14/2024");
    std::vector<std::string> lines;
    for (int i = 1; i <= 22; ++i)
        lines.push_back(std::to_string(i));
    const std::string day = StoredNote("Mar/14/2024", lines);
    EXPECT_EQ(EntryCount(day), 20);
    EXPECT_EQ(day.substr(day.size() - 3), "20\a");
}

} // namespace
} // namespace orvane
