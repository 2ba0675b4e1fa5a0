#include "prefs/decimal_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace orvane {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<DecimalNumber> DecimalNumber::Parse(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);

    DecimalNumber number;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        number.negative_ = text.front() == '-';
        text.remove_prefix(1);
    }
    // A file written under a comma locale by another setup holds "," where this program
    // writes ".": either is the decimal separator, and only one of them may appear.
    const std::size_t separator = text.find_first_of(".,");
    const std::string_view integer = text.substr(0, separator);
    const std::string_view fraction
        = separator == std::string_view::npos ? std::string_view() : text.substr(separator + 1);
    if (integer.empty() && fraction.empty())
        return std::nullopt;
    if (!std::all_of(integer.begin(), integer.end(), IsDigit)
        || !std::all_of(fraction.begin(), fraction.end(), IsDigit))
        return std::nullopt;

    const std::size_t first_significant = integer.find_first_not_of('0');
    if (first_significant != std::string_view::npos)
        number.integer_ = integer.substr(first_significant);
    const std::size_t last_significant = fraction.find_last_not_of('0');
    if (last_significant != std::string_view::npos)
        number.fraction_ = fraction.substr(0, last_significant + 1);
    if (number.is_zero())
        number.negative_ = false;
    return number;
}

DecimalNumber::Rounded DecimalNumber::RoundTo(std::size_t decimals) const {
    std::string digits = integer_ + fraction_.substr(0, std::min(decimals, fraction_.size()));
    digits.append(integer_.size() + decimals - digits.size(), '0');
    // The first dropped digit decides: 5 or more (a tie included) moves away from zero.
    if (fraction_.size() > decimals && fraction_[decimals] >= '5') {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    Rounded rounded;
    const std::size_t integer_size = digits.size() - decimals;
    rounded.integer = digits.substr(0, integer_size);
    rounded.fraction = digits.substr(integer_size);
    rounded.integer.erase(0, std::min(rounded.integer.find_first_not_of('0'), integer_size));
    rounded.zero = digits.find_first_not_of('0') == std::string::npos;
    return rounded;
}

std::string DecimalNumber::FormatFixed2() const {
    const Rounded rounded = RoundTo(2);
    std::string text;
    if (negative_ && !rounded.zero)
        text += '-';
    if (rounded.integer.size() < 2)
        text.append(2 - rounded.integer.size(), '0');
    text += rounded.integer;
    text += '.';
    text += rounded.fraction;
    return text;
}

std::string DecimalNumber::FormatWhole() const {
    const Rounded rounded = RoundTo(0);
    if (rounded.zero)
        return "0";
    return (negative_ ? "-" : "") + rounded.integer;
}

std::optional<double> DecimalNumber::ToDouble() const {
    std::string text = negative_ ? "-" : "";
    text += integer_.empty() ? "0" : integer_;
    if (!fraction_.empty())
        text += '.' + fraction_;
    double value = 0;
    const auto [end, error]
        = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range && integer_.empty())
        return 0.0; // below the smallest double
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace orvane
