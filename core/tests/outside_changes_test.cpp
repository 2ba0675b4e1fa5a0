#include "core/outside_changes.h"

#include "core/day_file.h"
#include "core/file_backups.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <unistd.h>

namespace orvane {
namespace {

namespace fs = std::filesystem;

class OutsideChangesTest : public ::testing::Test {
protected:
    void SetUp() override {
        data_.dir = fs::temp_directory_path()
            / ("orvane_outside_" + std::to_string(::getpid()) + "_"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(data_.dir);
        fs::create_directories(data_.dir);
        DayStore store;
        NewCalendar(MakeDate(2024, 3, 14), store);
        store.set_loaded(true);
        mine_ = FormatDayFile(store);
        ASSERT_TRUE(WriteFileAtomic(data_.cdat(), mine_));
        store[3] += "Written elsewhere\a";
        theirs_ = FormatDayFile(store);
    }
    void TearDown() override { fs::remove_all(data_.dir); }

    DataFolder data_;
    std::string mine_;
    std::string theirs_;
};

TEST_F(OutsideChangesTest, ARewriteIsAChangeUntilTheProgramReadsOrWritesTheFileAgain) {
    CalendarDocument document(data_);
    OutsideChanges outside(document);
    EXPECT_FALSE(outside.ChangedOutside()) << "nothing is known before the load";
    ASSERT_TRUE(document.Load(MakeDate(2024, 3, 14)));
    EXPECT_FALSE(outside.ChangedOutside());

    ASSERT_TRUE(WriteFileAtomic(data_.cdat(), theirs_));
    EXPECT_TRUE(outside.ChangedOutside());
    // Reported once per change.
    EXPECT_TRUE(outside.TakeUnreported());
    EXPECT_FALSE(outside.TakeUnreported());
    EXPECT_TRUE(outside.ChangedOutside()) << "reported is not resolved";
    ASSERT_TRUE(WriteFileAtomic(data_.cdat(), theirs_ + "\r\n"));
    EXPECT_TRUE(outside.TakeUnreported()) << "a second change is a new one";

    // The program's own save makes the file its own again.
    ASSERT_TRUE(document.Save());
    EXPECT_FALSE(outside.ChangedOutside());
    EXPECT_FALSE(outside.TakeUnreported());
    // So does a load of the other version.
    ASSERT_TRUE(WriteFileAtomic(data_.cdat(), theirs_));
    ASSERT_TRUE(document.Load(MakeDate(2024, 3, 14)));
    EXPECT_FALSE(outside.ChangedOutside());
}

TEST_F(OutsideChangesTest, ATouchOrTheSameBytesWrittenAgainIsNoChangeButRemovalIs) {
    CalendarDocument document(data_);
    OutsideChanges outside(document);
    ASSERT_TRUE(document.Load(MakeDate(2024, 3, 14)));
    fs::last_write_time(data_.cdat(), fs::last_write_time(data_.cdat()) + std::chrono::hours(1));
    EXPECT_FALSE(outside.ChangedOutside());
    ASSERT_TRUE(WriteFileAtomic(data_.cdat(), mine_));
    EXPECT_FALSE(outside.ChangedOutside());
    fs::remove(data_.cdat());
    EXPECT_TRUE(outside.ChangedOutside());
}

// Every data file a window rewrites whole is watched the same way as the day file.
class KnownFileTest : public OutsideChangesTest, public ::testing::WithParamInterface<const char*> {
protected:
    fs::path Path() const { return data_.file(GetParam()); }
};

TEST_P(KnownFileTest, ARewriteSinceTheBytesReadIsAChangeReportedOnceButATouchIsNot) {
    ASSERT_TRUE(WriteFileAtomic(Path(), "on disk"));
    KnownFile file(Path());
    EXPECT_FALSE(file.ChangedOutside()) << "nothing known yet";
    // Read a moment before another program wrote the file: compared with the bytes read.
    file.RememberRead(std::string("as read"));
    EXPECT_TRUE(file.ChangedOutside());
    file.RememberRead(ReadWholeFile(Path()));
    EXPECT_FALSE(file.ChangedOutside());
    fs::last_write_time(Path(), fs::last_write_time(Path()) + std::chrono::hours(2));
    EXPECT_FALSE(file.TakeUnreported()) << "touched only";

    ASSERT_TRUE(WriteFileAtomic(Path(), "on disk, and more"));
    EXPECT_TRUE(file.TakeUnreported());
    EXPECT_FALSE(file.TakeUnreported()) << "one change is reported once";
    EXPECT_TRUE(file.ChangedOutside()) << "reported is not resolved";
    ASSERT_TRUE(WriteFileAtomic(Path(), "on disk"));
    EXPECT_FALSE(file.ChangedOutside()) << "written back as it was read";
}

TEST_P(KnownFileTest, AFileCreatedOrRemovedIsAChangeAndAnUnreadableOneIsForgotten) {
    KnownFile file(Path());
    file.RememberRead(ReadWholeFile(Path())); // missing
    EXPECT_FALSE(file.ChangedOutside());
    ASSERT_TRUE(WriteFileAtomic(Path(), "created elsewhere"));
    EXPECT_TRUE(file.ChangedOutside());
    file.RememberNow();
    fs::remove(Path());
    EXPECT_TRUE(file.ChangedOutside());
    fs::create_directory(Path()); // a folder where the file was
    file.RememberRead(ReadWholeFile(Path()));
    EXPECT_FALSE(file.known());
    EXPECT_FALSE(file.ChangedOutside());
}

TEST_P(KnownFileTest, ReplacingBacksUpTheOldBytesEvenWhenTheBackupFailsTheWriteDoesNot) {
    const FixedClock clock(LocalTime { MakeDate(2024, 3, 14), 9, 5, 7 });
    FileBackups backups(data_.dir, clock);
    ASSERT_TRUE(WriteFileAtomic(Path(), "old"));
    KnownFile file(Path());
    file.RememberRead(ReadWholeFile(Path()));
    std::optional<Error> backup_error;
    ASSERT_TRUE(ReplaceKnownFile(file, backups, "new", backup_error));
    EXPECT_FALSE(backup_error);
    EXPECT_FALSE(file.ChangedOutside()) << "the program's own write";
    const std::vector<BackupFile> kept = backups.List(GetParam());
    ASSERT_EQ(kept.size(), 1U);
    EXPECT_EQ(ReadWholeFile(kept[0].path).value_or(""), "old");

    fs::remove_all(data_.dir / "backups");
    ASSERT_TRUE(WriteFileAtomic(data_.dir / "backups", "a file where the folder goes"));
    ASSERT_TRUE(ReplaceKnownFile(file, backups, "newer", backup_error));
    ASSERT_TRUE(backup_error);
    EXPECT_EQ(ReadWholeFile(Path()).value_or(""), "newer");
    // A write that fails leaves the file known as it was.
    fs::remove(Path());
    fs::create_directory(Path());
    EXPECT_FALSE(ReplaceKnownFile(file, backups, "newest", backup_error));
    fs::remove(Path());
    ASSERT_TRUE(WriteFileAtomic(Path(), "newer"));
    EXPECT_FALSE(file.ChangedOutside());
}

INSTANTIATE_TEST_SUITE_P(DataFiles, KnownFileTest,
    ::testing::Values("cdat.ovd", "notes.ovd", "rdat.ovd", "archive.ovd", "pref.ovd"));

TEST_F(OutsideChangesTest, WhatCouldNotBeSavedIsKeptInADatedFileNamedAfterTheDataFile) {
    const LocalTime now { MakeDate(2024, 3, 14), 9, 5, 7 };
    const Result<fs::path> first = KeepUnsaved(data_.dir, "notes.ovd", now, ".rtf", "mine");
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, data_.dir / "notes-not-saved-2024-03-14-090507.rtf");
    const Result<fs::path> again = KeepUnsaved(data_.dir, "notes.ovd", now, ".rtf", "again");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->filename(), "notes-not-saved-2024-03-14-090507-2.rtf");
    EXPECT_EQ(ReadWholeFile(*first).value_or(""), "mine") << "the first is kept";
    EXPECT_FALSE(KeepUnsaved(data_.dir / "gone", "rdat.ovd", now, ".txt", "c"));
}

} // namespace
} // namespace orvane
