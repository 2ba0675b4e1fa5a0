// Speed of the recurring entries: a daily entry over the whole calendar and a delete over the
// whole calendar with a 200-record fdat.ovd, each as the document operation the dialog runs
// (with its change report).
#include "bench/bench_data.h"
#include "core/calendar_document.h"
#include "core/day_file.h"
#include "recurring/delete_entry.h"
#include "recurring/recurring_record.h"
#include "recurring/scheduling.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace orvane;

using bench::kFirstSunday;

std::string TwoHundredRecords() {
    std::string bytes;
    for (int i = 0; i < 200; ++i) {
        std::string text = i % 2 ? "Gym" : "Rent " + std::to_string(i);
        bytes += (i % 4 == 0 ? WeeklyRecordLine(1 + i % 7, i % 7, i % 13, text)
                             : MonthlyRecordLine(DayField(1 + i % 28), text))
            + std::string(kRecordEnd);
    }
    return bytes;
}

// Planning and writing an interval-1 entry into every shown day (735 days), without a record.
void BM_DailyEntryOverTheWholeCalendar(benchmark::State& bench) {
    DayStore fresh;
    NewCalendar(kFirstSunday, fresh);
    const Date last = *ParseDateKey(fresh[kLastShownSlot]);
    CalendarDocument document(DataFolder { "/nonexistent" }); // no record: no file is touched
    for (auto _ : bench) {
        bench.PauseTiming();
        document.Adopt(fresh, "");
        bench.ResumeTiming();
        const auto plan = PlanDaily(document.store(), kFirstSunday, last, 1, "Walk the dog");
        EntryOutcome done;
        ChangeReport report = document.Run(OperationKind::kApplyEntry, "Daily Entry 'Walk the dog'",
            [&](DocumentEdit& edit) { done = ApplyEntryPlan(edit, *plan, "Walk the dog", false); });
        benchmark::DoNotOptimize(done.days_changed);
        benchmark::DoNotOptimize(report);
    }
}
BENCHMARK(BM_DailyEntryOverTheWholeCalendar)->Unit(benchmark::kMicrosecond);

// Deleting an entry from every shown day and computing the kept records of a 200-record file.
// Writing the records is left out, as the disk is measured on its own.
void BM_DeleteOverTheWholeCalendar(benchmark::State& bench) {
    DayStore full;
    NewCalendar(kFirstSunday, full);
    for (int slot = 1; slot <= kLastShownSlot; ++slot)
        full[slot] += "Dentist\aGym\aCall Bob\a";
    const std::string records = TwoHundredRecords();
    CalendarDocument document(DataFolder { "/nonexistent" });
    for (auto _ : bench) {
        bench.PauseTiming();
        document.Adopt(full, "");
        bench.ResumeTiming();
        DeletePlan plan = PlanDelete(document.store(), 1, kLastShownSlot, "Gym", true, records);
        benchmark::DoNotOptimize(plan.kept_records);
        plan.discontinue = false;
        DeleteOutcome done;
        ChangeReport report = document.Run(OperationKind::kDeleteEntries, "Delete Entry 'Gym'",
            [&](DocumentEdit& edit) { done = DeleteEntry(edit, plan); });
        benchmark::DoNotOptimize(done.days_changed);
        benchmark::DoNotOptimize(report);
    }
}
BENCHMARK(BM_DeleteOverTheWholeCalendar)->Unit(benchmark::kMicrosecond);

} // namespace
