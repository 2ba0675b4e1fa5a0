#include "history/backup_restore.h"

#include "core/day_file.h"
#include "core/tests/fixtures.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr auto D = MakeDate;

class BackupRestoreTest : public FolderTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteFileAtomic(dir_ / "cdat.ovd", ""));
        document_.SetBackups(&backups_);
        ASSERT_TRUE(document_.Load(D(2024, 1, 10)));
    }

    FixedClock clock_ { LocalTime { D(2024, 1, 13), 7, 5, 9 } };
    CalendarDocument document_ { DataFolder { dir_ } };
    FileBackups backups_ { dir_, clock_ };
};

TEST_F(BackupRestoreTest, ComparesDaysAndPreviewsThem) {
    const std::string saved = FormatDayFile(document_.store());
    document_.StoreNote(3, "Jan/9 /2024Dentist\aCall Bob\a");
    document_.StoreNote(5, "Jan/11/2024Gym\a");
    const auto changes = CompareDayBackup(document_.store(), saved);
    ASSERT_TRUE(changes);
    EXPECT_EQ((*changes)[0], (DayChange { 3, "Jan/9 /2024Dentist\aCall Bob\a", "Jan/9 /2024" }));
    EXPECT_EQ(PreviewChanges(*changes, 1),
        "Jan/9 /2024   now: Dentist; Call Bob   backup: (nothing)\n... and 1 more days\n");
    EXPECT_FALSE(CompareDayBackup(document_.store(), "a\r\nb\r\nc\r\n"));
}

TEST_F(BackupRestoreTest, RestoringBacksUpTheCalendarInMemoryFirst) {
    ASSERT_TRUE(document_.Save());
    document_.StoreNote(3, "Jan/9 /2024Typed, not saved\a");
    const std::vector<BackupFile> before = backups_.List("cdat.ovd");
    ASSERT_EQ(before.size(), 1U);
    EXPECT_EQ(RestoreName(before[0]), "Restore cdat.ovd of Jan/13/2024 07:05:09");
    ASSERT_TRUE(RestoreBackup(document_, backups_, before[0]));
    EXPECT_EQ(document_.store()[3], "Jan/9 /2024");
    const std::vector<BackupFile> after = backups_.List("cdat.ovd");
    ASSERT_EQ(after.size(), 2U);
    EXPECT_NE(ReadWholeFile(after.front().path)->find("Typed, not saved"), std::string::npos);
}

// A backup that cannot be read or holds no calendar changes nothing at all.
TEST_F(BackupRestoreTest, ABadBackupChangesNothing) {
    ASSERT_TRUE(std::filesystem::create_directories(backups_.folder()));
    ASSERT_TRUE(WriteFileAtomic(backups_.folder() / "cdat_20240112_100000.ovd", "x\r\ny\r\n"));
    const Snapshot before = Take(document_);
    BackupFile file = backups_.List("cdat.ovd").front();
    EXPECT_FALSE(RestoreBackup(document_, backups_, file));
    file.path = backups_.folder() / "cdat_20240110_100000.ovd"; // missing
    EXPECT_FALSE(RestoreBackup(document_, backups_, file));
    EXPECT_EQ(Take(document_), before);
    EXPECT_EQ(backups_.List("cdat.ovd").size(), 1U);
}

} // namespace
} // namespace orvane
