#include "tools/search.h"

#include "core/date_key.h"
#include "tools/search_sources.h"

#include <algorithm>
#include <array>

namespace orvane {

int SearchWidthLimit(const Preferences& prefs) {
    return prefs.on(Flag::DataBoldFont) ? kSearchWidthLimitBold : kSearchWidthLimit;
}

char FoldCase(char byte) {
    const auto u = static_cast<unsigned char>(byte);
    if (u >= 'A' && u <= 'Z')
        return static_cast<char>(u + 0x20);
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) // À-Þ but ×
        return static_cast<char>(u + 0x20);
    switch (u) {
    case 0x8A: // Š
    case 0x8C: // Œ
    case 0x8E: // Ž
        return static_cast<char>(u + 0x10);
    case 0x9F: // Ÿ
        return static_cast<char>(0xFF);
    default:
        return byte;
    }
}

std::string FoldCase(std::string_view bytes) {
    // A table, as the searches fold megabytes at a time.
    static const std::array<char, 256> kFolded = [] {
        std::array<char, 256> table {};
        for (std::size_t byte = 0; byte < table.size(); ++byte)
            table[byte] = FoldCase(static_cast<char>(byte));
        return table;
    }();
    std::string folded(bytes);
    for (char& c : folded)
        c = kFolded[static_cast<unsigned char>(c)];
    return folded;
}

void DaySearch::Rebuild(const DayStore& store) {
    index_ = std::make_shared<const DaysIndex>(store);
}

std::vector<SearchHit> DaySearch::Find(std::string_view needle) const {
    std::vector<SearchHit> hits;
    if (!index_)
        return hits;
    SearchSources sources;
    sources.days = index_;
    SearchQuery query;
    query.text = needle;
    for (const SearchResult& result : RunSearch(sources, query).results)
        hits.push_back({ result.slot, result.date_key });
    return hits;
}

std::optional<KeyMonth> MonthOfKey(std::string_view date_key) {
    if (date_key.size() < kDateKeyLength)
        return std::nullopt;
    const int month = MonthFromAbbreviation(date_key.substr(0, 3));
    if (month == 0)
        return std::nullopt;
    int year = 0;
    for (const char c : date_key.substr(7, 4)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        year = year * 10 + (c - '0');
    }
    return KeyMonth { year, month };
}

std::optional<int> MonthMenuItemFor(
    const std::vector<MonthMenuItem>& items, std::string_view date_key) {
    const auto wanted = MonthOfKey(date_key);
    if (!wanted)
        return std::nullopt;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MonthMenuItem& item = items[i];
        if (item.year != 0 && item.year == wanted->year && item.month == wanted->month)
            return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

std::optional<int> TopSlotForDay(
    const std::vector<MonthMenuItem>& items, std::string_view date_key, int slot, int current_top) {
    if (slot < 1 || slot >= kMaxTopSlot + kShownDays)
        return std::nullopt;
    int top = ClampTopSlot(current_top);
    if (const auto item = MonthMenuItemFor(items, date_key))
        top = ClampTopSlot(items[static_cast<std::size_t>(*item - 1)].slot);
    if (slot < top)
        top = ClampTopSlot(slot); // the day's week on top
    else if (slot >= top + kShownDays)
        top = ClampTopSlot(slot - (kShownDays - 7)); // the day's week at the bottom
    return top;
}

std::optional<int> SlotOfFoundDay(const DayStore& store, int slot, std::string_view date_key) {
    if (date_key.empty())
        return std::nullopt;
    const auto holds = [&](int s) { return std::string_view(store[s]).starts_with(date_key); };
    if (slot >= 1 && slot <= kLastSearchedSlot && holds(slot))
        return slot;
    for (int s = 1; s <= kLastSearchedSlot; ++s) {
        if (holds(s))
            return s;
    }
    return std::nullopt;
}

} // namespace orvane
