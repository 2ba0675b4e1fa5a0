#include "core/entry_limit.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orvane {
namespace {

std::string DayWith(int entries) {
    std::string day = "Mar/5 /2024";
    for (int i = 0; i < entries; ++i)
        day += "e" + std::to_string(i) + kEntrySeparator;
    return day;
}

class EntryLimitTest : public ::testing::Test {
protected:
    void SetUp() override {
        state_.data.dir = std::filesystem::temp_directory_path()
            / ("orvane_entry_limit_"
                + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(state_.data.dir);
        std::filesystem::create_directories(state_.data.dir);
    }
    void TearDown() override { std::filesystem::remove_all(state_.data.dir); }

    std::string Log() const { return ReadWholeFile(state_.data.rdat()).bytes; }

    CalendarState state_;
};

TEST_F(EntryLimitTest, NineteenEntriesTakeOneMoreAndLogNothing) {
    state_.store[3] = DayWith(19);
    state_.CurrentSlot = 3;
    state_.EntryText = "Gym";
    ASSERT_TRUE(CheckMaxRecs(state_).ok());
    EXPECT_EQ(state_.EntryCount, 19);
    EXPECT_FALSE(IsFull(state_.EntryCount));
    EXPECT_FALSE(std::filesystem::exists(state_.data.rdat()));
    EXPECT_EQ(state_.store[3], DayWith(19));
}

TEST_F(EntryLimitTest, FullDayIsLoggedOncePerRefusalAndTheLogIsCreated) {
    state_.store[3] = DayWith(20);
    state_.CurrentSlot = 3;
    state_.EntryText = "Gym";
    ASSERT_TRUE(CheckMaxRecs(state_).ok());
    EXPECT_EQ(state_.EntryCount, 20);
    EXPECT_TRUE(IsFull(state_.EntryCount));
    ASSERT_TRUE(CheckMaxRecs(state_).ok());
    EXPECT_EQ(Log(),
        "Mar/5 /2024 Gym  (Error - Date NOT Updated)\r\n"
        "Mar/5 /2024 Gym  (Error - Date NOT Updated)\r\n");
    EXPECT_EQ(state_.store[3], DayWith(20));
    EXPECT_EQ(MaxEntriesMessage(state_.store[3]),
        "Mar/5 /2024 already has maximum entries - see Error Log");
}

TEST_F(EntryLimitTest, EmptyEntriesCountAndTheLogKeepsEarlierLines) {
    ASSERT_TRUE(WriteFileAtomic(state_.data.rdat(), "old\r\n").ok());
    state_.store[1] = "Jan/14/2024" + std::string(20, kEntrySeparator);
    state_.CurrentSlot = 1;
    state_.EntryText = "X";
    ASSERT_TRUE(CheckMaxRecs(state_).ok());
    EXPECT_EQ(state_.EntryCount, 20);
    EXPECT_EQ(Log(), "old\r\nJan/14/2024 X  (Error - Date NOT Updated)\r\n");
}

TEST_F(EntryLimitTest, FailedAppendIsReported) {
    std::filesystem::create_directories(state_.data.rdat()); // a folder cannot be appended to
    state_.store[1] = DayWith(25);
    state_.CurrentSlot = 1;
    state_.EntryText = "X";
    const Status status = CheckMaxRecs(state_);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("rdat.ovd"), std::string::npos);
    EXPECT_EQ(state_.EntryCount, 25);
}

TEST(InsertFirstEntry, GoesDirectlyAfterTheKey) {
    std::string day = "Mar/14/2024Dentist\a";
    InsertFirstEntry(day, "Gym");
    EXPECT_EQ(day, "Mar/14/2024Gym\aDentist\a");
    std::string bare = "Mar/14/2024";
    InsertFirstEntry(bare, "Gym");
    EXPECT_EQ(bare, "Mar/14/2024Gym\a");
}

} // namespace
} // namespace orvane
