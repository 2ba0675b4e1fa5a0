#include "recurring/preview.h"

#include "core/entry_limit.h"

#include <algorithm>
#include <array>

namespace orvane {

namespace {

// "1 day" or "52 days".
std::string Count(std::size_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

std::string Days(std::size_t n) {
    return Count(n, "day", "days");
}

// "is" or "are" after a count.
std::string_view Be(std::size_t n) {
    return n == 1 ? "is" : "are";
}

} // namespace

std::vector<std::string> DateProblems(const DateErrors& errors) {
    std::vector<std::string> lines;
    const std::array<std::pair<bool, std::string_view>, 4> checks = { {
        { errors.from_too_early, kFromBeforeCalendar },
        { errors.from_too_late, kFromAfterCalendar },
        { errors.from_after_to, kFromAfterTo },
        { errors.to_too_late, kToAfterCalendar },
    } };
    for (const auto& [set, line] : checks) {
        if (set)
            lines.emplace_back(line);
    }
    return lines;
}

PlanPreview RefusedPreview(std::vector<std::string> problems) {
    PlanPreview preview;
    preview.problems = std::move(problems);
    preview.summary = preview.problems.empty() ? std::string() : preview.problems.front();
    preview.details.assign(preview.problems.begin(), preview.problems.end());
    return preview;
}

PlanPreview PreviewEntryPlan(const DayStore& store, const EntryPlan& plan, bool automatic_update) {
    const PlanEffect effect = EvaluatePlan(store, plan, automatic_update);
    PlanPreview preview;
    preview.first_slot = plan.first_slot;
    preview.last_slot = plan.last_slot;
    preview.changed = effect.inserted;
    preview.full = effect.refused;

    const std::size_t changed = preview.changed.size();
    const std::size_t full = preview.full.size();
    preview.summary
        = changed == 0 ? "No day gets the entry" : "The entry goes into " + Days(changed);
    if (full > 0)
        preview.summary += "; " + Days(full) + " " + std::string(Be(full)) + " full";
    preview.summary += ".";
    // The rule that drops the record bites only after OK; say so now.
    const bool record_refused = automatic_update && !effect.record_due;
    if (record_refused) {
        preview.summary += " More than " + std::to_string(kMaxRefusalsForRecord)
            + " days are full: Automatic Update keeps no record.";
    }

    if (full > 0)
        preview.details.push_back(
            Days(full) + " " + std::string(Be(full)) + " full: " + DayList(store, preview.full));
    if (record_refused)
        preview.details.emplace_back(
            "Without its record, cycling the calendar will not add the entry to new days.");
    else if (effect.record_due)
        preview.details.push_back("Automatic Update adds the record: " + plan.record);
    if (changed > 0)
        preview.details.push_back("Gets the entry: " + DayList(store, preview.changed));
    return preview;
}

PlanPreview PreviewDeletePlan(const DayStore& store, const DeletePlan& plan) {
    PlanPreview preview;
    preview.first_slot = plan.first_slot;
    preview.last_slot = plan.last_slot;
    preview.changed = plan.days;
    preview.discontinued = plan.discontinued;
    // Days that hold the text but no entry equal to it: OK leaves them as they are, which a user
    // who sees the text there would not expect.
    std::size_t next = 0;
    for (int slot = plan.first_slot; slot <= plan.last_slot; ++slot) {
        if (next < plan.days.size() && plan.days[next] == slot) {
            ++next;
            continue;
        }
        const std::string_view entries
            = std::string_view(store[slot]).substr(std::min(store[slot].size(), kDateKeyLength));
        if (!plan.text.empty() && entries.find(plan.text) != std::string_view::npos)
            preview.found_kept.push_back(slot);
    }

    const std::size_t changed = preview.changed.size();
    const std::size_t records = preview.discontinued.size();
    preview.summary
        = changed == 0 ? "No day holds the entry." : "The entry goes from " + Days(changed) + ".";
    if (plan.discontinue) {
        preview.summary += records == 0 ? std::string(" No record holds it.")
                                        : " " + Count(records, "record", "records") + " "
                + std::string(Be(records)) + " discontinued.";
    }

    if (!preview.found_kept.empty())
        preview.details.push_back(
            "Only inside longer entries, kept: " + DayList(store, preview.found_kept));
    if (records > 0) {
        preview.details.emplace_back("Discontinued records of fdat.ovd:");
        preview.details.insert(
            preview.details.end(), plan.discontinued.begin(), plan.discontinued.end());
    }
    if (changed > 0)
        preview.details.push_back("Loses the entry: " + DayList(store, preview.changed));
    return preview;
}

std::vector<DayMark> RangeMarks(const PlanPreview& preview) {
    if (preview.refused() || preview.last_slot < preview.first_slot)
        return {};
    std::vector<DayMark> marks(
        static_cast<std::size_t>(preview.last_slot - preview.first_slot + 1), DayMark::kInRange);
    const auto mark = [&](const std::vector<int>& slots, DayMark as) {
        for (int slot : slots) {
            if (slot >= preview.first_slot && slot <= preview.last_slot)
                marks[static_cast<std::size_t>(slot - preview.first_slot)] = as;
        }
    };
    mark(preview.changed, DayMark::kChanged);
    mark(preview.found_kept, DayMark::kFoundKept);
    mark(preview.full, DayMark::kFull);
    return marks;
}

std::string ShortDay(const Date& date, bool with_year) {
    std::string text(kMonthAbbreviations[static_cast<unsigned>(date.month()) - 1]);
    text += ' ';
    text += std::to_string(static_cast<unsigned>(date.day()));
    if (with_year) {
        text += ' ';
        text += std::to_string(static_cast<int>(date.year()));
    }
    return text;
}

std::string DayList(const DayStore& store, const std::vector<int>& slots) {
    std::vector<Date> dates;
    dates.reserve(slots.size());
    for (int slot : slots) {
        if (slot < 1 || slot > kSlotCount)
            continue;
        if (const auto date = ParseDateKey(store[slot]))
            dates.push_back(*date);
    }
    const bool one_year = std::all_of(dates.begin(), dates.end(),
        [&](const Date& date) { return date.year() == dates.front().year(); });
    std::string list;
    list.reserve(dates.size() * (one_year ? 8 : 13));
    for (const Date& date : dates) {
        if (!list.empty())
            list += ", ";
        list += ShortDay(date, !one_year);
    }
    return list;
}

std::string MarkedDaysText(const DayStore& store, const PlanPreview& preview, bool deleting) {
    if (preview.refused())
        return "No day is marked.";
    std::string text;
    const auto group = [&](std::string_view name, const std::vector<int>& slots) {
        if (slots.empty())
            return;
        if (!text.empty())
            text += ' ';
        text += name;
        text += ": ";
        text += DayList(store, slots);
        text += '.';
    };
    group(deleting ? "Loses the entry" : "Gets the entry", preview.changed);
    group("Full", preview.full);
    group("Holds it inside longer entries", preview.found_kept);
    return text.empty() ? "No day is marked." : text;
}

} // namespace orvane
