// Reading a number from one line of the preferences file. Files written on machines with a
// decimal comma hold "-05,25" where others hold "-05.25"; both read the same. Anything that is
// not a plain number counts as missing.
#pragma once

#include <optional>
#include <string_view>

namespace orvane::sky {

// The value of `text` with surrounding blanks ignored, a leading sign allowed and "." or "," as
// the decimal separator; nothing for an empty text, other characters, or an infinite value.
std::optional<double> ParseDecimalText(std::string_view text);

} // namespace orvane::sky
