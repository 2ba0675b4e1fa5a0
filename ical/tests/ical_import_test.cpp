#include "ical/ical_import.h"
#include "ical/ical_summary.h"
#include "ical/ics_outline.h"
#include "ical/tests/ical_test_support.h"

#include "core/calendar_document.h"
#include "core/entry_limit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace orvane {
namespace {

using namespace orvane::testing;

// The entries a plan gives each day it does not refuse, by date, in the plan's order.
std::map<Date, std::vector<std::string>> Days(const ImportPlan& plan) {
    std::map<Date, std::vector<std::string>> days;
    for (const ImportItem& item : plan.items) {
        if (!item.refused)
            days[item.date].push_back(item.text);
    }
    return days;
}

using DayList = std::map<Date, std::vector<std::string>>;

// The time budget is a backstop against crafted files; these tests check the rules themselves,
// also on a slow sanitizer build of a busy machine.
ImportPlan Plan(const std::string& fixture, const std::string& zone = "Europe/Berlin") {
    ImportOptions options;
    options.zone = zone;
    options.time_budget = std::chrono::minutes(5);
    auto plan = PlanImport(Fixture(fixture), Calendar2024(), options);
    EXPECT_TRUE(plan) << fixture << ": " << (plan ? "" : plan.error().note);
    return plan ? *plan : ImportPlan {};
}

TEST(IcalImport, AllDayEventsCoverEveryDayUpToTheirExclusiveEnd) {
    const ImportPlan plan = Plan("folded_allday.ics");
    const DayList expected {
        { D(2024, 1, 7), { "Spans the first day" } },
        { D(2024, 1, 8), { "Spans the first day" } },
        { D(2024, 3, 14), { "A summary that is folded across two lines" } },
        { D(2024, 3, 20), { "Holiday" } },
        { D(2024, 3, 21), { "Holiday" } },
        { D(2024, 3, 22), { "Holiday" } },
        { D(2024, 4, 1), { "No end: one day" } },
        { D(2024, 4, 10), { "Two days by duration" } },
        { D(2024, 4, 11), { "Two days by duration" } },
    };
    EXPECT_EQ(Days(plan), expected);
    EXPECT_EQ(plan.events, 5);
    EXPECT_TRUE(plan.problems.empty());
}

TEST(IcalImport, TimedEventsShowTheirStartInTheirOwnZoneAndUtcInTheTargetZone) {
    const DayList berlin {
        { D(2024, 3, 14), { "9:30 Dentist", "22:05 Late call" } },
        { D(2024, 3, 15), { "0:05 UTC call", "14:05 Floating" } },
        { D(2024, 7, 1), { "14:00 Summer noon UTC" } },
    };
    const ImportPlan in_berlin = Plan("zones.ics", "Europe/Berlin");
    EXPECT_EQ(Days(in_berlin), berlin);
    EXPECT_EQ(in_berlin.zone, "Europe/Berlin");

    const DayList utc {
        { D(2024, 3, 14), { "9:30 Dentist", "22:05 Late call", "23:05 UTC call" } },
        { D(2024, 3, 15), { "14:05 Floating" } },
        { D(2024, 7, 1), { "12:00 Summer noon UTC" } },
    };
    for (const std::string zone : { "", "UTC", "Nowhere/Atlantis" }) {
        const ImportPlan plan = Plan("zones.ics", zone);
        EXPECT_EQ(Days(plan), utc) << zone;
        EXPECT_EQ(plan.zone, "UTC") << zone;
    }
}

TEST(IcalImport, RecurringEventsKeepTheirExceptions) {
    const ImportPlan plan = Plan("recurring.ics");
    const DayStore store = Calendar2024();
    DayList expected;
    // All-day events come first in a day, in file order: the birthday, then every tenth day
    // from 1 January 2000, worked out here from the calendar's own dates.
    expected[D(2024, 5, 20)].push_back("Birthday");
    expected[D(2025, 5, 20)].push_back("Birthday");
    for (int slot = 1; slot <= kLastImportSlot; ++slot) {
        const Date day = *ParseDateKey(store[slot]);
        if ((std::chrono::sys_days(day) - std::chrono::sys_days(D(2000, 1, 1))).count() % 10 == 0)
            expected[day].push_back("Every tenth day");
    }
    // Tuesdays at 9:00 New York time from 2 January up to UNTIL, without the two EXDATEs (one in
    // UTC, one in the zone), with the RDATE, the moved and the cancelled instance.
    for (const Date day :
        { D(2024, 1, 2), D(2024, 2, 6), D(2024, 2, 13), D(2024, 2, 20), D(2024, 2, 27),
            D(2024, 3, 5), D(2024, 3, 12), D(2024, 3, 19), D(2024, 3, 26), D(2024, 4, 2) }) {
        if (day >= D(2024, 1, 7))
            expected[day].push_back("9:00 Standup");
    }
    expected[D(2024, 1, 18)].push_back("9:00 Standup");
    expected[D(2024, 1, 24)].push_back("10:15 Standup moved");
    EXPECT_EQ(Days(plan), expected);
    EXPECT_EQ(plan.events, 5);
    EXPECT_EQ(plan.cancelled, 1);
    EXPECT_EQ(plan.events_outside, 1); // three days in January 2000
    EXPECT_TRUE(plan.problems.empty());
}

TEST(IcalImport, TextBecomesWindows1252WithVisibleSubstitutes) {
    const ImportPlan plan = Plan("text.ics");
    const DayList expected {
        { D(2024, 2, 1), { "Caf\xE9 au lait" } },
        { D(2024, 2, 2), { "Rent 500 \x80" } },
        { D(2024, 2, 3), { "Arrow ? here ?" } },
        { D(2024, 2, 4), { "Line one Line two, and more" } },
        { D(2024, 2, 5), { "(no title)" } },
        { D(2024, 2, 6), { "(no title)" } },
        { D(2024, 2, 7), { std::string(60, 'x') + std::string(40, 'y') } },
        { D(2024, 2, 8), { "9:00 " + std::string(95, 'z') } },
        { D(2024, 2, 9), { "Bad ? byte" } },
    };
    EXPECT_EQ(Days(plan), expected);
    EXPECT_EQ(plan.substituted, 3);
    EXPECT_EQ(plan.shortened, 2);
}

TEST(IcalImport, ABrokenEventIsReportedWithItsLineAndTheGoodOnesImport) {
    const ImportPlan plan = Plan("broken.ics");
    const DayList expected {
        { D(2024, 3, 14), { "Good one" } },
        { D(2024, 3, 16), { "Good two" } },
        { D(2024, 3, 18), { "Good three with a folded summary line" } },
        { D(2024, 3, 20), { "Good four" } },
    };
    EXPECT_EQ(Days(plan), expected);
    std::vector<std::string> problems;
    for (const ImportProblem& problem : plan.problems)
        problems.push_back(ProblemText(problem));
    EXPECT_EQ(problems,
        (std::vector<std::string> { "Line 10: its DTSTART could not be read",
            "Line 15: the event has no date (DTSTART is missing)", "Line 19: END:VEVENT is missing",
            "Line 28: its RRULE could not be read",
            "Line 40: END:VALARM is missing inside the event" }));
}

TEST(IcalImport, RulesThatWouldRunForeverAreReportedAndDoNotHang) {
    const ImportPlan plan = Plan("forever.ics", "UTC");
    std::vector<int> lines;
    for (const ImportProblem& problem : plan.problems) {
        lines.push_back(problem.line);
        EXPECT_NE(problem.note.find("more than 100000 dates"), std::string::npos) << problem.note;
    }
    EXPECT_EQ(lines, (std::vector<int> { 4, 10, 34 }));
    // Once a day, written as every 1440 minutes, and a count far beyond the calendar.
    const DayList days = Days(plan);
    EXPECT_EQ(days.size(), static_cast<std::size_t>(kLastImportSlot));
    EXPECT_EQ(days.at(D(2024, 1, 10)).front(), "Only its first day");
    for (const auto& [day, entries] : days) {
        if (day != D(2024, 1, 10) && day != D(2024, 3, 20)) {
            EXPECT_EQ(entries, (std::vector<std::string> { "Huge count", "8:00 Daily by minutes" }))
                << DateKey(day);
        }
    }
}

TEST(IcalImport, FilesThatCannotBeImportedAreRefusedWhole) {
    using std::chrono::milliseconds;
    const struct {
        std::string bytes;
        milliseconds budget;
        const char* note;
    } cases[] = {
        { Fixture("not_ical.ics"), std::chrono::minutes(5),
            "The file is not an iCalendar file: it does not begin with BEGIN:VCALENDAR. Nothing "
            "was imported." },
        { std::string("\xFF\xFE"
                      "B\0E\0G\0",
              8),
            std::chrono::minutes(5),
            "The file is not an iCalendar file: it holds zero bytes (it may be UTF-16 text). "
            "Nothing was imported." },
        { Fixture("truncated.ics"), std::chrono::minutes(5),
            "The file ends before its calendar does (END:VCALENDAR is missing); it may be "
            "incomplete. Nothing was imported." },
        { Fixture("empty.ics"), std::chrono::minutes(5), "The file holds no events." },
        { Fixture("recurring.ics"), milliseconds(0),
            "Working out the file's repeating events took too long. Nothing was imported." },
    };
    for (const auto& c : cases) {
        ImportOptions options;
        options.time_budget = c.budget;
        const auto plan = PlanImport(c.bytes, Calendar2024(), options);
        ASSERT_FALSE(plan) << c.note;
        EXPECT_EQ(plan.error().note, c.note);
    }
}

TEST(IcalImport, AFileOverTheSizeLimitOrNotARegularFileIsRefusedBeforeItIsRead) {
    // 50 MB that take no disk space: refused from the file's size alone.
    const auto path = std::filesystem::temp_directory_path() / "orvane_ical_huge.ics";
    std::filesystem::remove(path);
    ASSERT_TRUE(WriteFileAtomic(path, "BEGIN:VCALENDAR\r\n"));
    std::filesystem::resize_file(path, std::uintmax_t { 50 } << 20);
    const auto huge = ReadIcsFile(path);
    ASSERT_FALSE(huge);
    EXPECT_EQ(
        huge.error().note, "The file is larger than 16 MB and was not read. Nothing was imported.");
    std::filesystem::remove(path);

    const auto missing = ReadIcsFile(path);
    ASSERT_FALSE(missing);
    EXPECT_TRUE(IsMissingFile(missing.error()));

#ifndef _WIN32
    // A device that never ends and a pipe that nothing writes to are refused at once.
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    for (const std::filesystem::path& endless : { std::filesystem::path("/dev/zero"), path }) {
        const auto refused = ReadIcsFile(endless);
        ASSERT_FALSE(refused) << endless;
        ASSERT_TRUE(refused.error().io.has_value());
        EXPECT_EQ(refused.error().io->reason, "it is not a regular file");
        EXPECT_EQ(refused.error().note, "Nothing was imported.");
    }
    std::filesystem::remove(path);
#endif
}

TEST(IcalImport, ConcatenatedCalendarsAndLoneCrLineEndsAreRead) {
    std::string bytes = "BEGIN:VCALENDAR\rBEGIN:VEVENT\rDTSTART;VALUE=DATE:20240314\r"
                        "SUMMARY:One\rEND:VEVENT\rEND:VCALENDAR\r"
                        "BEGIN:VCALENDAR\rBEGIN:VEVENT\rDTSTART;VALUE=DATE:20240315\r"
                        "SUMMARY:Two\rEND:VEVENT\rEND:VCALENDAR\r";
    const auto plan = PlanImport(bytes, Calendar2024());
    ASSERT_TRUE(plan);
    EXPECT_EQ(
        Days(*plan), (DayList { { D(2024, 3, 14), { "One" } }, { D(2024, 3, 15), { "Two" } } }));
    EXPECT_EQ(OutlineIcs(bytes).events.at(1).line, 8);
}

// A day lists the all-day events first, then the timed ones by time, in front of its own
// entries; an event that would pass the entry limit is refused and logged. The import is one
// operation that changes nothing when the log cannot be written or the calendar cycled since.
TEST(IcalImport, ADayTakesAllDayEventsFirstThenByTimeUpToTheLimitOrNothingChanges) {
    std::string bytes = "BEGIN:VCALENDAR\r\n";
    const char* events[] = { "DTSTART:20240314T140500\r\nSUMMARY:Call",
        "DTSTART:20240314T093000\r\nSUMMARY:Dentist", "DTSTART;VALUE=DATE:20240314\r\nSUMMARY:Trip",
        "DTSTART;VALUE=DATE:20240315\r\nSUMMARY:A", "DTSTART;VALUE=DATE:20240315\r\nSUMMARY:B",
        "DTSTART;VALUE=DATE:20240315\r\nSUMMARY:C" };
    for (const char* event : events)
        bytes += std::string("BEGIN:VEVENT\r\n") + event + "\r\nEND:VEVENT\r\n";
    bytes += "END:VCALENDAR\r\n";
    DayStore store = Calendar2024();
    const int thursday = SlotOf(store, D(2024, 3, 14));
    const int friday = SlotOf(store, D(2024, 3, 15));
    store[thursday] += "Old\a";
    store[friday] += std::string(kMaxEntries - 2, kEntrySeparator);
    const auto plan = PlanImport(bytes, store);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->FullDays(), std::vector<int> { friday });

    const auto dir = std::filesystem::temp_directory_path() / "orvane_ical_apply";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "rdat.ovd"); // a folder where the log should be
    CalendarDocument document(DataFolder { dir });
    document.Adopt(store, DateKey(D(2024, 3, 1)));
    ImportOutcome outcome;
    const auto apply = [&] {
        return document.Run(OperationKind::kImport, "Import 'test.ics'",
            [&](DocumentEdit& edit) { outcome = ApplyImportPlan(edit, *plan); });
    };
    EXPECT_TRUE(apply().empty());
    ASSERT_FALSE(outcome.error);
    EXPECT_NE(outcome.error.error().note.find("Nothing was imported."), std::string::npos);

    std::filesystem::remove(dir / "rdat.ovd");
    const ChangeReport report = apply();
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.inserted, 5);
    EXPECT_EQ(Entries(document.store()[thursday]),
        (std::vector<std::string> { "Trip", "9:30 Dentist", "14:05 Call", "Old" }));
    EXPECT_EQ(Entries(document.store()[friday]).front(), "A");
    EXPECT_EQ(EntryCount(document.store()[friday]), kMaxEntries);
    ASSERT_EQ(report.days.size(), 2u);
    EXPECT_EQ(report.days[0].before, store[thursday]);
    EXPECT_EQ(
        *ReadWholeFile(DataFolder { dir }.rdat()), "Mar/15/2024 C  (Error - Date NOT Updated)\r\n");

    // A calendar that cycled since the plan was made holds other days in the plan's slots.
    document.Adopt(EmptyCalendar(D(2024, 1, 17)), DateKey(D(2024, 3, 1)));
    EXPECT_TRUE(apply().empty());
    ASSERT_FALSE(outcome.error);
    EXPECT_EQ(outcome.error.error().note,
        "The calendar changed since the file was read. Nothing was imported.");
    std::filesystem::remove_all(dir);
}

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
