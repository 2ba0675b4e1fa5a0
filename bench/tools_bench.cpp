// Speed of the search over every day the grid can show, and of reading and writing a large
// notes file.
#include "bench/bench_data.h"
#include "tools/rtf.h"
#include "tools/search.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace orvane;

void BM_SearchWholeWindow(benchmark::State& state) {
    const DayStore store = bench::RealisticStore();
    for (auto _ : state) {
        DaySearch search;
        search.Rebuild(store);
        benchmark::DoNotOptimize(search.Find("ANNA AT"));
        benchmark::DoNotOptimize(search.Find("no such text"));
    }
}
BENCHMARK(BM_SearchWholeWindow)->Unit(benchmark::kMicrosecond);

// About 100 kB of RTF: paragraphs with a bold word, an accented letter and a coloured phrase.
RtfDocument LargeNotes() {
    RtfDocument document;
    RtfFormat bold;
    bold.bold = true;
    RtfFormat red;
    red.color = RtfColor { 200, 0, 0 };
    while (document.PlainText().size() < 90000) {
        document.Append("Remember to ask about the caf\xe9 menu and the ", {});
        document.Append("deposit", bold);
        document.Append(" before Friday;\t", {});
        document.Append("urgent", red);
        document.Append(" {see folder} \\ notes\n", {});
    }
    return document;
}

void BM_ReadAndWriteLargeNotes(benchmark::State& state) {
    const std::string file = WriteRtf(LargeNotes());
    for (auto _ : state) {
        const RtfDocument document = ParseRtf(file);
        benchmark::DoNotOptimize(WriteRtf(document));
    }
    state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_ReadAndWriteLargeNotes)->Unit(benchmark::kMillisecond);

} // namespace
