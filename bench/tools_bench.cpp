// Speed of the search over every day the grid can show, of the search over the days, a 50-year
// archive and 1 MB of notes together, and of reading and writing a large notes file.
#include "bench/bench_data.h"
#include "core/text_file.h"
#include "cycling/archive_file.h"
#include "tools/rtf.h"
#include "tools/search.h"
#include "tools/search_sources.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

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

// A 50-year archive.ovd as cycles write it, a week at a time: about 18,000 day lines of two to
// nine everyday entries each, made from a small vocabulary in a fixed pseudo-random order.
std::string FiftyYearArchive() {
    static const std::array<const char*, 10> kActions = { "Call", "Lunch with", "Meet", "Email",
        "Visit", "Pick up", "Drive", "Remind", "Dinner with", "Pay" };
    static const std::array<const char*, 10> kPeople = { "Anna", "Bob", "Margaret", "Lukas",
        "Zo\xeb", "Chlo\xe9", "the plumber", "Dr. Weiss", "Aunt Ruth", "the school" };
    static const std::array<const char*, 12> kDetails
        = { "about the invoice", "at the corner caf\xe9", "re: garden fence", "before Friday",
              "dentist 9:30", "(bring the keys)", "room 4", "tickets for the concert",
              "birthday card", "insurance renewal", "car service at 8", "piano lesson" };
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 16) % range;
    };
    std::string archive;
    DayStore week;
    const Date first_sunday = MakeDate(1974, 1, 6);
    for (int w = 0; w < 52 * 50; ++w) {
        for (int d = 0; d < 7; ++d) {
            std::string day = DateKey(AddDays(first_sunday, w * 7 + d));
            for (std::uint32_t e = 0, n = 2 + next(8); e < n; ++e) {
                day += kActions[next(10)];
                day += ' ';
                day += kPeople[next(10)];
                day += ' ';
                day += kDetails[next(12)];
                day += kEntrySeparator;
            }
            week[d + 1] = day;
        }
        archive += ArchiveWeekBytes(week);
    }
    return archive;
}

// About 1 MB of RTF notes: paragraphs of plain sentences with a bold word, a coloured phrase, a
// tab and a line break here and there.
std::string OneMegabyteOfNotes() {
    static const std::array<const char*, 6> kSentences = { "Ask the landlord about the heating "
                                                           "before winter. ",
        "Recipe: two eggs, flour, milk and a pinch of salt. ", "Garden: prune the roses in March. ",
        "Passwords are NOT kept here. ", "Book the caf\xe9 for Anna's party (about 20 people). ",
        "Car: tyres changed at 48,000 km. " };
    RtfFormat bold;
    bold.bold = true;
    RtfFormat red;
    red.color = RtfColor { 200, 0, 0 };
    RtfDocument document;
    std::string file;
    for (int paragraph = 0; file.size() < 1'000'000; ++paragraph) {
        for (int s = 0; s < 3; ++s)
            document.Append(kSentences[static_cast<std::size_t>((paragraph + s * 5) % 6)], {});
        document.Append("Important", bold);
        document.Append(paragraph % 4 ? ": \t" : ":\v", {});
        document.Append("call back", red);
        document.Append("\n", {});
        if (paragraph % 500 == 499)
            file = WriteRtf(document);
    }
    return file;
}

struct SearchData {
    DayStore days = bench::RealisticStore();
    std::string archive = FiftyYearArchive();
    std::string notes = OneMegabyteOfNotes();
    SearchSources sources;
    SearchData() {
        sources.days = std::make_shared<const DaysIndex>(days);
        sources.archive = std::make_shared<const ArchiveIndex>(archive);
        sources.notes = std::make_shared<const NotesIndex>(notes);
    }
};

const SearchData& Data() {
    static const SearchData data;
    return data;
}

// Building an index: folding the text and finding its days, lines or paragraphs (and, for the
// notes, reading the RTF).
void ReportIndex(benchmark::State& state, const FoldedText& text) {
    state.counters["text_bytes"] = static_cast<double>(text.text.size());
    state.counters["units"] = static_cast<double>(text.units.size());
}

void BM_SearchIndexBuildDays(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(DaysIndex(Data().days));
    ReportIndex(state, Data().sources.days->text());
}
BENCHMARK(BM_SearchIndexBuildDays)->Unit(benchmark::kMillisecond);

void BM_SearchIndexBuildArchive(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ArchiveIndex(Data().archive));
    ReportIndex(state, Data().sources.archive->text());
}
BENCHMARK(BM_SearchIndexBuildArchive)->Unit(benchmark::kMillisecond);

void BM_SearchIndexBuildNotes(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(NotesIndex(Data().notes));
    ReportIndex(state, Data().sources.notes->text());
}
BENCHMARK(BM_SearchIndexBuildNotes)->Unit(benchmark::kMillisecond);

SearchQuery Query(const char* text, bool all_scopes, bool whole_word, bool all_words) {
    SearchQuery query;
    query.text = text;
    query.scopes = { true, all_scopes, all_scopes };
    query.whole_word = whole_word;
    query.all_words = all_words;
    return query;
}

void BM_Search(benchmark::State& state, SearchQuery query) {
    const SearchData& data = Data();
    std::size_t results = 0;
    for (auto _ : state) {
        SearchOutcome outcome = RunSearch(data.sources, query);
        results = outcome.results.size();
        benchmark::DoNotOptimize(outcome);
    }
    state.counters["results"] = static_cast<double>(results);
}
BENCHMARK_CAPTURE(BM_Search, all_absent_word, Query("quokka", true, false, false))
    ->Unit(benchmark::kMillisecond);
// Absent, and its first letter is the commonest of all: the scan stops at every "e".
BENCHMARK_CAPTURE(BM_Search, all_absent_e_word, Query("ethereal", true, false, false))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, all_common_word, Query("DENTIST", true, false, false))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, all_whole_word, Query("anna", true, true, false))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, all_all_words, Query("invoice margaret", true, false, true))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, all_one_letter, Query("e", true, false, false))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, days_common_word, Query("ANNA AT", false, false, false))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Search, days_absent_word, Query("no such text", false, false, false))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Search, days_one_letter, Query("e", false, false, false))
    ->Unit(benchmark::kMicrosecond);

// What one keystroke costs the search window's worker once the files were searched before: both
// files read again and compared with the indexes kept from the last search (unchanged, so
// reused), then all three scopes searched.
void BM_SearchFromFilesUnchanged(benchmark::State& state, SearchQuery query) {
    const SearchData& data = Data();
    const std::filesystem::path dir = bench::FreshFolder("orvane_bench_search");
    const DataFolder folder { dir };
    if (!WriteFileAtomic(folder.archive(), data.archive)
        || !WriteFileAtomic(folder.notes(), data.notes)) {
        state.SkipWithError("cannot write the benchmark's files");
        return;
    }
    SearchSources previous = LoadSearchSources(folder, data.days);
    std::size_t results = 0;
    for (auto _ : state) {
        const SearchSources sources = LoadSearchSources(folder, data.days, previous);
        const SearchOutcome outcome = RunSearch(sources, query);
        results = outcome.results.size();
        benchmark::DoNotOptimize(outcome);
    }
    state.counters["results"] = static_cast<double>(results);
    state.counters["file_bytes"] = static_cast<double>(data.archive.size() + data.notes.size());
    std::filesystem::remove_all(dir);
}
BENCHMARK_CAPTURE(
    BM_SearchFromFilesUnchanged, all_common_word, Query("DENTIST", true, false, false))
    ->Unit(benchmark::kMillisecond);

// How long a search that is under way takes to return once its stop is requested: the stop is
// requested 2 ms after the longest search above started, from another thread.
void BM_SearchStopLatency(benchmark::State& state, SearchQuery query) {
    using Clock = std::chrono::steady_clock;
    const SearchData& data = Data();
    int stopped = 0;
    std::vector<double> latencies;
    for (auto _ : state) {
        std::stop_source stop;
        std::atomic<bool> started = false;
        SearchOutcome outcome;
        Clock::time_point returned;
        std::jthread worker([&] {
            started = true;
            outcome = RunSearch(data.sources, query, stop.get_token());
            returned = Clock::now();
        });
        while (!started)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        const Clock::time_point asked = Clock::now();
        stop.request_stop();
        worker.join();
        stopped += outcome.cancelled ? 1 : 0;
        const double latency
            = std::chrono::duration<double>(std::max(returned, asked) - asked).count();
        latencies.push_back(latency);
        state.SetIterationTime(latency);
    }
    state.counters["stopped"] = benchmark::Counter(stopped, benchmark::Counter::kAvgIterations);
    // The mean suffers from the moments another process holds the worker's core.
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_us"] = latencies[latencies.size() / 2] * 1e6;
}
BENCHMARK_CAPTURE(BM_SearchStopLatency, one_letter, Query("e", true, false, false))
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace
