#include "ical/ical_summary.h"

#include "core/date_key.h"
#include "core/entry_limit.h"

#include <set>

namespace orvane {

namespace {

std::string KeyOf(const DayStore& store, int slot) {
    return std::string(DateKeyView(store[slot]).key());
}

} // namespace

std::string Count(int n, const char* one, const char* many) {
    return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

std::vector<std::string> ImportPreviewLines(const ImportPlan& plan, const DayStore& store) {
    std::vector<std::string> lines;
    lines.push_back("The file holds " + Count(plan.events, "event", "events") + ".");
    const int inserted = plan.InsertCount();
    const int days = plan.DayCount();
    if (inserted == 0)
        lines.emplace_back("No entry goes into the calendar.");
    else
        lines.push_back(Count(inserted, "entry goes", "entries go") + " into "
            + Count(days, "day", "days") + ".");

    const std::vector<int> full = plan.FullDays();
    if (full.empty()) {
        lines.emplace_back("No day is full.");
    } else {
        const int refused = static_cast<int>(plan.items.size()) - inserted;
        lines.push_back(Count(refused, "entry is", "entries are") + " refused, logged in the "
            + "Error Log: " + Count(static_cast<int>(full.size()), "day holds", "days hold")
            + " the maximum of " + std::to_string(kMaxEntries) + " entries:");
        std::string keys;
        for (int slot : full) {
            if (!keys.empty())
                keys += ", ";
            keys += KeyOf(store, slot);
        }
        lines.push_back("  " + keys);
    }
    if (plan.substituted > 0)
        lines.push_back(Count(plan.substituted, "character", "characters")
            + " that Windows-1252 cannot hold " + (plan.substituted == 1 ? "is" : "are")
            + " written as \"?\".");
    if (plan.shortened > 0)
        lines.push_back(Count(plan.shortened, "event's text is", "events' texts are") + " cut to "
            + std::to_string(kMaxImportedText) + " characters.");
    if (plan.events_outside > 0)
        lines.push_back(Count(plan.events_outside, "event falls", "events fall")
            + " outside the calendar (" + KeyOf(store, 1) + " to " + KeyOf(store, kLastImportSlot)
            + ") and " + (plan.events_outside == 1 ? "is" : "are") + " left out.");
    if (plan.cancelled > 0)
        lines.push_back(
            Count(plan.cancelled, "cancelled event is", "cancelled events are") + " left out.");
    lines.push_back("Times given in UTC are shown in the time zone " + plan.zone + ".");
    if (!plan.problems.empty()) {
        lines.push_back(Count(static_cast<int>(plan.problems.size()), "event", "events")
            + " could not be read and " + (plan.problems.size() == 1 ? "is" : "are")
            + " left out:");
        for (const ImportProblem& problem : plan.problems)
            lines.push_back("  " + ProblemText(problem));
    }
    return lines;
}

std::string ImportRefusalText(const std::vector<int>& refused, const DayStore& store) {
    std::string text;
    std::set<int> seen;
    int shown = 0;
    for (int slot : refused) {
        if (!seen.insert(slot).second)
            continue;
        if (shown++ < kRefusalDaysShown) {
            if (!text.empty())
                text += '\n';
            text += MaxEntriesMessage(store[slot]);
        }
    }
    if (shown > kRefusalDaysShown)
        text += "\n... and " + Count(shown - kRefusalDaysShown, "more day", "more days") + ".";
    return text;
}

std::vector<std::string> ExportSummaryLines(const IcsExport& done, bool with_archive) {
    std::vector<std::string> lines;
    const int total = done.day_events + done.archive_events + done.record_events;
    std::string kinds = Count(done.day_events, "day entry", "day entries");
    if (with_archive)
        kinds += ", " + Count(done.archive_events, "archived day", "archived days");
    kinds += " and " + Count(done.record_events, "recurring entry", "recurring entries");
    lines.push_back(Count(total, "event", "events") + " written: " + kinds + ".");
    if (done.record_entries > 0)
        lines.push_back(Count(done.record_entries, "day entry", "day entries")
            + " that recurring entries put into their days "
            + (done.record_entries == 1 ? "is" : "are")
            + " written once, as part of the recurring entry.");
    if (done.invalid_records > 0)
        lines.push_back(Count(done.invalid_records, "line", "lines") + " of "
            + std::string(kRecordsFileName) + (done.invalid_records == 1 ? " is" : " are")
            + " not a valid recurring entry and " + (done.invalid_records == 1 ? "was" : "were")
            + " left out.");
    return lines;
}

} // namespace orvane
