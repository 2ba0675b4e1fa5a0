#include "core/day_store.h"

#include "core/date_key.h"

#include <algorithm>

namespace orvane {

void DayStore::Clear() {
    for (auto& slot : slots_)
        slot.clear();
    loaded_ = false;
}

int ClampTopSlot(int slot) {
    slot = std::clamp(slot, 1, kMaxTopSlot);
    return slot - (slot - 1) % 7;
}

int EntryCount(std::string_view day) {
    return static_cast<int>(std::count(day.begin(), day.end(), kEntrySeparator));
}

std::string_view EntryText(std::string_view day) {
    if (day.size() <= kDateKeyLength)
        return {};
    return day.substr(kDateKeyLength);
}

std::vector<std::string> Entries(std::string_view day) {
    std::vector<std::string> entries;
    std::string_view rest = EntryText(day);
    for (std::size_t pos = rest.find(kEntrySeparator); pos != std::string_view::npos;
         pos = rest.find(kEntrySeparator)) {
        entries.emplace_back(rest.substr(0, pos));
        rest.remove_prefix(pos + 1);
    }
    return entries;
}

} // namespace orvane
