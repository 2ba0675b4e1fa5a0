// Realistic calendar contents shared by the benchmarks.
#pragma once

#include "core/date_key.h"
#include "core/day_file.h"
#include "core/text_file.h"
#include "recurring/recurring_record.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvane::bench {

inline constexpr Date kFirstSunday { std::chrono::year(2024), std::chrono::January,
    std::chrono::day(7) };

// An empty folder of its own under the temporary folder; what a former run left there is gone.
inline std::filesystem::path FreshFolder(const char* name) {
    const auto dir = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

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
    NewCalendar(kFirstSunday, store);
    for (int slot = 1; slot <= kCalendarDays; ++slot) {
        const int entries = slot % 37 == 0 ? kMaxEntries : slot % 5;
        for (int e = 0; e < entries; ++e) {
            store[slot] += kEntries[static_cast<std::size_t>((slot + e) % 8)];
            store[slot] += kEntrySeparator;
        }
    }
    return store;
}

// An fdat.ovd of 200 records, every kind of record in turn, each with its own text.
inline std::string TwoHundredRecords() {
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
    return bytes;
}

} // namespace orvane::bench
