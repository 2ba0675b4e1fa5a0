// Speed of one cycle's model steps on a full store with a 200-record fdat.ovd: the archive bytes,
// the move, the records applied to the new week and the rewritten record file, as one document
// operation (with its change report of every moved day).
#include "core/calendar_document.h"
#include "core/day_file.h"
#include "core/text_file.h"
#include "cycling/archive_file.h"
#include "cycling/calendar_cycle.h"
#include "recurring/recurring_record.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orvane;

const Date kFirstSunday { std::chrono::year(2024), std::chrono::January, std::chrono::day(7) };

std::vector<std::string> TwoHundredRecordLines() {
    std::string bytes;
    for (int i = 0; i < 200; ++i) {
        const std::string text = "Recurring entry " + std::to_string(i);
        switch (i % 4) {
        case 0:
            bytes += DailyRecordLine("Jan/7 /2024", 1 + i % 30, text);
            break;
        case 1:
            bytes += WeeklyRecordLine(1 + i % 7, i % 7, i % 13, text);
            break;
        case 2:
            bytes += MonthlyRecordLine(i % 8 ? DayField(1 + i % 28) : "EM", text);
            break;
        default:
            bytes += YearlyRecordLine("Jan/" + DayField(1 + i % 28) + "/2024", text);
            break;
        }
        bytes += kRecordEnd;
    }
    return SplitLines(bytes);
}

void BM_CycleModelSteps(benchmark::State& bench) {
    // No day is full, so the error log is never touched.
    CalendarDocument document(DataFolder { "/nonexistent" });
    const std::vector<std::string> lines = TwoHundredRecordLines();
    DayStore full;
    NewCalendar(kFirstSunday, full);
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
