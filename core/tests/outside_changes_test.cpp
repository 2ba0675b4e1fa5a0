#include "core/outside_changes.h"

#include "core/day_file.h"
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

TEST_F(OutsideChangesTest, TheOutsideVersionGoesToBackupsWhichIsMadeWhenMissing) {
    ASSERT_TRUE(WriteFileAtomic(data_.cdat(), theirs_));
    const LocalTime now { MakeDate(2024, 3, 14), 9, 5, 7 };
    for (int round = 0; round < 2; ++round) {
        // The user may delete the folder at any time.
        fs::remove_all(data_.dir / "backups");
        const Result<fs::path> copy = BackUpOutsideVersion(data_, now);
        ASSERT_TRUE(copy);
        EXPECT_EQ(*copy, data_.dir / "backups" / "cdat-outside-2024-03-14-090507.ovd");
        EXPECT_EQ(ReadWholeFile(*copy).value_or(""), theirs_);
    }
    // A second copy in the same second keeps the first.
    const Result<fs::path> again = BackUpOutsideVersion(data_, now);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->filename(), "cdat-outside-2024-03-14-090507-2.ovd");
    EXPECT_TRUE(fs::exists(data_.dir / "backups" / "cdat-outside-2024-03-14-090507.ovd"));
}

TEST_F(OutsideChangesTest, ABackupFolderThatCannotBeMadeIsReported) {
    ASSERT_TRUE(WriteFileAtomic(data_.dir / "backups", "a file where the folder goes"));
    const Result<fs::path> copy = BackUpOutsideVersion(data_, LocalTime { MakeDate(2024, 3, 14) });
    ASSERT_FALSE(copy);
    ASSERT_TRUE(copy.error().io);
    EXPECT_EQ(copy.error().io->path, data_.dir / "backups");
}

} // namespace
} // namespace orvane
