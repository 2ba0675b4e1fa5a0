// Changes made to a data file by something else (another program, a sync tool, a second machine)
// while the program has it open. The program remembers each file as it read or last wrote it;
// before it replaces the file, and when the data folder changes, it compares, so that a save
// never silently replaces what someone else wrote. A file only touched (a new time, the same
// bytes) is no change.
//
//   KnownFile notes(data.notes());
//   notes.RememberRead(ReadWholeFile(notes.path()));   // as the window shows it
//   if (notes.ChangedOutside()) ... ask: keep mine, take theirs or cancel
//   ReplaceKnownFile(notes, backups, bytes, backup_error);
//
//   OutsideChanges outside(document);        // the day file, remembered at every load and save
#pragma once

#include "core/calendar_document.h"
#include "core/clock.h"
#include "core/file_backups.h"
#include "core/file_fingerprint.h"
#include "core/result.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The file as it is now; a missing file is a fingerprint that does not exist.
Result<FileFingerprint> FingerprintOf(const std::filesystem::path& path);

// One data file as the program last read or wrote it.
class KnownFile {
public:
    explicit KnownFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }
    bool known() const { return known_.has_value(); }

    // Remembers what a read of the file gave: its bytes, or that it was missing. A read that
    // failed otherwise tells nothing, and the file is forgotten: nothing to compare with.
    void RememberRead(const Result<std::string>& read);
    // Remembers the bytes the program has just written.
    void RememberWritten(std::string_view bytes);
    // Remembers the file as the program read or wrote it, taken from the bytes it held.
    void RememberHeld(const FileFingerprint& print);
    void Forget();

    // True when the file's bytes differ from those the program last read or wrote (a file
    // removed or created since is a change too). Nothing known: no change. A file that cannot be
    // read now is no change either: the save that follows reports it.
    bool ChangedOutside();
    // The file as it is now, when it changed outside and was not reported before; marks it
    // reported, so that one change is reported once.
    std::optional<FileFingerprint> TakeUnreported();

private:
    void Remember(const FileFingerprint& print);

    std::filesystem::path path_;
    std::optional<FileFingerprint> known_;
    std::optional<FileFingerprint> reported_;
};

// Backs up the file as it is now (FileBackups::Keep), then replaces it with `bytes` and
// remembers them as the program's own. A backup that fails does not stop the write: its error is
// left in `backup_error` for the window to report after saving.
Status ReplaceKnownFile(KnownFile& file, FileBackups& backups, std::string_view bytes,
    std::optional<Error>& backup_error);

// Keeps what a window could not save (its user took the other version instead) in the data
// folder as "<stem>-not-saved-YYYY-MM-DD-HHMMSS<ext>", `stem` the data file's ("notes" for
// notes.ovd); "-2", "-3" ... when that name is taken.
Result<std::filesystem::path> KeepUnsaved(const std::filesystem::path& folder,
    std::string_view file_name, const LocalTime& now, std::string_view ext, std::string_view bytes);

// Watches the document's day file through its loads and saves, remembering it as the document
// read or wrote it.
class OutsideChanges final : public DocumentListener {
public:
    explicit OutsideChanges(CalendarDocument& document);
    ~OutsideChanges() override;

    // See KnownFile; nothing is known before the first load.
    bool ChangedOutside() { return file_.ChangedOutside(); }
    std::optional<FileFingerprint> TakeUnreported() { return file_.TakeUnreported(); }

    void Changed(const CalendarDocument& document, const ChangeReport& report) override;
    void Saved(const CalendarDocument& document) override;

private:
    CalendarDocument& document_;
    KnownFile file_;
};

} // namespace orvane
