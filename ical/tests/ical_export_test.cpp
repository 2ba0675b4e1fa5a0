#include "ical/ical_export.h"
#include "ical/libical_support.h"
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
    const auto exported = ExportCalendar(store, "", std::nullopt, kStamp);
    ASSERT_TRUE(exported);
    const std::string& ics = exported->ics;
    EXPECT_EQ(ics.rfind("BEGIN:VCALENDAR\r\n", 0), 0u);
    EXPECT_NE(ics.find("\r\nVERSION:2.0\r\n"), std::string::npos);
    EXPECT_NE(ics.find("\r\nPRODID:" + std::string(kIcsProductId) + "\r\n"), std::string::npos);
    EXPECT_NE(ics.find("\r\nDTSTART;VALUE=DATE:20240314\r\n"), std::string::npos);
    EXPECT_NE(ics.find("\r\nDTEND;VALUE=DATE:20240315\r\n"), std::string::npos);
    EXPECT_NE(ics.find("\r\nDTSTAMP:20240301T000000Z\r\n"), std::string::npos);
    for (std::size_t pos = ics.find('\n'); pos != std::string::npos; pos = ics.find('\n', pos + 1))
        ASSERT_EQ(ics[pos - 1], '\r') << "a line ends without CR at " << pos;

    const auto events = EventsOf(ics);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(exported->day_events, 2);
    EXPECT_EQ(exported->blank_entries, 2);
    EXPECT_EQ(events[0].summary, "Dentist");
    EXPECT_EQ(events[1].summary, "Caf\xC3\xA9 \xE2\x82\xAC 5");
    EXPECT_EQ(events[1].start, D(2024, 3, 14));
    EXPECT_EQ(events[1].end, D(2024, 3, 15));
}

TEST(IcalExport, FoldsLongLinesAtSeventyFiveOctets) {
    DayStore store = Calendar2024();
    store[3] += std::string(90, '\x80') + "\a"; // 270 octets of UTF-8
    const auto exported = ExportCalendar(store, "", std::nullopt, kStamp);
    ASSERT_TRUE(exported);
    std::size_t start = 0;
    for (std::size_t end = exported->ics.find("\r\n"); end != std::string::npos;
         start = end + 2, end = exported->ics.find("\r\n", start))
        EXPECT_LE(end - start, 75u);
    const auto events = EventsOf(exported->ics);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].summary.size(), 270u);
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

} // namespace
} // namespace orvane
