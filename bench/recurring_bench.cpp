// Speed of the recurring entries: a daily entry over the whole calendar and a delete over the
// whole calendar with a 200-record fdat.ovd.
#include "core/day_file.h"
#include "recurring/delete_entry.h"
#include "recurring/recurring_record.h"
#include "recurring/scheduling.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace orvane;

const Date kFirstSunday { std::chrono::year(2024), std::chrono::January, std::chrono::day(7) };

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
    CalendarState state;
    NewCalendar(kFirstSunday, state.store);
    const Date last = *ParseDateKey(state.store[kLastShownSlot]);
    for (auto _ : bench) {
        bench.PauseTiming();
        NewCalendar(kFirstSunday, state.store);
        bench.ResumeTiming();
        const auto plan = PlanDaily(state.store, kFirstSunday, last, 1, "Walk the dog");
        const EntryOutcome done = ApplyEntryPlan(state, *plan, "Walk the dog", false);
        benchmark::DoNotOptimize(done.days_changed);
    }
}
BENCHMARK(BM_DailyEntryOverTheWholeCalendar)->Unit(benchmark::kMicrosecond);

// Deleting an entry from every shown day and computing the kept records of a 200-record file.
void BM_DeleteOverTheWholeCalendar(benchmark::State& bench) {
    DayStore store;
    const std::string records = TwoHundredRecords();
    for (auto _ : bench) {
        bench.PauseTiming();
        NewCalendar(kFirstSunday, store);
        for (int slot = 1; slot <= kLastShownSlot; ++slot)
            store[slot] += "Dentist\aGym\aCall Bob\a";
        bench.ResumeTiming();
        benchmark::DoNotOptimize(DeleteFromDays(store, 1, kLastShownSlot, "Gym"));
        benchmark::DoNotOptimize(RecordsWithout(records, "Gym"));
    }
}
BENCHMARK(BM_DeleteOverTheWholeCalendar)->Unit(benchmark::kMicrosecond);

} // namespace
