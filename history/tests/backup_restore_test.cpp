#include "history/backup_restore.h"

#include "core/day_file.h"
#include "core/tests/snapshot.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr auto D = MakeDate;

class BackupRestoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path()
            / ("orvane_restore_"
                + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        ASSERT_TRUE(WriteFileAtomic(dir_ / "cdat.ovd", ""));
        document_ = std::make_unique<CalendarDocument>(DataFolder { dir_ });
        backups_ = std::make_unique<FileBackups>(dir_, clock_);
        document_->SetBackups(backups_.get());
        ASSERT_TRUE(document_->Load(D(2024, 1, 10)));
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
    FixedClock clock_ { LocalTime { D(2024, 1, 13), 7, 5, 9 } };
    std::unique_ptr<CalendarDocument> document_;
    std::unique_ptr<FileBackups> backups_;
};

TEST_F(BackupRestoreTest, ComparesDaysAndPreviewsThem) {
    const std::string saved = FormatDayFile(document_->store());
    document_->StoreNote(3, "Jan/9 /2024Dentist\aCall Bob\a");
    document_->StoreNote(5, "Jan/11/2024Gym\a");
    const auto changes = CompareDayBackup(document_->store(), saved);
    ASSERT_TRUE(changes);
    ASSERT_EQ(changes->size(), 2U);
    EXPECT_EQ((*changes)[0], (DayChange { 3, "Jan/9 /2024Dentist\aCall Bob\a", "Jan/9 /2024" }));
    EXPECT_EQ(PreviewChanges(*changes),
        "Jan/9 /2024   now: Dentist; Call Bob   backup: (nothing)\n"
        "Jan/11/2024   now: Gym   backup: (nothing)\n");
    EXPECT_EQ(PreviewChanges(*changes, 1),
        "Jan/9 /2024   now: Dentist; Call Bob   backup: (nothing)\n... and 1 more days\n");

    // A backup from a week earlier differs in every day and names the backup's date too.
    DayStore earlier;
    NewCalendar(D(2024, 1, 3), earlier);
    const auto shifted = CompareDayBackup(document_->store(), FormatDayFile(earlier));
    ASSERT_TRUE(shifted);
    EXPECT_EQ(shifted->size(), 738U);
    EXPECT_EQ(PreviewChanges(*shifted, 1).substr(0, 50),
        "Jan/7 /2024   now: (nothing)   backup: Dec/31/2023");

    EXPECT_FALSE(CompareDayBackup(document_->store(), ""));
    EXPECT_FALSE(CompareDayBackup(document_->store(), "a\r\nb\r\nc\r\n"));
}

TEST_F(BackupRestoreTest, RestoringBacksUpTheCalendarInMemoryFirst) {
    ASSERT_TRUE(document_->Save());
    document_->StoreNote(3, "Jan/9 /2024Typed, not saved\a");
    const std::vector<BackupFile> before = backups_->List("cdat.ovd");
    ASSERT_EQ(before.size(), 1U);
    EXPECT_EQ(RestoreName(before[0]), "Restore cdat.ovd of Jan/13/2024 07:05:09");
    ASSERT_TRUE(RestoreBackup(*document_, *backups_, before[0]));
    EXPECT_EQ(document_->store()[3], "Jan/9 /2024");
    EXPECT_TRUE(document_->store().loaded());
    const std::vector<BackupFile> after = backups_->List("cdat.ovd");
    ASSERT_EQ(after.size(), 2U);
    EXPECT_NE(ReadWholeFile(after.front().path)->find("Typed, not saved"), std::string::npos);
}

// A backup that cannot be read or holds no calendar changes nothing at all.
TEST_F(BackupRestoreTest, ABadBackupChangesNothing) {
    ASSERT_TRUE(std::filesystem::create_directories(backups_->folder()));
    ASSERT_TRUE(WriteFileAtomic(backups_->folder() / "cdat_20240112_100000.ovd", "x\r\ny\r\n"));
    ASSERT_TRUE(WriteFileAtomic(backups_->folder() / "cdat_20240111_100000.ovd", ""));
    const Snapshot before = Take(*document_);
    for (const BackupFile& file : backups_->List("cdat.ovd"))
        EXPECT_FALSE(RestoreBackup(*document_, *backups_, file));
    BackupFile missing = backups_->List("cdat.ovd").front();
    missing.path = backups_->folder() / "cdat_20240110_100000.ovd";
    EXPECT_FALSE(RestoreBackup(*document_, *backups_, missing));
    EXPECT_EQ(Take(*document_), before);
    EXPECT_EQ(backups_->List("cdat.ovd").size(), 2U);
}

} // namespace
} // namespace orvane
