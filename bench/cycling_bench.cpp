// Speed of one cycle's model steps on a full store with a 200-record fdat.ovd: the archive bytes,
// the move, the records applied to the new week and the rewritten record file, as one document
// operation (with its change report of every moved day).
#include "bench/bench_data.h"
#include "core/calendar_document.h"
#include "core/day_file.h"
#include "core/text_file.h"
#include "cycling/archive_file.h"
#include "cycling/calendar_cycle.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orvane;

void BM_CycleModelSteps(benchmark::State& bench) {
    // No day is full, so the error log is never touched.
    CalendarDocument document(DataFolder { "/nonexistent" });
    const std::vector<std::string> lines = SplitLines(bench::TwoHundredRecords());
    DayStore full;
    NewCalendar(bench::kFirstSunday, full);
    for (int slot = 1; slot <= kCalendarDays; ++slot)
        full[slot] += "Dentist at 10\aCall Bob\aBuy milk and bread\a";
    std::vector<std::string> messages;
    for (auto _ : bench) {
        bench.PauseTiming();
        document.Adopt(full, "");
        messages.clear();
        bench.ResumeTiming();
        ChangeReport report
            = document.Run(OperationKind::kCycle, "Cycle Calendar", [&](DocumentEdit& edit) {
                  benchmark::DoNotOptimize(ArchiveWeekBytes(edit.store()));
                  MoveWeek(edit.AllDays());
                  benchmark::DoNotOptimize(ApplyRecords(edit, lines, messages).has_value());
                  benchmark::DoNotOptimize(RewrittenRecordFile(lines));
              });
        benchmark::DoNotOptimize(report);
    }
}
BENCHMARK(BM_CycleModelSteps)->Unit(benchmark::kMicrosecond);

} // namespace
