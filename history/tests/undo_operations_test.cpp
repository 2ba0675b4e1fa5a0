// Every kind of operation that writes files, applied, undone and redone: each undo gives back
// every data file and the whole store byte for byte, each redo the state after.
#include "core/tests/fixtures.h"
#include "core/undo_history.h"
#include "cycling/calendar_cycle.h"
#include "history/backup_restore.h"
#include "recurring/delete_entry.h"
#include "recurring/scheduling.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr auto D = MakeDate;

struct OperationCase {
    const char* name;
    const char* undo_name;
    // Runs the operation on the document; the history records it.
    std::function<void(CalendarDocument&, FileBackups&)> run;
    // What comes before it (saves that make backups to restore).
    std::function<void(CalendarDocument&)> prepare = [](auto&) {};
};

class UndoOperationsTest : public FolderTest, public ::testing::WithParamInterface<OperationCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteFileAtomic(dir_ / "cdat.ovd", ""));
        ASSERT_TRUE(WriteFileAtomic(dir_ / "fdat.ovd", "W1007  Church\r\nD3     Gym\r\n"));
        ASSERT_TRUE(WriteFileAtomic(dir_ / "archive.ovd", "Dec/31/2023 Old year\r\n"));
        ASSERT_TRUE(WriteFileAtomic(dir_ / "bdat.ovd", "an old backup\r\n"));
        document_.SetBackups(&backups_);
        ASSERT_TRUE(document_.Load(D(2024, 1, 10)));
        for (int slot = 1; slot <= 735; slot += 3)
            document_.StoreNote(slot, document_.store()[slot] + "Church\aGym\a");
        GetParam().prepare(document_);
    }

    FixedClock clock_ { LocalTime { D(2024, 1, 13), 18, 30, 0 } };
    CalendarDocument document_ { DataFolder { dir_ } };
    FileBackups backups_ { dir_, clock_ };
};

TEST_P(UndoOperationsTest, UndoGivesBackEveryByteAndRedoTheStateAfter) {
    UndoHistory history(document_);
    const Snapshot before = Take(document_);
    GetParam().run(document_, backups_);
    const Snapshot after = Take(document_);
    ASSERT_NE(before, after);
    EXPECT_EQ(history.UndoName(), GetParam().undo_name);
    for (int round = 0; round < 2; ++round) {
        const Status undone = history.Undo();
        ASSERT_TRUE(undone) << undone.error().note;
        EXPECT_EQ(Take(document_), before);
        const Status redone = history.Redo();
        ASSERT_TRUE(redone) << redone.error().note;
        EXPECT_EQ(Take(document_), after);
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, UndoOperationsTest,
    ::testing::Values(
        OperationCase { "WeeklyEntry", "Weekly Entry 'Choir'",
            [](CalendarDocument& document, FileBackups&) {
                const auto plan = PlanWeekly(
                    document.store(), D(2024, 1, 8), D(2024, 12, 30), 0, false, "Choir");
                ASSERT_TRUE(plan);
                document.Run(
                    OperationKind::kApplyEntry, "Weekly Entry 'Choir'", [&](DocumentEdit& edit) {
                        EXPECT_TRUE(ApplyEntryPlan(edit, *plan, "Choir", true).record_appended);
                    });
            } },
        OperationCase { "DeleteEntry", "Delete Entry 'Church'",
            [](CalendarDocument& document, FileBackups&) {
                const Result<std::string> records = RecordsForDelete(document.data());
                ASSERT_TRUE(records);
                const DeletePlan plan
                    = PlanDelete(document.store(), 1, 735, "Church", true, *records);
                ASSERT_FALSE(plan.discontinued.empty());
                document.Run(OperationKind::kDeleteEntries, "Delete Entry 'Church'",
                    [&](DocumentEdit& edit) { EXPECT_TRUE(DeleteEntry(edit, plan).error); });
            } },
        OperationCase { "Cycle", "Cycle Calendar",
            [](CalendarDocument& document, FileBackups&) {
                Result<FileChange> backup = BackupDayFile(document.data());
                ASSERT_TRUE(backup);
                document.Run(OperationKind::kCycle, "Cycle Calendar", [&](DocumentEdit& edit) {
                    const CycleOutcome outcome = CycleCalendar(edit);
                    EXPECT_TRUE(outcome.moved && outcome.error);
                    edit.Include(std::move(*backup));
                });
            },
            [](CalendarDocument& document) { ASSERT_TRUE(document.Save()); } },
        OperationCase { "RestoreDayFile", "Restore cdat.ovd of Jan/13/2024 18:30:00",
            [](CalendarDocument& document, FileBackups& backups) {
                // The older: the new calendar as it was first written.
                ASSERT_TRUE(RestoreBackup(document, backups, backups.List("cdat.ovd").back()));
                EXPECT_EQ(document.store()[9], "Jan/15/2024");
            },
            [](CalendarDocument& document) {
                ASSERT_TRUE(document.Save()); // the loaded calendar goes to the backups
                document.StoreNote(9, "Jan/15/2024Later\a");
                ASSERT_TRUE(document.Save());
            } }),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace orvane
