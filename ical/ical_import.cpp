#include "ical/ical_import.h"

#include "core/cp1252.h"
#include "core/entry_limit.h"
#include "core/text_file.h"
#include "ical/ics_outline.h"
#include "ical/libical_support.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>

namespace orvane {

namespace {

using namespace ical_support;
using SteadyClock = std::chrono::steady_clock;

// Zones shift a time by less than a day; a multi-day event reaches back by its length.
constexpr int kMarginDays = 2;

std::string SizeText(std::size_t bytes) {
    constexpr std::size_t kMegabyte = std::size_t { 1 } << 20;
    if (bytes >= kMegabyte && bytes % kMegabyte == 0)
        return std::to_string(bytes / kMegabyte) + " MB";
    return std::to_string(bytes) + " bytes";
}

Error TooLarge(std::size_t max_bytes) {
    return Refusal("The file is larger than " + SizeText(max_bytes)
        + " and was not read. Nothing was imported.");
}

Error OutOfTime() {
    return Refusal("Working out the file's repeating events took too long. Nothing was imported.");
}

std::int64_t DayNumber(const Date& date) {
    return std::chrono::sys_days(date).time_since_epoch().count();
}

// Orders wall-clock times (and dates, as their midnight) by their fields.
std::int64_t WallKey(const icaltimetype& t) {
    std::int64_t key = t.year;
    key = key * 12 + (t.month - 1);
    key = key * 31 + (t.day - 1);
    key = key * 24 + (t.is_date ? 0 : t.hour);
    key = key * 60 + (t.is_date ? 0 : t.minute);
    key = key * 60 + (t.is_date ? 0 : t.second);
    return key;
}

std::int64_t DayKey(const icaltimetype& t) {
    return (static_cast<std::int64_t>(t.year) * 12 + (t.month - 1)) * 31 + (t.day - 1);
}

// Seconds of the wall-clock fields counted as if they were UTC: enough to size a span.
std::int64_t WallSeconds(const icaltimetype& t) {
    const Date date = DateOf(t);
    if (!date.ok())
        return 0;
    std::int64_t seconds = DayNumber(date) * 86400;
    if (!t.is_date)
        seconds += t.hour * 3600 + t.minute * 60 + t.second;
    return seconds;
}

// `start` moved to `date`, at the start or the end of that day, keeping its kind and zone.
icaltimetype OnDay(const icaltimetype& start, const Date& date, bool end_of_day) {
    icaltimetype t = start;
    t.year = static_cast<int>(date.year());
    t.month = static_cast<int>(static_cast<unsigned>(date.month()));
    t.day = static_cast<int>(static_cast<unsigned>(date.day()));
    if (!t.is_date) {
        t.hour = end_of_day ? 23 : 0;
        t.minute = end_of_day ? 59 : 0;
        t.second = end_of_day ? 59 : 0;
    }
    return t;
}

icaltimezone* Mutable(const icaltimezone* zone) {
    return const_cast<icaltimezone*>(zone);
}

// The zone a property's TZID names: a VTIMEZONE of the file first, then the system's zones.
icaltimezone* ZoneOfProperty(icalproperty* property, icalcomponent* calendar) {
    icalparameter* parameter = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (parameter == nullptr)
        return nullptr;
    const char* tzid = icalparameter_get_tzid(parameter);
    if (tzid == nullptr)
        return nullptr;
    if (icaltimezone* zone = icalcomponent_get_timezone(calendar, tzid))
        return zone;
    if (icaltimezone* zone = icaltimezone_get_builtin_timezone(tzid))
        return zone;
    return icaltimezone_get_builtin_timezone_from_tzid(tzid);
}

icaltimetype WithZone(icaltimetype t, icalproperty* property, icalcomponent* calendar) {
    if (!t.is_date && t.zone == nullptr) {
        if (icaltimezone* zone = ZoneOfProperty(property, calendar))
            t.zone = zone;
    }
    return t;
}

// `t` as the wall-clock time of `start`'s zone (or date), so that it compares with the
// instances of an event that starts at `start`.
icaltimetype LikeStart(icaltimetype t, const icaltimetype& start) {
    if (start.is_date) {
        t.is_date = 1;
        t.hour = t.minute = t.second = 0;
        t.zone = nullptr;
        return t;
    }
    if (t.is_date) {
        t.is_date = 0;
        t.hour = start.hour;
        t.minute = start.minute;
        t.second = start.second;
        t.zone = start.zone;
        return t;
    }
    if (t.zone != nullptr && start.zone != nullptr && t.zone != start.zone)
        t = icaltime_convert_to_zone(t, Mutable(start.zone));
    t.zone = start.zone;
    return t;
}

bool HasByParts(const icalrecurrencetype& rule) {
    return rule.by_second[0] != ICAL_RECURRENCE_ARRAY_MAX
        || rule.by_minute[0] != ICAL_RECURRENCE_ARRAY_MAX
        || rule.by_hour[0] != ICAL_RECURRENCE_ARRAY_MAX
        || rule.by_day[0] != ICAL_RECURRENCE_ARRAY_MAX
        || rule.by_month_day[0] != ICAL_RECURRENCE_ARRAY_MAX
        || rule.by_year_day[0] != ICAL_RECURRENCE_ARRAY_MAX
        || rule.by_week_no[0] != ICAL_RECURRENCE_ARRAY_MAX
        || rule.by_month[0] != ICAL_RECURRENCE_ARRAY_MAX
        || rule.by_set_pos[0] != ICAL_RECURRENCE_ARRAY_MAX;
}

int SecondsPerStep(icalrecurrencetype_frequency frequency) {
    switch (frequency) {
    case ICAL_SECONDLY_RECURRENCE:
        return 1;
    case ICAL_MINUTELY_RECURRENCE:
        return 60;
    case ICAL_HOURLY_RECURRENCE:
        return 3600;
    default:
        return 0;
    }
}

struct Title {
    std::string text;
    int substituted = 0;
};

// Windows-1252 text of a SUMMARY: control characters and line breaks become blanks, characters
// the code page cannot hold become "?".
Title TitleOf(const char* summary) {
    Title title;
    for (const char32_t c : DecodeUtf8(summary == nullptr ? "" : summary)) {
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029) {
            title.text += ' ';
        } else if (const auto byte = Cp1252Byte(c)) {
            title.text += static_cast<char>(*byte);
        } else {
            title.text += '?';
            ++title.substituted;
        }
    }
    if (title.text.find_first_not_of(' ') == std::string::npos)
        title.text = kNoTitle;
    return title;
}

std::string TimePrefix(const icaltimetype& t) {
    std::string prefix = std::to_string(t.hour);
    prefix += ':';
    prefix += static_cast<char>('0' + t.minute / 10);
    prefix += static_cast<char>('0' + t.minute % 10);
    prefix += ' ';
    return prefix;
}

// One VEVENT of the file.
struct Event {
    icalcomponent* component = nullptr;
    int line = 0;
    int order = 0; // in the file
    std::string uid;
    bool cancelled = false;
    std::optional<icaltimetype> recurrence_id;
    icaltimetype start {};
    int span_days = 1; // all-day events: the days they cover
    std::vector<const Event*> overrides; // a recurring event's changed instances
    const Event* master = nullptr; // a changed instance's recurring event
    std::string problem;
};

struct Instance {
    icaltimetype start {}; // wall-clock time in the event's zone, or a date
    const Event* source = nullptr; // the event or changed instance it takes its text from
};

struct Candidate {
    int slot = 0;
    int minute = -1; // of the day; -1 all day, listed first
    int order = 0;
    std::int64_t sequence = 0;
    ImportItem item;
};

class Planner {
public:
    Planner(const DayStore& store, const Date& first, const ImportOptions& options,
        icalcomponent* calendar, ImportPlan& plan)
        : first_(first)
        , last_(AddDays(first, kLastImportSlot - 1))
        , options_(options)
        , calendar_(calendar)
        , plan_(plan)
        , deadline_(SteadyClock::now() + options.time_budget) {
        for (int slot = 1; slot <= kLastImportSlot; ++slot)
            slot_ok_[static_cast<std::size_t>(slot)]
                = ParseDateKey(store[slot]) == AddDays(first, slot - 1);
        utc_ = icaltimezone_get_utc_timezone();
        target_ = utc_;
        if (!options.zone.empty() && options.zone != "UTC") {
            if (icaltimezone* zone = icaltimezone_get_builtin_timezone(options.zone.c_str()))
                target_ = zone;
        }
        plan_.zone = target_ == utc_ ? std::string(kFallbackZone) : options.zone;
        for (std::size_t k = 0; k < kEventKeyProperties.size(); ++k)
            key_kinds_[k]
                = icalproperty_string_to_kind(std::string(kEventKeyProperties[k]).c_str());
    }

    // Reads the event's times; false (with the problem noted) when they cannot be used.
    bool Describe(Event& event, const IcsEventBlock& block) {
        icalcomponent* c = event.component;
        for (std::size_t k = 0; k < kEventKeyProperties.size(); ++k) {
            if (icalcomponent_count_properties(c, key_kinds_[k]) < block.key_properties[k]) {
                event.problem = "its " + std::string(kEventKeyProperties[k]) + " could not be read";
                return false;
            }
        }
        if (const char* uid = icalcomponent_get_uid(c))
            event.uid = uid;
        event.cancelled = icalcomponent_get_status(c) == ICAL_STATUS_CANCELLED;
        if (icalproperty* rid = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
            event.recurrence_id = WithZone(icalproperty_get_recurrenceid(rid), rid, calendar_);
        icalproperty* dtstart = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
        if (dtstart == nullptr) {
            event.problem = "the event has no date (DTSTART is missing)";
            return false;
        }
        event.start = WithZone(icalproperty_get_dtstart(dtstart), dtstart, calendar_);
        if (icaltime_is_null_time(event.start) || !DateOf(event.start).ok()) {
            event.problem = "its DTSTART is not a valid date";
            return false;
        }
        if (event.start.is_date) {
            std::optional<Date> end;
            if (icalproperty* dtend = icalcomponent_get_first_property(c, ICAL_DTEND_PROPERTY)) {
                end = DateOf(icalproperty_get_dtend(dtend));
            } else if (icalproperty* duration
                = icalcomponent_get_first_property(c, ICAL_DURATION_PROPERTY)) {
                const icaldurationtype d = icalproperty_get_duration(duration);
                if (!d.is_neg)
                    end = AddDays(DateOf(event.start), static_cast<int>(d.weeks * 7 + d.days));
            }
            if (end && end->ok()) {
                const auto days = DayNumber(*end) - DayNumber(DateOf(event.start));
                event.span_days = static_cast<int>(std::clamp<std::int64_t>(days, 1, 1 << 20));
            }
        }
        return true;
    }

    // Every start of a recurring (or single) event near the window; a problem note when the
    // rules cannot be worked out.
    std::string Expand(const Event& event, std::vector<Instance>& instances) {
        const icaltimetype start = event.start;
        std::vector<icaltimetype> starts { start };
        int steps = 0;
        icalcomponent* c = event.component;
        for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY);
             p != nullptr; p = icalcomponent_get_next_property(c, ICAL_RRULE_PROPERTY)) {
            std::string problem = ExpandRule(event, icalproperty_get_rrule(p), steps, starts);
            if (!problem.empty())
                return problem;
        }
        for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY);
             p != nullptr; p = icalcomponent_get_next_property(c, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
            const icaltimetype t
                = icaltime_is_null_time(value.time) ? value.period.start : value.time;
            if (!icaltime_is_null_time(t))
                starts.push_back(LikeStart(WithZone(t, p, calendar_), start));
        }
        std::sort(starts.begin(), starts.end(),
            [](const icaltimetype& a, const icaltimetype& b) { return WallKey(a) < WallKey(b); });
        starts.erase(std::unique(starts.begin(), starts.end(),
                         [](const icaltimetype& a, const icaltimetype& b) {
                             return WallKey(a) == WallKey(b);
                         }),
            starts.end());

        auto remove = [&starts, &start](const icaltimetype& t) {
            const bool by_date = t.is_date || start.is_date;
            std::erase_if(starts, [&](const icaltimetype& s) {
                return by_date ? DayKey(s) == DayKey(t) : WallKey(s) == WallKey(t);
            });
        };
        for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY);
             p != nullptr; p = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY)) {
            remove(LikeStart(WithZone(icalproperty_get_exdate(p), p, calendar_), start));
        }
        for (const Event* changed : event.overrides)
            remove(LikeStart(*changed->recurrence_id, start));
        for (const icaltimetype& s : starts)
            instances.push_back({ s, &event });
        for (const Event* changed : event.overrides) {
            if (!changed->cancelled)
                instances.push_back({ changed->start, changed });
        }
        return {};
    }

    bool OutOfTime() const { return out_of_time_ || SteadyClock::now() > deadline_; }

    // The entries an instance puts into the window; false when it puts none.
    bool AddInstance(const Instance& instance, int order, std::int64_t sequence) {
        const Event& source = *instance.source;
        const Title& title = TitleFor(source);
        icaltimetype wall = instance.start;
        bool added = false;
        if (wall.is_date) {
            const Date day = DateOf(wall);
            if (!day.ok())
                return false;
            const auto from = std::max(DayNumber(day), DayNumber(first_));
            const auto to = std::min(DayNumber(day) + source.span_days - 1, DayNumber(last_));
            for (auto n = from; n <= to; ++n)
                added |= Add(static_cast<int>(n - DayNumber(first_)) + 1, -1, order, sequence,
                    title.text, source);
            return added;
        }
        if (icaltime_is_utc(wall) && target_ != utc_)
            wall = icaltime_convert_to_zone(wall, target_);
        const Date day = DateOf(wall);
        if (!day.ok())
            return false;
        const auto offset = DayNumber(day) - DayNumber(first_);
        if (offset < 0 || offset >= kLastImportSlot)
            return false;
        return Add(static_cast<int>(offset) + 1, wall.hour * 60 + wall.minute, order, sequence,
            TimePrefix(wall) + title.text, source);
    }

    std::vector<Candidate>& candidates() { return candidates_; }

    void Finish() {
        plan_.shortened = static_cast<int>(shortened_.size());
        for (const auto& [event, title] : titles_)
            plan_.substituted += title.substituted;
    }

private:
    std::string ExpandRule(const Event& event, icalrecurrencetype rule, int& steps,
        std::vector<icaltimetype>& starts) {
        const icaltimetype start = event.start;
        if (rule.freq == ICAL_NO_RECURRENCE)
            return "its repeating rule (RRULE) is not valid";
        // Bounding the rule by the end of the window keeps libical from searching on past it.
        const icaltimetype end = OnDay(start, AddDays(last_, kMarginDays), true);
        if (icaltime_is_null_time(rule.until) || icaltime_compare(rule.until, end) > 0)
            rule.until = end;
        const icaltimetype from
            = OnDay(start, AddDays(first_, -(event.span_days + kMarginDays)), false);
        const bool skip_ahead = rule.count == 0 && icaltime_compare(from, start) > 0;
        if (skip_ahead && icaltime_compare(rule.until, from) < 0)
            return {}; // the rule ended before the window

        // Rules that repeat within a day are searched second by second, minute by minute or
        // hour by hour; one whose search over the window would pass the limit is refused
        // before it starts, since a single step of libical could take that long.
        if (const int unit = SecondsPerStep(rule.freq); unit != 0) {
            const icaltimetype search_from = skip_ahead ? from : start;
            const std::int64_t span = WallSeconds(rule.until) - WallSeconds(search_from);
            std::int64_t search
                = span / (std::int64_t { unit } * std::max<short>(rule.interval, 1)) + 1;
            if (!HasByParts(rule) && rule.count > 0)
                search = std::min<std::int64_t>(search, rule.count);
            if (search + steps > options_.max_rule_steps)
                return TooMany();
        }
        IteratorPtr iterator(icalrecur_iterator_new(rule, start));
        if (!iterator)
            return "its repeating rule (RRULE) is not valid";
        if (skip_ahead)
            icalrecur_iterator_set_start(iterator.get(), from);
        for (;;) {
            icaltimetype t = icalrecur_iterator_next(iterator.get());
            if (icaltime_is_null_time(t))
                break;
            if (++steps > options_.max_rule_steps)
                return TooMany();
            if (steps % 256 == 0 && SteadyClock::now() > deadline_) {
                out_of_time_ = true;
                return "working it out took too long";
            }
            t.is_date = start.is_date;
            t.zone = start.zone;
            starts.push_back(t);
        }
        return {};
    }

    std::string TooMany() const {
        return "its repeating rule gives more than " + std::to_string(options_.max_rule_steps)
            + " dates up to the end of the calendar";
    }

    const Title& TitleFor(const Event& event) {
        auto found = titles_.find(&event);
        if (found != titles_.end())
            return found->second;
        const char* summary = icalcomponent_get_summary(event.component);
        if (summary == nullptr && event.master != nullptr)
            summary = icalcomponent_get_summary(event.master->component);
        return titles_.emplace(&event, TitleOf(summary)).first->second;
    }

    bool Add(int slot, int minute, int order, std::int64_t sequence, std::string text,
        const Event& source) {
        if (!slot_ok_[static_cast<std::size_t>(slot)])
            return false;
        if (text.size() > kMaxImportedText) {
            text.resize(kMaxImportedText);
            shortened_.insert(&source);
        }
        Candidate candidate;
        candidate.slot = slot;
        candidate.minute = minute;
        candidate.order = order;
        candidate.sequence = sequence;
        candidate.item.slot = slot;
        candidate.item.date = AddDays(first_, slot - 1);
        candidate.item.text = std::move(text);
        candidate.item.line = source.line;
        candidates_.push_back(std::move(candidate));
        return true;
    }

    Date first_;
    Date last_;
    const ImportOptions& options_;
    icalcomponent* calendar_;
    ImportPlan& plan_;
    SteadyClock::time_point deadline_;
    bool out_of_time_ = false;
    std::array<bool, kLastImportSlot + 1> slot_ok_ {};
    std::array<icalproperty_kind, kEventKeyProperties.size()> key_kinds_ {};
    icaltimezone* utc_ = nullptr;
    icaltimezone* target_ = nullptr;
    std::map<const Event*, Title> titles_;
    std::set<const Event*> shortened_;
    std::vector<Candidate> candidates_;
};

} // namespace

std::string ProblemText(const ImportProblem& problem) {
    if (problem.line <= 0)
        return problem.note;
    return "Line " + std::to_string(problem.line) + ": " + problem.note;
}

int ImportPlan::InsertCount() const {
    return static_cast<int>(std::count_if(
        items.begin(), items.end(), [](const ImportItem& item) { return !item.refused; }));
}

int ImportPlan::DayCount() const {
    std::set<int> days;
    for (const ImportItem& item : items) {
        if (!item.refused)
            days.insert(item.slot);
    }
    return static_cast<int>(days.size());
}

std::vector<int> ImportPlan::FullDays() const {
    std::vector<int> full;
    for (const ImportItem& item : items) {
        if (item.refused && (full.empty() || full.back() != item.slot))
            full.push_back(item.slot);
    }
    return full;
}

Result<std::string> ReadIcsFile(const std::filesystem::path& path, std::size_t max_bytes) {
    std::error_code ec;
    // A device or a pipe (/dev/zero, a FIFO) has no size to check and may never end, or block
    // the reader until something writes to it: only a regular file is read.
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_directory(status)
        && !std::filesystem::is_regular_file(status)) {
        Error error = FileError(FileOperation::kRead, path, "it is not a regular file");
        return error.Also("Nothing was imported.");
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > max_bytes)
        return TooLarge(max_bytes);
    Result<std::string> bytes = ReadWholeFile(path);
    if (!bytes)
        return std::move(bytes).error().Also("Nothing was imported.");
    if (bytes->size() > max_bytes)
        return TooLarge(max_bytes);
    return bytes;
}

Result<ImportPlan> PlanImport(
    std::string_view bytes, const DayStore& store, const ImportOptions& options) {
    if (bytes.size() > options.max_bytes)
        return TooLarge(options.max_bytes);
    const auto first = ParseDateKey(store[1]);
    if (!first)
        return Refusal("The calendar holds no days to import into.");
    const IcsOutline outline = OutlineIcs(bytes);
    switch (outline.error) {
    case IcsOutlineError::kNone:
        break;
    case IcsOutlineError::kNotCalendar:
        return Refusal("The file is not an iCalendar file: it does not begin with "
                       "BEGIN:VCALENDAR. Nothing was imported.");
    case IcsOutlineError::kNulBytes:
        return Refusal("The file is not an iCalendar file: it holds zero bytes (it may be "
                       "UTF-16 text). Nothing was imported.");
    case IcsOutlineError::kTruncated:
        return Refusal("The file ends before its calendar does (END:VCALENDAR is missing); it "
                       "may be incomplete. Nothing was imported.");
    }
    if (outline.events.empty() && outline.problems.empty())
        return Refusal("The file holds no events.");

    UseQuietErrors();
    // The time zones come from a calendar of their own; one that libical cannot read leaves the
    // events with the system's zones.
    ComponentPtr root(icalparser_parse_string(outline.text.c_str()));
    if (!root || icalcomponent_isa(root.get()) != ICAL_VCALENDAR_COMPONENT)
        root.reset(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));

    ImportPlan plan;
    Planner planner(store, *first, options, root.get(), plan);
    std::vector<Event> events;
    events.reserve(outline.events.size());
    for (const IcsEventBlock& block : outline.events) {
        Event event;
        event.order = static_cast<int>(events.size());
        event.line = block.line;
        ComponentPtr parsed(icalparser_parse_string(block.text.c_str()));
        if (!parsed || icalcomponent_isa(parsed.get()) != ICAL_VEVENT_COMPONENT) {
            event.problem = "the event could not be read";
        } else {
            event.component = parsed.release();
            icalcomponent_add_component(root.get(), event.component); // the calendar owns it
            planner.Describe(event, block);
        }
        events.push_back(std::move(event));
    }

    // Changed instances join the recurring event of their UID; one without it stands alone.
    std::map<std::string, Event*> masters;
    for (Event& event : events) {
        if (event.problem.empty() && !event.recurrence_id && !event.uid.empty())
            masters.try_emplace(event.uid, &event);
    }
    std::vector<Event*> series;
    for (Event& event : events) {
        if (!event.problem.empty())
            continue;
        if (event.recurrence_id) {
            const auto master = masters.find(event.uid);
            if (master != masters.end()) {
                master->second->overrides.push_back(&event);
                event.master = master->second;
                continue;
            }
        }
        series.push_back(&event);
    }

    for (Event* event : series) {
        ++plan.events;
        if (event->cancelled) {
            ++plan.cancelled;
            continue;
        }
        std::vector<Instance> instances;
        if (event->recurrence_id)
            instances.push_back({ event->start, event }); // a changed instance standing alone
        else
            event->problem = planner.Expand(*event, instances);
        if (planner.OutOfTime())
            return OutOfTime();
        if (!event->problem.empty()) {
            --plan.events;
            continue;
        }
        bool any = false;
        std::int64_t sequence = 0;
        for (const Instance& instance : instances)
            any |= planner.AddInstance(instance, event->order, sequence++);
        if (!any)
            ++plan.events_outside;
    }
    planner.Finish();

    for (const Event& event : events) {
        if (!event.problem.empty())
            plan.problems.push_back({ event.line, event.problem });
    }
    for (const IcsOutlineProblem& problem : outline.problems)
        plan.problems.push_back({ problem.line, problem.note });
    std::stable_sort(plan.problems.begin(), plan.problems.end(),
        [](const ImportProblem& a, const ImportProblem& b) { return a.line < b.line; });

    std::vector<Candidate>& candidates = planner.candidates();
    std::stable_sort(
        candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
            if (a.slot != b.slot)
                return a.slot < b.slot;
            if (a.minute != b.minute)
                return a.minute < b.minute;
            if (a.order != b.order)
                return a.order < b.order;
            return a.sequence < b.sequence;
        });
    int day_count = 0;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (i == 0 || candidates[i].slot != candidates[i - 1].slot)
            day_count = EntryCount(store[candidates[i].slot]);
        ImportItem& item = candidates[i].item;
        item.refused = IsFull(day_count);
        if (!item.refused)
            ++day_count;
        plan.items.push_back(std::move(item));
    }
    return plan;
}

ImportOutcome ApplyImportPlan(DocumentEdit& edit, const ImportPlan& plan) {
    ImportOutcome outcome;
    const DayStore& store = edit.store();
    std::map<int, std::vector<const ImportItem*>> accepted;
    std::map<int, int> counts;
    std::string log;
    std::vector<int> refused;
    for (const ImportItem& item : plan.items) {
        if (item.slot < 1 || item.slot > kLastImportSlot
            || ParseDateKey(store[item.slot]) != item.date) {
            outcome.error = Refusal("The calendar changed since the file was read. Nothing was "
                                    "imported.");
            return outcome;
        }
        auto count = counts.try_emplace(item.slot, EntryCount(store[item.slot])).first;
        if (!item.refused && !IsFull(count->second)) {
            accepted[item.slot].push_back(&item);
            ++count->second;
        } else {
            refused.push_back(item.slot);
            log += ErrorLogLine(store[item.slot], item.text);
        }
    }
    if (!log.empty()) {
        Status logged = edit.AppendFile(edit.data().rdat(), log, /*create=*/true);
        if (!logged) {
            outcome.error = std::move(logged).error().Also("Nothing was imported.");
            return outcome;
        }
    }
    outcome.refused = std::move(refused);
    // Each insertion goes in front, so a day's new entries are inserted last one first.
    for (const auto& [slot, items] : accepted) {
        std::string& day = edit.Day(slot);
        std::for_each(items.rbegin(), items.rend(), [&](const ImportItem* item) {
            InsertFirstEntry(day, item->text);
            ++outcome.inserted;
        });
    }
    return outcome;
}

} // namespace orvane
