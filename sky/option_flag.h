// Reading one position of the flags line without trusting its length: a line cut short by hand
// reads as '0' in the missing positions, which switches the sun and moon features off.
#pragma once

#include "core/preferences.h"

namespace orvane::sky {

inline char FlagOrZero(const Preferences& prefs, Flag position) {
    const auto index = static_cast<std::size_t>(position) - 1;
    return index < prefs.OptionFlags.size() ? prefs.OptionFlags[index] : '0';
}

} // namespace orvane::sky
