// Date keys: the first 11 characters of every day string, such as "Mar/14/2024" or "Mar/5 /2024".
// The month is always the English abbreviation; the day field "1 " marks the first of a month.
#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

using Date = std::chrono::year_month_day;

inline constexpr std::size_t kDateKeyLength = 11;
inline constexpr std::array<std::string_view, 12> kMonthAbbreviations
    = { "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };

// The fields of the date key at the start of a day string, read in place: the month abbreviation
// (characters 1-3), the day field (5-6: "14", or "5 " for a one-digit day) and the year (8-11).
// A text shorter than a key has a partial key and empty fields.
//
//   DateKeyView key(store[slot]);
//   key.first_of_month(), key.month() == "Mar", key.year() == "2024"
class DateKeyView {
public:
    explicit constexpr DateKeyView(std::string_view day)
        : key_(day.substr(0, day.size() < kDateKeyLength ? day.size() : kDateKeyLength)) { }

    constexpr bool complete() const { return key_.size() == kDateKeyLength; }
    constexpr std::string_view key() const { return key_; }
    constexpr std::string_view month() const { return Field(0, 3); }
    constexpr std::string_view day_field() const { return Field(4, 2); }
    constexpr std::string_view year() const { return Field(7, 4); }
    // "Mar/14": what a yearly record matches.
    constexpr std::string_view month_and_day() const { return Field(0, 6); }
    constexpr bool first_of_month() const { return day_field() == "1 "; }

private:
    constexpr std::string_view Field(std::size_t pos, std::size_t count) const {
        return complete() ? key_.substr(pos, count) : std::string_view();
    }

    std::string_view key_;
};

// "Jan/5 /2024" for 5 January 2024, "Jan/15/2024" for the 15th. Years are written with four digits.
std::string DateKey(const Date& date);

// The date a key names, or nothing when `text` does not start with a valid key.
// Only the first 11 characters are read; a shorter or malformed text is simply not a key.
std::optional<Date> ParseDateKey(std::string_view text);

// Month number 1-12 of an English abbreviation, or 0.
int MonthFromAbbreviation(std::string_view abbreviation);

// Day of the week, Sunday = 0.
int WeekdayIndex(const Date& date);

Date AddDays(const Date& date, int days);

// The date of a year, month 1-12 and day; check ok() when the parts may be out of range.
inline Date MakeDate(int year, unsigned month, unsigned day) {
    return Date { std::chrono::year(year), std::chrono::month(month), std::chrono::day(day) };
}

// The last day of the month `date` lies in.
Date LastDayOfMonth(const Date& date);

} // namespace orvane
