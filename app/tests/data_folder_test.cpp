#include "app/data_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <unistd.h>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path()
            / ("orvane_data_folder_" + std::to_string(::getpid()) + "_"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        // Defaults that differ from one another, so that a file copied under the wrong name shows.
        defaults_ = dir_ / "share" / "defaults" / "csystem";
        for (const std::string_view name : kDefaultDataFiles)
            Put(defaults_ / name, "default " + std::string(name) + "\r\n");
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_ / "locked", fs::perms::owner_all, ec);
        fs::remove_all(dir_);
    }

    static void Put(const fs::path& path, const std::string& bytes) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::set<std::string> Listing(const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }

    fs::path dir_;
    fs::path defaults_;
};

TEST_F(DataFolderTest, CommandLineWinsThenPortableThenUser) {
    const fs::path program = dir_ / "bin";
    const fs::path user = dir_ / "home" / "csystem";
    const fs::path chosen = dir_ / "usb" / "calendar";
    fs::create_directories(program);

    struct Case {
        const char* layout;
        std::optional<fs::path> command_line;
        DataFolderKind kind;
        fs::path dir;
    };
    // Each case adds to the program folder what the one before left there.
    const Case cases[] = {
        { "nothing beside the program", std::nullopt, DataFolderKind::kUser, user },
        { "a file named csystem", std::nullopt, DataFolderKind::kUser, user },
        { "a csystem folder", std::nullopt, DataFolderKind::kPortable, program / "csystem" },
        { "a csystem folder and --data-dir", chosen, DataFolderKind::kCommandLine, chosen },
    };
    for (const Case& c : cases) {
        if (std::string_view(c.layout) == "a file named csystem")
            Put(program / "csystem", "");
        if (std::string_view(c.layout) == "a csystem folder") {
            fs::remove(program / "csystem");
            fs::create_directory(program / "csystem");
        }
        const DataFolderChoice choice = ChooseDataFolder(c.command_line, program, user);
        EXPECT_EQ(choice.kind, c.kind) << c.layout;
        EXPECT_EQ(choice.dir, c.dir) << c.layout;
    }

    // A csystem that links to a folder elsewhere (a synced one) is a portable data folder too.
    const fs::path other = dir_ / "other";
    fs::create_directories(other);
    fs::create_directory_symlink(dir_ / "synced-target", other / "csystem");
    EXPECT_EQ(ChooseDataFolder(std::nullopt, other, user).kind, DataFolderKind::kUser);
    fs::create_directory(dir_ / "synced-target");
    EXPECT_EQ(ChooseDataFolder(std::nullopt, other, user).kind, DataFolderKind::kPortable);
}

TEST_F(DataFolderTest, NewFolderIsCreatedWithEveryDefault) {
    const fs::path data = dir_ / "home" / ".local" / "share" / "Marrowby" / "Orvane" / "csystem";
    const auto copied = PrepareDataFolder(data, defaults_);
    ASSERT_TRUE(copied);
    EXPECT_EQ(*copied,
        (Names { "pref.ovd", "cdat.ovd", "fdat.ovd", "rdat.ovd", "archive.ovd", "notes.ovd" }));
    for (const std::string_view name : kDefaultDataFiles)
        EXPECT_EQ(Read(data / name), Read(defaults_ / name)) << name;
    // Nothing else: no probe file left behind.
    EXPECT_EQ(Listing(data).size(), kDefaultDataFiles.size());

    // A second start finds everything and copies nothing.
    const auto again = PrepareDataFolder(data, defaults_);
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->empty());
}

TEST_F(DataFolderTest, MissingFilesAreAddedAndExistingOnesKept) {
    const fs::path data = dir_ / "data";
    Put(data / "pref.ovd", "my preferences\r\n");
    Put(data / "cdat.ovd", ""); // empty, but the user's
    // A link whose target is away (a synced folder not mounted) is the user's file too.
    fs::create_symlink(dir_ / "not-mounted" / "notes.ovd", data / "notes.ovd");
    Put(data / "bdat.ovd", "backup\r\n");

    const auto copied = PrepareDataFolder(data, defaults_);
    ASSERT_TRUE(copied);
    EXPECT_EQ(*copied, (Names { "fdat.ovd", "rdat.ovd", "archive.ovd" }));
    EXPECT_EQ(Read(data / "pref.ovd"), "my preferences\r\n");
    EXPECT_EQ(Read(data / "cdat.ovd"), "");
    EXPECT_FALSE(fs::exists(dir_ / "not-mounted"));
    EXPECT_EQ(Read(data / "archive.ovd"), Read(defaults_ / "archive.ovd"));
}

TEST_F(DataFolderTest, FolderThatCannotBeUsedIsRefusedWithItsReason) {
    Put(dir_ / "a-file", "keep me");
    fs::create_symlink(dir_ / "gone", dir_ / "dangling");
    struct Case {
        fs::path dir;
        FileOperation operation;
        std::string reason; // the words, when the reason is not the system's
        std::errc code;
    };
    const Case cases[] = {
        { dir_ / "a-file", FileOperation::kCreateFolder, "it is a file, not a folder", {} },
        { dir_ / "a-file" / "csystem", FileOperation::kCreateFolder, "",
            std::errc::not_a_directory },
        { dir_ / "dangling", FileOperation::kCreateFolder, "it is a link to a missing folder", {} },
    };
    for (const Case& c : cases) {
        const auto result = PrepareDataFolder(c.dir, defaults_);
        ASSERT_FALSE(result) << c.dir;
        ASSERT_TRUE(result.error().io) << c.dir;
        EXPECT_EQ(result.error().io->path, c.dir);
        EXPECT_EQ(result.error().io->operation, c.operation) << c.dir;
        EXPECT_EQ(result.error().io->reason, c.reason) << c.dir;
        if (c.reason.empty()) {
            EXPECT_EQ(result.error().io->code, c.code) << c.dir;
        }
    }
    // Nothing was written anywhere: the file is as it was, the link still leads nowhere.
    EXPECT_EQ(Read(dir_ / "a-file"), "keep me");
    EXPECT_FALSE(fs::exists(dir_ / "gone"));
    EXPECT_EQ(Listing(dir_), (std::set<std::string> { "a-file", "dangling", "share" }));
}

TEST_F(DataFolderTest, FolderWithoutWritePermissionIsRefused) {
    // The administrator writes through permission bits; a folder of the kernel's refuses even the
    // administrator.
    fs::path locked = dir_ / "locked";
    if (::geteuid() == 0) {
        locked = "/sys/kernel";
        if (std::ofstream(locked / "orvane-probe"))
            GTEST_SKIP() << locked << " takes files here; no folder refuses the administrator";
    } else {
        fs::create_directory(locked);
        Put(locked / "pref.ovd", "mine\r\n");
        fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    }
    const std::set<std::string> before = Listing(locked);
    const auto result = PrepareDataFolder(locked, defaults_);
    ASSERT_FALSE(result);
    ASSERT_TRUE(result.error().io);
    EXPECT_EQ(result.error().io->operation, FileOperation::kWrite);
    EXPECT_EQ(result.error().io->path, locked);
    EXPECT_TRUE(result.error().io->code == std::errc::permission_denied
        || result.error().io->code == std::errc::read_only_file_system)
        << result.error().io->code.message();
    EXPECT_NE(result.error().note.find("create files"), std::string::npos);
    EXPECT_EQ(Listing(locked), before);
}

TEST_F(DataFolderTest, MissingDefaultIsAnErrorNamingIt) {
    fs::remove(defaults_ / "fdat.ovd");
    const fs::path data = dir_ / "data";
    const auto result = PrepareDataFolder(data, defaults_);
    ASSERT_FALSE(result);
    ASSERT_TRUE(result.error().io);
    EXPECT_EQ(result.error().io->path, defaults_ / "fdat.ovd");
    EXPECT_NE(result.error().note.find("reinstall"), std::string::npos);
    // The files before it in the list are there and whole; the start can be tried again.
    EXPECT_EQ(Read(data / "cdat.ovd"), Read(defaults_ / "cdat.ovd"));
    EXPECT_FALSE(fs::exists(data / "fdat.ovd"));
}

} // namespace
} // namespace orvane
