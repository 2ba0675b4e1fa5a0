#include "ical/ical_export.h"
#include "ical/libical_support.h"
#include "ical/record_rule.h"
#include "ical/tests/ical_test_support.h"
#include "recurring/recurring_record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

namespace orvane {
namespace {

using namespace orvane::testing;
using namespace orvane::ical_support;

const std::chrono::sys_seconds kStamp { std::chrono::sys_days(D(2024, 3, 1)).time_since_epoch() };

struct ExportedEvent {
    std::string uid;
    Date start {};
    Date end {};
    std::string summary; // UTF-8
    std::string rrule;
};

// The events of an exported file, read back with libical.
std::vector<ExportedEvent> EventsOf(const std::string& ics) {
    std::vector<ExportedEvent> events;
    ComponentPtr root(icalparser_parse_string(ics.c_str()));
    EXPECT_TRUE(root);
    if (!root)
        return events;
    for (icalcomponent* c = icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT);
         c != nullptr; c = icalcomponent_get_next_component(root.get(), ICAL_VEVENT_COMPONENT)) {
        ExportedEvent event;
        event.uid = icalcomponent_get_uid(c);
        const icaltimetype start = icalcomponent_get_dtstart(c);
        EXPECT_TRUE(start.is_date);
        event.start = DateOf(start);
        event.end = DateOf(icalcomponent_get_dtend(c));
        event.summary = icalcomponent_get_summary(c);
        if (icalproperty* rrule = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY)) {
            icalrecurrencetype rule = icalproperty_get_rrule(rrule);
            event.rrule = TakeString(icalrecurrencetype_as_string_r(&rule));
        }
        EXPECT_NE(icalcomponent_get_first_property(c, ICAL_DTSTAMP_PROPERTY), nullptr);
        events.push_back(event);
    }
    return events;
}

std::vector<std::string> Summaries(const std::vector<ExportedEvent>& events, const Date& day) {
    std::vector<std::string> summaries;
    for (const ExportedEvent& event : events) {
        if (event.rrule.empty() && event.start == day)
            summaries.push_back(event.summary);
    }
    return summaries;
}

TEST(IcalExport, WritesEachEntryAsAnAllDayEventInUtf8WithCrLfLines) {
    DayStore store = Calendar2024();
    const int slot = SlotOf(store, D(2024, 3, 14));
    store[slot] += "Dentist\a  \aCaf\xE9 \x80 5\a\a";
    store[3] += std::string(90, '\x80') + "\a"; // 270 octets of UTF-8, folded at 75
    const auto exported = ExportCalendar(store, "", std::nullopt, kStamp);
    ASSERT_TRUE(exported);
    const std::string& ics = exported->ics;
    EXPECT_EQ(ics.rfind("BEGIN:VCALENDAR\r\n", 0), 0u);
    EXPECT_NE(ics.find("\r\nVERSION:2.0\r\n"), std::string::npos);
    EXPECT_NE(ics.find("\r\nPRODID:" + std::string(kIcsProductId) + "\r\n"), std::string::npos);
    EXPECT_NE(ics.find("\r\nDTSTART;VALUE=DATE:20240314\r\n"), std::string::npos);
    EXPECT_NE(ics.find("\r\nDTEND;VALUE=DATE:20240315\r\n"), std::string::npos);
    EXPECT_NE(ics.find("\r\nDTSTAMP:20240301T000000Z\r\n"), std::string::npos);
    std::size_t start = 0;
    for (std::size_t end = ics.find('\n'); end != std::string::npos; end = ics.find('\n', start)) {
        ASSERT_EQ(ics[end - 1], '\r') << "a line ends without CR at " << end;
        EXPECT_LE(end - 1 - start, 75u);
        start = end + 1;
    }

    const auto events = EventsOf(ics);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(exported->day_events, 3);
    EXPECT_EQ(exported->blank_entries, 2);
    EXPECT_EQ(events[0].summary.size(), 270u);
    EXPECT_EQ(events[1].summary, "Dentist");
    EXPECT_EQ(events[2].summary, "Caf\xC3\xA9 \xE2\x82\xAC 5");
    EXPECT_EQ(events[2].start, D(2024, 3, 14));
    EXPECT_EQ(events[2].end, D(2024, 3, 15));
}

TEST(IcalExport, UidsAreStableAndTellRepeatedEntriesApart) {
    DayStore store = Calendar2024();
    store[10] += "Gym\aGym\aSwim\a";
    store[11] += "Gym\a";
    const auto once = ExportCalendar(store, "", std::nullopt, kStamp);
    const auto twice = ExportCalendar(store, "", std::nullopt, kStamp + std::chrono::hours(5));
    ASSERT_TRUE(once && twice);
    const auto a = EventsOf(once->ics);
    const auto b = EventsOf(twice->ics);
    ASSERT_EQ(a.size(), 4u);
    std::set<std::string> uids;
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_TRUE(a[i].uid == b[i].uid && uids.insert(a[i].uid).second) << a[i].uid;
}

TEST(IcalExport, EachRecordIsOneRecurringEvent) {
    DayStore store = Calendar2024();
    const std::string fdat = WeeklyRecordLine(6, 2, 0, "Club") + std::string(kRecordEnd) + "\r\n"
        + "Xnot a record\r\n" + MonthlyRecordLine("EM", "Rent") + "\r\n";
    const auto exported = ExportCalendar(store, fdat, std::nullopt, kStamp);
    ASSERT_TRUE(exported);
    EXPECT_EQ(exported->record_events, 2);
    EXPECT_EQ(exported->invalid_records, 1);
    const auto events = EventsOf(exported->ics);
    ASSERT_EQ(events.size(), 2u);
    // The record nearest the end of the file comes first, as cycling puts it first in a day.
    EXPECT_EQ(events[0].summary, "Rent");
    EXPECT_EQ(events[0].rrule, "FREQ=MONTHLY;BYMONTHDAY=-1");
    EXPECT_EQ(events[0].start, D(2024, 1, 31));
    EXPECT_EQ(events[0].end, D(2024, 2, 1));
    EXPECT_EQ(events[1].summary, "Club");
    EXPECT_EQ(events[1].rrule, "FREQ=MONTHLY;BYDAY=2FR");
}

TEST(IcalExport, EntriesARecordPutThereAreLeftToItsRuleOncePerRecord) {
    DayStore store = Calendar2024();
    const int friday = SlotOf(store, D(2024, 1, 12)); // the second Friday of January
    const int other_friday = SlotOf(store, D(2024, 1, 19));
    store[friday] += "Club\aLunch\aClub\a";
    store[other_friday] += "Club\a";
    const std::string fdat = WeeklyRecordLine(6, 2, 0, "Club") + std::string(kRecordEnd);
    const auto exported = ExportCalendar(store, fdat, std::nullopt, kStamp);
    ASSERT_TRUE(exported);
    EXPECT_EQ(exported->record_entries, 1);
    const auto events = EventsOf(exported->ics);
    EXPECT_EQ(Summaries(events, D(2024, 1, 12)), (std::vector<std::string> { "Lunch", "Club" }));
    // The record does not match the third Friday: its "Club" is an entry of its own.
    EXPECT_EQ(Summaries(events, D(2024, 1, 19)), (std::vector<std::string> { "Club" }));

    // Two equal records each account for one entry.
    const auto doubled = ExportCalendar(store, fdat + fdat, std::nullopt, kStamp);
    ASSERT_TRUE(doubled);
    EXPECT_EQ(
        Summaries(EventsOf(doubled->ics), D(2024, 1, 12)), (std::vector<std::string> { "Lunch" }));
}

TEST(IcalExport, TheArchiveGivesOneEventPerArchivedDay) {
    const DayStore store = Calendar2024();
    const std::string archive = "Dec/3 /2023 Dentist Call Bob \r\n\r\n"
                                "Dec/4 /2023 Gym \r\n\r\n\r\n"
                                "a line the user typed\r\n"
                                "Dec/5 /2023    \r\n";
    const auto with = ExportCalendar(store, "", archive, kStamp);
    ASSERT_TRUE(with);
    EXPECT_EQ(with->archive_events, 2);
    const auto events = EventsOf(with->ics);
    EXPECT_EQ(Summaries(events, D(2023, 12, 3)), (std::vector<std::string> { "Dentist Call Bob" }));
    EXPECT_EQ(Summaries(events, D(2023, 12, 4)), (std::vector<std::string> { "Gym" }));
}

TEST(IcalExport, ReadsTheDataFilesAndReportsOneThatCannotBeRead) {
    const auto dir = std::filesystem::temp_directory_path() / "orvane_ical_export_files";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const DataFolder data { dir };
    const DayStore store = Calendar2024();
    const auto empty = ExportCalendarFiles(data, DayStore(), true, kStamp);
    ASSERT_FALSE(empty);
    EXPECT_EQ(empty.error().note, "The calendar holds no days to export.");
    // Neither file exists: no records, an empty archive.
    const auto bare = ExportCalendarFiles(data, store, true, kStamp);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->record_events + bare->archive_events + bare->day_events, 0);
    std::filesystem::create_directory(data.archive()); // exists but is no file
    const auto failed = ExportCalendarFiles(data, store, true, kStamp);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().kind, ErrorKind::kFile);
    EXPECT_NE(failed.error().note.find("Nothing was exported."), std::string::npos);
    std::filesystem::remove_all(dir);
}

struct RuleCase {
    const char* line;
    Date window_first;
    const char* rrule;
    Date first;
};

class RecordRules : public ::testing::TestWithParam<RuleCase> { };

TEST_P(RecordRules, AreTheRuleOfEachKindOfRecord) {
    const auto record = ParseRecord(GetParam().line);
    ASSERT_TRUE(record);
    const auto rule = RuleOfRecord(*record, GetParam().window_first);
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->rrule, GetParam().rrule);
    EXPECT_EQ(rule->first, GetParam().first);
}

INSTANTIATE_TEST_SUITE_P(Table, RecordRules,
    ::testing::Values(
        // A daily series continues one interval after its anchor, wherever the window is.
        RuleCase { "DJan/29/2001007  Gym", D(2024, 1, 7), "FREQ=DAILY;INTERVAL=7", D(2001, 2, 5) },
        RuleCase { "DDec/31/2025001  Walk", D(2024, 1, 7), "FREQ=DAILY;INTERVAL=1", D(2026, 1, 1) },
        // The month filter is not consulted for every week.
        RuleCase { "W1005  Sun", D(2024, 1, 7), "FREQ=WEEKLY;BYDAY=SU", D(2024, 1, 7) },
        RuleCase { "W2600  Last Monday", D(2024, 1, 7), "FREQ=MONTHLY;BYDAY=-1MO", D(2024, 1, 29) },
        RuleCase {
            "W1601  Snow", D(2024, 1, 7), "FREQ=YEARLY;BYMONTH=1;BYDAY=-1SU", D(2024, 1, 28) },
        // The fifth Sunday of February: only in a leap year whose February begins on a Sunday.
        RuleCase {
            "W1502  Rare", D(2024, 1, 7), "FREQ=YEARLY;BYMONTH=2;BYDAY=5SU", D(2032, 2, 29) },
        RuleCase { "MEM    Rent", D(2024, 1, 7), "FREQ=MONTHLY;BYMONTHDAY=-1", D(2024, 1, 31) },
        RuleCase {
            "M31    Long months", D(2024, 4, 7), "FREQ=MONTHLY;BYMONTHDAY=31", D(2024, 5, 31) },
        RuleCase {
            "YFeb/29Leap", D(2025, 1, 5), "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29", D(2028, 2, 29) }));

// Every kind of record: daily with several anchors and intervals, weekly with each occurrence
// code and month filter, monthly on each day and the last, yearly on each day of the year.
std::vector<std::string> EveryKindOfRecord(const Date& first, const Date& last) {
    std::vector<std::string> lines;
    const Date earliest = D(1901, 1, 1);
    for (const int back : { -1, 400, 2000 }) {
        for (const int interval : { 1, 2, 3, 7, 30, 100, 365, 730 }) {
            Date anchor = AddDays(first, -back);
            if (anchor < earliest)
                anchor = earliest;
            lines.push_back(DailyRecordLine(DateKey(anchor), interval, ""));
        }
    }
    for (const int interval : { 1, 9, 730 })
        lines.push_back(DailyRecordLine(DateKey(last), interval, ""));
    for (int weekday = 1; weekday <= 7; ++weekday) {
        lines.push_back(WeeklyRecordLine(weekday, kEveryWeek, 0, ""));
        for (int occurrence = 1; occurrence <= kLastOfMonth; ++occurrence) {
            for (int filter = 0; filter <= 12; ++filter)
                lines.push_back(WeeklyRecordLine(weekday, occurrence, filter, ""));
        }
    }
    for (int day = 1; day <= 31; ++day)
        lines.push_back(MonthlyRecordLine(DayField(day), ""));
    lines.push_back(MonthlyRecordLine("EM", ""));
    for (Date day = D(2000, 1, 1); day.year() == std::chrono::year(2000); day = AddDays(day, 1))
        lines.push_back(YearlyRecordLine(DateKey(day), ""));
    return lines;
}

// The days libical's own iterator gives from DTSTART on, without any help: the rule as another
// program reads it.
std::set<Date> LibicalDays(const RecordRule& rule, const Date& first, const Date& last) {
    std::set<Date> days;
    IteratorPtr iterator(icalrecur_iterator_new(
        icalrecurrencetype_from_string(rule.rrule.c_str()), IcalDate(rule.first)));
    if (!iterator)
        return days;
    int steps = 0;
    for (icaltimetype t = icalrecur_iterator_next(iterator.get()); !icaltime_is_null_time(t);
         t = icalrecur_iterator_next(iterator.get())) {
        const Date day = DateOf(t);
        if (++steps > 100000) { // an iterator that does not advance
            ADD_FAILURE() << rule.rrule << " from " << DateKey(rule.first) << " stays at "
                          << DateKey(day);
            break;
        }
        if (day > last)
            break;
        if (day >= first)
            days.insert(day);
    }
    return days;
}

class RecordRuleWindows : public ::testing::TestWithParam<Date> { };

TEST_P(RecordRuleWindows, ExpandToExactlyTheDaysTheRecordsMatch) {
    const Date first = *ParseDateKey(EmptyCalendar(GetParam())[1]);
    const Date last = AddDays(first, kCalendarDays - 1);
    ASSERT_GE(first, D(1901, 1, 1));
    ASSERT_LE(last, D(2099, 12, 31));

    for (const std::string& line : EveryKindOfRecord(first, last)) {
        const auto record = ParseRecord(line + "R");
        ASSERT_TRUE(record) << line;
        std::set<Date> matched;
        for (Date day = first; day <= last; day = AddDays(day, 1)) {
            if (Matches(*record, day))
                matched.insert(day);
        }
        const auto rule = RuleOfRecord(*record, first);
        ASSERT_TRUE(rule) << line;
        EXPECT_EQ(LibicalDays(*rule, first, last), matched) << line << " " << rule->rrule;
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, RecordRuleWindows,
    ::testing::Values(
        D(1901, 1, 6), D(1903, 3, 1), D(1999, 12, 26), D(2023, 12, 31), D(2097, 12, 1)));

} // namespace
} // namespace orvane
