#include "core/text_file.h"

#include "core/data_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>

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
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_'); // a parameterised test's name
        dir_ = std::filesystem::temp_directory_path()
            / ("orvane_text_file_"
                + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + name);
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Writes `bytes` to `relative` under the test folder without the code under test.
    std::filesystem::path Put(const std::string& relative, std::string_view bytes = "x") const {
        const auto path = dir_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::ssize(bytes));
        return path;
    }

    std::filesystem::path Link(const std::string& relative, const std::string& target) const {
        const auto path = dir_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::filesystem::create_symlink(target, path);
        return path;
    }

    // The names in `relative`, links and folders included.
    std::set<std::string> Listing(const std::string& relative) const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_ / relative))
            names.insert(entry.path().filename().string());
        return names;
    }

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

// A data file data/NAME reached through links; `links` are (link, what it points to), `target` the
// file the last link names. Relative link texts are relative to the folder of the link holding
// them; "@" stands for the test folder.
struct LinkCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links;
    std::string target;
    bool target_exists;
};

void PrintTo(const LinkCase& c, std::ostream* os) {
    *os << c.name;
}

class TextFileLinkTest : public TextFileTest, public ::testing::WithParamInterface<LinkCase> { };

TEST_P(TextFileLinkTest, SaveReplacesTheTargetAndKeepsTheLinks) {
    const LinkCase& c = GetParam();
    std::filesystem::create_directories(dir_ / "data");
    std::map<std::string, std::string> link_texts;
    for (const auto& [link, to] : c.links) {
        link_texts[link] = to.starts_with('@') ? dir_.string() + to.substr(1) : to;
        Link(link, link_texts[link]);
    }
    const auto target = dir_ / c.target;
    std::filesystem::create_directories(target.parent_path());
    const auto data_file = dir_ / c.links.front().first;
    if (c.target_exists) {
        Put(c.target, "old\r\n");
        EXPECT_EQ(ReadWholeFile(data_file).value_or(""), "old\r\n");
    }
    std::set<std::string> folders;
    for (const auto& [link, to] : c.links)
        folders.insert(std::filesystem::path(link).parent_path().string());
    folders.insert(std::filesystem::path(c.target).parent_path().string());
    std::map<std::string, std::set<std::string>> before;
    for (const auto& folder : folders)
        before[folder] = Listing(folder);
    before[std::filesystem::path(c.target).parent_path().string()].insert(
        target.filename().string());

    ASSERT_TRUE(WriteFileAtomic(data_file, "new\r\n"));

    for (const auto& [link, text] : link_texts) {
        ASSERT_TRUE(std::filesystem::is_symlink(dir_ / link)) << link;
        EXPECT_EQ(std::filesystem::read_symlink(dir_ / link), text);
    }
    EXPECT_FALSE(std::filesystem::is_symlink(target));
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new\r\n");
    for (const auto& folder : folders)
        EXPECT_EQ(Listing(folder), before[folder]) << "a temporary file was left in " << folder;

    ASSERT_TRUE(AppendToFile(data_file, "more\r\n", false));
    EXPECT_TRUE(std::filesystem::is_symlink(data_file));
    EXPECT_EQ(ReadWholeFile(target).value_or(""), "new\r\nmore\r\n");
}

INSTANTIATE_TEST_SUITE_P(Layouts, TextFileLinkTest,
    ::testing::Values(LinkCase { "AbsoluteIntoAnotherFolder",
                          { { "data/cdat.ovd", "@/sync/cdat.ovd" } }, "sync/cdat.ovd", true },
        LinkCase { "Relative", { { "data/cdat.ovd", "../sync/calendar.ovd" } }, "sync/calendar.ovd",
            true },
        // The second link is relative to its own folder; read from data/ it would leave the test
        // folder.
        LinkCase { "TwoHopChain",
            { { "data/cdat.ovd", "../hop/deeper/middle.ovd" },
                { "hop/deeper/middle.ovd", "../../sync/final.ovd" } },
            "sync/final.ovd", true },
        LinkCase { "SameFolder", { { "data/cdat.ovd", "real.ovd" } }, "data/real.ovd", true },
        LinkCase { "Dangling", { { "data/cdat.ovd", "../sync/new.ovd" } }, "sync/new.ovd", false }),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(TextFileTest, SaveThroughALinkKeepsTheTargetsPermissions) {
    using std::filesystem::perms;
    const auto target = Put("sync/cdat.ovd", "old\r\n");
    std::filesystem::permissions(
        target, perms::owner_read | perms::owner_write | perms::group_read);
    const auto link = Link("data/cdat.ovd", "../sync/cdat.ovd");

    ASSERT_TRUE(WriteFileAtomic(link, "new\r\n"));
    EXPECT_EQ(ReadWholeFile(target).value_or(""), "new\r\n");
    EXPECT_EQ(std::filesystem::status(target).permissions(),
        perms::owner_read | perms::owner_write | perms::group_read);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
}

TEST_F(TextFileTest, LinkLoopIsAnErrorAndWritesNothing) {
    const auto a = Link("data/cdat.ovd", "loop.ovd");
    Link("data/loop.ovd", "cdat.ovd");
    const auto self = Link("data/pref.ovd", "pref.ovd");
    for (const auto& path : { a, self }) {
        const Status status = WriteFileAtomic(path, "new\r\n");
        ASSERT_FALSE(status) << path;
        ASSERT_TRUE(status.error().io);
        EXPECT_EQ(status.error().io->operation, FileOperation::kWrite);
        EXPECT_EQ(status.error().io->code, std::errc::too_many_symbolic_link_levels);
        EXPECT_FALSE(ReadWholeFile(path));
        EXPECT_FALSE(AppendToFile(path, "more\r\n", true));
    }
    EXPECT_EQ(Listing("data"), (std::set<std::string> { "cdat.ovd", "loop.ovd", "pref.ovd" }));
    EXPECT_EQ(std::filesystem::read_symlink(a), "loop.ovd");
    EXPECT_EQ(std::filesystem::read_symlink(self), "pref.ovd");
}

// Names in the data folder and whether the clean-up removes them.
struct LeftOver {
    const char* name;
    bool removed;
};

TEST_F(TextFileTest, CleanupRemovesOnlyTheProgramsOwnTemporaries) {
    static const LeftOver kFiles[] = {
        { ".cdat.ovd.AbC123", true },
        { ".cdat.ovd.zzzzzz", true },
        { ".pref.ovd.xY9zQ0", true },
        { ".notes.ovd.000000", true },
        { ".archive.ovd.ZZZZZZ", true },
        { "cdat.ovd", false },
        { "pref.ovd", false },
        { ".cdat.ovd.ABC", false }, // too short
        { ".cdat.ovd.ABCDEFG", false }, // too long
        { ".cdat.ovd.AB-DEF", false }, // not a character mkstemp uses
        { ".cdat.ovd.ABCDE ", false },
        { ".other.ovd.ABCDEF", false }, // not a data file
        { "cdat.ovd.ABCDEF", false }, // no leading dot
        { "..cdat.ovd.ABCDEF", false },
        { ".cdat.ovdXABCDEF", false },
        { ".cdat.ovd.ABCDEF.bak", false },
        { ".CDAT.OVD.ABCDEF", false },
        { "my notes.txt", false },
        { ".hidden", false },
    };
    std::set<std::string> kept;
    for (const auto& file : kFiles) {
        Put(std::string("data/") + file.name);
        if (!file.removed)
            kept.insert(file.name);
    }
    // Only regular files are the program's: a folder or a link of the same shape stays.
    std::filesystem::create_directories(dir_ / "data/.rdat.ovd.QWERTY/inside");
    Link("data/.fdat.ovd.LINKED", "my notes.txt");
    kept.insert({ ".rdat.ovd.QWERTY", ".fdat.ovd.LINKED" });

    const auto removed = RemoveStaleTemporaryFiles(dir_ / "data", kDataFileNames);
    ASSERT_TRUE(removed);
    EXPECT_EQ(*removed, 5);
    EXPECT_EQ(Listing("data"), kept);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "data/.rdat.ovd.QWERTY/inside"));

    const auto none = RemoveStaleTemporaryFiles(dir_ / "no-such-folder", kDataFileNames);
    ASSERT_TRUE(none);
    EXPECT_EQ(*none, 0);
}

TEST_F(TextFileTest, CleanupRemovesTemporariesBesideALinksTarget) {
    Link("data/cdat.ovd", "../sync/calendar.ovd");
    Link("data/pref.ovd", "../hop/deeper/middle.ovd");
    Link("hop/deeper/middle.ovd", "../../sync/settings.ovd");
    Link("data/bdat.ovd", "../missing-folder/bdat.ovd");
    Link("data/fdat.ovd", "fdat.ovd");
    static const LeftOver kFiles[] = {
        { "data/.cdat.ovd.ZZZZZZ", true }, { "sync/.calendar.ovd.Q1w2E3", true },
        { "sync/.settings.ovd.abcdef", true }, { "sync/calendar.ovd", false },
        { "sync/settings.ovd", false }, { "sync/.calendar.ovd.ABC", false },
        { "sync/.cdat.ovd.ABCDEF", false }, // not named after the target
        { "sync/.other.ovd.ABCDEF", false },
        { "hop/deeper/.middle.ovd.ABCDEF", false }, // saves never write beside a link on the way
    };
    for (const auto& file : kFiles)
        Put(file.name);

    const auto removed = RemoveStaleTemporaryFiles(dir_ / "data", kDataFileNames);
    ASSERT_TRUE(removed);
    EXPECT_EQ(*removed, 3);
    for (const auto& file : kFiles)
        EXPECT_EQ(std::filesystem::exists(dir_ / file.name), !file.removed) << file.name;
    for (const char* link : { "data/cdat.ovd", "data/pref.ovd", "data/bdat.ovd", "data/fdat.ovd" })
        EXPECT_TRUE(std::filesystem::is_symlink(dir_ / link)) << link;
}

} // namespace
} // namespace orvane
