#include "sky/decimal_text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace orvane::sky {

std::optional<double> ParseDecimalText(std::string_view text) {
    const auto is_blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);

    std::string digits(text);
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.erase(0, 1);
    }
    int separators = 0;
    for (char& c : digits) {
        if (c == ',' || c == '.') {
            c = '.';
            ++separators;
        } else if (c < '0' || c > '9') {
            return std::nullopt; // also refuses "inf", "nan", exponents and a second sign
        }
    }
    if (digits.empty() || separators > 1 || digits == ".")
        return std::nullopt;

    double value = 0;
    const char* end = digits.data() + digits.size();
    const auto [ptr, ec] = std::from_chars(digits.data(), end, value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace orvane::sky
