#include "core/day_file.h"
#include "core/text_file.h"
#include "mainwindow/grid_layout.h"
#include "mainwindow/startup.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr auto D = MakeDate;

// A calendar from Sunday 25 February 2024: 1 March is cell 6, today (14 March) cell 19.
class GridLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { NewCalendar(D(2024, 2, 25), store_); }
    GridLayout Lay(int top = 1) const { return LayOutGrid(store_, top, "Mar/14/2024", prefs_); }

    DayStore store_;
    Preferences prefs_;
};

TEST_F(GridLayoutTest, CellsShowTheirSlotsWithTodayAndFirstsMarked) {
    const GridLayout grid = Lay();
    EXPECT_EQ(grid.cell(42).slot, 42);
    const CellLayout& first = grid.cell(6);
    EXPECT_EQ(first.header_background, kTodayYellow);
    EXPECT_EQ(first.note_background, CellColorFor('1'));
    EXPECT_EQ(first.date_colour, kDateBlue);
    EXPECT_EQ(CellDescription(first), "first of month");
    const CellLayout& today = grid.cell(19);
    EXPECT_EQ(today.note_background, kTodayYellow);
    EXPECT_EQ(today.date_colour, kTodayRed);
    EXPECT_EQ(CellDescription(today), "today");
    EXPECT_EQ(CellDescription(grid.cell(20)), "");
    EXPECT_EQ(grid.cell(20).header_background, CellColorFor('1'));
}

TEST_F(GridLayoutTest, CellColourAndAnInvalidTopFollowTheRules) {
    prefs_.set_flag(Flag::CellColor, '5');
    const GridLayout grid = Lay(703); // brought back to the last row start
    EXPECT_EQ(grid.cell(42).slot, kMaxTopSlot + 41);
    EXPECT_EQ(grid.cell(2).note_background, (Rgb { 255, 153, 0 }));
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / "orvane_startup_test";
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    void Write(const char* name, const std::string& bytes) {
        ASSERT_TRUE(WriteFileAtomic(dir_ / name, bytes));
    }

    std::filesystem::path dir_;
};

// Each way start-up can end, and what it read on the way.
TEST_F(StartupTest, OutcomesSayWhatTheWindowMustDo) {
    CalendarDocument no_prefs(DataFolder { dir_ });
    EXPECT_EQ(Startup(no_prefs, D(2024, 3, 14)).kind, StartupOutcome::Kind::kNoPreferences);

    Write("pref.ovd",
        "11100001010\r\nDom\r\nLun\r\nMar\r\nMie\r\nJue\r\nVie\r\nSab\r\nEne\r\nFeb\r\nMzo\r\n"
        "Abr\r\nMay\r\nJun\r\nJul\r\nAgo\r\nSep\r\nOct\r\nNov\r\nDic\r\npath\r\n00.00\r\n00.00\r\n"
        "0\r\nTahoma\r\n");
    CalendarDocument no_days(DataFolder { dir_ });
    const StartupOutcome missing = Startup(no_days, D(2024, 3, 14));
    EXPECT_EQ(missing.kind, StartupOutcome::Kind::kDayFileUnreadable);
    EXPECT_TRUE(missing.error && IsMissingFile(*missing.error));
    EXPECT_EQ(no_days.prefs().DayTitles[0], "Dom"); // read before the day file

    Write("cdat.ovd", "Mar/10/2024\r\nMar/11/2024\r\n");
    CalendarDocument damaged(DataFolder { dir_ });
    EXPECT_EQ(Startup(damaged, D(2024, 3, 14)).kind, StartupOutcome::Kind::kBadRecordCount);

    Write("cdat.ovd", "");
    CalendarDocument fresh(DataFolder { dir_ });
    const StartupOutcome ready = Startup(fresh, D(2024, 3, 14));
    EXPECT_EQ(ready.kind, StartupOutcome::Kind::kReady);
    EXPECT_TRUE(ready.created);
    EXPECT_FALSE(ready.warning);
    EXPECT_EQ(fresh.store()[1], "Mar/10/2024");
    EXPECT_EQ(fresh.prefs().CalendarFont, "Tahoma");
}

} // namespace
} // namespace orvane
