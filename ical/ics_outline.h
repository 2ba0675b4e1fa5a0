// The outline of an .ics file, read line by line before libical parses it: where every event
// begins (libical keeps no line numbers), which events are not closed properly, and the text of
// each well-formed event on its own, so that libical parses every event apart and one broken
// event cannot spoil the others or the count. Only BEGIN and END lines and property names are
// looked at; libical reads everything else. The texts keep only what the import reads (the time
// zones, and of each event its times, rules, summary, UID and status), which spares libical most
// of the work on a typical file.
//
//   IcsOutline outline = OutlineIcs(bytes);
//   outline.events[i].line   the BEGIN:VEVENT line of the event whose lines are
//   outline.events[i].text
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// The properties whose loss makes an event unreadable: when libical drops one as unparsable,
// the event is left out rather than imported wrong.
// (An empty SUMMARY is dropped too; it only means the event has no title.)
inline constexpr std::array<std::string_view, 7> kEventKeyProperties
    = { "DTSTART", "DTEND", "DURATION", "RRULE", "RDATE", "EXDATE", "RECURRENCE-ID" };

struct IcsEventBlock {
    int line = 0; // its BEGIN:VEVENT line, from 1
    std::string text; // from BEGIN:VEVENT to END:VEVENT, CR LF line ends, folded as it was
    std::array<int, kEventKeyProperties.size()> key_properties {}; // how often each appears
};

struct IcsOutlineProblem {
    int line = 0;
    std::string note;
};

enum class IcsOutlineError {
    kNone,
    kNotCalendar, // the first line is not BEGIN:VCALENDAR
    kNulBytes, // binary data or UTF-16 text
    kTruncated, // the text ends inside the calendar
};

struct IcsOutline {
    IcsOutlineError error = IcsOutlineError::kNone;
    // One calendar holding the time zones of the file (of all its calendars when several are
    // joined), with CR LF line ends and the lines folded as they were.
    std::string text;
    std::vector<IcsEventBlock> events; // the well-formed top-level events, in file order
    std::vector<IcsOutlineProblem> problems; // the events left out, in file order
};

// Physical lines end with CR LF, LF or a lone CR; a line that starts with a blank or a tab
// continues the one before. A UTF-8 byte order mark at the start is skipped.
IcsOutline OutlineIcs(std::string_view bytes);

} // namespace orvane
