#include "core/entry_limit.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orvane {
namespace {

class EntryLimitTest : public ::testing::Test {
protected:
    void SetUp() override {
        state_.data.dir = std::filesystem::temp_directory_path()
            / ("orvane_entry_limit_"
                + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(state_.data.dir);
        std::filesystem::create_directories(state_.data.dir);
        state_.CurrentSlot = 3;
        state_.EntryText = "Gym";
    }
    void TearDown() override { std::filesystem::remove_all(state_.data.dir); }

    // A day of `entries` entries, `empty` of them empty.
    void Fill(int entries, bool empty = false) {
        state_.store[3] = "Mar/5 /2024";
        for (int i = 0; i < entries; ++i)
            state_.store[3] += (empty ? "" : "e" + std::to_string(i)) + kEntrySeparator;
    }
    std::string Log() const { return ReadWholeFile(state_.data.rdat()).bytes; }

    CalendarState state_;
};

TEST_F(EntryLimitTest, NineteenEntriesTakeOneMoreTwentyAreLoggedOncePerRefusal) {
    Fill(19);
    ASSERT_TRUE(CheckMaxRecs(state_).ok());
    EXPECT_EQ(state_.EntryCount, 19);
    EXPECT_FALSE(IsFull(state_.EntryCount));
    EXPECT_FALSE(std::filesystem::exists(state_.data.rdat()));

    Fill(20, /*empty=*/true); // empty entries count too
    ASSERT_TRUE(WriteFileAtomic(state_.data.rdat(), "old\r\n").ok());
    ASSERT_TRUE(CheckMaxRecs(state_).ok());
    ASSERT_TRUE(CheckMaxRecs(state_).ok());
    EXPECT_EQ(state_.EntryCount, 20);
    EXPECT_TRUE(IsFull(state_.EntryCount));
    EXPECT_EQ(Log(),
        "old\r\nMar/5 /2024 Gym  (Error - Date NOT Updated)\r\n"
        "Mar/5 /2024 Gym  (Error - Date NOT Updated)\r\n");
    EXPECT_EQ(state_.store[3], "Mar/5 /2024" + std::string(20, kEntrySeparator));
    EXPECT_EQ(MaxEntriesMessage(state_.store[3]),
        "Mar/5 /2024 already has maximum entries - see Error Log");
}

TEST_F(EntryLimitTest, MissingLogIsCreatedAndAFailedAppendIsReported) {
    Fill(20);
    ASSERT_TRUE(CheckMaxRecs(state_).ok());
    EXPECT_EQ(Log(), "Mar/5 /2024 Gym  (Error - Date NOT Updated)\r\n");
    std::filesystem::remove(state_.data.rdat());
    std::filesystem::create_directories(state_.data.rdat()); // a folder cannot be appended to
    const Status status = CheckMaxRecs(state_);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("rdat.ovd"), std::string::npos);
}

TEST(InsertFirstEntry, GoesDirectlyAfterTheKey) {
    std::string day = "Mar/14/2024Dentist\a";
    InsertFirstEntry(day, "Gym");
    EXPECT_EQ(day, "Mar/14/2024Gym\aDentist\a");
}

} // namespace
} // namespace orvane
