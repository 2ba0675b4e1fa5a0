// Helpers the iCalendar tests share: a calendar of bare date keys, the fixtures, and the entries
// of a day.
#pragma once

#include "core/date_key.h"
#include "core/day_file.h"
#include "core/day_store.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane::testing {

inline constexpr auto D = MakeDate;

inline DayStore EmptyCalendar(const Date& today) {
    DayStore store;
    NewCalendar(today, store);
    return store;
}

// Slot 1 is Sunday 7 January 2024, slot 735 Saturday 10 January 2026.
inline DayStore Calendar2024() {
    return EmptyCalendar(D(2024, 1, 10));
}

inline int SlotOf(const DayStore& store, const Date& date) {
    const auto first = ParseDateKey(store[1]);
    return static_cast<int>((std::chrono::sys_days(date) - std::chrono::sys_days(*first)).count())
        + 1;
}

inline std::string Fixture(const std::string& name) {
    Result<std::string> bytes = ReadWholeFile(std::string(ORVANE_TEST_DATA) + "/" + name);
    EXPECT_TRUE(bytes) << name;
    return bytes ? *bytes : std::string();
}

} // namespace orvane::testing
