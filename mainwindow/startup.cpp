#include "mainwindow/startup.h"

#include "prefs/pref_file.h"

namespace orvane {

StartupOutcome Startup(
    CalendarDocument& document, const Date& today, const std::function<void()>& preferences_read) {
    StartupOutcome outcome;
    Result<PrefLines> pref = ReadPrefFile(document.data().pref());
    if (!pref) {
        outcome.kind = StartupOutcome::Kind::kNoPreferences;
        outcome.error = std::move(pref).error();
        return outcome;
    }
    ApplyStartupLines(*pref, document.StartupPreferences());
    if (preferences_read)
        preferences_read();
    Result<DayFileLoaded> load = document.Load(today);
    if (!load) {
        outcome.kind = load.error().kind == ErrorKind::kBadRecordCount
            ? StartupOutcome::Kind::kBadRecordCount
            : StartupOutcome::Kind::kDayFileUnreadable;
        outcome.error = std::move(load).error();
        return outcome;
    }
    outcome.created = load->created;
    outcome.warning = load->not_written;
    return outcome;
}

} // namespace orvane
