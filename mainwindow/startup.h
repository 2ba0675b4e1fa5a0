// Start-up as the main window runs it once its single-instance lock is held: the preferences file
// and the flags it sets, then the day store. The outcome says what the window must do and tell the
// user; nothing here shows anything.
//
//   StartupOutcome start = Startup(document, clock.Today());
//   if (start.kind == StartupOutcome::Kind::kNoPreferences) ... open Error.doc and end
#pragma once

#include "core/calendar_document.h"
#include "core/date_key.h"
#include "core/result.h"

#include <functional>
#include <optional>

namespace orvane {

struct StartupOutcome {
    enum class Kind {
        kReady, // the calendar is loaded (or made new) and the preferences applied
        kNoPreferences, // pref.ovd is missing or unreadable: the program ends
        kBadRecordCount, // cdat.ovd has a line count the program never writes: the program ends
        kDayFileUnreadable, // cdat.ovd is missing or unreadable: the program ends, nothing saved
    };
    Kind kind = Kind::kReady;
    std::optional<Error> error; // why, for every kind but kReady
    std::optional<Error> warning; // a new calendar that could not be written to the file
    bool created = false; // a new calendar was made from today
};

// Reads pref.ovd into the document's preferences (line 1 always, the titles when CustomTitles is
// "1", the data files path and the font line), calls `preferences_read` (the window takes its
// fonts from them, so that the grid lays its notes out once, in the right font), then loads the
// day store, marking `today`.
StartupOutcome Startup(CalendarDocument& document, const Date& today,
    const std::function<void()>& preferences_read = {});

} // namespace orvane
