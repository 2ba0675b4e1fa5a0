#include "cycling/calendar_cycle.h"

#include "core/entry_limit.h"
#include "core/text_file.h"
#include "cycling/archive_file.h"
#include "recurring/recurring_record.h"

#include <array>
#include <optional>

namespace orvane {

Result<FileChange> BackupDayFile(const DataFolder& data) {
    Result<std::string> read = ReadWholeFile(data.cdat());
    if (!read)
        return std::move(read).error();
    return ReplaceFile(data.bdat(), *read);
}

bool MayCycle(const DayStore& store, const Date& today) {
    const auto saturday = ParseDateKey(store[7]);
    return saturday && today >= *saturday;
}

Status CheckCycleSlots(const DayStore& store) {
    for (int slot : { 7, 736, 737 }) {
        if (!ParseDateKey(store[slot])) {
            return Refusal("The calendar can not be cycled: day " + std::to_string(slot)
                + " holds no valid date. Restore the latest Orvane backup.");
        }
    }
    return Ok();
}

void MoveWeek(DayStore& store) {
    for (int slot = 1; slot <= 731; ++slot)
        store[slot] = std::move(store[slot + 7]);
    const Date base = *ParseDateKey(store[730]);
    for (int slot = 731; slot <= kCalendarDays; ++slot)
        store[slot] = DateKey(AddDays(base, slot - 730));
}

Status ApplyRecords(
    DocumentEdit& edit, const std::vector<std::string>& lines, std::vector<std::string>& messages) {
    std::array<std::optional<Date>, 7> week;
    for (int i = 0; i < 7; ++i)
        week[static_cast<std::size_t>(i)] = ParseDateKey(edit.store()[kNewWeekFirstSlot + i]);
    for (const std::string& line : lines) {
        if (line.empty())
            continue;
        const auto record = ParseRecord(line);
        if (!record) {
            messages.emplace_back(kInvalidRecordMessage);
            continue;
        }
        for (int i = 0; i < 7; ++i) {
            const auto& date = week[static_cast<std::size_t>(i)];
            if (!date || !Matches(*record, *date))
                continue;
            const int slot = kNewWeekFirstSlot + i;
            if (IsFull(CheckMaxRecs(edit.store(), slot))) {
                messages.push_back(MaxEntriesMessage(edit.store()[slot]));
                if (Status logged = AppendErrorLog(edit, edit.store()[slot], record->text); !logged)
                    return logged;
                continue;
            }
            InsertFirstEntry(edit.Day(slot), record->text);
        }
    }
    return Ok();
}

std::string RewrittenRecordFile(const std::vector<std::string>& lines) {
    std::string bytes;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty() && i + 1 != lines.size())
            continue;
        bytes += lines[i];
        bytes += "\r\n";
    }
    return bytes;
}

CycleOutcome CycleCalendar(DocumentEdit& edit) {
    CycleOutcome outcome;
    const DataFolder& data = edit.data();
    if (Status slots = CheckCycleSlots(edit.store()); !slots) {
        outcome.error = slots;
        return outcome;
    }
    constexpr std::string_view kNotCycled = "The calendar was not cycled.";
    std::string records; // a missing file holds no records
    if (Result<std::string> read = ReadWholeFile(data.fdat()); read) {
        records = std::move(*read);
    } else if (!IsMissingFile(read.error())) {
        outcome.error = std::move(std::move(read).error().Also(kNotCycled));
        return outcome;
    }
    for (const auto& needed : { data.fdat(), data.rdat() }) {
        if (Status ready = edit.AppendFile(needed, "", /*create=*/true); !ready) {
            outcome.error = std::move(std::move(ready).error().Also(kNotCycled));
            return outcome;
        }
    }
    if (Status archived = ArchiveTopWeek(edit); !archived) {
        outcome.error = std::move(std::move(archived).error().Also(kNotCycled));
        return outcome;
    }
    MoveWeek(edit.AllDays());
    outcome.moved = true;
    const std::vector<std::string> lines = SplitLines(records);
    if (Status applied = ApplyRecords(edit, lines, outcome.messages); !applied) {
        outcome.error = std::move(std::move(applied).error().Also(
            "The calendar was cycled; the recurring entries after this one were not added."));
    }
    // The file is written back as read, so a stopped application loses no record; a failed
    // rewrite leaves it as it was.
    if (Status written = edit.WriteFile(data.fdat(), RewrittenRecordFile(lines)); !written) {
        if (outcome.error)
            outcome.error = std::move(written);
        else
            outcome.error = std::move(std::move(outcome.error)
                                          .error()
                                          .Also("fdat.ovd could not be rewritten either; it keeps "
                                                "its records as they were."));
    }
    return outcome;
}

} // namespace orvane
