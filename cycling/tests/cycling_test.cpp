#include "cycling/archive_file.h"
#include "cycling/calendar_cycle.h"

#include "core/day_file.h"
#include "core/text_file.h"
#include "recurring/recurring_record.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orvane {
namespace {

Date D(int y, unsigned m, unsigned d) {
    return Date { std::chrono::year(y), std::chrono::month(m), std::chrono::day(d) };
}

TEST(ArchiveWeekBytes, DaysWithEntriesThenOneEmptyLine) {
    DayStore store;
    NewCalendar(D(2024, 3, 10), store);
    EXPECT_EQ(ArchiveWeekBytes(store), "\r\n");
    store[5] += "Dentist\aCall Bob\a";
    EXPECT_EQ(ArchiveWeekBytes(store), "Mar/14/2024 Dentist Call Bob \r\n\r\n\r\n");
    NewCalendar(D(2024, 5, 5), store);
    store[1] += "Gym\a";
    EXPECT_EQ(ArchiveWeekBytes(store), "May/5 /2024 Gym \r\n\r\n\r\n");
}

class CycleTest : public ::testing::Test {
protected:
    void SetUp() override {
        state_.data.dir = std::filesystem::temp_directory_path()
            / ("orvane_cycle_"
                + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(state_.data.dir);
        std::filesystem::create_directories(state_.data.dir);
        NewCalendar(D(2024, 1, 7), state_.store);
    }
    void TearDown() override { std::filesystem::remove_all(state_.data.dir); }

    void Records(const std::string& bytes) {
        ASSERT_TRUE(WriteFileAtomic(state_.data.fdat(), bytes).ok());
    }
    std::string File(const std::filesystem::path& path) const { return ReadWholeFile(path).bytes; }
    std::string Day(int slot) const { return state_.store[slot]; }

    CalendarState state_;
};

TEST_F(CycleTest, DateRuleIsTheTopWeeksSaturday) {
    EXPECT_TRUE(MayCycle(state_.store, D(2024, 1, 13)));
    EXPECT_TRUE(MayCycle(state_.store, D(2024, 2, 1)));
    EXPECT_FALSE(MayCycle(state_.store, D(2024, 1, 12)));
}

TEST_F(CycleTest, BackupIsAByteCopyOfTheDayFile) {
    ASSERT_TRUE(WriteFileAtomic(state_.data.cdat(), "a\r\nb\rc").ok());
    ASSERT_TRUE(BackupDayFile(state_.data).ok());
    EXPECT_EQ(File(state_.data.bdat()), "a\r\nb\rc");
    std::filesystem::remove(state_.data.cdat());
    EXPECT_FALSE(BackupDayFile(state_.data).ok());
    EXPECT_EQ(File(state_.data.bdat()), "a\r\nb\rc");
}

TEST_F(CycleTest, MovesEveryDayWholeAndAddsBareKeys) {
    state_.store[8] += std::string(600, 'x') + "\a";
    state_.store[3] += "Dentist\a";
    const std::string old_737 = Day(737);
    CycleOutcome done = CycleCalendar(state_);
    ASSERT_TRUE(done.error.ok()) << done.error.message();
    EXPECT_TRUE(done.moved);
    EXPECT_EQ(Day(1), "Jan/14/2024" + std::string(600, 'x') + "\a");
    EXPECT_EQ(Day(730), old_737);
    const Date base = *ParseDateKey(Day(730));
    for (int slot = 731; slot <= 738; ++slot)
        EXPECT_EQ(Day(slot), DateKey(AddDays(base, slot - 730)));
    EXPECT_TRUE(Day(739).empty());
    EXPECT_EQ(File(state_.data.archive()), "Jan/9 /2024 Dentist \r\n\r\n\r\n");
    EXPECT_EQ(File(state_.data.fdat()), ""); // created empty
    EXPECT_TRUE(std::filesystem::exists(state_.data.rdat()));
}

TEST_F(CycleTest, RecordsReachOnlyTheNewWeekInFileOrder) {
    // After one cycle the new week (slots 729-735) runs from Sunday 11 to Saturday 17 Jan 2026.
    Records("DDec/30/2025003  Every third\r\n\r\n" // 11, 14 and 17 January
            "W6200  Second Friday\r\n\r\n" // 16 January is the third Friday
            "W6300  Third Friday\r\n\r\n"
            "W1000  Sundays\r\n"
            "M12    Twelfth\r\n"
            "YJan/17Seventeenth\r\n"
            "YJan/17"
        + std::string(150, 'y')
        + "\r\n"
          "bogus line\r\n\r\n");
    CycleOutcome done = CycleCalendar(state_);
    ASSERT_TRUE(done.error.ok()) << done.error.message();
    EXPECT_EQ(Day(728), "Jan/10/2026");
    EXPECT_EQ(Day(729), "Jan/11/2026Sundays\aEvery third\a");
    EXPECT_EQ(Day(730), "Jan/12/2026Twelfth\a");
    EXPECT_EQ(Day(731), "Jan/13/2026");
    EXPECT_EQ(Day(732), "Jan/14/2026Every third\a");
    EXPECT_EQ(Day(734), "Jan/16/2026Third Friday\a");
    EXPECT_EQ(Day(735), "Jan/17/2026" + std::string(100, 'y') + "\aSeventeenth\aEvery third\a");
    EXPECT_EQ(Day(736), "Jan/18/2026");
    EXPECT_EQ(done.messages, std::vector<std::string> { std::string(kInvalidRecordMessage) });
    EXPECT_EQ(File(state_.data.fdat()),
        "DDec/30/2025003  Every third\r\nW6200  Second Friday\r\nW6300  Third Friday\r\n"
        "W1000  Sundays\r\nM12    Twelfth\r\nYJan/17Seventeenth\r\nYJan/17"
            + std::string(150, 'y') + "\r\nbogus line\r\n\r\n");
}

TEST_F(CycleTest, MonthEndsLeapDaysAndTheLastSaturdayOfMarch) {
    std::vector<std::string> messages;
    const auto week_from = [this](const Date& sunday) {
        for (int i = 0; i < 7; ++i)
            state_.store[kNewWeekFirstSlot + i] = DateKey(AddDays(sunday, i));
    };
    const std::vector<std::string> lines = { "MEM    End", "YFeb/29Leap", "W7603  March" };
    week_from(D(2024, 2, 25)); // 25 Feb - 2 Mar 2024
    ASSERT_TRUE(ApplyRecords(state_, lines, messages).ok());
    EXPECT_EQ(Day(733), "Feb/29/2024Leap\aEnd\a");
    week_from(D(2023, 2, 26)); // 26 Feb - 4 Mar 2023
    ASSERT_TRUE(ApplyRecords(state_, lines, messages).ok());
    EXPECT_EQ(Day(731), "Feb/28/2023End\a");
    EXPECT_EQ(Day(732), "Mar/1 /2023");
    week_from(D(2029, 3, 25)); // 31 March 2029 is a Saturday
    ASSERT_TRUE(ApplyRecords(state_, lines, messages).ok());
    EXPECT_EQ(Day(735), "Mar/31/2029March\aEnd\a");
    EXPECT_TRUE(messages.empty());
}

TEST_F(CycleTest, FullDayGetsOneNoticeAndLogLinePerRecord) {
    state_.store[kNewWeekFirstSlot] = "Jan/4 /2026" + std::string(20, kEntrySeparator);
    std::vector<std::string> messages;
    ASSERT_TRUE(ApplyRecords(state_, { "W1000  A", "", "W1000  B" }, messages).ok());
    EXPECT_EQ(messages,
        (std::vector<std::string> { "Jan/4 /2026 already has maximum entries - see Error Log",
            "Jan/4 /2026 already has maximum entries - see Error Log" }));
    EXPECT_EQ(File(state_.data.rdat()),
        "Jan/4 /2026 A  (Error - Date NOT Updated)\r\nJan/4 /2026 B  (Error - Date NOT "
        "Updated)\r\n");
}

TEST_F(CycleTest, RewriteDropsInnerEmptyLinesOnly) {
    EXPECT_EQ(RewrittenRecordFile({ "A", "", "", "B", "" }), "A\r\nB\r\n\r\n");
    EXPECT_EQ(RewrittenRecordFile({ "A", "B" }), "A\r\nB\r\n");
    EXPECT_EQ(RewrittenRecordFile({}), "");
}

TEST_F(CycleTest, RefusalsComeBeforeAnyDayMoves) {
    const std::string first = Day(1);
    state_.store[737] = "garbage";
    CycleOutcome bad_slot = CycleCalendar(state_);
    EXPECT_FALSE(bad_slot.error.ok());
    EXPECT_NE(bad_slot.error.message().find("737"), std::string::npos);
    EXPECT_FALSE(bad_slot.moved);
    NewCalendar(D(2024, 1, 7), state_.store);

    std::filesystem::create_directories(state_.data.fdat()); // unreadable
    CycleOutcome unreadable = CycleCalendar(state_);
    EXPECT_FALSE(unreadable.error.ok());
    EXPECT_NE(unreadable.error.message().find("fdat.ovd"), std::string::npos);
    std::filesystem::remove(state_.data.fdat());

    std::filesystem::create_directories(state_.data.archive());
    CycleOutcome no_archive = CycleCalendar(state_);
    EXPECT_FALSE(no_archive.error.ok());
    EXPECT_FALSE(no_archive.moved);
    EXPECT_EQ(Day(1), first);
}

} // namespace
} // namespace orvane
