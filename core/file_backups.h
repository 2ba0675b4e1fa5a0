// Rotating backups of the data files: before a save replaces a data file, its old bytes go to
// `backups/` in the data folder under a name with the date and time ("cdat_20241206_192205.ovd",
// with "_2", "_3" ... for more saves in the same second). Of each file the last `keep_saves`
// backups are kept, plus the newest of each of the last `keep_days` days; older ones are removed.
// The folder is made again whenever it is missing (the user may delete it at any time).
//
//   FileBackups backups(data.dir, clock);
//   Result<std::optional<std::filesystem::path>> kept = backups.Keep(data.cdat());
//   for (const BackupFile& file : backups.List()) ...   // newest first
#pragma once

#include "core/clock.h"
#include "core/result.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

inline constexpr std::string_view kBackupFolderName = "backups";

struct BackupPolicy {
    int keep_saves = 20; // the newest backups of each file, whatever their age
    int keep_days = 30; // today and the days before it that keep their day's newest backup
    friend bool operator==(const BackupPolicy&, const BackupPolicy&) = default;
};

struct BackupFile {
    std::filesystem::path path; // in the backup folder
    std::string of; // the data file it is a backup of: "cdat.ovd"
    LocalTime taken;
    int sequence = 1; // 2, 3 ... for later backups taken in the same second
    std::uintmax_t size = 0;
};

// The name a backup of `file_name` taken at `taken` gets: "cdat_20241206_192205.ovd", with
// "_<sequence>" before the extension from the second backup of the same second on.
std::string BackupName(std::string_view file_name, const LocalTime& taken, int sequence = 1);
// The other way round; nothing for a name that is not a backup's.
std::optional<BackupFile> ParseBackupName(const std::filesystem::path& path);

class FileBackups {
public:
    FileBackups(std::filesystem::path data_dir, const Clock& clock, BackupPolicy policy = {});

    const BackupPolicy& policy() const { return policy_; }
    // The clock the backups are named by; windows name their own dated files by it too.
    const Clock& clock() const { return clock_; }
    void SetPolicy(BackupPolicy policy);
    std::filesystem::path folder() const { return data_dir_ / kBackupFolderName; }

    // Copies the file about to be replaced into the backup folder and prunes that file's backups.
    // Nothing is copied when the file is missing or holds exactly what its newest backup holds.
    // Returns the backup's path, when one was made.
    Result<std::optional<std::filesystem::path>> Keep(const std::filesystem::path& file);
    // The same for bytes that are not (yet) in a file: the calendar in memory before a restore.
    Result<std::optional<std::filesystem::path>> KeepBytes(
        std::string_view file_name, std::string_view bytes);

    // Every backup in the folder, newest first; an empty list when the folder is missing.
    std::vector<BackupFile> List() const;
    // The backups of one data file, newest first.
    std::vector<BackupFile> List(std::string_view file_name) const;
    // Removes the backups of `file_name` that the policy does not keep.
    Status Prune(std::string_view file_name);

    // The failure of the last Keep() made by a save, for the window that saved to report; a save
    // itself goes on without its backup rather than lose what the user typed.
    const std::optional<Error>& last_error() const { return last_error_; }
    void set_last_error(std::optional<Error> error) { last_error_ = std::move(error); }

private:
    std::filesystem::path data_dir_;
    const Clock& clock_;
    BackupPolicy policy_;
    std::optional<Error> last_error_;
};

// Newest first: by date, time and sequence.
bool NewerBackup(const BackupFile& a, const BackupFile& b);

} // namespace orvane
