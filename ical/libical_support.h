// What the iCalendar export and import share on top of libical: owning pointers for its objects
// and the conversions between its times and the program's dates. Only this folder includes it;
// nothing outside ical/ sees a libical type.
#pragma once

#include "core/date_key.h"

#include <libical/ical.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace orvane::ical_support {

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentFree>;

struct IteratorFree {
    void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};
using IteratorPtr = std::unique_ptr<icalrecur_iterator, IteratorFree>;

// Makes libical report errors through its error number and the X-LIC-ERROR properties it adds to
// what it parses, never by stopping the program. Safe to call any number of times.
void UseQuietErrors();

// A DATE value (all day) for `date`.
icaltimetype IcalDate(const Date& date);

// The calendar date of a libical time's own fields (its wall-clock date).
Date DateOf(const icaltimetype& time);

// Text that libical allocated for the caller (the *_r functions), taken over and freed.
std::string TakeString(char* text);

} // namespace orvane::ical_support
