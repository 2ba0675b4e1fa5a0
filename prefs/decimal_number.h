// A number of pref.ovd (longitude, latitude, GMT offset) held as its decimal digits, so that
// reading and writing it never depends on the C library's locale and never loses a digit,
// however large a hand-edited value is. Only the sun computation turns it into a double.
//
//   auto longitude = DecimalNumber::Parse("-00,13");   // "." or "," as the separator
//   longitude->FormatFixed2();                          // "-00.13"
//   longitude->ToDouble();                              // -0.13
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

class DecimalNumber {
public:
    // Zero.
    DecimalNumber() = default;

    // Blanks around, an optional "+" or "-", digits with at most one "." or "," among them,
    // and at least one digit ("5." and ".5" are numbers). Anything else, empty text included,
    // is not a number.
    static std::optional<DecimalNumber> Parse(std::string_view text);

    // "00.00": at least two integer digits and exactly two decimals, rounded half away from
    // zero, a leading minus sign unless the rounded value is zero; -90.5 gives "-90.50".
    std::string FormatFixed2() const;
    // "0": rounded half away from zero to a whole number; 5.5 gives "6", -0.4 gives "0".
    std::string FormatWhole() const;

    // The nearest double; nothing when the value lies beyond a double's range. A value too
    // small for a double is 0.
    std::optional<double> ToDouble() const;

    bool is_zero() const { return integer_.empty() && fraction_.empty(); }
    bool negative() const { return negative_; }

    // Equal values compare equal however they were written ("05.50" and "5,5").
    friend bool operator==(const DecimalNumber&, const DecimalNumber&) = default;

private:
    // The value rounded half away from zero to `decimals` fraction digits: its integer digits
    // (no leading zeros) and exactly `decimals` fraction digits.
    struct Rounded {
        std::string integer;
        std::string fraction;
        bool zero = true;
    };
    Rounded RoundTo(std::size_t decimals) const;

    bool negative_ = false; // never set for zero
    std::string integer_; // without leading zeros; empty when the integer part is 0
    std::string fraction_; // without trailing zeros
};

} // namespace orvane
