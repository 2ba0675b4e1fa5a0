// Fuzzes the recurring-entry file fdat.ovd: its records and the days they reach, the delete that
// rewrites it without the records holding a text, the rewrite and the record application of a
// cycle, and the plan each entry dialog makes for a record of the same kind.
#include "core/date_key.h"
#include "core/day_file.h"
#include "core/testing/document_testing.h"
#include "core/text_file.h"
#include "cycling/calendar_cycle.h"
#include "fuzz/fuzz_check.h"
#include "recurring/delete_entry.h"
#include "recurring/recurring_record.h"
#include "recurring/scheduling.h"

#include <algorithm>
#include <memory>

namespace orvane::fuzz {
namespace {

using std::chrono::sys_days;

constexpr std::size_t kCheckedRecords = 8; // per input, so one input stays fast

// A calendar from Sunday 7 January 2024 (so it holds 29 February 2024).
const DayStore& FixedStore() {
    static const DayStore store = [] {
        DayStore s;
        NewCalendar(MakeDate(2024, 1, 7), s);
        for (int i = 0; i < kMaxEntries - 2; ++i)
            s[731] += "Busy\a";
        s[733] += "Dentist\aCall Bob\a";
        return s;
    }();
    return store;
}

// A data folder under a file: a full day's error-log line can never be written, nothing reaches
// the disk.
const DataFolder kNoDisk { "/dev/null/csystem" };

// The date of a slot of the fixed calendar, slot in [1, 738].
Date StoreDate(int slot) {
    static const std::vector<Date> dates = [] {
        std::vector<Date> d(kCalendarDays + 1);
        for (int s = 1; s <= kCalendarDays; ++s)
            d[static_cast<std::size_t>(s)] = *ParseDateKey(FixedStore()[s]);
        return d;
    }();
    return dates.at(static_cast<std::size_t>(slot));
}

// Days from 1901 to 2099 spread over every month and weekday, and a few far outside.
const std::vector<Date>& SpreadOfDates() {
    static const std::vector<Date> dates = [] {
        std::vector<Date> d;
        for (int n = 0; n < 72683; n += 997)
            d.push_back(AddDays(MakeDate(1901, 1, 1), n));
        for (const Date& odd :
            { MakeDate(1900, 2, 28), MakeDate(2000, 2, 29), MakeDate(2099, 12, 31),
                MakeDate(2100, 3, 1), MakeDate(0, 1, 1), MakeDate(0, 2, 29), MakeDate(9999, 12, 31),
                MakeDate(1582, 10, 4), MakeDate(-32767, 1, 1), MakeDate(32767, 12, 31) })
            d.push_back(odd);
        return d;
    }();
    return dates;
}

void CheckMatches(const RecurringRecord& record) {
    for (const Date& date : SpreadOfDates()) {
        const bool hit = Matches(record, date);
        if (record.kind == RecordKind::kWeekly && hit)
            ORVANE_FUZZ_CHECK(WeekdayNumber(date) == record.weekday);
    }
    switch (record.kind) {
    case RecordKind::kDaily:
        ORVANE_FUZZ_CHECK(!Matches(record, record.anchor));
        for (int k = 1; k <= 3; ++k)
            ORVANE_FUZZ_CHECK(Matches(record, AddDays(record.anchor, k * record.interval)));
        break;
    case RecordKind::kMonthly:
        for (const Date& date : SpreadOfDates()) {
            const Date wanted = record.end_of_month
                ? LastDayOfMonth(date)
                : Date { date.year(), date.month(),
                      std::chrono::day(static_cast<unsigned>(record.day)) };
            if (wanted.ok())
                ORVANE_FUZZ_CHECK(Matches(record, wanted));
        }
        break;
    case RecordKind::kYearly:
        for (const int year : { 1901, 2024, 2099 }) {
            const Date wanted = MakeDate(
                year, static_cast<unsigned>(record.month), static_cast<unsigned>(record.day));
            if (wanted.ok())
                ORVANE_FUZZ_CHECK(Matches(record, wanted));
        }
        break;
    case RecordKind::kWeekly:
        break;
    }
}

// A plan visits days of the fixed calendar between its dates, never past slot 735, in slot
// order; its record reads back as the same kind of record with the same text.
std::optional<RecurringRecord> CheckPlanShape(const std::optional<EntryPlan>& plan, int from_slot,
    int last_slot, const RecurringRecord& record) {
    ORVANE_FUZZ_CHECK(plan.has_value());
    int previous = 0;
    for (const DayVisit& visit : plan->visits) {
        ORVANE_FUZZ_CHECK(visit.slot > previous && visit.slot >= from_slot);
        ORVANE_FUZZ_CHECK(visit.slot <= last_slot && visit.slot <= kLastShownSlot);
        previous = visit.slot;
    }
    const auto written = ParseRecord(plan->record);
    ORVANE_FUZZ_CHECK(written && written->kind == record.kind && written->text == record.text);
    return written;
}

void CheckPlans(const RecurringRecord& record, std::uint64_t hash) {
    const DayStore& store = FixedStore();
    const int span = static_cast<int>(hash % 800);
    const int offset = static_cast<int>((hash >> 12) % 100);
    switch (record.kind) {
    case RecordKind::kDaily: {
        const int from_slot = 1
            + static_cast<int>(
                (sys_days(record.anchor).time_since_epoch().count() % 735 + 735) % 735);
        const Date from = StoreDate(from_slot);
        const auto plan = PlanDaily(store, from, AddDays(from, span), record.interval, record.text);
        const auto written = CheckPlanShape(plan, from_slot, from_slot + span, record);
        ORVANE_FUZZ_CHECK(written->interval == record.interval);
        ORVANE_FUZZ_CHECK(!plan->visits.empty() && plan->visits.front().slot == from_slot);
        for (const DayVisit& visit : plan->visits)
            ORVANE_FUZZ_CHECK((visit.slot - from_slot) % record.interval == 0);
        ORVANE_FUZZ_CHECK(written->anchor == StoreDate(plan->visits.back().slot));
        break;
    }
    case RecordKind::kWeekly: {
        const int from_slot = record.weekday + 7 * offset; // slot 1 is a Sunday
        const Date from = StoreDate(from_slot);
        const auto plan = PlanWeekly(store, from, AddDays(from, span), record.occurrence,
            record.month_filter != 0, record.text);
        const auto written = CheckPlanShape(plan, from_slot, from_slot + span, record);
        ORVANE_FUZZ_CHECK(written->weekday == record.weekday);
        ORVANE_FUZZ_CHECK(written->occurrence == record.occurrence);
        // Every such weekday in the range is visited: a full one must be refused.
        const int last = std::min(from_slot + span, kLastShownSlot);
        ORVANE_FUZZ_CHECK(
            plan->visits.size() == static_cast<std::size_t>((last - from_slot) / 7 + 1));
        for (const DayVisit& visit : plan->visits)
            ORVANE_FUZZ_CHECK(visit.insert == Matches(*written, StoreDate(visit.slot)));
        break;
    }
    case RecordKind::kMonthly:
    case RecordKind::kYearly: {
        // The first day of the calendar from `offset` on that the record reaches.
        int from_slot = 0;
        for (int slot = 1 + offset * 3; slot <= kLastShownSlot && from_slot == 0; ++slot) {
            if (Matches(record, StoreDate(slot)))
                from_slot = slot;
        }
        if (from_slot == 0)
            break;
        const Date from = StoreDate(from_slot);
        const auto plan = record.kind == RecordKind::kMonthly
            ? PlanMonthly(store, from, AddDays(from, span), record.end_of_month, record.text)
            : PlanYearly(store, from, record.text);
        const int last = record.kind == RecordKind::kMonthly ? from_slot + span : kLastShownSlot;
        const auto written = CheckPlanShape(plan, from_slot, last, record);
        // The days visited are exactly the days in range that the record reaches.
        std::size_t reached = 0;
        for (int slot = from_slot; slot <= std::min(last, kLastShownSlot); ++slot)
            reached += Matches(*written, StoreDate(slot)) ? 1 : 0;
        ORVANE_FUZZ_CHECK(reached == plan->visits.size());
        for (const DayVisit& visit : plan->visits)
            ORVANE_FUZZ_CHECK(visit.insert && Matches(*written, StoreDate(visit.slot)));
        break;
    }
    }
}

std::vector<std::string> NonEmpty(const std::vector<std::string>& lines) {
    std::vector<std::string> kept;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(kept),
        [](const std::string& line) { return !line.empty(); });
    return kept;
}

// The delete keeps, in order, every non-empty line that does not hold the text, ends with a
// single CR, and deleting the same text again changes nothing.
void CheckDelete(
    std::string_view bytes, const std::vector<std::string>& lines, std::string_view needle) {
    const std::string kept = RecordsWithout(bytes, needle);
    ORVANE_FUZZ_CHECK(kept.ends_with('\r'));
    ORVANE_FUZZ_CHECK(RecordsWithout(kept, needle) == kept);
    std::vector<std::string> expected;
    for (const std::string& line : lines) {
        if (!line.empty() && !RecordHolds(line, needle))
            expected.push_back(line);
    }
    ORVANE_FUZZ_CHECK(NonEmpty(RecordFileLines(kept)) == expected);
}

// A cycle writes back the records it read without the empty lines, and applies each valid one to
// the new week behind the entry limit, leaving every other day alone; its report holds exactly
// the days that changed.
void CheckCycle(const std::vector<std::string>& lines) {
    const std::string rewritten = RewrittenRecordFile(lines);
    const std::vector<std::string> reread = RecordFileLines(rewritten);
    ORVANE_FUZZ_CHECK(RewrittenRecordFile(reread) == rewritten);
    ORVANE_FUZZ_CHECK(NonEmpty(reread) == NonEmpty(lines));

    auto store = std::make_unique<DayStore>(FixedStore());
    std::vector<std::string> messages;
    Status applied;
    const ChangeReport report = RunOperation(
        *store, kNoDisk, [&](DocumentEdit& edit) { applied = ApplyRecords(edit, lines, messages); },
        OperationKind::kCycle);
    ORVANE_FUZZ_CHECK(report.files.empty());
    const DayStore& before = FixedStore();
    std::size_t changed = 0;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const std::string& day = (*store)[slot];
        ORVANE_FUZZ_CHECK(report.Touches(slot) == (day != before[slot]));
        changed += day != before[slot] ? 1 : 0;
        if (slot < kNewWeekFirstSlot || slot > kLastShownSlot) {
            ORVANE_FUZZ_CHECK(day == before[slot]);
            continue;
        }
        ORVANE_FUZZ_CHECK(EntryCount(day) <= kMaxEntries);
        ORVANE_FUZZ_CHECK(day.starts_with(before[slot].substr(0, kDateKeyLength)));
        ORVANE_FUZZ_CHECK(day.ends_with(before[slot].substr(kDateKeyLength)));
    }
    ORVANE_FUZZ_CHECK(report.days.size() == changed);
    if (applied) {
        std::size_t invalid = 0;
        for (const std::string& line : lines)
            invalid += !line.empty() && !ParseRecord(line) ? 1 : 0;
        ORVANE_FUZZ_CHECK(static_cast<std::size_t>(
                              std::count(messages.begin(), messages.end(), kInvalidRecordMessage))
            == invalid);
    }
}

} // namespace
} // namespace orvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvane;
    using namespace orvane::fuzz;
    const std::string_view bytes = Bytes(data, size);
    const std::uint64_t hash = InputHash(bytes);
    const std::vector<std::string> lines = RecordFileLines(bytes);

    std::string needle; // what a delete looks for: a valid record's text, or part of the input
    std::size_t checked = 0;
    for (const std::string& line : lines) {
        const auto record = ParseRecord(line);
        if (!record)
            continue;
        ORVANE_FUZZ_CHECK(!record->text.empty() && record->text.size() <= kMaxRecordText);
        ORVANE_FUZZ_CHECK(record->text.find(kEntrySeparator) == std::string::npos);
        ORVANE_FUZZ_CHECK(
            std::string_view(line).substr(TextOffset(line[0])).starts_with(record->text));
        if (needle.empty())
            needle = record->text.substr(0, 1 + hash % record->text.size());
        if (checked++ < kCheckedRecords) {
            CheckMatches(*record);
            CheckPlans(*record, hash);
        }
    }
    if (needle.empty() && !bytes.empty())
        needle = std::string(bytes.substr(hash % bytes.size(), 1 + (hash >> 8) % 8));
    CheckDelete(bytes, lines, needle);
    CheckCycle(lines);
    return 0;
}
