#include "history/backup_restore.h"

#include "core/day_file.h"
#include "core/text_file.h"

namespace orvane {

namespace {

std::string Shown(std::string_view day) {
    std::string text;
    for (const std::string& entry : Entries(day)) {
        if (!text.empty())
            text += "; ";
        text += entry;
    }
    return text.empty() ? std::string("(nothing)") : text;
}

void AppendTwoDigits(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10 % 10);
    out += static_cast<char>('0' + value % 10);
}

} // namespace

Result<std::vector<DayChange>> CompareDayBackup(const DayStore& current, std::string_view bytes) {
    DayStore backup;
    Result<int> parsed = ParseDayFile(bytes, backup);
    if (!parsed)
        return std::move(parsed).error();
    if (*parsed == 0)
        return Refusal("The backup holds no calendar.");
    std::vector<DayChange> changes;
    for (int slot = 1; slot <= kSavedSlots; ++slot) {
        if (current[slot] != backup[slot])
            changes.push_back({ slot, current[slot], backup[slot] });
    }
    return changes;
}

std::string PreviewChanges(const std::vector<DayChange>& changes, std::size_t max_days) {
    std::string text;
    for (std::size_t k = 0; k < changes.size() && k < max_days; ++k) {
        const DayChange& day = changes[k];
        // A day of another week (the backup is from before a cycle) names both dates.
        const std::string_view now_key = DateKeyView(day.before).key();
        const std::string_view backup_key = DateKeyView(day.after).key();
        text += now_key;
        text += "   now: " + Shown(day.before) + "   backup: ";
        if (backup_key != now_key) {
            text += backup_key;
            text += ' ';
        }
        text += Shown(day.after) + "\n";
    }
    if (changes.size() > max_days)
        text += "... and " + std::to_string(changes.size() - max_days) + " more days\n";
    return text;
}

std::string BackupTimeText(const BackupFile& file) {
    std::string text = DateKey(file.taken.date) + " ";
    AppendTwoDigits(text, file.taken.hour);
    text += ':';
    AppendTwoDigits(text, file.taken.minute);
    text += ':';
    AppendTwoDigits(text, file.taken.second);
    return text;
}

std::string RestoreName(const BackupFile& file) {
    return "Restore " + file.of + " of " + BackupTimeText(file);
}

Status RestoreBackup(CalendarDocument& document, FileBackups& backups, const BackupFile& file) {
    Result<std::string> bytes = ReadWholeFile(file.path);
    if (!bytes)
        return std::move(bytes).error();
    document.FlushPendingEdits();
    if (file.of == kDayFileName) {
        DayStore restored;
        Result<int> parsed = ParseDayFile(*bytes, restored);
        if (!parsed)
            return std::move(parsed).error();
        if (*parsed == 0)
            return Refusal("The backup holds no calendar. Nothing was restored.");
        const auto kept = backups.KeepBytes(kDayFileName, FormatDayFile(document.store()));
        if (!kept)
            return Error(kept.error()).Also("Nothing was restored.");
        document.Run(OperationKind::kRestore, RestoreName(file), [&](DocumentEdit& edit) {
            DayStore& days = edit.AllDays();
            for (int slot = 1; slot <= kSlotCount; ++slot)
                days[slot] = std::move(restored[slot]);
        });
        return Ok();
    }
    const std::filesystem::path target = document.data().file(file.of);
    const auto kept = backups.Keep(target);
    if (!kept)
        return Error(kept.error()).Also("Nothing was restored.");
    Status written;
    document.Run(OperationKind::kRestore, RestoreName(file),
        [&](DocumentEdit& edit) { written = edit.WriteFile(target, *bytes); });
    return written;
}

} // namespace orvane
