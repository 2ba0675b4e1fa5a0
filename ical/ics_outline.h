// The outline of an .ics file, read line by line before libical parses it: where every event
// begins (libical keeps no line numbers), which events are not closed properly, and the text of
// the calendar without them, so that one broken event cannot spoil the parse of the others.
// Only BEGIN and END lines and property names are looked at; libical reads everything else.
// The text keeps only what the import reads (the time zones, and of each event its times, rules,
// summary, UID and status), which spares libical most of the work on a typical file.
//
//   IcsOutline outline = OutlineIcs(bytes);
//   outline.events[i].line   the BEGIN:VEVENT line of the i-th VEVENT libical finds in outline.text
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
    // One calendar (several concatenated ones are joined) holding the time zones and every
    // well-formed event, with CR LF line ends and the lines folded as they were.
    std::string text;
    std::vector<IcsEventBlock> events; // the well-formed top-level events, in file order
    std::vector<IcsOutlineProblem> problems; // the events left out, in file order
};

// Physical lines end with CR LF, LF or a lone CR; a line that starts with a blank or a tab
// continues the one before. A UTF-8 byte order mark at the start is skipped.
IcsOutline OutlineIcs(std::string_view bytes);

} // namespace orvane
