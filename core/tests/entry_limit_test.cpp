#include "core/entry_limit.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orvane {
namespace {

TEST(CheckMaxRecs, NineteenEntriesTakeOneMoreTwentyAreLoggedOncePerRefusal) {
    CalendarState state;
    state.data.dir = std::filesystem::temp_directory_path() / "orvane_entry_limit_test";
    std::filesystem::remove_all(state.data.dir);
    std::filesystem::create_directories(state.data.dir);
    state.CurrentSlot = 3;
    state.EntryText = "Gym";
    state.store[3] = "Mar/5 /2024" + std::string(19, kEntrySeparator); // empty entries count too
    ASSERT_TRUE(CheckMaxRecs(state).ok());
    EXPECT_EQ(state.EntryCount, 19);
    EXPECT_FALSE(IsFull(state.EntryCount));
    EXPECT_FALSE(std::filesystem::exists(state.data.rdat()));

    state.store[3] += "e\a";
    ASSERT_TRUE(CheckMaxRecs(state).ok()); // creates the log
    ASSERT_TRUE(CheckMaxRecs(state).ok());
    EXPECT_EQ(state.EntryCount, 20);
    EXPECT_TRUE(IsFull(state.EntryCount));
    EXPECT_EQ(ReadWholeFile(state.data.rdat()).bytes,
        "Mar/5 /2024 Gym  (Error - Date NOT Updated)\r\n"
        "Mar/5 /2024 Gym  (Error - Date NOT Updated)\r\n");
    EXPECT_EQ(state.store[3], "Mar/5 /2024" + std::string(19, kEntrySeparator) + "e\a");
    EXPECT_EQ(MaxEntriesMessage(state.store[3]),
        "Mar/5 /2024 already has maximum entries - see Error Log");

    std::filesystem::remove(state.data.rdat());
    std::filesystem::create_directories(state.data.rdat()); // a folder cannot be appended to
    const Status status = CheckMaxRecs(state);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.message().find("rdat.ovd"), std::string::npos);
}

} // namespace
} // namespace orvane
