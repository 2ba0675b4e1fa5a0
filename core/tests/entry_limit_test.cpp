#include "core/entry_limit.h"
#include "core/testing/document_testing.h"
#include "core/tests/fixtures.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orvane {
namespace {

using EntryLimit = FolderTest;

TEST_F(EntryLimit, NineteenEntriesTakeOneMoreTwentyAreLoggedOncePerRefusal) {
    const DataFolder data { dir_ };
    const auto rdat = data.rdat();
    DayStore store;
    store[3] = "Mar/5 /2024" + std::string(19, kEntrySeparator); // empty entries count too
    const auto log = [&](const std::string& text) {
        Status logged;
        RunOperation(store, data,
            [&](DocumentEdit& edit) { logged = AppendErrorLog(edit, edit.store()[3], text); });
        return logged;
    };
    EXPECT_FALSE(IsFull(CheckMaxRecs(store, 3)));

    store[3] += "e\a";
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
}

} // namespace
} // namespace orvane
