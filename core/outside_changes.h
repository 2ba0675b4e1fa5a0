// Changes made to the day file by something else (another program, a sync tool, a second
// machine) while the calendar is open. The program remembers the day file as it read or last
// wrote it; before a save, and when the data folder changes, it compares, so that a save never
// silently replaces what someone else wrote.
//
//   OutsideChanges outside(document);        // remembers at every load and save
//   if (outside.ChangedOutside()) ... ask: keep mine, take theirs or cancel
#pragma once

#include "core/calendar_document.h"
#include "core/clock.h"
#include "core/result.h"

#include <cstdint>
#include <filesystem>
#include <optional>

namespace orvane {

// What a file was: enough to tell that it changed without keeping its bytes.
struct FileFingerprint {
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t modified_ns = 0; // last modification, in nanoseconds of the file clock
    std::uint64_t hash = 0; // FNV-1a of the bytes
    friend bool operator==(const FileFingerprint&, const FileFingerprint&) = default;
};

// The file as it is now; a missing file is a fingerprint that does not exist.
Result<FileFingerprint> FingerprintOf(const std::filesystem::path& path);

// Watches the document's day file through its loads and saves.
class OutsideChanges final : public DocumentListener {
public:
    explicit OutsideChanges(CalendarDocument& document);
    ~OutsideChanges() override;

    // Remembers the day file as it is now, as the program's own.
    void Remember();
    // True when the day file's bytes differ from those the program last read or wrote. A file
    // only touched (a new time, the same bytes) is not a change. Nothing is known before the
    // first load: no change.
    bool ChangedOutside();
    // The day file as it is now, when it changed outside and was not reported before; marks it
    // reported, so that one change is reported once.
    std::optional<FileFingerprint> TakeUnreported();

    void Changed(const CalendarDocument& document, const ChangeReport& report) override;
    void Saved(const CalendarDocument& document) override;

private:
    CalendarDocument& document_;
    std::optional<FileFingerprint> known_;
    std::optional<FileFingerprint> reported_;
};

// Copies the day file as it is now into the data folder's backups/ folder (made when missing),
// under a name with `now`'s date and time: what someone else wrote, before a save replaces it.
Result<std::filesystem::path> BackUpOutsideVersion(const DataFolder& data, const LocalTime& now);

} // namespace orvane
