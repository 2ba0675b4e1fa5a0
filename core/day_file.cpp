#include "core/day_file.h"

#include "core/text_file.h"

namespace orvane {

DayFileParse ParseDayFile(std::string_view bytes, DayStore& store) {
    std::vector<std::string> lines = SplitLines(bytes);
    while (static_cast<int>(lines.size()) > kSavedSlots && lines.back().empty())
        lines.pop_back();
    DayFileParse parse;
    parse.lines = static_cast<int>(lines.size());
    if (parse.lines <= 1) {
        parse.outcome = DayFileParse::Outcome::kNewCalendar;
        return parse;
    }
    if (parse.lines < kCalendarDays || parse.lines > kSlotCount) {
        parse.outcome = DayFileParse::Outcome::kBadRecordCount;
        return parse;
    }
    store.Clear();
    for (int slot = 1; slot <= parse.lines; ++slot)
        store[slot] = std::move(lines[static_cast<std::size_t>(slot - 1)]);
    store.set_loaded(true);
    return parse;
}

std::string FormatDayFile(const DayStore& store) {
    std::string bytes;
    std::size_t size = 0;
    for (int slot = 1; slot <= kSavedSlots; ++slot)
        size += store[slot].size() + 2;
    bytes.reserve(size);
    for (int slot = 1; slot <= kSavedSlots; ++slot) {
        bytes += store[slot];
        bytes += "\r\n";
    }
    return bytes;
}

std::string NewCalendar(const Date& today, DayStore& store) {
    store.Clear();
    Date day = AddDays(today, -WeekdayIndex(today));
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(kCalendarDays) * 13);
    for (int slot = 1; slot <= kCalendarDays; ++slot) {
        store[slot] = DateKey(day);
        bytes += store[slot];
        bytes += "\r\n";
        day = AddDays(day, 1);
    }
    store.set_loaded(true);
    return bytes;
}

DayFileLoad LoadDayFile(const std::filesystem::path& path, const Date& today, DayStore& store) {
    DayFileLoad load;
    const FileRead read = ReadWholeFile(path);
    if (!read.ok()) {
        load.outcome = DayFileLoad::Outcome::kFileError;
        load.message = read.error
            + "\n\nThe calendar was not loaded and nothing will be saved over it. Restore the "
              "backup bdat.ovd (in the same folder) as cdat.ovd and restart.";
        return load;
    }
    const DayFileParse parse = ParseDayFile(read.bytes, store);
    switch (parse.outcome) {
    case DayFileParse::Outcome::kLoaded:
        load.outcome = DayFileLoad::Outcome::kLoaded;
        load.current_slot = parse.lines + 1;
        return load;
    case DayFileParse::Outcome::kBadRecordCount:
        load.outcome = DayFileLoad::Outcome::kBadRecordCount;
        load.message = kBadRecordCountMessage;
        return load;
    case DayFileParse::Outcome::kNewCalendar:
        break;
    }
    const std::string bytes = NewCalendar(today, store);
    load.outcome = DayFileLoad::Outcome::kCreated;
    load.current_slot = kCalendarDays + 1;
    // The new calendar stays in memory even when writing it failed; the message says so.
    if (const Status written = WriteFileAtomic(path, bytes); !written)
        load.message = written.message();
    return load;
}

Status SaveDayFile(const std::filesystem::path& path, const DayStore& store) {
    if (!store.loaded())
        return Status::Error(
            "The calendar was not loaded, so it was not saved over " + path.string() + ".");
    return WriteFileAtomic(path, FormatDayFile(store));
}

} // namespace orvane
