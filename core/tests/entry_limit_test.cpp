#include "core/entry_limit.h"
#include "core/testing/document_testing.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orvane {
namespace {

TEST(CheckMaxRecs, NineteenEntriesTakeOneMoreTwentyAreLoggedOncePerRefusal) {
    const auto dir = std::filesystem::temp_directory_path() / "orvane_entry_limit_test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const DataFolder data { dir };
    const auto rdat = data.rdat();
    DayStore store;
    store[3] = "Mar/5 /2024" + std::string(19, kEntrySeparator); // empty entries count too
    const auto log = [&](const std::string& text) {
        Status logged;
        RunOperation(store, data,
            [&](DocumentEdit& edit) { logged = AppendErrorLog(edit, edit.store()[3], text); });
        return logged;
    };
    EXPECT_EQ(CheckMaxRecs(store, 3), 19);
    EXPECT_FALSE(IsFull(CheckMaxRecs(store, 3)));

    store[3] += "e\a";
    EXPECT_EQ(CheckMaxRecs(store, 3), 20);
    EXPECT_TRUE(IsFull(CheckMaxRecs(store, 3)));
    ASSERT_TRUE(log("Gym")); // creates the log
    ASSERT_TRUE(log("Gym"));
    EXPECT_EQ(ReadWholeFile(rdat).value_or(""),
        "Mar/5 /2024 Gym  (Error - Date NOT Updated)\r\n"
        "Mar/5 /2024 Gym  (Error - Date NOT Updated)\r\n");
    EXPECT_EQ(
        MaxEntriesMessage(store[3]), "Mar/5 /2024 already has maximum entries - see Error Log");

    std::filesystem::remove(rdat);
    std::filesystem::create_directories(rdat); // a folder cannot be appended to
    const Status status = log("Gym");
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().io->operation, FileOperation::kAppend);
    EXPECT_EQ(status.error().io->path, rdat);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace orvane
