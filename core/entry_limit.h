// The per-day entry limit and the error log rdat.ovd. A recurring entry that finds a full day is
// refused; each refusal adds one line to the error log, which the user reads in the Error Log
// window.
//
//   if (IsFull(CheckMaxRecs(edit.store(), slot))) {
//       Status logged = AppendErrorLog(edit, edit.store()[slot], "Dentist");
//       ... refuse: MaxEntriesMessage(store[slot])
//   }
#pragma once

#include "core/calendar_document.h"
#include "core/day_store.h"
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

// Appends the refusal of `text` for `day` to the error log rdat.ovd as part of an operation,
// creating the file when it is missing.
Status AppendErrorLog(DocumentEdit& edit, std::string_view day, std::string_view text);

// The number of entries slot `slot` (in [1, 741]) holds; a day for which IsFull() holds refuses
// a further entry.
int CheckMaxRecs(const DayStore& store, int slot);

// Puts `text` in front of the day's entries, directly after its date key.
void InsertFirstEntry(std::string& day, std::string_view text);

} // namespace orvane
