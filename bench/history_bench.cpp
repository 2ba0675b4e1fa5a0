// A save with its rotating backup, and the undo of a cycle of a full store with a 200-record
// fdat.ovd (days, archive.ovd cut back, fdat.ovd and bdat.ovd put back), on the disk.
#include "bench/bench_data.h"
#include "core/calendar_document.h"
#include "core/clock.h"
#include "core/file_backups.h"
#include "core/undo_history.h"
#include "cycling/calendar_cycle.h"
#include "recurring/recurring_record.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

using namespace orvane;

void BM_SaveWithBackup(benchmark::State& state) {
    const auto dir = bench::FreshFolder("orvane_bench_backup");
    const DayStore source = bench::RealisticStore();
    bench::WriteBenchFile(dir / "cdat.ovd", FormatDayFile(source));
    SystemClock clock;
    FileBackups backups(dir, clock);
    CalendarDocument document(DataFolder { dir });
    document.SetBackups(&backups);
    const Date today = *ParseDateKey(source[1]);
    if (!document.Load(today))
        state.SkipWithError("cannot load the calendar");
    int n = 0;
    for (auto _ : state) {
        // A change to save, so that every save keeps a backup (an unchanged file is not kept
        // twice).
        state.PauseTiming();
        document.StoreNote(2, source[2] + "Save " + std::to_string(n++) + kEntrySeparator);
        state.ResumeTiming();
        Status saved = document.Save();
        benchmark::DoNotOptimize(saved);
        if (backups.last_error())
            state.SkipWithError("the backup failed");
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SaveWithBackup)->Unit(benchmark::kMicrosecond);

void BM_UndoCycle200Records(benchmark::State& state) {
    const auto dir = bench::FreshFolder("orvane_bench_undo");
    const DayStore source = bench::RealisticStore();
    bench::WriteBenchFile(dir / "cdat.ovd", FormatDayFile(source));
    std::string records;
    for (int i = 0; i < 200; ++i) {
        records
            += WeeklyRecordLine(1 + i % 7, i % 7, i % 13, "Recurring entry " + std::to_string(i));
        records += kRecordEnd;
    }
    bench::WriteBenchFile(dir / "fdat.ovd", records);
    bench::WriteBenchFile(dir / "archive.ovd", std::string(200000, 'a') + "\r\n");
    bench::WriteBenchFile(dir / "rdat.ovd", "");
    CalendarDocument document(DataFolder { dir });
    if (!document.Load(*ParseDateKey(source[1])))
        state.SkipWithError("cannot load the calendar");
    UndoHistory history(document);
    Result<FileChange> backup = BackupDayFile(document.data());
    if (!backup)
        state.SkipWithError("cannot back up the calendar");
    CycleOutcome outcome;
    document.Run(OperationKind::kCycle, "Cycle Calendar", [&](DocumentEdit& edit) {
        outcome = CycleCalendar(edit);
        edit.Include(std::move(*backup));
    });
    if (!outcome.moved || !history.CanUndo())
        state.SkipWithError("the cycle did not run");
    for (auto _ : state) {
        Status undone = history.Undo();
        if (!undone)
            state.SkipWithError("the undo was refused");
        state.PauseTiming();
        if (!history.Redo())
            state.SkipWithError("the redo was refused");
        state.ResumeTiming();
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_UndoCycle200Records)->Unit(benchmark::kMicrosecond);

} // namespace
