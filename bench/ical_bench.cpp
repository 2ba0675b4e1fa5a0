// Speed of the iCalendar exchange: exporting a full calendar with a 200-record fdat.ovd, and
// reading and planning the import of a file of 5,000 events.
#include "bench/bench_data.h"
#include "ical/ical_export.h"
#include "ical/ical_import.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orvane;

std::string Two(int value) {
    return std::string(1, static_cast<char>('0' + value / 10))
        + static_cast<char>('0' + value % 10);
}

std::string IcalDate(const Date& date) {
    return std::to_string(static_cast<int>(date.year()))
        + Two(static_cast<int>(static_cast<unsigned>(date.month())))
        + Two(static_cast<int>(static_cast<unsigned>(date.day())));
}

// 5,000 events over the calendar's two years as a calendar program exports them: timed events
// in a zone and in UTC, all-day and multi-day events, and every tenth a weekly series with an
// exception, each with the properties such files carry.
std::string FiveThousandEvents() {
    const Date first = bench::kFirstSunday;
    std::string ics = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//Events//EN\r\n";
    for (int i = 0; i < 5000; ++i) {
        const Date day = AddDays(first, (i * 7) % 735);
        const std::string date = IcalDate(day);
        ics += "BEGIN:VEVENT\r\nUID:event-" + std::to_string(i) + "@bench.example\r\n";
        ics += "DTSTAMP:20240101T120000Z\r\nCREATED:20231201T080000Z\r\n";
        switch (i % 4) {
        case 0:
            ics += "DTSTART;TZID=Europe/Berlin:" + date + "T" + Two(8 + i % 10) + "3000\r\n";
            ics += "DTEND;TZID=Europe/Berlin:" + date + "T" + Two(9 + i % 10) + "0000\r\n";
            break;
        case 1:
            ics += "DTSTART:" + date + "T" + Two(i % 24) + "1500Z\r\n";
            ics += "DURATION:PT45M\r\n";
            break;
        case 2:
            ics += "DTSTART;VALUE=DATE:" + date
                + "\r\nDTEND;VALUE=DATE:" + IcalDate(AddDays(day, 1 + i % 3)) + "\r\n";
            break;
        default:
            ics += "DTSTART;VALUE=DATE:" + date + "\r\n";
            break;
        }
        if (i % 10 == 0) {
            ics += "RRULE:FREQ=WEEKLY;COUNT=12\r\n";
            ics += "EXDATE;VALUE=DATE:" + IcalDate(AddDays(day, 14)) + "\r\n";
        }
        ics += "SUMMARY:Meeting number " + std::to_string(i) + " about the caf\xC3\xA9 plans\r\n";
        ics += "DESCRIPTION:A longer description of the event\\, as calendar programs write\r\n"
               " them\\, folded over two lines.\r\n";
        ics += "LOCATION:Room " + std::to_string(i % 40) + "\r\nSTATUS:CONFIRMED\r\n";
        ics += "END:VEVENT\r\n";
    }
    ics += "END:VCALENDAR\r\n";
    return ics;
}

void BM_ExportFullCalendarWith200Records(benchmark::State& bench) {
    const DayStore store = bench::RealisticStore();
    const std::string records = bench::TwoHundredRecords();
    const std::chrono::sys_seconds stamp {};
    for (auto _ : bench) {
        auto exported = ExportCalendar(store, records, std::nullopt, stamp);
        benchmark::DoNotOptimize(exported->ics.data());
    }
}
BENCHMARK(BM_ExportFullCalendarWith200Records)->Unit(benchmark::kMillisecond);

void BM_ImportPlanOf5000Events(benchmark::State& bench) {
    const DayStore store = bench::RealisticStore();
    const std::string ics = FiveThousandEvents();
    ImportOptions options;
    options.zone = "Europe/Berlin";
    for (auto _ : bench) {
        auto plan = PlanImport(ics, store, options);
        benchmark::DoNotOptimize(plan->items.data());
    }
    bench.counters["bytes"] = static_cast<double>(ics.size());
}
BENCHMARK(BM_ImportPlanOf5000Events)->Unit(benchmark::kMillisecond);

} // namespace
