#include "ical/ical_summary.h"
#include "ical/tests/ical_test_support.h"

#include "core/entry_limit.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using namespace orvane::testing;

ImportItem Item(int slot, bool refused) {
    ImportItem item;
    item.slot = slot;
    item.text = "x";
    item.refused = refused;
    return item;
}

TEST(IcalSummary, PreviewCountsEntriesDaysAndNamesTheFullDays) {
    const DayStore store = Calendar2024();
    ImportPlan plan;
    plan.items = { Item(3, false), Item(3, false), Item(9, true), Item(9, true), Item(10, false),
        Item(12, true) };
    plan.events = 4;
    plan.problems = { { 12, "the event has no date (DTSTART is missing)" }, { 0, "odd" } };
    plan.zone = "Europe/Berlin";
    // Figures that are zero say nothing.
    EXPECT_EQ(ImportPreviewLines(plan, store),
        (std::vector<std::string> { "The file holds 4 events.", "3 entries go into 2 days.",
            "3 entries are refused, logged in the Error Log: 2 days hold the maximum of 20 "
            "entries:",
            "  Jan/15/2024, Jan/18/2024",
            "Times given in UTC are shown in the time zone Europe/Berlin.",
            "2 events could not be read and are left out:",
            "  Line 12: the event has no date (DTSTART is missing)", "  odd" }));
}

TEST(IcalSummary, PreviewSpeaksOfOneInTheSingular) {
    const DayStore store = Calendar2024();
    ImportPlan plan;
    plan.items = { Item(1, false) };
    plan.events = 1;
    plan.substituted = 1;
    plan.shortened = 1;
    plan.events_outside = 1;
    plan.cancelled = 1;
    plan.zone = "UTC";
    const std::vector<std::string> lines = ImportPreviewLines(plan, store);
    EXPECT_EQ(lines,
        (std::vector<std::string> { "The file holds 1 event.", "1 entry goes into 1 day.",
            "No day is full.", "1 character that Windows-1252 cannot hold is written as \"?\".",
            "1 event's text is cut to 100 characters.",
            "1 event falls outside the calendar (Jan/7 /2024 to Jan/10/2026) and is "
            "left out.",
            "1 cancelled event is left out.",
            "Times given in UTC are shown in the time zone UTC." }));
}

TEST(IcalSummary, RefusalsNameEachFullDayOnceAndCountTheRest) {
    const DayStore store = Calendar2024();
    EXPECT_EQ(ImportRefusalText({}, store), "");
    EXPECT_EQ(ImportRefusalText({ 9, 9, 9 }, store), MaxEntriesMessage(store[9]));
    std::vector<int> refused;
    for (int slot = 20; slot < 20 + kRefusalDaysShown + 2; ++slot) {
        refused.push_back(slot);
        refused.push_back(slot);
    }
    const std::string text = ImportRefusalText(refused, store);
    std::string expected;
    for (int slot = 20; slot < 20 + kRefusalDaysShown; ++slot)
        expected += MaxEntriesMessage(store[slot]) + "\n";
    expected += "... and 2 more days.";
    EXPECT_EQ(text, expected);
}

TEST(IcalSummary, ExportSaysWhatItWroteAndLeftOut) {
    IcsExport done;
    done.day_events = 5;
    done.archive_events = 2;
    done.record_events = 1;
    done.record_entries = 7;
    done.invalid_records = 1;
    EXPECT_EQ(ExportSummaryLines(done, true),
        (std::vector<std::string> {
            "8 events written: 5 day entries, 2 archived days and 1 recurring entry.",
            "7 day entries that recurring entries put into their days are written once, as part "
            "of the recurring entry.",
            "1 line of fdat.ovd is not a valid recurring entry and was left out." }));
    done.archive_events = 0;
    done.record_entries = 0;
    done.invalid_records = 0;
    EXPECT_EQ(ExportSummaryLines(done, false),
        std::vector<std::string> { "6 events written: 5 day entries and 1 recurring entry." });
}

} // namespace
} // namespace orvane
