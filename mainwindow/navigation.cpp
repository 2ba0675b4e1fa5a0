#include "mainwindow/navigation.h"

#include "core/date_key.h"

#include <algorithm>

namespace orvane {

namespace {

bool IsFirstOfMonth(const DayStore& store, int slot) {
    if (slot < 1 || slot > kSlotCount)
        return false;
    return DateKeyView(store[slot]).first_of_month();
}

bool RowHoldsFirst(const DayStore& store, int row_start) {
    for (int slot = row_start; slot < row_start + 7; ++slot) {
        if (IsFirstOfMonth(store, slot))
            return true;
    }
    return false;
}

// The blanks after a month abbreviation that line the captions up in the menu's font.
std::string PaddedMonth(std::string_view month) {
    std::string part(month);
    if (month == "Aug" || month == "Dec" || month == "May" || month == "Nov" || month == "Sep")
        part += "  ";
    else if (month == "Jul")
        part += "    ";
    else
        part += "   ";
    return part;
}

} // namespace

std::optional<int> WeekEarlier(int top_slot) {
    if (top_slot <= 1)
        return std::nullopt;
    return ClampTopSlot(top_slot - 7);
}

std::optional<int> WeekLater(int top_slot) {
    if (top_slot >= kMaxTopSlot)
        return std::nullopt;
    return ClampTopSlot(top_slot + 7);
}

std::optional<int> NextMonth(const DayStore& store, int top_slot) {
    int top = ClampTopSlot(top_slot);
    if (top >= kMaxTopSlot)
        return std::nullopt;
    while (top < kMaxTopSlot) {
        top += 7;
        if (top >= kMaxTopSlot)
            return kMaxTopSlot;
        if (RowHoldsFirst(store, top))
            return top;
    }
    return kMaxTopSlot;
}

namespace {

// One pass of the upward search from `top` (> 1): a row start, moved one row further when the
// eight slots from `top` down to `top` - 7 hold a 1st.
int UpwardPass(const DayStore& store, int top) {
    while (top > 1) {
        top -= 7;
        if (top <= 1)
            return 1;
        for (int slot = top; slot >= top - 7; --slot) {
            if (IsFirstOfMonth(store, slot))
                return std::max(1, top - 7);
        }
    }
    return 1;
}

} // namespace

std::optional<int> PreviousMonth(const DayStore& store, int top_slot) {
    const int start = ClampTopSlot(top_slot);
    if (start <= 1)
        return std::nullopt;
    int top = start;
    if (top >= kMaxTopSlot) {
        // Line the window up with the last month start the bottom rows show.
        for (int row = 722; row >= 1; row -= 7) {
            if (RowHoldsFirst(store, row)) {
                top = row;
                break;
            }
        }
    }
    int moved = ClampTopSlot(UpwardPass(store, top));
    // From the bottom the line-up can land below row 694 and the pass bring the window straight
    // back; running the pass once more from there keeps the button from sticking.
    if (moved == start && moved > 1)
        moved = ClampTopSlot(UpwardPass(store, moved));
    return moved;
}

std::vector<MonthMenuItem> BuildMonthMenu(
    const DayStore& store, const Preferences& prefs, const std::vector<MonthMenuItem>& previous) {
    std::vector<MonthMenuItem> items = previous;
    items.resize(kMonthMenuItems);
    items[kMonthMenuItems - 1] = MonthMenuItem { "", 0, 0, kMaxTopSlot, false };
    int slot = 1;
    std::string_view current = DateKeyView(store[1]).month();
    for (int k = 1; k <= kMonthMenuItems; ++k) {
        const std::string& day = store[slot];
        MonthMenuItem& item = items[static_cast<std::size_t>(k - 1)];
        const auto date = ParseDateKey(day);
        if (!date)
            break; // a damaged day string: the items from here keep their last captions
        const DateKeyView key(day);
        const std::string_view month = key.month();
        std::string month_part = PaddedMonth(month);
        if (prefs.on(Flag::CustomTitles)) {
            const int number = MonthFromAbbreviation(month);
            const std::string& title = prefs.MonthTitles[static_cast<std::size_t>(number - 1)];
            if (!title.empty())
                month_part = title + "   ";
        }
        item.caption = month_part + std::string(key.year());
        item.year = static_cast<int>(date->year());
        item.month = static_cast<int>(static_cast<unsigned>(date->month()));
        item.slot = std::clamp(slot - WeekdayIndex(*date), 1, kMaxTopSlot);
        item.visible = !item.caption.empty();
        if (k == kMonthMenuItems)
            break;
        while (slot <= 731 && DateKeyView(store[slot]).month() == current)
            ++slot;
        if (slot > 731)
            break;
        current = DateKeyView(store[slot]).month();
    }
    return items;
}

} // namespace orvane
