#include "core/date_key.h"

namespace orvane {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string DateKey(const Date& date) {
    const unsigned month = static_cast<unsigned>(date.month());
    const unsigned day = static_cast<unsigned>(date.day());
    const int year = static_cast<int>(date.year());
    std::string key(kMonthAbbreviations[month - 1]);
    key += '/';
    if (day < 10) {
        key += static_cast<char>('0' + day);
        key += ' ';
    } else {
        key += static_cast<char>('0' + day / 10);
        key += static_cast<char>('0' + day % 10);
    }
    key += '/';
    for (int place = 1000; place >= 1; place /= 10)
        key += static_cast<char>('0' + (year / place) % 10);
    return key;
}

int MonthFromAbbreviation(std::string_view abbreviation) {
    for (std::size_t i = 0; i < kMonthAbbreviations.size(); ++i) {
        if (kMonthAbbreviations[i] == abbreviation)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

std::optional<Date> ParseDateKey(std::string_view text) {
    if (text.size() < kDateKeyLength)
        return std::nullopt;
    const int month = MonthFromAbbreviation(text.substr(0, 3));
    if (month == 0 || text[3] != '/' || text[6] != '/')
        return std::nullopt;
    int day = 0;
    if (IsDigit(text[4]) && IsDigit(text[5]))
        day = (text[4] - '0') * 10 + (text[5] - '0');
    else if (IsDigit(text[4]) && text[5] == ' ')
        day = text[4] - '0';
    else
        return std::nullopt;
    int year = 0;
    for (std::size_t i = 7; i < 11; ++i) {
        if (!IsDigit(text[i]))
            return std::nullopt;
        year = year * 10 + (text[i] - '0');
    }
    const Date date { std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
        std::chrono::day(static_cast<unsigned>(day)) };
    if (!date.ok())
        return std::nullopt;
    return date;
}

int WeekdayIndex(const Date& date) {
    return static_cast<int>(std::chrono::weekday(std::chrono::sys_days(date)).c_encoding());
}

Date AddDays(const Date& date, int days) {
    return Date(std::chrono::sys_days(date) + std::chrono::days(days));
}

Date LastDayOfMonth(const Date& date) {
    return Date(
        std::chrono::year_month_day_last(date.year(), std::chrono::month_day_last(date.month())));
}

} // namespace orvane
