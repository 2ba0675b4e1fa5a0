// The calendar document: the day store, the window of days the grid shows (TopSlot), the day the
// user is typing in, and the preferences in memory. It changes only through operations; each
// operation records what it changed (days, the window, files with their old and new bytes) in a
// ChangeReport, which is also enough to restore everything it changed.
//
// Listeners hear about every change in one place: before an operation runs (the grid stores the
// note being typed, so nothing typed is lost and nothing is stored from a stale grid) and after it
// (the grid refills from the report; later the recovery journal and the undo history).
//
//   ChangeReport report = document.Run(OperationKind::kApplyEntry, "Weekly Entry 'Church'",
//       [&](DocumentEdit& edit) { outcome = ApplyEntryPlan(edit, plan, text, true); });
#pragma once

#include "core/data_folder.h"
#include "core/date_key.h"
#include "core/day_file.h"
#include "core/day_store.h"
#include "core/file_backups.h"
#include "core/preferences.h"
#include "core/result.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class OperationKind {
    kLoad, // the day file was read at start-up, or a new calendar was made
    kStoreNote, // a typed note reached its day
    kMoveWindow, // TopSlot changed
    kApplyEntry, // a recurring entry was written into days (and maybe fdat.ovd)
    kDeleteEntries, // an entry text was removed from days (and maybe from fdat.ovd)
    kCycle, // the window of days moved one week forward
    kPreferences, // the preferences in memory changed
    kRestore, // days and files were put back as they were (undo, redo, a backup)
    kImport, // entries came in from another calendar
};

struct DayChange {
    int slot = 0; // in [1, 741]
    std::string before;
    std::string after;
    friend bool operator==(const DayChange&, const DayChange&) = default;
};

// One file an operation wrote. A whole-file write keeps the old and new bytes; an append keeps the
// old size and the bytes it added, so that a large file (the archive) is not copied to undo it.
struct FileChange {
    enum class Kind { kReplaced, kAppended };
    Kind kind = Kind::kReplaced;
    std::filesystem::path path;
    std::optional<std::string> before; // kReplaced: the old bytes; nothing when there was no file
    bool before_known = true; // false when the old file existed but could not be read
    std::string after; // kReplaced: the new bytes
    std::uintmax_t old_size = 0; // kAppended: the size before the append
    bool created = false; // kAppended: the append created the file
    std::string appended; // kAppended: the bytes added
    friend bool operator==(const FileChange&, const FileChange&) = default;
};

struct ChangeReport {
    OperationKind kind = OperationKind::kStoreNote;
    std::string name; // what the user did, in the program's words: "Weekly Entry 'Church'"
    std::vector<DayChange> days; // in slot order, only days whose text changed
    int top_before = 1;
    int top_after = 1;
    std::vector<FileChange> files; // in the order they were written

    bool window_moved() const { return top_before != top_after; }
    bool empty() const { return days.empty() && files.empty() && !window_moved(); }
    // True when `slot` is one of the changed days.
    bool Touches(int slot) const;
};

// Replaces a file atomically and returns the change with its old bytes, for a file written outside
// an operation that an operation will include.
Result<FileChange> ReplaceFile(const std::filesystem::path& path, std::string_view bytes);

class CalendarDocument;

// The one way an operation changes the document: every day it touches and every file it writes
// goes through here, so the report is complete by construction.
class DocumentEdit {
public:
    const DayStore& store() const { return store_; }
    const DataFolder& data() const { return data_; }
    const Preferences& prefs() const { return prefs_; }

    // A day's text to change; its text before the change is kept for the report.
    std::string& Day(int slot); // slot in [1, 741]
    // Changes many days at once (a whole store moved a week, a backup restored).
    DayStore& AllDays();

    int TopSlot() const { return top_; }
    void SetTopSlot(int top_slot); // brought to a row start in [1, 694]

    // File operations that are part of the change. A failed one changes nothing and is not
    // recorded.
    Status WriteFile(const std::filesystem::path& path, std::string_view bytes);
    Status AppendFile(const std::filesystem::path& path, std::string_view bytes, bool create);
    // A file change made just before the operation began that belongs to it (the backup a cycle
    // takes before the user confirms it).
    void Include(FileChange change);

private:
    friend class CalendarDocument;
    DocumentEdit(DayStore& store, const DataFolder& data, const Preferences& prefs, int top,
        FileBackups* backups);

    DayStore& store_;
    const DataFolder& data_;
    const Preferences& prefs_;
    int top_;
    std::map<int, std::string> before_; // slot -> text before the operation
    bool all_days_ = false;
    DayStore all_before_;
    std::vector<FileChange> files_;
    FileBackups* backups_;
};

class DocumentListener {
public:
    virtual ~DocumentListener() = default;
    // Before any operation changes the document: whoever holds unstored edits stores them now.
    virtual void BeforeChange(CalendarDocument& /*document*/) { }
    // After every operation, also one that failed part-way (the report holds what did change).
    virtual void Changed(const CalendarDocument& /*document*/, const ChangeReport& /*report*/) { }
    // After the day store was saved to cdat.ovd.
    virtual void Saved(const CalendarDocument& /*document*/) { }
};

class CalendarDocument {
public:
    explicit CalendarDocument(DataFolder data);

    const DayStore& store() const { return store_; }
    const DataFolder& data() const { return data_; }
    const Preferences& prefs() const { return prefs_; }
    int TopSlot() const { return top_; }
    const std::string& TodayKey() const { return today_key_; }
    // cdat.ovd as this program last read or wrote it; nothing before the first load.
    const std::optional<FileFingerprint>& day_file() const { return day_file_; }

    // The note editor the user last entered (2, 4, ... 70; 0 before any) and the day it shows.
    int ActiveNote() const { return active_note_; }
    void SetActiveNote(int note) { active_note_ = note; }
    std::optional<int> ActiveSlot() const;

    void AddListener(DocumentListener* listener);
    void RemoveListener(DocumentListener* listener);

    // Asks the listeners to store their pending edits now (a dialog that is about to read the
    // days does this as it opens).
    void FlushPendingEdits() { NotifyBefore(); }

    // Start-up: reads the day file or makes a new calendar from `today`, marks `today`.
    Result<DayFileLoaded> Load(const Date& today);
    // Writes the day store to cdat.ovd, after the listeners stored their pending edits.
    Status Save();

    // Where the old cdat.ovd goes before a save replaces it, and the old fdat.ovd before an
    // operation replaces it; none: no backups (tests of other things).
    void SetBackups(FileBackups* backups) { backups_ = backups; }
    FileBackups* backups() const { return backups_; }

    // Runs `work` as one operation: the listeners store pending edits first, then hear the report
    // of what changed, whatever `work` returned.
    ChangeReport Run(
        OperationKind kind, std::string name, const std::function<void(DocumentEdit&)>& work);

    // The simple operations.
    ChangeReport StoreNote(int slot, std::string text);
    ChangeReport MoveWindow(int top_slot);
    // Replaces the preferences in memory; nothing happens when they are the same.
    ChangeReport SetPreferences(const Preferences& prefs);

    // For start-up and tests: a store that is already loaded, without a report.
    void Adopt(DayStore store, const std::string& today_key);
    Preferences& StartupPreferences() { return prefs_; }

private:
    void NotifyBefore();
    void NotifyChanged(const ChangeReport& report);

    DataFolder data_;
    DayStore store_;
    Preferences prefs_;
    int top_ = 1;
    std::string today_key_;
    int active_note_ = 0;
    std::vector<DocumentListener*> listeners_;
    std::optional<FileFingerprint> day_file_;
    FileBackups* backups_ = nullptr;
    bool running_ = false; // an operation's work is running
    bool storing_pending_ = false; // the listeners are storing their pending edits
};

} // namespace orvane
