// Every kind of operation the user can run, applied, undone and redone: each undo gives back every
// data file and the whole store byte for byte, each redo the state after.
#include "core/tests/snapshot.h"
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
    std::function<void(CalendarDocument&, FileBackups&)> prepare = [](auto&, auto&) {};
};

class UndoOperationsTest : public ::testing::TestWithParam<OperationCase> {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path()
            / ("orvane_undo_ops_" + std::string(GetParam().name));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        ASSERT_TRUE(WriteFileAtomic(dir_ / "cdat.ovd", ""));
        ASSERT_TRUE(WriteFileAtomic(
            dir_ / "fdat.ovd", "W1007  Church\r\nD3     Gym\r\nY0102  Jan 2nd\r\n"));
        ASSERT_TRUE(WriteFileAtomic(dir_ / "archive.ovd", "Dec/31/2023 Old year\r\n"));
        ASSERT_TRUE(WriteFileAtomic(dir_ / "rdat.ovd", "an old error\r\n"));
        ASSERT_TRUE(WriteFileAtomic(dir_ / "bdat.ovd", "an old backup\r\n"));
        document_ = std::make_unique<CalendarDocument>(DataFolder { dir_ });
        backups_ = std::make_unique<FileBackups>(dir_, clock_);
        document_->SetBackups(backups_.get());
        ASSERT_TRUE(document_->Load(D(2024, 1, 10)));
        // Days with entries, some full, so that every operation has something to do.
        for (int slot = 1; slot <= 735; slot += 3)
            document_->StoreNote(slot, document_->store()[slot] + "Church\aGym\a");
        std::string full = document_->store()[20];
        for (int k = 0; k < kMaxEntries; ++k)
            full += "e" + std::to_string(k) + "\a";
        document_->StoreNote(20, full);
        history_ = std::make_unique<UndoHistory>(*document_);
    }
    void TearDown() override {
        history_.reset();
        std::filesystem::remove_all(dir_);
    }

    std::filesystem::path dir_;
    FixedClock clock_ { LocalTime { D(2024, 1, 13), 18, 30, 0 } };
    std::unique_ptr<CalendarDocument> document_;
    std::unique_ptr<FileBackups> backups_;
    std::unique_ptr<UndoHistory> history_;
};

TEST_P(UndoOperationsTest, UndoGivesBackEveryByteAndRedoTheStateAfter) {
    GetParam().prepare(*document_, *backups_);
    const Snapshot before = Take(*document_);
    GetParam().run(*document_, *backups_);
    const Snapshot after = Take(*document_);
    ASSERT_NE(before, after);
    ASSERT_TRUE(history_->CanUndo());
    EXPECT_EQ(history_->UndoName(), GetParam().undo_name);
    for (int round = 0; round < 2; ++round) {
        const Status undone = history_->Undo();
        ASSERT_TRUE(undone) << undone.error().note;
        EXPECT_EQ(Take(*document_), before);
        const Status redone = history_->Redo();
        ASSERT_TRUE(redone) << redone.error().note;
        EXPECT_EQ(Take(*document_), after);
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, UndoOperationsTest,
    ::testing::Values(OperationCase { "WeeklyEntry", "Weekly Entry 'Choir'",
                          [](CalendarDocument& document, FileBackups&) {
                              const auto plan = PlanWeekly(document.store(), D(2024, 1, 8),
                                  D(2024, 12, 30), 0, false, "Choir");
                              ASSERT_TRUE(plan);
                              EntryOutcome outcome;
                              document.Run(OperationKind::kApplyEntry, "Weekly Entry 'Choir'",
                                  [&](DocumentEdit& edit) {
                                      outcome = ApplyEntryPlan(edit, *plan, "Choir", true);
                                  });
                              ASSERT_TRUE(outcome.error);
                              EXPECT_TRUE(outcome.record_appended);
                          } },
        OperationCase { "DailyEntryWithFullDays", "Daily Entry 'Walk'",
            [](CalendarDocument& document, FileBackups&) {
                const auto plan
                    = PlanDaily(document.store(), D(2024, 1, 7), D(2024, 3, 1), 1, "Walk");
                ASSERT_TRUE(plan);
                EntryOutcome outcome;
                document.Run(
                    OperationKind::kApplyEntry, "Daily Entry 'Walk'", [&](DocumentEdit& edit) {
                        outcome = ApplyEntryPlan(edit, *plan, "Walk", true);
                    });
                EXPECT_FALSE(outcome.refused.empty()); // the full day is logged in rdat.ovd
            } },
        OperationCase { "DeleteEntry", "Delete Entry 'Church'",
            [](CalendarDocument& document, FileBackups&) {
                const Result<std::string> records = RecordsForDelete(document.data());
                ASSERT_TRUE(records);
                const DeletePlan plan
                    = PlanDelete(document.store(), 1, 735, "Church", true, *records);
                ASSERT_FALSE(plan.discontinued.empty());
                DeleteOutcome outcome;
                document.Run(OperationKind::kDeleteEntries, "Delete Entry 'Church'",
                    [&](DocumentEdit& edit) { outcome = DeleteEntry(edit, plan); });
                ASSERT_TRUE(outcome.error);
            } },
        OperationCase { "Cycle", "Cycle Calendar",
            [](CalendarDocument& document, FileBackups&) {
                Result<FileChange> backup = BackupDayFile(document.data());
                ASSERT_TRUE(backup);
                CycleOutcome outcome;
                document.Run(OperationKind::kCycle, "Cycle Calendar", [&](DocumentEdit& edit) {
                    outcome = CycleCalendar(edit);
                    edit.Include(std::move(*backup));
                });
                ASSERT_TRUE(outcome.moved);
                ASSERT_TRUE(outcome.error);
            },
            [](CalendarDocument& document, FileBackups&) { ASSERT_TRUE(document.Save()); } },
        OperationCase { "NoteEdit", "Typing",
            [](CalendarDocument& document, FileBackups&) {
                document.StoreNote(9, "Jan/15/2024Dentist at 10\aCall Bob\a");
            } },
        OperationCase { "RestoreDayFile", "Restore cdat.ovd of Jan/13/2024 18:30:00",
            [](CalendarDocument& document, FileBackups& backups) {
                // The older: the new calendar as it was first written.
                ASSERT_TRUE(RestoreBackup(document, backups, backups.List("cdat.ovd").back()));
                EXPECT_EQ(document.store()[9], "Jan/15/2024");
            },
            [](CalendarDocument& document, FileBackups& backups) {
                ASSERT_TRUE(document.Save()); // the loaded calendar goes to the backups
                document.StoreNote(9, "Jan/15/2024Later\a");
                ASSERT_TRUE(document.Save());
                ASSERT_EQ(backups.List("cdat.ovd").size(), 2U);
            } },
        OperationCase { "RestoreRecordFile", "Restore fdat.ovd of Jan/13/2024 18:30:00",
            [](CalendarDocument& document, FileBackups& backups) {
                ASSERT_TRUE(RestoreBackup(document, backups, backups.List("fdat.ovd").front()));
                EXPECT_EQ(*ReadWholeFile(document.data().fdat()),
                    "W1007  Church\r\nD3     Gym\r\nY0102  Jan 2nd\r\n");
            },
            [](CalendarDocument& document, FileBackups& backups) {
                document.Run(OperationKind::kDeleteEntries, "Delete", [&](DocumentEdit& edit) {
                    ASSERT_TRUE(edit.WriteFile(document.data().fdat(), "D3     Gym\r\n"));
                });
                ASSERT_EQ(backups.List("fdat.ovd").size(), 1U);
            } }),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace orvane
