#include "core/day_file.h"

#include "core/text_file.h"

namespace orvane {

Result<int> ParseDayFile(std::string_view bytes, DayStore& store) {
    std::vector<std::string> lines = SplitLines(bytes);
    while (static_cast<int>(lines.size()) > kSavedSlots && lines.back().empty())
        lines.pop_back();
    const int count = static_cast<int>(lines.size());
    if (count <= 1)
        return 0;
    if (count < kCalendarDays || count > kSlotCount)
        return Error { ErrorKind::kBadRecordCount, std::nullopt, kBadRecordCountMessage };
    store.Clear();
    for (int slot = 1; slot <= count; ++slot)
        store[slot] = std::move(lines[static_cast<std::size_t>(slot - 1)]);
    store.set_loaded(true);
    return count;
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

Result<DayFileLoaded> LoadDayFile(
    const std::filesystem::path& path, const Date& today, DayStore& store) {
    Result<std::string> read = ReadWholeFile(path);
    if (!read) {
        Error error = std::move(read).error();
        error.Also("The calendar was not loaded and nothing will be saved over it. Restore the "
                   "backup bdat.ovd (in the same folder) as cdat.ovd and restart.");
        return error;
    }
    Result<int> parsed = ParseDayFile(*read, store);
    if (!parsed)
        return std::move(parsed).error();
    DayFileLoaded load;
    load.file = FingerprintOfBytes(*read);
    if (*parsed > 0) {
        load.current_slot = *parsed + 1;
        return load;
    }
    const std::string bytes = NewCalendar(today, store);
    load.created = true;
    load.current_slot = kCalendarDays + 1;
    // The new calendar stays in memory even when writing it failed; the caller says so.
    if (Status written = WriteFileAtomic(path, bytes); !written)
        load.not_written = std::move(written).error();
    else
        load.file = FingerprintOfBytes(bytes);
    return load;
}

Result<FileFingerprint> SaveDayFile(const std::filesystem::path& path, const DayStore& store) {
    if (!store.loaded()) {
        return FileError(FileOperation::kWrite, path,
            "the calendar was not loaded, so nothing was saved over the file");
    }
    const std::string bytes = FormatDayFile(store);
    if (Status written = WriteFileAtomic(path, bytes); !written)
        return std::move(written).error();
    return FingerprintOfBytes(bytes);
}

} // namespace orvane
