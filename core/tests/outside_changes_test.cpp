#include "core/outside_changes.h"

#include "core/file_backups.h"
#include "core/tests/fixtures.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace orvane {
namespace {

namespace fs = std::filesystem;

using OutsideChangesTest = FolderTest;

// The day file is known as the document last read or saved it.
TEST_F(OutsideChangesTest, ADayFileRewriteIsAChangeUntilTheProgramReadsOrWritesItAgain) {
    const DataFolder data { dir_ };
    ASSERT_TRUE(WriteFileAtomic(data.cdat(), ""));
    CalendarDocument document(data);
    OutsideChanges outside(document);
    ASSERT_TRUE(document.Load(MakeDate(2024, 3, 14)));
    EXPECT_FALSE(outside.ChangedOutside());
    const std::string theirs = ReadWholeFile(data.cdat()).value_or("") + "\r\n";
    ASSERT_TRUE(WriteFileAtomic(data.cdat(), theirs));
    EXPECT_TRUE(outside.ChangedOutside());
    ASSERT_TRUE(document.Save());
    EXPECT_FALSE(outside.ChangedOutside());
    ASSERT_TRUE(WriteFileAtomic(data.cdat(), theirs));
    ASSERT_TRUE(document.Load(MakeDate(2024, 3, 14)));
    EXPECT_FALSE(outside.ChangedOutside());
}

// Another program that writes cdat.ovd just after the program's own read or write: the watch
// knows the bytes the program held, so that version is a change, not the program's own.
TEST_F(OutsideChangesTest, AVersionWrittenJustAfterTheLoadOrTheSaveIsAChange) {
    const DataFolder data { dir_ };
    ASSERT_TRUE(WriteFileAtomic(data.cdat(), ""));
    struct OtherProgram final : DocumentListener {
        fs::path file;
        void Changed(const CalendarDocument&, const ChangeReport& report) override {
            if (report.kind == OperationKind::kLoad)
                Write();
        }
        void Saved(const CalendarDocument&) override { Write(); }
        void Write() { ASSERT_TRUE(WriteFileAtomic(file, "their version\r\n")); }
    } other;
    other.file = data.cdat();
    CalendarDocument document(data);
    document.AddListener(&other); // heard before the watch
    OutsideChanges outside(document);
    ASSERT_TRUE(document.Load(MakeDate(2024, 3, 14)));
    EXPECT_TRUE(outside.ChangedOutside()) << "after the load";
    ASSERT_TRUE(document.Save());
    EXPECT_TRUE(outside.ChangedOutside()) << "after the save";
    document.RemoveListener(&other);
}

// Every data file is watched through a KnownFile, which compares the file with the bytes read.
TEST_F(OutsideChangesTest, AKnownFileSeesRewritesOnceEachButNotTouchesAndForgetsAnUnreadableOne) {
    const fs::path path = dir_ / "notes.ovd";
    KnownFile file(path);
    file.RememberRead(ReadWholeFile(path)); // missing
    EXPECT_FALSE(file.ChangedOutside());
    ASSERT_TRUE(WriteFileAtomic(path, "on disk"));
    EXPECT_TRUE(file.ChangedOutside()) << "created elsewhere";
    // Read a moment before another program wrote the file: compared with the bytes read.
    file.RememberRead(std::string("as read"));
    EXPECT_TRUE(file.ChangedOutside());
    file.RememberRead(ReadWholeFile(path));
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::hours(2));
    ASSERT_TRUE(WriteFileAtomic(path, "on disk"));
    EXPECT_FALSE(file.TakeUnreported()) << "touched and written with the same bytes only";
    ASSERT_TRUE(WriteFileAtomic(path, "on disk, and more"));
    EXPECT_TRUE(file.TakeUnreported());
    EXPECT_FALSE(file.TakeUnreported()) << "reported once per change";
    EXPECT_TRUE(file.ChangedOutside()) << "reported is not resolved";
    ASSERT_TRUE(WriteFileAtomic(path, "on disk, and even more"));
    EXPECT_TRUE(file.TakeUnreported()) << "a second change is a new one";
    fs::remove(path);
    EXPECT_TRUE(file.ChangedOutside());

    fs::create_directory(path); // a folder where the file was
    file.RememberRead(ReadWholeFile(path));
    EXPECT_FALSE(file.known());
    EXPECT_FALSE(file.ChangedOutside());
}

TEST_F(OutsideChangesTest, ReplacingBacksUpTheOldBytesAndAFailedBackupDoesNotStopTheWrite) {
    const FixedClock clock(LocalTime { MakeDate(2024, 3, 14), 9, 5, 7 });
    FileBackups backups(dir_, clock);
    const fs::path path = dir_ / "pref.ovd";
    ASSERT_TRUE(WriteFileAtomic(path, "old"));
    KnownFile file(path);
    file.RememberRead(ReadWholeFile(path));
    std::optional<Error> backup_error;
    ASSERT_TRUE(ReplaceKnownFile(file, backups, "new", backup_error));
    EXPECT_FALSE(backup_error);
    EXPECT_FALSE(file.ChangedOutside()) << "the program's own write";
    ASSERT_EQ(backups.List("pref.ovd").size(), 1U);
    EXPECT_EQ(ReadWholeFile(backups.List("pref.ovd")[0].path).value_or(""), "old");

    fs::remove_all(dir_ / "backups");
    ASSERT_TRUE(WriteFileAtomic(dir_ / "backups", "a file where the folder goes"));
    ASSERT_TRUE(ReplaceKnownFile(file, backups, "newer", backup_error));
    ASSERT_TRUE(backup_error);
    EXPECT_EQ(ReadWholeFile(path).value_or(""), "newer");
    // A write that fails is reported.
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_FALSE(ReplaceKnownFile(file, backups, "newest", backup_error));
}

TEST_F(OutsideChangesTest, WhatCouldNotBeSavedIsKeptInADatedFileNamedAfterTheDataFile) {
    const LocalTime now { MakeDate(2024, 3, 14), 9, 5, 7 };
    const Result<fs::path> first = KeepUnsaved(dir_, "notes.ovd", now, ".rtf", "mine");
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, dir_ / "notes-not-saved-2024-03-14-090507.rtf");
    const Result<fs::path> again = KeepUnsaved(dir_, "notes.ovd", now, ".rtf", "again");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->filename(), "notes-not-saved-2024-03-14-090507-2.rtf");
    EXPECT_EQ(ReadWholeFile(*first).value_or(""), "mine") << "the first is kept";
    EXPECT_FALSE(KeepUnsaved(dir_ / "gone", "rdat.ovd", now, ".txt", "c"));
}

} // namespace
} // namespace orvane
