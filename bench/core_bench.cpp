// Loading and saving a full day file with realistic notes.
#include "bench/bench_data.h"
#include "core/day_file.h"
#include "core/text_file.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

void BM_LoadAndSaveDayFile(benchmark::State& state) {
    const auto dir = orvane::bench::FreshFolder("orvane_bench_day_file");
    const auto path = dir / "cdat.ovd";
    orvane::DayStore source = orvane::bench::RealisticStore();
    orvane::bench::WriteBenchFile(path, orvane::FormatDayFile(source));
    const orvane::Date today = *orvane::ParseDateKey(source[1]);
    for (auto _ : state) {
        orvane::DayStore store;
        auto load = orvane::LoadDayFile(path, today, store);
        benchmark::DoNotOptimize(load);
        auto saved = orvane::SaveDayFile(path, store);
        benchmark::DoNotOptimize(saved);
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadAndSaveDayFile)->Unit(benchmark::kMicrosecond);

} // namespace
