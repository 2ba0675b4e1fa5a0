#include "recurring/delete_entry.h"

#include "core/text_file.h"
#include "recurring/recurring_record.h"
#include "recurring/scheduling.h"

#include <algorithm>
#include <chrono>

namespace orvane {

bool DeleteFromDay(std::string& day, std::string_view text) {
    if (day.size() <= kDateKeyLength)
        return false;
    const std::string_view entries = std::string_view(day).substr(kDateKeyLength);
    std::string kept(day.substr(0, kDateKeyLength));
    bool removed = false;
    std::size_t start = 0;
    for (std::size_t end = entries.find(kEntrySeparator); end != std::string_view::npos;
         end = entries.find(kEntrySeparator, start)) {
        const std::string_view entry = entries.substr(start, end - start);
        if (entry == text) {
            removed = true;
        } else {
            kept += entry;
            kept += kEntrySeparator;
        }
        start = end + 1;
    }
    if (!removed)
        return false;
    kept += entries.substr(start); // a hand-edited tail keeps its place after the entries
    day = std::move(kept);
    return true;
}

int DeleteFromDays(DayStore& store, int first_slot, int last_slot, std::string_view text) {
    int changed = 0;
    for (int slot = std::max(first_slot, 1); slot <= std::min(last_slot, kLastShownSlot); ++slot) {
        std::string& day = store[slot];
        if (day.find(text) != std::string::npos && DeleteFromDay(day, text))
            ++changed;
    }
    return changed;
}

namespace {

// True when DeleteFromDay would change `day`, without changing it.
bool DeleteChanges(std::string_view day, std::string_view text) {
    if (day.size() <= kDateKeyLength || day.find(text) == std::string_view::npos)
        return false;
    const std::string_view entries = day.substr(kDateKeyLength);
    std::size_t start = 0;
    for (std::size_t end = entries.find(kEntrySeparator); end != std::string_view::npos;
         end = entries.find(kEntrySeparator, start)) {
        if (entries.substr(start, end - start) == text)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

bool RecordHolds(std::string_view line, std::string_view text) {
    if (ParseRecord(line)) {
        const std::size_t offset = TextOffset(line[0]);
        return line.substr(offset).find(text) != std::string_view::npos;
    }
    return line.find(text) != std::string_view::npos;
}

std::string RecordsWithout(std::string_view fdat_bytes, std::string_view text) {
    std::string out;
    out.reserve(fdat_bytes.size() + 1);
    for (const std::string& line : RecordFileLines(fdat_bytes)) {
        if (line.empty() || RecordHolds(line, text))
            continue;
        out += line;
        out += "\r\n";
    }
    out += '\r';
    return out;
}

DeletePlan PlanDelete(const DayStore& store, int first_slot, int last_slot, std::string_view text,
    bool discontinue, std::string_view records) {
    DeletePlan plan;
    plan.text = std::string(text);
    plan.discontinue = discontinue;
    plan.first_slot = std::max(first_slot, 1);
    plan.last_slot = std::min(last_slot, kLastShownSlot);
    for (int slot = plan.first_slot; slot <= plan.last_slot; ++slot) {
        if (DeleteChanges(store[slot], text))
            plan.days.push_back(slot);
    }
    if (discontinue) {
        for (const std::string& line : RecordFileLines(records)) {
            if (!line.empty() && RecordHolds(line, text))
                plan.discontinued.push_back(line);
        }
        plan.kept_records = RecordsWithout(records, text);
    }
    return plan;
}

std::optional<DeletePlan> PlanDeleteBetween(const DayStore& store, const Date& from, const Date& to,
    std::string_view text, bool discontinue, std::string_view records) {
    const auto from_slot = FindSlot(store, from);
    if (!from_slot)
        return std::nullopt;
    // The days are counted from From's slot, one slot per day; a span past the calendar is cut
    // at slot 735 by PlanDelete.
    const auto span = (std::chrono::sys_days(to) - std::chrono::sys_days(from)).count();
    const long long last = std::clamp<long long>(*from_slot + span, 0, kLastShownSlot);
    return PlanDelete(store, *from_slot, static_cast<int>(last), text, discontinue, records);
}

Result<std::string> RecordsForDelete(const DataFolder& data) {
    Result<std::string> read = ReadWholeFile(data.fdat());
    if (read || !IsMissingFile(read.error()))
        return read;
    return std::string();
}

DeleteOutcome DeleteEntry(DocumentEdit& edit, const DeletePlan& plan) {
    DeleteOutcome outcome;
    for (int slot : plan.days) {
        if (DeleteFromDay(edit.Day(slot), plan.text))
            ++outcome.days_changed;
    }
    if (!plan.discontinue)
        return outcome;
    Status written = edit.WriteFile(edit.data().wdat(), plan.kept_records);
    if (written)
        written = edit.WriteFile(edit.data().fdat(), plan.kept_records);
    if (!written) {
        outcome.error = std::move(std::move(written).error().Also(
            "The days were changed; the recurring records were left as they were."));
    }
    return outcome;
}

} // namespace orvane
