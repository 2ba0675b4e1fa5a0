// Realistic calendar contents shared by the benchmarks.
#pragma once

#include "core/date_key.h"
#include "core/day_file.h"
#include "core/text_file.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvane::bench {

// Writes a file a benchmark reads; a benchmark without its data would measure nothing, so a
// failed write ends the run.
inline void WriteBenchFile(const std::filesystem::path& path, std::string_view bytes) {
    if (!WriteFileAtomic(path, bytes)) {
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
        std::exit(1);
    }
}

// A 738-day store from Sunday 7 January 2024 where most days hold one to four entries of
// everyday length and some days are full.
inline DayStore RealisticStore() {
    static const std::array<const char*, 8> kEntries = { "Dentist 9:30",
        "Call Bob about the weekend", "Gym", "Pay the electricity bill before Friday",
        "Lunch with Anna at the corner cafe", "Team meeting, room 4", "Pick up the dry cleaning",
        "Birthday: Aunt Margaret (send a card)" };
    DayStore store;
    NewCalendar(Date { std::chrono::year(2024), std::chrono::January, std::chrono::day(7) }, store);
    for (int slot = 1; slot <= kCalendarDays; ++slot) {
        const int entries = slot % 37 == 0 ? kMaxEntries : slot % 5;
        for (int e = 0; e < entries; ++e) {
            store[slot] += kEntries[static_cast<std::size_t>((slot + e) % 8)];
            store[slot] += kEntrySeparator;
        }
    }
    return store;
}

} // namespace orvane::bench
