// Text search over the days the grid can show, and the month-menu lookup that moves the grid to
// a result. Matching is by substring, case-insensitive over Windows-1252, over each day's whole
// note and never over its date key.
//
//   DaySearch search;
//   search.Rebuild(document.store());
//   for (const SearchHit& hit : search.Find("dentist")) list << hit.date_key;
#pragma once

#include "core/day_store.h"
#include "core/month_menu_item.h"
#include "core/preferences.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// The last slot searched: every day the grid can show.
inline constexpr int kLastSearchedSlot = kLastShownSlot;

// The search field refuses text wider than this many pixels (narrower with bold notes, whose
// wider glyphs the same field must still show).
inline constexpr int kSearchWidthLimit = 176;
inline constexpr int kSearchWidthLimitBold = 156;

int SearchWidthLimit(const Preferences& prefs);

// Lower case of a Windows-1252 byte: ASCII letters, the Latin-1 capitals (but the multiplication
// sign) and the four capitals Windows-1252 keeps at 0x8A-0x9F (Š, Œ, Ž, Ÿ).
char FoldCase(char byte);
std::string FoldCase(std::string_view bytes);

class DaysIndex;

struct SearchHit {
    int slot = 0; // in [1, kLastSearchedSlot]
    std::string date_key; // the day's first 11 characters, as stored
};

// A private copy of the searched days, folded once when it is rebuilt so each search is a plain
// scan. (RunSearch in tools/search_sources.h searches the archive and the notes as well.)
class DaySearch {
public:
    // Copies slots 1 to kLastSearchedSlot.
    void Rebuild(const DayStore& store);

    // The days whose note holds `needle` (Windows-1252 bytes), in slot order, each once.
    // An empty needle finds nothing.
    std::vector<SearchHit> Find(std::string_view needle) const;

private:
    std::shared_ptr<const DaysIndex> index_;
};

// The month and year a date key names from its month abbreviation (characters 1-3) and its year
// (characters 8-11); nothing when either is not there.
struct KeyMonth {
    int year = 0;
    int month = 0; // 1-12
};
std::optional<KeyMonth> MonthOfKey(std::string_view date_key);

// The number (1-25) of the month-menu item that stands for the month of `date_key`, matched on
// the item's own year and month so that custom month captions make no difference; nothing when
// the month is not in the menu.
std::optional<int> MonthMenuItemFor(
    const std::vector<MonthMenuItem>& items, std::string_view date_key);

// The five weeks of the grid show the slots [top, top + kShownDays).
inline constexpr int kShownDays = 35;

// The TopSlot that shows the found day in `slot` (with key `date_key`): the row of its month's
// first day, as the month menu jumps, moved on by the fewest weeks that bring the day into the
// five weeks shown (the last days of a month that spans six rows). A month the menu does not hold
// keeps `current_top` when the day is shown from there, and otherwise moves by the fewest weeks.
// Nothing when no TopSlot shows the day (the week after the last one the grid can show).
std::optional<int> TopSlotForDay(
    const std::vector<MonthMenuItem>& items, std::string_view date_key, int slot, int current_top);

// Where a day found in `slot` under `date_key` is now: `slot` while it still holds that day,
// else the searched slot that does (the calendar cycled since the search), else nothing (the day
// left the calendar).
std::optional<int> SlotOfFoundDay(const DayStore& store, int slot, std::string_view date_key);

} // namespace orvane
