// The date checks of the entry and delete dialogs: whether the From and To dates lie inside the
// calendar and in order, which lines the dialog's message area gets, and which picker turns
// yellow. Pure functions of the dates, so a test and a preview can run them without a dialog.
//
//   DateCheck check = CheckFrom(errors, from, to, initial_from, last_day);
//   if (check.clear_messages) ...; for (auto line : check.added) ...; errors = check.errors;
#pragma once

#include "core/date_key.h"

#include <optional>
#include <string_view>
#include <vector>

namespace orvane {

// The lines the checks add to the message area.
inline constexpr std::string_view kFromBeforeCalendar = "From date < calendar";
inline constexpr std::string_view kFromAfterCalendar = "From date > calendar";
inline constexpr std::string_view kFromAfterTo = "From date  > To date";
inline constexpr std::string_view kToAfterCalendar = "To date > calendar";

struct DateErrors {
    bool from_too_early = false;
    bool from_too_late = false;
    bool from_after_to = false;
    bool to_too_late = false;

    bool any() const { return from_too_early || from_too_late || from_after_to || to_too_late; }
    friend bool operator==(const DateErrors&, const DateErrors&) = default;
};

struct DateCheck {
    DateErrors errors; // the flags after the check
    bool clear_messages = false; // the message area is cleared before the lines are added
    std::vector<std::string_view> added; // lines added to the message area, in order
    std::optional<bool> from_marked; // the From picker turns yellow (true) or back (false)
    std::optional<bool> to_marked; // the same for the To picker
};

// The From check, run when From changes and when the dialog opens: From may not lie before the
// day the dialog proposed nor after the last calendar day; a good From runs the To check. A From
// too early adds its line below the earlier ones; the other outcomes clear the area first.
DateCheck CheckFrom(const DateErrors& errors, const Date& from, const Date& to,
    const Date& initial_from, const Date& last_day);

// The To check, run when To changes and after a good From check: To may not lie before From nor
// after the last calendar day.
DateCheck CheckTo(const DateErrors& errors, const Date& from, const Date& to, const Date& last_day);

} // namespace orvane
