#include "recurring/date_checks.h"

namespace orvane {

DateCheck CheckFrom(const DateErrors& errors, const Date& from, const Date& to,
    const Date& initial_from, const Date& last_day) {
    DateCheck check;
    check.errors = errors;
    if (from < initial_from) {
        check.added.push_back(kFromBeforeCalendar);
        check.from_marked = true;
        check.errors.from_too_early = true;
        return check;
    }
    check.errors.from_too_early = false;
    check.clear_messages = true;
    if (from > last_day) {
        check.added.push_back(kFromAfterCalendar);
        check.from_marked = true;
        check.errors.from_too_late = true;
        return check;
    }
    check.errors.from_too_late = false;
    DateCheck to_check = CheckTo(check.errors, from, to, last_day);
    to_check.clear_messages = true;
    to_check.from_marked = false;
    return to_check;
}

DateCheck CheckTo(
    const DateErrors& errors, const Date& from, const Date& to, const Date& last_day) {
    DateCheck check;
    check.errors = errors;
    if (to < from) {
        check.added.push_back(kFromAfterTo);
        check.to_marked = true;
        check.errors.from_after_to = true;
        return check;
    }
    check.errors.from_after_to = false;
    check.clear_messages = true;
    check.to_marked = to > last_day;
    check.errors.to_too_late = to > last_day;
    if (check.errors.to_too_late)
        check.added.push_back(kToAfterCalendar);
    return check;
}

} // namespace orvane
