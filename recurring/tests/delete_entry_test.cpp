#include "recurring/delete_entry.h"

#include "core/day_file.h"
#include "core/text_file.h"
#include "recurring/tests/test_folder.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(DeleteFromDay, RemovesWholeEqualEntriesOnly) {
    std::string day = "Mar/14/2024Dentist\aDentist\aGym\a";
    EXPECT_TRUE(DeleteFromDay(day, "Dentist"));
    EXPECT_EQ(day, "Mar/14/2024Gym\a");

    std::string inside = "Mar/14/2024Dentist at 4\a";
    EXPECT_FALSE(DeleteFromDay(inside, "Dentist"));
    EXPECT_EQ(inside, "Mar/14/2024Dentist at 4\a");

    std::string other_case = "Mar/14/2024Dentist\a";
    EXPECT_FALSE(DeleteFromDay(other_case, "dentist"));
    EXPECT_EQ(other_case, "Mar/14/2024Dentist\a");
}

TEST(DeleteFromDay, TailAfterTheLastSeparatorStaysAtTheEnd) {
    std::string day = "Mar/14/2024Gym\aDentist\ahand edit";
    EXPECT_TRUE(DeleteFromDay(day, "Gym"));
    EXPECT_EQ(day, "Mar/14/2024Dentist\ahand edit");
    std::string empty_entry = "Mar/14/2024\aGym\a";
    EXPECT_TRUE(DeleteFromDay(empty_entry, "Gym"));
    EXPECT_EQ(empty_entry, "Mar/14/2024\a");
}

TEST(DeleteFromDays, StaysWithinTheRangeAndTheShownDays) {
    DayStore store;
    NewCalendar(Date { std::chrono::year(2024), std::chrono::January, std::chrono::day(7) }, store);
    for (int slot : { 4, 5, 6, 736 })
        store[slot] += "Gym\a";
    EXPECT_EQ(DeleteFromDays(store, 5, 740, "Gym"), 2);
    EXPECT_EQ(store[4].substr(11), "Gym\a");
    EXPECT_EQ(store[5].substr(11), "");
    EXPECT_EQ(store[736].substr(11), "Gym\a");
}

TEST(RecordsWithout, MatchesOnlyTheEntryTextOfValidRecords) {
    const std::string fdat = "DJan/29/2001007  Gym\r\n\r\n"
                             "YJan/5 Party\r\n\r\n"
                             "W1000  Jan meeting\r\n\r\n"
                             "M5     Rent\r\n\r\n"
                             "junk Jan line\r\n\r\n";
    EXPECT_EQ(
        RecordsWithout(fdat, "Jan"), "DJan/29/2001007  Gym\r\nYJan/5 Party\r\nM5     Rent\r\n\r");
    EXPECT_EQ(RecordsWithout(fdat, "gym"),
        "DJan/29/2001007  Gym\r\nYJan/5 Party\r\nW1000  Jan meeting\r\nM5     Rent\r\n"
        "junk Jan line\r\n\r");
    EXPECT_EQ(RecordsWithout(fdat, "Ren"),
        "DJan/29/2001007  Gym\r\nYJan/5 Party\r\nW1000  Jan meeting\r\njunk Jan line\r\n\r");
}

TEST(RecordsWithout, KeepsALastRecordWithoutLineEndAndEndsInOneCarriageReturn) {
    EXPECT_EQ(RecordsWithout("W1000  a\r\n\rM5     b", "zzz"), "W1000  a\r\nM5     b\r\n\r");
    EXPECT_EQ(RecordsWithout("", "x"), "\r");
    EXPECT_EQ(RecordsWithout("\r", "x"), "\r");
}

class DeleteEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        state_.data.dir = testing_support::MakeTestFolder("orvane_delete_");
        NewCalendar(Date { std::chrono::year(2024), std::chrono::January, std::chrono::day(7) },
            state_.store);
        state_.store[3] += "Dentist\aDentist\aGym\a";
    }
    void TearDown() override { std::filesystem::remove_all(state_.data.dir); }

    CalendarState state_;
};

TEST_F(DeleteEntryTest, RewritesRecordsThroughTheWorkFile) {
    ASSERT_TRUE(
        WriteFileAtomic(state_.data.fdat(), "M5     Dentist\r\n\r\nM6     Gym\r\n\r\n").ok());
    const DeleteOutcome done = DeleteEntry(state_, 1, 735, "Dentist", true);
    ASSERT_TRUE(done.error.ok()) << done.error.message();
    EXPECT_EQ(done.days_changed, 1);
    EXPECT_EQ(state_.store[3], "Jan/9 /2024Gym\a");
    EXPECT_EQ(ReadWholeFile(state_.data.fdat()).bytes, "M6     Gym\r\n\r");
    EXPECT_EQ(ReadWholeFile(state_.data.wdat()).bytes, "M6     Gym\r\n\r");
}

TEST_F(DeleteEntryTest, UncheckedLeavesTheRecordFileAlone) {
    const DeleteOutcome done = DeleteEntry(state_, 1, 735, "Gym", false);
    ASSERT_TRUE(done.error.ok());
    EXPECT_EQ(state_.store[3], "Jan/9 /2024Dentist\aDentist\a");
    EXPECT_FALSE(std::filesystem::exists(state_.data.fdat()));
    EXPECT_FALSE(std::filesystem::exists(state_.data.wdat()));
}

TEST_F(DeleteEntryTest, UnreadableRecordFileChangesNothing) {
    std::filesystem::create_directories(state_.data.fdat());
    const DeleteOutcome done = DeleteEntry(state_, 1, 735, "Gym", true);
    EXPECT_FALSE(done.error.ok());
    EXPECT_NE(done.error.message().find("fdat.ovd"), std::string::npos);
    EXPECT_EQ(state_.store[3], "Jan/9 /2024Dentist\aDentist\aGym\a");
}

TEST_F(DeleteEntryTest, MissingRecordFileHoldsNoRecords) {
    const DeleteOutcome done = DeleteEntry(state_, 1, 735, "Gym", true);
    ASSERT_TRUE(done.error.ok());
    EXPECT_EQ(ReadWholeFile(state_.data.fdat()).bytes, "\r");
}

} // namespace
} // namespace orvane
