// One activation's sun and moon work: today's sunrise and sunset from the preference lines, and
// the moon phase from its custom time text.
#include "sky/moon_phase.h"
#include "sky/sun_times.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

const orvane::Date kToday { std::chrono::year(2024), std::chrono::March, std::chrono::day(14) };

void BM_SunriseAndSunset(benchmark::State& state) {
    std::vector<std::string> lines(25, "SUN");
    lines[21] = "-74.01";
    lines[22] = "40.71";
    lines[23] = "-5";
    orvane::Preferences prefs;
    prefs.OptionFlags = "00101111001";
    int event_kind = 0;
    for (auto _ : state) {
        const auto request = orvane::sky::SunRequestFromPreferences(lines, prefs, kToday);
        const orvane::sky::SunTimes times = orvane::sky::ComputeSunTimes(*request, event_kind);
        event_kind = times.event_kind;
        benchmark::DoNotOptimize(times);
    }
}
BENCHMARK(BM_SunriseAndSunset)->Unit(benchmark::kMicrosecond);

void BM_CalcPhase(benchmark::State& state) {
    const orvane::LocalTime now { kToday, 9, 0, 0 };
    orvane::sky::MoonPhaseCalculator moon(now);
    moon.SetCustomTime(orvane::sky::EveningCustomTime(kToday));
    for (auto _ : state) {
        const long double phase = moon.CalcPhase(now);
        benchmark::DoNotOptimize(phase);
        benchmark::DoNotOptimize(orvane::sky::MoonBitmapForPhase(phase));
    }
}
BENCHMARK(BM_CalcPhase)->Unit(benchmark::kMicrosecond);

} // namespace
