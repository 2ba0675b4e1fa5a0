#include "core/outside_changes.h"

#include "core/journal.h"
#include "core/text_file.h"

#include <system_error>

namespace orvane {

namespace {

namespace fs = std::filesystem;

std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

} // namespace

Result<FileFingerprint> FingerprintOf(const std::filesystem::path& path) {
    FileFingerprint print;
    std::error_code ec;
    const auto time = fs::last_write_time(path, ec);
    Result<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        if (IsMissingFile(bytes.error()))
            return print;
        return std::move(bytes).error();
    }
    print.exists = true;
    print.size = bytes->size();
    print.modified_ns = ec
        ? 0
        : std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
    print.hash = Fnv1a(*bytes);
    return print;
}

OutsideChanges::OutsideChanges(CalendarDocument& document)
    : document_(document) {
    document_.AddListener(this);
}

OutsideChanges::~OutsideChanges() {
    document_.RemoveListener(this);
}

void OutsideChanges::Remember() {
    Result<FileFingerprint> now = FingerprintOf(document_.data().cdat());
    if (now) {
        known_ = *now;
        reported_.reset();
    }
}

bool OutsideChanges::ChangedOutside() {
    if (!known_)
        return false;
    const Result<FileFingerprint> now = FingerprintOf(document_.data().cdat());
    // A file that cannot be read now is for the save to report.
    if (!now)
        return false;
    if (now->exists == known_->exists && now->size == known_->size && now->hash == known_->hash) {
        known_->modified_ns = now->modified_ns;
        return false;
    }
    return true;
}

std::optional<FileFingerprint> OutsideChanges::TakeUnreported() {
    if (!ChangedOutside())
        return std::nullopt;
    const Result<FileFingerprint> now = FingerprintOf(document_.data().cdat());
    if (!now
        || (reported_ && now->hash == reported_->hash && now->size == reported_->size
            && now->exists == reported_->exists))
        return std::nullopt;
    reported_ = *now;
    return *now;
}

void OutsideChanges::Changed(const CalendarDocument&, const ChangeReport& report) {
    if (report.kind == OperationKind::kLoad)
        Remember();
}

void OutsideChanges::Saved(const CalendarDocument&) {
    Remember();
}

Result<std::filesystem::path> BackUpOutsideVersion(const DataFolder& data, const LocalTime& now) {
    Result<std::string> bytes = ReadWholeFile(data.cdat());
    if (!bytes)
        return std::move(bytes).error();
    const fs::path folder = data.dir / "backups";
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        return FileError(FileOperation::kCreateFolder, folder, ec);
    const fs::path copy = DatedPath(folder, "cdat-outside", now, ".ovd");
    if (Status written = WriteFileAtomic(copy, *bytes); !written)
        return std::move(written).error();
    return copy;
}

} // namespace orvane
