// The day store: 741 day strings numbered from 1, the calendar window of 738 consecutive days that
// starts on a Sunday, plus the empty slot 739 and two unused slots. Each day string is its date key
// followed by its entries, every entry ended by the separator (code 7).
//
//   DayStore store;
//   store[1] = "Mar/10/2024Dentist\aCall Bob\a";   // slot 1 is a Sunday
//   EntryCount(store[1]) == 2
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

inline constexpr int kSlotCount = 741; // slots 1-741
inline constexpr int kCalendarDays = 738; // slots 1-738 are days
inline constexpr int kSavedSlots = 739; // the day file holds slots 1-739
inline constexpr int kLastShownSlot = 735; // the grid and the dialogs never go past this slot
inline constexpr int kMaxTopSlot = 694; // 1 + 7 * 99
inline constexpr int kMaxEntries = 20;
inline constexpr char kEntrySeparator = '\x07';

class DayStore {
public:
    // slot in [1, 741]
    std::string& operator[](int slot) { return slots_.at(static_cast<std::size_t>(slot)); }
    const std::string& operator[](int slot) const {
        return slots_.at(static_cast<std::size_t>(slot));
    }

    // True once the store holds a calendar that came from the day file or was created new;
    // only such a store may be written over the day file.
    bool loaded() const { return loaded_; }
    void set_loaded(bool loaded) { loaded_ = loaded; }

    void Clear();

private:
    std::array<std::string, kSlotCount + 1> slots_ {}; // index 0 unused
    bool loaded_ = false;
};

// Brings any slot number to a valid TopSlot: the row start (1 + 7k) at or before it, within
// [1, 694].
int ClampTopSlot(int slot);

// Number of entries of a day string: the number of separators in it.
int EntryCount(std::string_view day);

// The entries of a day string, without their separators. Text after the last separator (which
// the program never writes but a hand edit can leave) is not an entry and is not returned.
std::vector<std::string> Entries(std::string_view day);

// The text of a day string after its date key (empty for a bare key or a shorter string).
std::string_view EntryText(std::string_view day);

} // namespace orvane
