#include "core/file_backups.h"

#include "core/text_file.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <fstream>
#include <set>
#include <system_error>

namespace orvane {

namespace {

void AppendDigits(std::string& out, int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width)
        out.append(static_cast<std::size_t>(width) - digits.size(), '0');
    out += digits;
}

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::tuple<int, unsigned, unsigned, int, int, int, int> Order(const BackupFile& file) {
    return { static_cast<int>(file.taken.date.year()),
        static_cast<unsigned>(file.taken.date.month()),
        static_cast<unsigned>(file.taken.date.day()), file.taken.hour, file.taken.minute,
        file.taken.second, file.sequence };
}

// A backup is written to a temporary name and renamed, so that no backup is ever half there, but
// not flushed to disk: its bytes are the old file's, which was flushed when it was saved, and a
// save must not wait for the disk twice.
Status WriteBackup(const std::filesystem::path& target, std::string_view bytes) {
    std::filesystem::path temporary = target;
    temporary.replace_filename("." + target.filename().string() + ".part");
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return FileError(
                FileOperation::kWrite, target, std::string("the backup could not be written"));
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return FileError(FileOperation::kWrite, target, ec);
    }
    return Ok();
}

} // namespace

bool NewerBackup(const BackupFile& a, const BackupFile& b) {
    return Order(a) > Order(b);
}

std::string BackupName(std::string_view file_name, const LocalTime& taken, int sequence) {
    const std::filesystem::path name(file_name);
    std::string out = name.stem().string();
    out += '_';
    AppendDigits(out, static_cast<int>(taken.date.year()), 4);
    AppendDigits(out, static_cast<int>(static_cast<unsigned>(taken.date.month())), 2);
    AppendDigits(out, static_cast<int>(static_cast<unsigned>(taken.date.day())), 2);
    out += '_';
    AppendDigits(out, taken.hour, 2);
    AppendDigits(out, taken.minute, 2);
    AppendDigits(out, taken.second, 2);
    if (sequence > 1) {
        out += '_';
        out += std::to_string(sequence);
    }
    out += name.extension().string();
    return out;
}

std::optional<BackupFile> ParseBackupName(const std::filesystem::path& path) {
    const std::string stem = path.stem().string();
    // stem_YYYYMMDD_HHMMSS or stem_YYYYMMDD_HHMMSS_N; the data files' stems have no '_'.
    std::vector<std::string_view> parts;
    std::string_view rest(stem);
    for (std::size_t at; (at = rest.find('_')) != std::string_view::npos;) {
        parts.push_back(rest.substr(0, at));
        rest.remove_prefix(at + 1);
    }
    parts.push_back(rest);
    if (parts.size() < 3 || parts.size() > 4 || parts[0].empty() || parts[1].size() != 8
        || parts[2].size() != 6)
        return std::nullopt;
    const auto year = Number(parts[1].substr(0, 4));
    const auto month = Number(parts[1].substr(4, 2));
    const auto day = Number(parts[1].substr(6, 2));
    const auto hour = Number(parts[2].substr(0, 2));
    const auto minute = Number(parts[2].substr(2, 2));
    const auto second = Number(parts[2].substr(4, 2));
    const auto sequence = parts.size() == 4 ? Number(parts[3]) : std::optional<int>(1);
    if (!year || !month || !day || !hour || !minute || !second || !sequence || *sequence < 1
        || *hour > 23 || *minute > 59 || *second > 60)
        return std::nullopt;
    if (*month < 1 || *month > 12 || *day < 1 || *day > 31)
        return std::nullopt;
    const Date date = MakeDate(*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day));
    if (!date.ok())
        return std::nullopt;
    BackupFile file;
    file.path = path;
    file.of = std::string(parts[0]) + path.extension().string();
    file.taken = { date, *hour, *minute, *second };
    file.sequence = *sequence;
    return file;
}

FileBackups::FileBackups(std::filesystem::path data_dir, const Clock& clock, BackupPolicy policy)
    : data_dir_(std::move(data_dir))
    , clock_(clock)
    , policy_(policy) {
    SetPolicy(policy);
}

void FileBackups::SetPolicy(BackupPolicy policy) {
    policy.keep_saves = std::max(policy.keep_saves, 1);
    policy.keep_days = std::max(policy.keep_days, 0);
    policy_ = policy;
}

Result<std::optional<std::filesystem::path>> FileBackups::Keep(const std::filesystem::path& file) {
    Result<std::string> bytes = ReadWholeFile(file);
    if (!bytes) {
        if (IsMissingFile(bytes.error()))
            return std::optional<std::filesystem::path>();
        return std::move(bytes).error();
    }
    return KeepBytes(file.filename().string(), *bytes);
}

Result<std::optional<std::filesystem::path>> FileBackups::KeepBytes(
    std::string_view file_name, std::string_view bytes) {
    const std::vector<BackupFile> existing = List(file_name);
    if (!existing.empty()) {
        const Result<std::string> newest = ReadWholeFile(existing.front().path);
        if (newest && *newest == bytes)
            return std::optional<std::filesystem::path>();
    }
    std::error_code ec;
    std::filesystem::create_directories(folder(), ec);
    if (ec)
        return FileError(FileOperation::kCreateFolder, folder(), ec);
    const LocalTime now = clock_.Now();
    std::filesystem::path target;
    for (int sequence = 1;; ++sequence) {
        target = folder() / BackupName(file_name, now, sequence);
        if (!std::filesystem::exists(std::filesystem::symlink_status(target, ec)))
            break;
    }
    if (Status written = WriteBackup(target, bytes); !written)
        return std::move(written).error();
    if (Status pruned = Prune(file_name); !pruned)
        return std::move(pruned).error();
    return std::optional<std::filesystem::path>(target);
}

std::vector<BackupFile> FileBackups::List() const {
    std::vector<BackupFile> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder(), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code type_error;
        if (!it->is_regular_file(type_error))
            continue;
        std::optional<BackupFile> file = ParseBackupName(it->path());
        if (!file)
            continue;
        file->size = it->file_size(type_error);
        files.push_back(std::move(*file));
    }
    std::sort(files.begin(), files.end(), NewerBackup);
    return files;
}

std::vector<BackupFile> FileBackups::List(std::string_view file_name) const {
    std::vector<BackupFile> files = List();
    std::erase_if(files, [&](const BackupFile& file) { return file.of != file_name; });
    return files;
}

Status FileBackups::Prune(std::string_view file_name) {
    // A backup being written when the program was killed is left under its temporary name.
    std::error_code list_error;
    const std::string part_prefix = "." + std::filesystem::path(file_name).stem().string() + "_";
    std::vector<std::filesystem::path> parts;
    for (std::filesystem::directory_iterator it(folder(), list_error), end;
         !list_error && it != end; it.increment(list_error)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(part_prefix) && name.ends_with(".part"))
            parts.push_back(it->path());
    }
    for (const std::filesystem::path& part : parts) {
        std::error_code ignored;
        std::filesystem::remove(part, ignored);
    }
    const std::vector<BackupFile> files = List(file_name);
    const auto today = std::chrono::sys_days(clock_.Today());
    std::set<std::chrono::sys_days> days_kept;
    Status result = Ok();
    for (std::size_t k = 0; k < files.size(); ++k) {
        const auto day = std::chrono::sys_days(files[k].taken.date);
        const auto age = (today - day).count();
        // Newest first, so the first backup seen of a day is that day's newest.
        const bool newest_of_day = days_kept.insert(day).second;
        const bool keep = static_cast<int>(k) < policy_.keep_saves
            || (newest_of_day && age >= 0 && age < policy_.keep_days);
        if (keep)
            continue;
        std::error_code ec;
        std::filesystem::remove(files[k].path, ec);
        if (ec && result)
            result = FileError(FileOperation::kRemove, files[k].path, ec);
    }
    return result;
}

} // namespace orvane
