#include "core/text_file.h"

#include <gtest/gtest.h>

#include <fstream>

namespace orvane {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitLines, EveryLineEndMixEndsALine) {
    EXPECT_EQ(SplitLines(""), Lines {});
    EXPECT_EQ(SplitLines("a"), Lines { "a" });
    EXPECT_EQ(SplitLines("a\r\n"), Lines { "a" });
    EXPECT_EQ(SplitLines("a\r\nb"), (Lines { "a", "b" }));
    EXPECT_EQ(SplitLines("a\rb\nc\r\nd"), (Lines { "a", "b", "c", "d" }));
    EXPECT_EQ(SplitLines("a\n\rb"), (Lines { "a", "", "b" }));
    EXPECT_EQ(SplitLines("\r\n\r\n"), (Lines { "", "" }));
    EXPECT_EQ(SplitLines("\r\r"), (Lines { "", "" }));
    EXPECT_EQ(SplitLines("a\r"), Lines { "a" });
    EXPECT_EQ(SplitLines(std::string("x\0y\r\n", 5)), Lines { std::string("x\0y", 3) });
}

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path()
            / ("orvane_text_file_"
                + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
};

TEST_F(TextFileTest, AtomicWriteReplacesWholeFileAndLeavesNoTemporary) {
    const auto path = dir_ / "a.ovd";
    ASSERT_TRUE(WriteFileAtomic(path, "first version, longer\r\n"));
    ASSERT_TRUE(WriteFileAtomic(path, "second\r\n"));
    EXPECT_EQ(ReadWholeFile(path).value_or(""), "second\r\n");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(TextFileTest, FailedWriteIsReportedAndOldFileKept) {
    const auto path = dir_ / "missing-folder" / "a.ovd";
    const Status status = WriteFileAtomic(path, "x");
    ASSERT_FALSE(status);
    ASSERT_TRUE(status.error().io);
    EXPECT_EQ(status.error().io->operation, FileOperation::kWrite);
    EXPECT_EQ(status.error().io->path, path);

    // A folder in the way of the rename: the write fails and the folder is untouched.
    const auto blocked = dir_ / "blocked.ovd";
    std::filesystem::create_directories(blocked / "inside");
    EXPECT_FALSE(WriteFileAtomic(blocked, "x"));
    EXPECT_TRUE(std::filesystem::is_directory(blocked / "inside"));
}

TEST_F(TextFileTest, ReadTellsMissingFromUnreadable) {
    const auto missing = ReadWholeFile(dir_ / "none.ovd");
    ASSERT_FALSE(missing);
    EXPECT_TRUE(IsMissingFile(missing.error()));
    const auto folder = ReadWholeFile(dir_);
    ASSERT_FALSE(folder);
    EXPECT_FALSE(IsMissingFile(folder.error()));
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    ASSERT_TRUE(WriteFileAtomic(dir_ / "bytes.ovd", all));
    EXPECT_EQ(ReadWholeFile(dir_ / "bytes.ovd").value_or(""), all);
}

TEST_F(TextFileTest, AppendCreatesOnlyWhenAsked) {
    const auto path = dir_ / "rdat.ovd";
    EXPECT_FALSE(AppendToFile(path, "a\r\n", false));
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_TRUE(AppendToFile(path, "a\r\n", true));
    ASSERT_TRUE(AppendToFile(path, "b\r\n", false));
    EXPECT_EQ(ReadWholeFile(path).value_or(""), "a\r\nb\r\n");
}

} // namespace
} // namespace orvane
