// Random calendars for the tests that hold the dialogs' previews against what their operations
// do: seeded, so a failure repeats.
#pragma once

#include "core/date_key.h"
#include "core/day_file.h"
#include "core/day_store.h"

#include <random>
#include <string>
#include <vector>

namespace orvane {

using Strings = std::vector<std::string>;

class RandomCalendar {
public:
    explicit RandomCalendar(unsigned seed)
        : random_(seed) { }

    int Between(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }
    bool Chance(int percent) { return Between(1, 100) <= percent; }
    template <class T> const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Between(0, static_cast<int>(items.size()) - 1))];
    }

    // A calendar from a Sunday between 1998 and 2030 whose days hold a few entries, and with
    // `full_percent` of them 20 or more (so that some plans see more than 104 refusals).
    DayStore Store(int full_percent, const Strings& words) {
        const Date first = AddDays(MakeDate(1998, 1, 4), 7 * Between(0, 1700)); // a Sunday
        DayStore store;
        NewCalendar(first, store);
        for (int slot = 1; slot <= kCalendarDays; ++slot) {
            int entries = Between(0, 3);
            if (Chance(full_percent))
                entries = Between(kMaxEntries - 1, kMaxEntries + 2);
            for (int e = 0; e < entries; ++e)
                store[slot] += Pick(words) + kEntrySeparator;
            if (Chance(3))
                store[slot] += "hand edit"; // a tail without separator
        }
        return store;
    }

    // A date of the calendar, or now and then one just outside it.
    Date DateIn(const DayStore& store) {
        const Date first = *ParseDateKey(store[1]);
        return AddDays(first, Chance(5) ? Between(-10, -1) : Between(0, kCalendarDays + 2));
    }

private:
    std::mt19937 random_;
};

} // namespace orvane
