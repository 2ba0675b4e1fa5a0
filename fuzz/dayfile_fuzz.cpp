// Fuzzes the calendar day file cdat.ovd and everything a loaded calendar flows into: the grid's
// cell texts and the note store-back, the month menu and the month moves, the search, saving,
// cycling and the archive lines of the top week.
#include "core/date_key.h"
#include "core/day_file.h"
#include "cycling/archive_file.h"
#include "cycling/calendar_cycle.h"
#include "fuzz/fuzz_check.h"
#include "mainwindow/cell_texts.h"
#include "mainwindow/navigation.h"
#include "tools/search.h"

#include <algorithm>
#include <memory>

namespace orvane::fuzz {
namespace {

bool IsRowStart(int slot) {
    return slot >= 1 && slot <= kMaxTopSlot && (slot - 1) % 7 == 0;
}

std::string_view KeyOf(std::string_view day) {
    return day.substr(0, std::min(day.size(), kDateKeyLength));
}

// Custom month titles of every length the file may hold, an empty one among them (which falls
// back to the English abbreviation).
Preferences MonthTitlePreferences(bool custom) {
    Preferences prefs;
    if (!custom)
        return prefs;
    prefs.set_flag(Flag::CustomTitles, '1');
    const std::array<const char*, 12> titles
        = { "J\xE4n", "Febr", "", "A", "Mai", "Juni", "Juli", "Aug", "Sept", "Okt", "Nov", "Dez" };
    for (std::size_t i = 0; i < titles.size(); ++i)
        prefs.MonthTitles[i] = titles[i];
    return prefs;
}

// A note shown in a cell and stored back unedited gives the same note lines again, cut to 20.
void CheckCells(const DayStore& store, std::string_view today_key, const Preferences& prefs) {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const std::string& day = store[slot];
        const CellText cell = CellTexts(day, (slot - 1) % 7 == 0, today_key, prefs);
        ORVANE_FUZZ_CHECK(cell.today == (day.size() >= kDateKeyLength && KeyOf(day) == today_key));
        const std::string note = NoteText(cell);
        ORVANE_FUZZ_CHECK(cell.note_lines.empty()
            || static_cast<std::size_t>(std::count(note.begin(), note.end(), '\n'))
                == cell.note_lines.size() - 1);
        const std::string stored = StoredNote(day, cell.note_lines);
        ORVANE_FUZZ_CHECK(KeyOf(stored) == KeyOf(day));
        const CellText again = CellTexts(stored, false, today_key, prefs);
        const std::size_t kept = std::min<std::size_t>(cell.note_lines.size(), kMaxEntries);
        ORVANE_FUZZ_CHECK(again.note_lines.size() == kept);
        ORVANE_FUZZ_CHECK(
            std::equal(again.note_lines.begin(), again.note_lines.end(), cell.note_lines.begin()));
        ORVANE_FUZZ_CHECK(StoredNote(stored, again.note_lines) == stored);
    }
}

// Month moves always land on a row start, forward or backward of where they started, so that a
// walk across the calendar ends.
void CheckNavigation(const DayStore& store, std::uint64_t hash) {
    const int tops[] = { 1, 8, 29, 344, 687, 694, 700, static_cast<int>(hash % 760) - 10 };
    for (const int top : tops) {
        const int start = ClampTopSlot(top);
        ORVANE_FUZZ_CHECK(IsRowStart(start));
        if (const auto next = NextMonth(store, top)) {
            ORVANE_FUZZ_CHECK(IsRowStart(*next) && *next > start);
        } else {
            ORVANE_FUZZ_CHECK(start == kMaxTopSlot);
        }
        if (const auto previous = PreviousMonth(store, top)) {
            ORVANE_FUZZ_CHECK(IsRowStart(*previous) && *previous < start);
        } else {
            ORVANE_FUZZ_CHECK(start == 1);
        }
    }
    int steps = 0;
    for (std::optional<int> top = 1; top; top = NextMonth(store, *top))
        ORVANE_FUZZ_CHECK(++steps <= 100);
    steps = 0;
    for (std::optional<int> top = kMaxTopSlot; top; top = PreviousMonth(store, *top))
        ORVANE_FUZZ_CHECK(++steps <= 100);
}

bool SameItems(const std::vector<MonthMenuItem>& a, const std::vector<MonthMenuItem>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.caption == y.caption && x.year == y.year && x.month == y.month && x.slot == y.slot
            && x.visible == y.visible;
    });
}

// The menu has its 25 items; each item it fills stands for a real month and a row start in
// range; building it again from the same store changes nothing; the search's jump finds the
// item of a day's month.
void CheckMonthMenu(const DayStore& store, const Preferences& prefs) {
    const std::vector<MonthMenuItem> items = BuildMonthMenu(store, prefs, {});
    ORVANE_FUZZ_CHECK(items.size() == static_cast<std::size_t>(kMonthMenuItems));
    for (const MonthMenuItem& item : items) {
        if (item.year == 0)
            continue;
        ORVANE_FUZZ_CHECK(item.month >= 1 && item.month <= 12);
        ORVANE_FUZZ_CHECK(item.slot >= 1 && item.slot <= kMaxTopSlot);
    }
    ORVANE_FUZZ_CHECK(SameItems(BuildMonthMenu(store, prefs, items), items));
    for (const int slot : { 1, 40, 400, 735 }) {
        if (const auto number = MonthMenuItemFor(items, store[slot])) {
            ORVANE_FUZZ_CHECK(*number >= 1 && *number <= kMonthMenuItems);
            const MonthMenuItem& item = items[static_cast<std::size_t>(*number - 1)];
            const auto month = MonthOfKey(store[slot]);
            ORVANE_FUZZ_CHECK(month && item.year == month->year && item.month == month->month);
        }
    }
}

void CheckHits(const DayStore& store, const std::vector<SearchHit>& hits) {
    int last = 0;
    for (const SearchHit& hit : hits) {
        ORVANE_FUZZ_CHECK(hit.slot > last && hit.slot <= kLastSearchedSlot);
        ORVANE_FUZZ_CHECK(hit.date_key == KeyOf(store[hit.slot]));
        last = hit.slot;
    }
}

std::vector<int> Slots(const std::vector<SearchHit>& hits) {
    std::vector<int> slots;
    for (const SearchHit& hit : hits)
        slots.push_back(hit.slot);
    return slots;
}

// A day is found by each of its entries, in any letter case.
void CheckSearch(const DayStore& store, std::uint64_t hash) {
    auto search = std::make_unique<DaySearch>();
    search->Rebuild(store);
    std::vector<std::pair<std::string, int>> needles
        = { { "a", 0 }, { "Dentist", 0 }, { "\xC9T\xC9", 0 }, { "\x8A\x9F", 0 }, { "\a", 0 } };
    for (int i = 0; i < kLastSearchedSlot; ++i) {
        const int slot = 1 + static_cast<int>((hash + static_cast<std::uint64_t>(i)) % 735);
        const std::vector<std::string> entries = Entries(store[slot]);
        const auto entry = std::find_if(
            entries.begin(), entries.end(), [](const std::string& e) { return !e.empty(); });
        if (entry != entries.end()) {
            needles.emplace_back(*entry, slot);
            break;
        }
    }
    for (const auto& [needle, holder] : needles) {
        const std::vector<SearchHit> hits = search->Find(needle);
        CheckHits(store, hits);
        ORVANE_FUZZ_CHECK(Slots(search->Find(FoldCase(needle))) == Slots(hits));
        if (holder != 0) {
            ORVANE_FUZZ_CHECK(std::any_of(hits.begin(), hits.end(),
                [holder = holder](const SearchHit& hit) { return hit.slot == holder; }));
        }
    }
    ORVANE_FUZZ_CHECK(search->Find("").empty());
}

// Saving writes slots 1-739, and the saved file loads back to the same calendar.
void CheckSaveRoundTrip(const DayStore& store) {
    const std::string bytes = FormatDayFile(store);
    auto again = std::make_unique<DayStore>();
    const Result<int> loaded = ParseDayFile(bytes, *again);
    ORVANE_FUZZ_CHECK(loaded && *loaded == kSavedSlots && again->loaded());
    for (int slot = 1; slot <= kSavedSlots; ++slot)
        ORVANE_FUZZ_CHECK((*again)[slot] == store[slot]);
    ORVANE_FUZZ_CHECK(FormatDayFile(*again) == bytes);
}

// The archive lines of the top week: one line and one empty line per day with entries, every
// separator a blank, then one more empty line.
void CheckArchiveWeek(const DayStore& store) {
    const std::string bytes = ArchiveWeekBytes(store);
    std::size_t expected = 2;
    for (int slot = 1; slot <= 7; ++slot) {
        if (store[slot].size() > kDateKeyLength)
            expected += store[slot].size() + 1 + 4;
    }
    ORVANE_FUZZ_CHECK(bytes.size() == expected);
    ORVANE_FUZZ_CHECK(bytes.ends_with("\r\n"));
    ORVANE_FUZZ_CHECK(bytes.find(kEntrySeparator) == std::string::npos);
}

// A cycle moves every day up a week whole and gives the last eight slots the keys of the days
// after slot 730's date.
void CheckCycle(const DayStore& store) {
    if (!CheckCycleSlots(store))
        return;
    const Date base = *ParseDateKey(store[737]);
    auto moved = std::make_unique<DayStore>(store);
    MoveWeek(*moved);
    for (int slot = 1; slot <= 730; ++slot)
        ORVANE_FUZZ_CHECK((*moved)[slot] == store[slot + 7]);
    for (int slot = 731; slot <= kCalendarDays; ++slot) {
        const Date day = AddDays(base, slot - 730);
        // Keys hold four-digit years; a calendar at the very end of year 9999 has nowhere to go.
        if (static_cast<int>(day.year()) <= 9999)
            ORVANE_FUZZ_CHECK(ParseDateKey((*moved)[slot]) == day);
    }
    for (int slot = kSavedSlots; slot <= kSlotCount; ++slot)
        ORVANE_FUZZ_CHECK((*moved)[slot] == store[slot]);
}

} // namespace
} // namespace orvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvane;
    using namespace orvane::fuzz;
    const std::string_view bytes = Bytes(data, size);
    auto store = std::make_unique<DayStore>();
    const Result<int> loaded = ParseDayFile(bytes, *store);
    if (!loaded || *loaded == 0) {
        // Refused, or no calendar at all: the store is left as it was.
        ORVANE_FUZZ_CHECK(loaded || loaded.error().kind == ErrorKind::kBadRecordCount);
        ORVANE_FUZZ_CHECK(!store->loaded());
        for (int slot = 1; slot <= kSlotCount; ++slot)
            ORVANE_FUZZ_CHECK((*store)[slot].empty());
        return 0;
    }
    ORVANE_FUZZ_CHECK(*loaded >= kCalendarDays && *loaded <= kSlotCount && store->loaded());

    const std::uint64_t hash = InputHash(bytes);
    const auto today = ParseDateKey((*store)[1 + static_cast<int>(hash % kCalendarDays)]);
    const std::string today_key = today ? DateKey(*today) : "Mar/14/2024";
    for (const bool custom : { false, true }) {
        const Preferences prefs = MonthTitlePreferences(custom);
        CheckCells(*store, today_key, prefs);
        CheckMonthMenu(*store, prefs);
    }
    CheckNavigation(*store, hash);
    CheckSearch(*store, hash);
    CheckSaveRoundTrip(*store);
    CheckArchiveWeek(*store);
    CheckCycle(*store);
    return 0;
}
