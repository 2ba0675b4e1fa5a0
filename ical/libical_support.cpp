#include "ical/libical_support.h"

namespace orvane::ical_support {

void UseQuietErrors() {
    icalerror_set_errors_are_fatal(0);
}

icaltimetype IcalDate(const Date& date) {
    // icaltime_null_date() leaves the time of day at -1, which sends the recurrence iterator
    // round in circles; a date is midnight with the date flag set.
    icaltimetype time = icaltime_null_time();
    time.is_date = 1;
    time.year = static_cast<int>(date.year());
    time.month = static_cast<int>(static_cast<unsigned>(date.month()));
    time.day = static_cast<int>(static_cast<unsigned>(date.day()));
    return time;
}

Date DateOf(const icaltimetype& time) {
    return MakeDate(time.year, static_cast<unsigned>(time.month), static_cast<unsigned>(time.day));
}

std::string TakeString(char* text) {
    if (text == nullptr)
        return {};
    std::string copy(text);
    icalmemory_free_buffer(text);
    return copy;
}

} // namespace orvane::ical_support
