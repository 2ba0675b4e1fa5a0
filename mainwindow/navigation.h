// Moving the grid over the day store: by week, by month and to the top, and the "Dates " month
// menu. Each move returns the new TopSlot, or nothing when the grid stays where it is and is not
// refilled. TopSlot is always 1 + 7k in [1, 694].
#pragma once

#include "core/day_store.h"
#include "core/month_menu_item.h"
#include "core/preferences.h"

#include <optional>
#include <vector>

namespace orvane {

std::optional<int> WeekEarlier(int top_slot); // Up1Click
std::optional<int> WeekLater(int top_slot); // Dn1Click
std::optional<int> NextMonth(const DayStore& store, int top_slot); // Dn7Click
std::optional<int> PreviousMonth(const DayStore& store, int top_slot); // Up7Click

inline constexpr int kMonthMenuItems = 25;

// Builds the 25 items of the month menu. `previous` is the menu as last built: captions are kept
// between openings, except item 25, which is reset every time.
std::vector<MonthMenuItem> BuildMonthMenu(
    const DayStore& store, const Preferences& prefs, const std::vector<MonthMenuItem>& previous);

} // namespace orvane
