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
