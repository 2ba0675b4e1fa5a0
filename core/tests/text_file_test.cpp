#include "core/text_file.h"

#include "core/data_folder.h"
#include "core/tests/fixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TEST(SplitLines, EveryLineEndMixEndsALine) {
    EXPECT_EQ(SplitLines(""), Lines {});
    EXPECT_EQ(SplitLines("a\rb\nc\r\nd"), (Lines { "a", "b", "c", "d" }));
    EXPECT_EQ(SplitLines("a\n\rb"), (Lines { "a", "", "b" }));
    EXPECT_EQ(SplitLines("\r\n\r\n"), (Lines { "", "" }));
    EXPECT_EQ(SplitLines(std::string("x\0y\r\n", 5)), Lines { std::string("x\0y", 3) });
}

class TextFileTest : public FolderTest {
protected:
    // Writes `bytes` to `relative` under the test folder without the code under test.
    fs::path Put(const std::string& relative, std::string_view bytes = "x") const {
        const auto path = dir_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::ssize(bytes));
        return path;
    }
    fs::path Link(const std::string& relative, const std::string& target) const {
        const auto path = dir_ / relative;
        fs::create_directories(path.parent_path());
        fs::create_symlink(target, path);
        return path;
    }
    // The names in `relative`, links and folders included.
    std::set<std::string> Listing(const std::string& relative) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_ / relative))
            names.insert(entry.path().filename().string());
        return names;
    }
};

TEST_F(TextFileTest, AtomicWriteReplacesWholeFileWithEveryByteAndLeavesNoTemporary) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const auto path = dir_ / "a.ovd";
    ASSERT_TRUE(WriteFileAtomic(path, all + "first version, longer\r\n"));
    ASSERT_TRUE(WriteFileAtomic(path, all));
    EXPECT_EQ(ReadWholeFile(path).value_or(""), all);
    EXPECT_EQ(Listing(""), std::set<std::string> { "a.ovd" });
    // Read in blocks: a file of several blocks, and one whose size the system gives as 0.
    std::string large;
    for (int i = 0; i < 1000; ++i)
        large += all;
    ASSERT_TRUE(WriteFileAtomic(path, large));
    EXPECT_EQ(ReadWholeFile(path).value_or(""), large);
    EXPECT_NE(ReadWholeFile("/proc/self/status").value_or("").find("Name:"), std::string::npos);
}

TEST_F(TextFileTest, FailuresAreReportedAndAnAppendCreatesOnlyWhenAsked) {
    const auto path = dir_ / "missing-folder" / "a.ovd";
    const Status status = WriteFileAtomic(path, "x");
    ASSERT_FALSE(status);
    ASSERT_TRUE(status.error().io);
    EXPECT_EQ(status.error().io->operation, FileOperation::kWrite);
    EXPECT_EQ(status.error().io->path, path);
    // A folder in the way of the rename: the write fails and the folder is untouched.
    fs::create_directories(dir_ / "blocked.ovd" / "inside");
    EXPECT_FALSE(WriteFileAtomic(dir_ / "blocked.ovd", "x"));
    EXPECT_TRUE(fs::is_directory(dir_ / "blocked.ovd" / "inside"));

    const auto missing = ReadWholeFile(dir_ / "none.ovd");
    ASSERT_FALSE(missing);
    EXPECT_TRUE(IsMissingFile(missing.error()));
    const auto folder = ReadWholeFile(dir_);
    ASSERT_FALSE(folder);
    EXPECT_FALSE(IsMissingFile(folder.error()));

    // An append creates the file only when asked to.
    EXPECT_FALSE(AppendToFile(dir_ / "rdat.ovd", "a\r\n", false));
    EXPECT_FALSE(fs::exists(dir_ / "rdat.ovd"));
    ASSERT_TRUE(AppendToFile(dir_ / "rdat.ovd", "a\r\n", true));
    ASSERT_TRUE(AppendToFile(dir_ / "rdat.ovd", "b\r\n", false));
    EXPECT_EQ(ReadWholeFile(dir_ / "rdat.ovd").value_or(""), "a\r\nb\r\n");
}

// The second link is relative to its own folder; read from data/ it would leave the test folder.
TEST_F(TextFileTest, SaveThroughLinksReplacesTheTargetAndKeepsTheLinks) {
    const auto target = Put("sync/final.ovd", "old\r\n");
    const auto link = Link("data/cdat.ovd", "../hop/deeper/middle.ovd");
    Link("hop/deeper/middle.ovd", "../../sync/final.ovd");

    ASSERT_TRUE(WriteFileAtomic(link, "new\r\n"));
    EXPECT_EQ(fs::read_symlink(link), "../hop/deeper/middle.ovd");
    EXPECT_EQ(fs::read_symlink(dir_ / "hop/deeper/middle.ovd"), "../../sync/final.ovd");
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(ReadWholeFile(target).value_or(""), "new\r\n");
    EXPECT_EQ(Listing("sync"), std::set<std::string> { "final.ovd" });
    EXPECT_EQ(Listing("hop/deeper"), std::set<std::string> { "middle.ovd" });
    EXPECT_EQ(Listing("data"), std::set<std::string> { "cdat.ovd" });
    ASSERT_TRUE(AppendToFile(link, "more\r\n", false));
    EXPECT_EQ(ReadWholeFile(target).value_or(""), "new\r\nmore\r\n");
}

TEST_F(TextFileTest, LinkLoopIsAnErrorAndWritesNothing) {
    const auto a = Link("data/cdat.ovd", "loop.ovd");
    Link("data/loop.ovd", "cdat.ovd");
    const Status status = WriteFileAtomic(a, "new\r\n");
    ASSERT_FALSE(status);
    ASSERT_TRUE(status.error().io);
    EXPECT_EQ(status.error().io->code, std::errc::too_many_symbolic_link_levels);
    EXPECT_FALSE(ReadWholeFile(a));
    EXPECT_FALSE(AppendToFile(a, "more\r\n", true));
    EXPECT_EQ(Listing("data"), (std::set<std::string> { "cdat.ovd", "loop.ovd" }));
    EXPECT_EQ(fs::read_symlink(a), "loop.ovd");
}

// Removes only regular files named as a save's temporary of a data file: a dot, the file's name
// (or its link's target's name, beside the target), a dot and six characters mkstemp uses.
TEST_F(TextFileTest, CleanupRemovesOnlyTheProgramsOwnTemporaries) {
    Link("data/cdat.ovd", "../sync/calendar.ovd");
    static const std::pair<const char*, bool> kFiles[] = {
        { "data/.pref.ovd.xY9zQ0", true },
        { "data/.cdat.ovd.ZZZZZZ", true },
        { "sync/.calendar.ovd.Q1w2E3", true },
        { "sync/calendar.ovd", false },
        { "sync/.cdat.ovd.ABCDEF", false }, // not named after the target
        { "data/pref.ovd", false },
        { "data/.pref.ovd.ABC", false },
        { "data/.pref.ovd.AB-DEF", false },
        { "data/.other.ovd.ABCDEF", false },
    };
    for (const auto& [name, removed] : kFiles)
        Put(name);
    // A folder or a link of the same shape is not the program's.
    fs::create_directories(dir_ / "data/.rdat.ovd.QWERTY/inside");
    Link("data/.fdat.ovd.LINKED", "pref.ovd");

    const auto removed = RemoveStaleTemporaryFiles(dir_ / "data", kDataFileNames);
    ASSERT_TRUE(removed);
    EXPECT_EQ(*removed, 3);
    for (const auto& [name, gone] : kFiles)
        EXPECT_EQ(fs::exists(dir_ / name), !gone) << name;
    EXPECT_TRUE(fs::exists(dir_ / "data/.rdat.ovd.QWERTY/inside"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "data/.fdat.ovd.LINKED"));
    EXPECT_EQ(RemoveStaleTemporaryFiles(dir_ / "no-such-folder", kDataFileNames).value_or(-1), 0);
}

} // namespace
} // namespace orvane
