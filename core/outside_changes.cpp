#include "core/outside_changes.h"

#include "core/journal.h"
#include "core/text_file.h"

#include <system_error>

namespace orvane {

namespace {

namespace fs = std::filesystem;

std::int64_t ModifiedNs(const fs::path& path) {
    std::error_code ec;
    const auto time = fs::last_write_time(path, ec);
    return ec
        ? 0
        : std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
}

} // namespace

Result<FileFingerprint> FingerprintOf(const std::filesystem::path& path) {
    // The time first: a write between the two then shows as a newer time, never an older one.
    const std::int64_t modified = ModifiedNs(path);
    Result<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        if (IsMissingFile(bytes.error()))
            return FileFingerprint {};
        return std::move(bytes).error();
    }
    FileFingerprint print = FingerprintOfBytes(*bytes);
    print.modified_ns = modified;
    return print;
}

KnownFile::KnownFile(std::filesystem::path path)
    : path_(std::move(path)) { }

void KnownFile::Remember(const FileFingerprint& print) {
    known_ = print;
    reported_.reset();
}

void KnownFile::RememberRead(const Result<std::string>& read) {
    if (read) {
        FileFingerprint print = FingerprintOfBytes(*read);
        print.modified_ns = ModifiedNs(path_);
        Remember(print);
    } else if (IsMissingFile(read.error())) {
        Remember(FileFingerprint {});
    } else {
        Forget();
    }
}

void KnownFile::RememberWritten(std::string_view bytes) {
    FileFingerprint print = FingerprintOfBytes(bytes);
    print.modified_ns = ModifiedNs(path_);
    Remember(print);
}

void KnownFile::RememberHeld(const FileFingerprint& print) {
    FileFingerprint held = print;
    held.modified_ns = held.exists ? ModifiedNs(path_) : 0;
    Remember(held);
}

void KnownFile::Forget() {
    known_.reset();
    reported_.reset();
}

bool KnownFile::ChangedOutside() {
    if (!known_)
        return false;
    const Result<FileFingerprint> now = FingerprintOf(path_);
    if (!now)
        return false;
    if (SameContent(*now, *known_)) {
        known_->modified_ns = now->modified_ns;
        return false;
    }
    return true;
}

std::optional<FileFingerprint> KnownFile::TakeUnreported() {
    if (!ChangedOutside())
        return std::nullopt;
    const Result<FileFingerprint> now = FingerprintOf(path_);
    if (!now || (reported_ && SameContent(*now, *reported_)))
        return std::nullopt;
    reported_ = *now;
    return *now;
}

Status ReplaceKnownFile(KnownFile& file, FileBackups& backups, std::string_view bytes,
    std::optional<Error>& backup_error) {
    backup_error.reset();
    if (auto kept = backups.Keep(file.path()); !kept)
        backup_error = std::move(kept).error();
    if (Status written = WriteFileAtomic(file.path(), bytes); !written)
        return written;
    file.RememberWritten(bytes);
    return Ok();
}

Result<std::filesystem::path> KeepUnsaved(const std::filesystem::path& folder,
    std::string_view file_name, const LocalTime& now, std::string_view ext,
    std::string_view bytes) {
    const std::string stem = fs::path(file_name).stem().string() + "-not-saved";
    const fs::path path = DatedPath(folder, stem, now, ext);
    if (Status written = WriteFileAtomic(path, bytes); !written)
        return std::move(written).error();
    return path;
}

OutsideChanges::OutsideChanges(CalendarDocument& document)
    : document_(document)
    , file_(document.data().cdat()) {
    document_.AddListener(this);
}

OutsideChanges::~OutsideChanges() {
    document_.RemoveListener(this);
}

void OutsideChanges::Changed(const CalendarDocument& document, const ChangeReport& report) {
    if (report.kind == OperationKind::kLoad && document.day_file())
        file_.RememberHeld(*document.day_file());
}

void OutsideChanges::Saved(const CalendarDocument& document) {
    if (document.day_file())
        file_.RememberHeld(*document.day_file());
}

} // namespace orvane
