#include "recurring/scheduling.h"

#include "core/entry_limit.h"
#include "core/text_file.h"
#include "recurring/recurring_record.h"

#include <chrono>

namespace orvane {

namespace {

// The slots from `from_slot` whose dates (counted from `from`) do not pass `to` or slot 735.
int LastSlotOfRange(int from_slot, const Date& from, const Date& to) {
    const auto span = (std::chrono::sys_days(to) - std::chrono::sys_days(from)).count();
    if (span < 0)
        return from_slot - 1;
    const long long last = from_slot + span;
    return static_cast<int>(std::min<long long>(last, kLastShownSlot));
}

} // namespace

std::optional<int> FindSlot(const DayStore& store, const Date& date) {
    for (int slot = 1; slot <= kCalendarDays; ++slot) {
        const auto key = ParseDateKey(store[slot]);
        if (key && *key == date)
            return slot;
    }
    return std::nullopt;
}

std::optional<EntryPlan> PlanDaily(
    const DayStore& store, const Date& from, const Date& to, int interval, std::string_view text) {
    const auto from_slot = FindSlot(store, from);
    if (!from_slot || interval < 1)
        return std::nullopt;
    EntryPlan plan;
    const int last = LastSlotOfRange(*from_slot, from, to);
    plan.first_slot = *from_slot;
    plan.last_slot = last;
    for (int slot = *from_slot; slot <= last; slot += interval)
        plan.visits.push_back({ slot, true });
    // The record's anchor is the last day visited; with none, the From day itself.
    const int anchor = plan.visits.empty() ? *from_slot : plan.visits.back().slot;
    plan.record = DailyRecordLine(DateKeyView(store[anchor]).key(), interval, text);
    return plan;
}

std::optional<EntryPlan> PlanWeekly(const DayStore& store, const Date& from, const Date& to,
    int occurrence, bool begin_month_only, std::string_view text) {
    const auto from_slot = FindSlot(store, from);
    if (!from_slot)
        return std::nullopt;
    const int weekday = WeekdayNumber(from);
    const int month_filter
        = begin_month_only ? static_cast<int>(static_cast<unsigned>(from.month())) : 0;
    RecurringRecord rule;
    rule.kind = RecordKind::kWeekly;
    rule.weekday = weekday;
    rule.occurrence = occurrence;
    rule.month_filter = month_filter;
    EntryPlan plan;
    const int last = LastSlotOfRange(*from_slot, from, to);
    plan.first_slot = *from_slot;
    plan.last_slot = last;
    for (int slot = *from_slot; slot <= last; ++slot) {
        const auto date = ParseDateKey(store[slot]);
        if (!date || WeekdayNumber(*date) != weekday)
            continue;
        plan.visits.push_back({ slot, Matches(rule, *date) });
    }
    plan.record = WeeklyRecordLine(weekday, occurrence, month_filter, text);
    return plan;
}

std::optional<EntryPlan> PlanMonthly(const DayStore& store, const Date& from, const Date& to,
    bool last_day_of_month, std::string_view text) {
    const auto from_slot = FindSlot(store, from);
    if (!from_slot)
        return std::nullopt;
    const std::string field = DayField(static_cast<int>(static_cast<unsigned>(from.day())));
    EntryPlan plan;
    const int last = LastSlotOfRange(*from_slot, from, to);
    plan.first_slot = *from_slot;
    plan.last_slot = last;
    for (int slot = *from_slot; slot <= last; ++slot) {
        const std::string_view day_field = DateKeyView(store[slot]).day_field();
        bool hit = false;
        if (last_day_of_month) {
            const auto date = ParseDateKey(store[slot]);
            hit = date && *date == LastDayOfMonth(*date);
        } else {
            hit = day_field == field;
        }
        if (hit)
            plan.visits.push_back({ slot, true });
    }
    plan.record = MonthlyRecordLine(last_day_of_month ? "EM" : field, text);
    return plan;
}

std::optional<EntryPlan> PlanYearly(
    const DayStore& store, const Date& begin, std::string_view text) {
    const auto begin_slot = FindSlot(store, begin);
    if (!begin_slot || *begin_slot > kLastShownSlot)
        return std::nullopt;
    const std::string key = DateKey(begin);
    EntryPlan plan;
    plan.first_slot = *begin_slot;
    plan.last_slot = kLastShownSlot;
    for (int slot = *begin_slot; slot <= kLastShownSlot; ++slot) {
        if (DateKeyView(store[slot]).month_and_day() == DateKeyView(key).month_and_day())
            plan.visits.push_back({ slot, true });
    }
    plan.record = YearlyRecordLine(key, text);
    return plan;
}

PlanEffect EvaluatePlan(const DayStore& store, const EntryPlan& plan, bool automatic_update) {
    PlanEffect effect;
    for (const DayVisit& visit : plan.visits) {
        // Each day is visited once, so what is found full now is full when the entry comes.
        if (IsFull(CheckMaxRecs(store, visit.slot)))
            effect.refused.push_back(visit.slot);
        else if (visit.insert)
            effect.inserted.push_back(visit.slot);
    }
    effect.record_due = RecordKept(automatic_update, effect.refused.size());
    return effect;
}

EntryOutcome ApplyEntryPlan(
    DocumentEdit& edit, const EntryPlan& plan, std::string_view text, bool automatic_update) {
    EntryOutcome outcome;
    const DataFolder& data = edit.data();
    if (automatic_update) {
        // Opening the file first means a failed append can never follow changed days.
        Status can_append = edit.AppendFile(data.fdat(), "", /*create=*/true);
        if (!can_append) {
            outcome.error = std::move(std::move(can_append).error().Also("No day was changed."));
            return outcome;
        }
    }
    const PlanEffect effect = EvaluatePlan(edit.store(), plan, automatic_update);
    std::size_t next_refusal = 0;
    std::size_t next_insertion = 0;
    for (const DayVisit& visit : plan.visits) {
        if (next_refusal < effect.refused.size() && effect.refused[next_refusal] == visit.slot) {
            ++next_refusal;
            Status logged = AppendErrorLog(edit, edit.store()[visit.slot], text);
            if (!logged) {
                // No "see Error Log" box for this day: its log line is missing.
                outcome.error = std::move(std::move(logged).error().Also(outcome.days_changed
                        ? "The days before this one were written; the recurring record was not "
                          "stored."
                        : "No day was changed."));
                return outcome;
            }
            outcome.refused.push_back(visit.slot);
            continue;
        }
        if (next_insertion < effect.inserted.size()
            && effect.inserted[next_insertion] == visit.slot) {
            ++next_insertion;
            InsertFirstEntry(edit.Day(visit.slot), text);
            outcome.days_changed = true;
        }
    }
    if (effect.record_due) {
        std::string bytes = plan.record;
        bytes += kRecordEnd;
        Status appended = edit.AppendFile(data.fdat(), bytes, /*create=*/true);
        if (!appended) {
            outcome.error = std::move(std::move(appended).error().Also(outcome.days_changed
                    ? "The days were written; the recurring record was not stored."
                    : "The recurring record was not stored."));
            return outcome;
        }
        outcome.record_appended = true;
    }
    return outcome;
}

} // namespace orvane
