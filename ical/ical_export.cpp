#include "ical/ical_export.h"

#include "core/cp1252.h"
#include "core/date_key.h"
#include "core/file_fingerprint.h"
#include "core/text_file.h"
#include "ical/libical_support.h"
#include "ical/record_rule.h"
#include "recurring/recurring_record.h"

#include <map>
#include <string_view>
#include <vector>

namespace orvane {

namespace {

using namespace ical_support;

std::string Hex(std::uint64_t value) {
    static constexpr std::string_view kDigits = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
        value >>= 4;
    }
    return text;
}

std::string DateDigits(const Date& date) {
    const int value = static_cast<int>(date.year()) * 10000
        + static_cast<int>(static_cast<unsigned>(date.month())) * 100
        + static_cast<int>(static_cast<unsigned>(date.day()));
    std::string digits = std::to_string(value);
    return std::string(digits.size() < 8 ? 8 - digits.size() : 0, '0') + digits;
}

std::string HashedUid(std::string_view prefix, std::string_view text, int occurrence) {
    std::string keyed(text);
    keyed += kEntrySeparator;
    keyed += std::to_string(occurrence);
    std::string uid(prefix);
    uid += Hex(Fnv1a(keyed));
    uid += kUidDomain;
    return uid;
}

std::string ArchiveDayUid(const Date& date, std::string_view text, int occurrence) {
    return HashedUid("a" + DateDigits(date) + "-", text, occurrence);
}

// SUMMARY text: UTF-8, and no control character but the tab, which iCalendar text cannot hold.
std::string Summary(std::string_view cp1252) {
    std::string text(cp1252);
    for (char& c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && u != '\t') || u == 0x7F)
            c = ' ';
    }
    return Cp1252ToUtf8(text);
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

class IcsWriter {
public:
    explicit IcsWriter(std::chrono::sys_seconds stamp)
        : calendar_(icalcomponent_new(ICAL_VCALENDAR_COMPONENT)) {
        const std::string product(kIcsProductId);
        icalcomponent_add_property(calendar_.get(), icalproperty_new_prodid(product.c_str()));
        icalcomponent_add_property(calendar_.get(), icalproperty_new_version("2.0"));
        icalcomponent_add_property(calendar_.get(), icalproperty_new_calscale("GREGORIAN"));
        stamp_
            = icaltime_from_timet_with_zone(static_cast<time_t>(stamp.time_since_epoch().count()),
                0, icaltimezone_get_utc_timezone());
    }

    // An all-day event on `date`; with `rrule`, the first day of a recurring one.
    void AddDayEvent(const std::string& uid, const Date& date, std::string_view text,
        const std::string* rrule = nullptr) {
        icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
        icalcomponent_add_property(event, icalproperty_new_uid(uid.c_str()));
        icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp_));
        icalcomponent_add_property(event, icalproperty_new_dtstart(IcalDate(date)));
        icalcomponent_add_property(event, icalproperty_new_dtend(IcalDate(AddDays(date, 1))));
        if (rrule != nullptr) {
            icalcomponent_add_property(
                event, icalproperty_new_rrule(icalrecurrencetype_from_string(rrule->c_str())));
        }
        const std::string summary = Summary(text);
        icalcomponent_add_property(event, icalproperty_new_summary(summary.c_str()));
        icalcomponent_add_component(calendar_.get(), event);
    }

    std::string Text() const { return TakeString(icalcomponent_as_ical_string_r(calendar_.get())); }

private:
    ComponentPtr calendar_;
    icaltimetype stamp_ {};
};

struct ValidRecord {
    std::string line;
    RecurringRecord record;
};

} // namespace

std::string DayEntryUid(const Date& date, std::string_view text, int occurrence) {
    return HashedUid("d" + DateDigits(date) + "-", text, occurrence);
}

std::string RecordUid(std::string_view line, int occurrence) {
    return HashedUid("r-", line, occurrence);
}

Result<IcsExport> ExportCalendar(const DayStore& store, std::string_view records,
    std::optional<std::string_view> archive, std::chrono::sys_seconds stamp) {
    const auto window_first = ParseDateKey(store[1]);
    if (!window_first)
        return Refusal("The calendar holds no days to export.");
    UseQuietErrors();
    IcsExport result;
    IcsWriter writer(stamp);

    std::vector<ValidRecord> valid;
    for (std::string& line : RecordFileLines(records)) {
        if (line.empty())
            continue;
        if (auto record = ParseRecord(line))
            valid.push_back({ std::move(line), std::move(*record) });
        else
            ++result.invalid_records;
    }

    // Cycling writes the record nearest the end of the file first into a day; the records come
    // first in the file in that order, so that a program which lists a day's events in file
    // order shows them as this program does.
    std::map<std::string, int> line_count;
    std::vector<std::string> record_uids;
    record_uids.reserve(valid.size());
    for (const ValidRecord& r : valid)
        record_uids.push_back(RecordUid(r.line, line_count[r.line]++));
    for (std::size_t i = valid.size(); i-- > 0;) {
        const auto rule = RuleOfRecord(valid[i].record, *window_first);
        if (!rule) {
            ++result.invalid_records;
            continue;
        }
        writer.AddDayEvent(record_uids[i], rule->first, valid[i].record.text, &rule->rrule);
        ++result.record_events;
    }

    if (archive) {
        std::map<std::string, int> seen;
        for (const std::string& line : SplitLines(*archive)) {
            const auto date = ParseDateKey(line);
            if (!date)
                continue;
            const std::string_view text = Trimmed(std::string_view(line).substr(kDateKeyLength));
            if (text.empty())
                continue;
            const int occurrence = seen[line.substr(0, kDateKeyLength) + std::string(text)]++;
            writer.AddDayEvent(ArchiveDayUid(*date, text, occurrence), *date, text);
            ++result.archive_events;
        }
    }

    for (int slot = 1; slot <= kCalendarDays; ++slot) {
        const auto date = ParseDateKey(store[slot]);
        if (!date)
            continue;
        const std::vector<std::string> entries = Entries(store[slot]);
        std::vector<bool> left_to_rule(entries.size(), false);
        for (const ValidRecord& r : valid) {
            if (!Matches(r.record, *date))
                continue;
            for (std::size_t e = 0; e < entries.size(); ++e) {
                if (!left_to_rule[e] && entries[e] == r.record.text) {
                    left_to_rule[e] = true;
                    ++result.record_entries;
                    break;
                }
            }
        }
        std::map<std::string_view, int> occurrences;
        for (std::size_t e = 0; e < entries.size(); ++e) {
            const int occurrence = occurrences[entries[e]]++;
            if (left_to_rule[e])
                continue;
            if (IsBlank(entries[e])) {
                ++result.blank_entries;
                continue;
            }
            writer.AddDayEvent(DayEntryUid(*date, entries[e], occurrence), *date, entries[e]);
            ++result.day_events;
        }
    }
    result.ics = writer.Text();
    return result;
}

Result<IcsExport> ExportCalendarFiles(const DataFolder& data, const DayStore& store,
    bool include_archive, std::chrono::sys_seconds stamp) {
    std::string records;
    if (Result<std::string> read = ReadWholeFile(data.fdat()); read)
        records = std::move(*read);
    else if (!IsMissingFile(read.error()))
        return std::move(read).error().Also("Nothing was exported.");
    std::optional<std::string> archive;
    if (include_archive) {
        archive.emplace();
        if (Result<std::string> read = ReadWholeFile(data.archive()); read)
            *archive = std::move(*read);
        else if (!IsMissingFile(read.error()))
            return std::move(read).error().Also("Nothing was exported.");
    }
    return ExportCalendar(
        store, records, archive ? std::optional<std::string_view>(*archive) : std::nullopt, stamp);
}

} // namespace orvane
