// The per-day entry limit and the error log rdat.ovd. A recurring entry that finds a full day is
// refused; each refusal adds one line to the error log, which the user reads in the Error Log
// window.
//
//   state.CurrentSlot = slot;
//   state.EntryText = "Dentist";
//   Status logged = CheckMaxRecs(state);      // state.EntryCount now holds the day's entries
//   if (state.EntryCount > 19) ... refuse: MaxEntriesMessage(state.store[slot])
#pragma once

#include "core/calendar_state.h"
#include "core/result.h"

#include <string>
#include <string_view>

namespace orvane {

inline constexpr std::string_view kMaxEntriesSuffix
    = " already has maximum entries - see Error Log";
inline constexpr std::string_view kErrorLogSuffix = "  (Error - Date NOT Updated)";

// True when a day with `entry_count` entries takes no further entry.
inline bool IsFull(int entry_count) {
    return entry_count >= kMaxEntries;
}

// "<date key> <text>  (Error - Date NOT Updated)" followed by CR LF.
std::string ErrorLogLine(std::string_view day, std::string_view text);

// "<date key> already has maximum entries - see Error Log".
std::string MaxEntriesMessage(std::string_view day);

// Appends one line to rdat.ovd, creating the file when it is missing.
Status AppendErrorLog(const CalendarState& state, std::string_view day, std::string_view text);

// Sets EntryCount to the number of entries of slot CurrentSlot (in [1, 741]). For a full day it
// appends the error-log line for EntryText; the slot itself never changes. The result reports a
// failed append only.
Status CheckMaxRecs(CalendarState& state);

// Puts `text` in front of the day's entries, directly after its date key.
void InsertFirstEntry(std::string& day, std::string_view text);

} // namespace orvane
