// The recovery journal: one change appended and flushed to disk (target under 2 ms), and what the
// typing thread itself pays for an append (the writer thread does the disk work).
#include "bench/bench_data.h"
#include "core/journal.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

using namespace orvane;

// A journal in a folder of its own over a realistic store; the folder goes when the benchmark
// ends, after the writer has finished.
struct JournalBench {
    std::filesystem::path dir = bench::FreshFolder("orvane_bench_journal");
    DayStore store = bench::RealisticStore();
    Journal journal { dir / kJournalFileName };

    ~JournalBench() {
        journal.WaitFlushed();
        (void)journal.Clear();
        std::filesystem::remove_all(dir);
    }
    // A typed note of a few lines, as the grid journals it.
    JournalRecord TypedNote() const {
        return { JournalRecord::Kind::kTyping, "Typing", 0,
            { { 40, store[40] + "Dentist 9:30\aCall Bob about the weekend\a" } } };
    }
    void AppendFlushed(benchmark::State& state, const JournalRecord& record) {
        for (auto _ : state) {
            journal.Append(record);
            if (!journal.WaitFlushed())
                state.SkipWithError("the journal could not be written");
        }
    }
};

void BM_JournalAppendFlushed(benchmark::State& state) {
    JournalBench bench;
    bench.AppendFlushed(state, bench.TypedNote());
}
BENCHMARK(BM_JournalAppendFlushed)->Unit(benchmark::kMicrosecond);

// A whole window of days in one record (a cycle), flushed.
void BM_JournalAppendWholeStoreFlushed(benchmark::State& state) {
    JournalBench bench;
    JournalRecord record { JournalRecord::Kind::kChange, "Cycle Calendar", 1, {} };
    for (int slot = 1; slot <= kCalendarDays; ++slot)
        record.days.emplace_back(slot, bench.store[slot]);
    bench.AppendFlushed(state, record);
}
BENCHMARK(BM_JournalAppendWholeStoreFlushed)->Unit(benchmark::kMicrosecond);

// What typing waits for: the record encoded and queued for the writer.
void BM_JournalAppendOnTheTypingThread(benchmark::State& state) {
    JournalBench bench;
    const JournalRecord record = bench.TypedNote();
    for (auto _ : state)
        bench.journal.Append(record);
}
BENCHMARK(BM_JournalAppendOnTheTypingThread)->Unit(benchmark::kMicrosecond);

} // namespace
