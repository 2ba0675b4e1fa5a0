// The recovery journal: one change appended and flushed to disk (target under 2 ms), and what the
// typing thread itself pays for an append (the writer thread does the disk work).
#include "bench/bench_data.h"
#include "core/journal.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

fs::path BenchFolder() {
    const fs::path dir = fs::temp_directory_path() / "orvane_bench_journal";
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// A typed note of a few lines, as the grid journals it.
orvane::JournalRecord TypedNote(const orvane::DayStore& store) {
    return { orvane::JournalRecord::Kind::kTyping, "Typing", 0,
        { { 40, store[40] + "Dentist 9:30\aCall Bob about the weekend\a" } } };
}

void BM_JournalAppendFlushed(benchmark::State& state) {
    const fs::path dir = BenchFolder();
    const orvane::DayStore store = orvane::bench::RealisticStore();
    const orvane::JournalRecord record = TypedNote(store);
    orvane::Journal journal(dir / orvane::kJournalFileName);
    for (auto _ : state) {
        journal.Append(record);
        if (!journal.WaitFlushed())
            state.SkipWithError("the journal could not be written");
    }
    (void)journal.Clear();
    fs::remove_all(dir);
}
BENCHMARK(BM_JournalAppendFlushed)->Unit(benchmark::kMicrosecond);

// A whole window of days in one record (a cycle), flushed.
void BM_JournalAppendWholeStoreFlushed(benchmark::State& state) {
    const fs::path dir = BenchFolder();
    const orvane::DayStore store = orvane::bench::RealisticStore();
    orvane::JournalRecord record { orvane::JournalRecord::Kind::kChange, "Cycle Calendar", 1, {} };
    for (int slot = 1; slot <= orvane::kCalendarDays; ++slot)
        record.days.emplace_back(slot, store[slot]);
    orvane::Journal journal(dir / orvane::kJournalFileName);
    for (auto _ : state) {
        journal.Append(record);
        if (!journal.WaitFlushed())
            state.SkipWithError("the journal could not be written");
    }
    (void)journal.Clear();
    fs::remove_all(dir);
}
BENCHMARK(BM_JournalAppendWholeStoreFlushed)->Unit(benchmark::kMicrosecond);

// What typing waits for: the record encoded and queued for the writer.
void BM_JournalAppendOnTheTypingThread(benchmark::State& state) {
    const fs::path dir = BenchFolder();
    const orvane::DayStore store = orvane::bench::RealisticStore();
    const orvane::JournalRecord record = TypedNote(store);
    orvane::Journal journal(dir / orvane::kJournalFileName);
    for (auto _ : state)
        journal.Append(record);
    journal.WaitFlushed();
    (void)journal.Clear();
    fs::remove_all(dir);
}
BENCHMARK(BM_JournalAppendOnTheTypingThread)->Unit(benchmark::kMicrosecond);

} // namespace
