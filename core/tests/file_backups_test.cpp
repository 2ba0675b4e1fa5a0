#include "core/calendar_document.h"
#include "core/file_backups.h"
#include "core/tests/fixtures.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

namespace orvane {
namespace {

constexpr auto D = MakeDate;

class FileBackupsTest : public FolderTest {
protected:
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const BackupFile& file : FileBackups(dir_, clock_).List())
            names.insert(file.path.filename().string());
        return names;
    }

    FixedClock clock_ { LocalTime { D(2024, 3, 1), 9, 5, 7 } };
};

TEST(BackupNameTest, NamesCarryDateTimeAndSequenceAndReadBack) {
    const LocalTime taken { D(2024, 12, 6), 19, 2, 5 };
    EXPECT_EQ(BackupName("cdat.ovd", taken), "cdat_20241206_190205.ovd");
    EXPECT_EQ(BackupName("fdat.ovd", taken, 3), "fdat_20241206_190205_3.ovd");
    const auto parsed = ParseBackupName("/x/backups/fdat_20241206_190205_3.ovd");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(
        BackupName(parsed->of, parsed->taken, parsed->sequence), "fdat_20241206_190205_3.ovd");
    for (const char* foreign : { "cdat.ovd", "cdat_20240230_190205.ovd", "cdat_20241206_250205.ovd",
             "cdat_20241206_190205_0.ovd", ".cdat_20241206_190205.ovd.Ab12Cd" })
        EXPECT_FALSE(ParseBackupName(foreign)) << foreign;
}

TEST_F(FileBackupsTest, KeepsTheOldBytesOnceAndRecreatesADeletedFolder) {
    FileBackups backups(dir_, clock_);
    EXPECT_FALSE(*backups.Keep(dir_ / "cdat.ovd")); // nothing to keep
    EXPECT_FALSE(std::filesystem::exists(backups.folder()));
    ASSERT_TRUE(WriteFileAtomic(dir_ / "cdat.ovd", "one\r\n"));
    const auto first = backups.Keep(dir_ / "cdat.ovd");
    ASSERT_TRUE(first && *first);
    EXPECT_EQ(*ReadWholeFile(**first), "one\r\n");
    EXPECT_FALSE(*backups.Keep(dir_ / "cdat.ovd")); // the same bytes again: nothing new

    ASSERT_TRUE(WriteFileAtomic(dir_ / "cdat.ovd", "two\r\n"));
    const auto second = backups.Keep(dir_ / "cdat.ovd"); // the same second
    ASSERT_TRUE(second && *second);
    EXPECT_EQ(second->value().filename(), "cdat_20240301_090507_2.ovd");

    // What a killed copy left half-written is not a backup, and the next backup clears it away.
    const auto part = backups.folder() / ".cdat_20240301_090000.ovd.part";
    ASSERT_TRUE(WriteFileAtomic(part, "on"));
    EXPECT_EQ(backups.List().size(), 2U);
    ASSERT_TRUE(WriteFileAtomic(dir_ / "cdat.ovd", "two and a half\r\n"));
    ASSERT_TRUE(backups.Keep(dir_ / "cdat.ovd"));
    EXPECT_FALSE(std::filesystem::exists(part));

    std::filesystem::remove_all(backups.folder());
    ASSERT_TRUE(WriteFileAtomic(dir_ / "cdat.ovd", "three\r\n"));
    const auto again = backups.Keep(dir_ / "cdat.ovd");
    ASSERT_TRUE(again && *again);
    EXPECT_EQ(*ReadWholeFile(**again), "three\r\n");

    // A folder that cannot be made (a file is in its place) is an error, not a silent loss.
    std::filesystem::remove_all(backups.folder());
    ASSERT_TRUE(WriteFileAtomic(backups.folder(), "not a folder"));
    ASSERT_TRUE(WriteFileAtomic(dir_ / "cdat.ovd", "four\r\n"));
    EXPECT_FALSE(backups.Keep(dir_ / "cdat.ovd"));
}

// Saves at 08:00, 12:00 and 18:00 every day for 60 days, each with new bytes: after each save the
// folder holds exactly the newest `keep_saves` backups plus the day's last backup of each of the
// last `keep_days` days, and the backups of another file.
TEST_F(FileBackupsTest, SixtyDaysOfSavesKeepTheStatedSet) {
    // The final counts, by hand: the fdat.ovd backup, the newest saves and the days before them
    // that the day rule keeps.
    for (const auto& [keep_saves, keep_days, final_count] :
        { std::tuple { 20, 30, 44 }, std::tuple { 1, 0, 2 } }) {
        std::filesystem::remove_all(dir_ / "backups");
        FileBackups backups(dir_, clock_, BackupPolicy { keep_saves, keep_days });
        std::vector<LocalTime> taken; // every backup ever made, oldest first
        for (int day = 0; day < 60; ++day) {
            for (const int hour : { 8, 12, 18 }) {
                const LocalTime now { AddDays(D(2024, 1, 1), day), hour, 0, 0 };
                clock_.Set(now);
                ASSERT_TRUE(backups.KeepBytes("cdat.ovd", "save " + std::to_string(taken.size())));
                taken.push_back(now);
                if (taken.size() == 1) {
                    ASSERT_TRUE(backups.KeepBytes("fdat.ovd", "rec\r\n"));
                }
                std::set<std::string> expected { BackupName("fdat.ovd", taken.front()) };
                for (std::size_t k = 0; k < taken.size(); ++k) {
                    const bool recent = taken.size() - k <= static_cast<std::size_t>(keep_saves);
                    const bool last_of_day
                        = k + 1 == taken.size() || taken[k + 1].date != taken[k].date;
                    const auto age
                        = (std::chrono::sys_days(now.date) - std::chrono::sys_days(taken[k].date))
                              .count();
                    if (recent || (last_of_day && age < keep_days))
                        expected.insert(BackupName("cdat.ovd", taken[k]));
                }
                ASSERT_EQ(Names(), expected) << "day " << day << " hour " << hour;
            }
        }
        EXPECT_EQ(Names().size(), static_cast<std::size_t>(final_count));
    }
}

TEST_F(FileBackupsTest, RecordRewritesBackUpTheFileTheyReplaceAndAFailedBackupStopsNoSave) {
    ASSERT_TRUE(WriteFileAtomic(dir_ / "cdat.ovd", ""));
    FileBackups backups(dir_, clock_);
    CalendarDocument document(DataFolder { dir_ });
    document.SetBackups(&backups);
    ASSERT_TRUE(document.Load(D(2024, 3, 1)));

    ASSERT_TRUE(WriteFileAtomic(dir_ / "fdat.ovd", "W1\r\n"));
    document.Run(OperationKind::kDeleteEntries, "Delete", [&](DocumentEdit& edit) {
        ASSERT_TRUE(edit.WriteFile(dir_ / "fdat.ovd", ""));
        ASSERT_TRUE(edit.WriteFile(dir_ / "wdat.ovd", ""));
    });
    ASSERT_EQ(backups.List().size(), 1U); // none of the work copy
    EXPECT_EQ(*ReadWholeFile(backups.List("fdat.ovd").front().path), "W1\r\n");

    // A backup that fails does not stop the save, and is kept for the window to say.
    std::filesystem::remove_all(backups.folder());
    ASSERT_TRUE(WriteFileAtomic(backups.folder(), "in the way"));
    document.StoreNote(3, document.store()[3] + "More\a");
    ASSERT_TRUE(document.Save());
    EXPECT_TRUE(backups.last_error());
    EXPECT_NE(ReadWholeFile(dir_ / "cdat.ovd")->find("More"), std::string::npos);
}

} // namespace
} // namespace orvane
