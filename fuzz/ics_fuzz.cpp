// Fuzzes an .ics file as File, "Import iCalendar..." reads it: the plan against a calendar with
// some full days either refuses the file or keeps every entry inside the days the import writes,
// on the day its date names, as one line of Windows-1252 text of at most 100 characters, and
// never lets a day pass the entry limit. The work is bounded however the rules are written.
#include "core/day_file.h"
#include "core/entry_limit.h"
#include "fuzz/fuzz_check.h"
#include "ical/ical_import.h"

#include <map>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvane;
    using namespace orvane::fuzz;
    const std::string_view bytes = Bytes(data, size);
    const Date first = MakeDate(2024, 1, 7);
    DayStore store;
    NewCalendar(first, store);
    const std::uint64_t hash = InputHash(bytes);
    for (int k = 0; k < 4; ++k) {
        const int slot = 1 + static_cast<int>((hash >> (k * 12)) % kLastImportSlot);
        for (int n = 0; n < kMaxEntries - k % 2; ++n)
            store[slot] += "x\a";
    }
    ImportOptions options;
    options.zone = (hash & 1) != 0 ? "America/New_York" : "UTC";
    options.time_budget = std::chrono::seconds(2);
    const Result<ImportPlan> plan = PlanImport(bytes, store, options);
    if (!plan) {
        ORVANE_FUZZ_CHECK(!plan.error().note.empty());
        return 0;
    }
    std::map<int, int> counts;
    int previous = 0;
    for (const ImportItem& item : plan->items) {
        ORVANE_FUZZ_CHECK(item.slot >= 1 && item.slot <= kLastImportSlot);
        ORVANE_FUZZ_CHECK(item.slot >= previous);
        previous = item.slot;
        ORVANE_FUZZ_CHECK(item.date == AddDays(first, item.slot - 1));
        ORVANE_FUZZ_CHECK(!item.text.empty() && item.text.size() <= kMaxImportedText);
        ORVANE_FUZZ_CHECK(item.text.find_first_of("\a\r\n") == std::string::npos);
        auto count = counts.try_emplace(item.slot, EntryCount(store[item.slot])).first;
        ORVANE_FUZZ_CHECK(item.refused == IsFull(count->second));
        if (!item.refused)
            ++count->second;
    }
    for (std::size_t i = 1; i < plan->problems.size(); ++i)
        ORVANE_FUZZ_CHECK(plan->problems[i - 1].line <= plan->problems[i].line);
    ORVANE_FUZZ_CHECK(plan->DayCount() <= plan->InsertCount());
    ORVANE_FUZZ_CHECK(plan->substituted >= 0 && plan->events_outside <= plan->events);
    return 0;
}
