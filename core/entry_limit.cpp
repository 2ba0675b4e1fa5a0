#include "core/entry_limit.h"

#include "core/date_key.h"
#include "core/text_file.h"

#include <algorithm>

namespace orvane {

namespace {

std::string_view KeyOf(std::string_view day) {
    return DateKeyView(day).key();
}

} // namespace

std::string ErrorLogLine(std::string_view day, std::string_view text) {
    std::string line(KeyOf(day));
    line += ' ';
    line += text;
    line += kErrorLogSuffix;
    line += "\r\n";
    return line;
}

std::string MaxEntriesMessage(std::string_view day) {
    std::string message(KeyOf(day));
    message += kMaxEntriesSuffix;
    return message;
}

Status AppendErrorLog(DocumentEdit& edit, std::string_view day, std::string_view text) {
    return edit.AppendFile(edit.data().rdat(), ErrorLogLine(day, text), /*create=*/true);
}

int CheckMaxRecs(const DayStore& store, int slot) {
    return EntryCount(store[slot]);
}

void InsertFirstEntry(std::string& day, std::string_view text) {
    std::string entry(text);
    entry += kEntrySeparator;
    // A day string shorter than its key (never written by the program) gets the entry at its end.
    day.insert(std::min(day.size(), kDateKeyLength), entry);
}

} // namespace orvane
