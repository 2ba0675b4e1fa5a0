#include "ical/ical_export.h"
#include "ical/ical_import.h"
#include "ical/tests/ical_test_support.h"

#include "core/calendar_document.h"
#include "core/entry_limit.h"
#include "recurring/recurring_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

namespace orvane {
namespace {

using namespace orvane::testing;

const std::vector<std::string> kWords = { "Dentist 9:30", "Call Bob, then Anna", "Gym",
    "Caf\xE9 with L\xE9onie", "Pay \x80 120; rent", "\x93Quoted\x94 \x85 and more", "Back\\slash",
    "Trademark\x99", "Gym", "A much longer entry that reads like a sentence of a diary" };

std::vector<std::string> Records() {
    return { DailyRecordLine("Dec/30/2023", 9, "Pills"), WeeklyRecordLine(3, kEveryWeek, 0, "Gym"),
        WeeklyRecordLine(6, 2, 0, "Club night"), WeeklyRecordLine(1, kLastOfMonth, 3, "Clocks"),
        MonthlyRecordLine("EM", "Rent \x80"), MonthlyRecordLine("31", "Long month"),
        YearlyRecordLine("Feb/29/2024", "Leap day"), YearlyRecordLine("Oct/31/2024", "Party") };
}

// A calendar as the program fills it: typed entries, then every record written in front of
// the entries of each day it matches, in file order (as the dialogs and cycling do).
DayStore FilledCalendar(const Date& today, unsigned seed, std::string& fdat) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> count(0, 4);
    std::uniform_int_distribution<std::size_t> word(0, kWords.size() - 1);
    DayStore store = EmptyCalendar(today);
    for (int slot = 1; slot <= kCalendarDays; ++slot) {
        for (int n = count(random); n > 0; --n)
            store[slot] += kWords[word(random)] + kEntrySeparator;
    }
    fdat.clear();
    for (const std::string& line : Records()) {
        fdat += line + std::string(kRecordEnd);
        const auto record = ParseRecord(line);
        for (int slot = 1; slot <= kCalendarDays; ++slot) {
            if (Matches(*record, *ParseDateKey(store[slot])))
                InsertFirstEntry(store[slot], record->text);
        }
    }
    return store;
}

// Exports `original` and imports the file into a calendar of the same dates with no entries.
DayStore RoundTrip(const DayStore& original, const std::string& fdat) {
    const auto exported = ExportCalendar(original, fdat, std::nullopt, {});
    EXPECT_TRUE(exported);
    const Date first = *ParseDateKey(original[1]);
    const auto plan = PlanImport(exported->ics, EmptyCalendar(first));
    EXPECT_TRUE(plan) << plan.error().note;
    EXPECT_TRUE(plan->problems.empty());
    EXPECT_TRUE(plan->FullDays().empty());

    const auto dir = std::filesystem::temp_directory_path() / "orvane_ical_round_trip";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    CalendarDocument document(DataFolder { dir });
    document.Adopt(EmptyCalendar(first), DateKey(first));
    ImportOutcome outcome;
    document.Run(OperationKind::kImport, "Import",
        [&](DocumentEdit& edit) { outcome = ApplyImportPlan(edit, *plan); });
    EXPECT_TRUE(outcome.error);
    std::filesystem::remove_all(dir);
    return document.store();
}

class IcalRoundTrip : public ::testing::TestWithParam<Date> { };

// A day whose record entries lead it, as the program leaves a day, comes back entry for entry:
// the records' rules list their entries first (the record nearest the end of fdat.ovd first, as
// cycling writes them), then the day's own entries in their order. On a day where a typed entry
// leads the records, the record entries come back first: the same entries, the day's own in
// their order.
TEST_P(IcalRoundTrip, GivesTheSameDays) {
    std::string fdat;
    DayStore original = FilledCalendar(GetParam(), 7, fdat);
    for (int slot = 1; slot <= kCalendarDays; slot += 3)
        InsertFirstEntry(original[slot], "Typed first");
    const DayStore imported = RoundTrip(original, fdat);
    std::vector<std::string> record_texts;
    for (const std::string& line : Records())
        record_texts.push_back(ParseRecord(line)->text);
    const auto own_entries = [&](const std::vector<std::string>& entries) {
        std::vector<std::string> own;
        std::copy_if(
            entries.begin(), entries.end(), std::back_inserter(own), [&](const std::string& entry) {
                return std::find(record_texts.begin(), record_texts.end(), entry)
                    == record_texts.end();
            });
        return own;
    };
    for (int slot = 1; slot <= kLastImportSlot; ++slot) {
        if (slot % 3 != 1) {
            ASSERT_EQ(imported[slot], original[slot]) << "slot " << slot;
            continue;
        }
        std::vector<std::string> before = Entries(original[slot]);
        std::vector<std::string> after = Entries(imported[slot]);
        ASSERT_EQ(own_entries(after), own_entries(before)) << "slot " << slot;
        std::sort(before.begin(), before.end());
        std::sort(after.begin(), after.end());
        ASSERT_EQ(after, before) << "slot " << slot;
    }
    for (int slot = kLastImportSlot + 1; slot <= kCalendarDays; ++slot)
        EXPECT_EQ(EntryCount(imported[slot]), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, IcalRoundTrip, ::testing::Values(D(2024, 1, 10), D(1999, 12, 30), D(2097, 6, 1)));

} // namespace
} // namespace orvane
