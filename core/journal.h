// The recovery journal: every change to the days and the window since the last save, and the text
// of the note being typed, appended to one file in the data folder and flushed to disk, so that a
// crash, a power cut or a killed program loses nothing typed. A save or a clean quit clears it; a
// journal found at start-up means the last run ended without either, and its records replayed onto
// the saved calendar give back what the user had.
//
// The file (recovery.ovj) is the header line "Orvane recovery journal 1" and then records, each
//   "#" <payload length, 8 hex digits> " " <CRC-32 of the payload, 8 hex digits> CR LF
//   <payload> CR LF
// so a record cut off by a crash during its append is told apart from a whole one, and a file that
// was edited or written by something else is refused rather than replayed.
//
//   Journal journal(data.file(kJournalFileName));
//   DocumentJournal keeper(document, journal);      // appends every change, clears on save
//   Result<JournalContents> left = ReadJournal(journal.path());
#pragma once

#include "core/calendar_document.h"
#include "core/clock.h"
#include "core/result.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace orvane {

inline constexpr std::string_view kJournalFileName = "recovery.ovj";
inline constexpr std::string_view kJournalHeader = "Orvane recovery journal 1\r\n";

// One change as the journal keeps it: each changed day's text after the change, and the window.
struct JournalRecord {
    enum class Kind {
        kChange, // a document operation
        kTyping, // the note being typed, not stored into its day yet
    };
    Kind kind = Kind::kChange;
    std::string name; // what the user did: "Typing", "Weekly Entry 'Church'"
    int top_slot = 0; // the window after the change; 0 when it did not move
    std::vector<std::pair<int, std::string>> days; // slot in [1, 741] -> its text after

    friend bool operator==(const JournalRecord&, const JournalRecord&) = default;
};

// The record of an operation's report: its changed days and, when it moved, the window.
JournalRecord RecordOf(const ChangeReport& report);

// Bytes of one record, ready to append after the header or another record.
std::string EncodeJournalRecord(const JournalRecord& record);

uint32_t Crc32(std::string_view bytes);

struct JournalContents {
    std::vector<JournalRecord> records; // every whole record, in order
    int lost_at_end = 0; // records cut off at the end (a crash during the append)
};

// Reads a journal's bytes. A record cut off at the end, or whose checksum fails with nothing
// readable after it, is counted as lost; a wrong header, a damaged record in the middle or a
// record that does not read as the program writes it refuses the whole file.
Result<JournalContents> ParseJournal(std::string_view bytes);

// The journal file at `path`; a missing file is an empty journal.
Result<JournalContents> ReadJournal(const std::filesystem::path& path);

// The number of changes the user made, as the recovery question counts them: the typing of a
// note followed directly by its store counts once.
int CountChanges(const std::vector<JournalRecord>& records);

// Replays the records onto the document as one operation ("Recovery"). Nothing is written to a
// file: the calendar stays unsaved until the user saves.
ChangeReport ReplayJournal(CalendarDocument& document, const std::vector<JournalRecord>& records);

// The records as text a person can read: each change's name, then each day with its entries one
// to a line. Windows-1252 with CR LF, like the program's other files.
std::string JournalText(const std::vector<JournalRecord>& records);

// A file name that does not exist yet in `folder`: stem, the date and time of `now`, and `ext`:
// "recovered-2024-03-14-090507.txt", with "-2", "-3" ... before the extension when taken.
std::filesystem::path DatedPath(const std::filesystem::path& folder, std::string_view stem,
    const LocalTime& now, std::string_view ext);

// The append-only journal file. Appends return at once: a writer thread writes and flushes them
// to disk in order, so typing never waits for the disk. A failed write (a full disk) is reported
// once to the failure handler and the records are kept and written again with the next append
// or after a short wait; nothing half-written stays in the file.
class Journal {
public:
    explicit Journal(std::filesystem::path path);
    ~Journal(); // writes what is queued (one attempt), then stops the writer
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    const std::filesystem::path& path() const { return path_; }

    void Append(const JournalRecord& record);
    // Waits until every record appended so far is on disk, or a write failed; true for on disk.
    bool WaitFlushed();
    // Empties the journal: what is queued is dropped and the file removed (the calendar was
    // saved, or the user chose to discard the changes).
    Status Clear();
    // Replaces the file with `records` in one atomic write: after a recovery, the journal holds
    // exactly the changes replayed, without what a crash cut off.
    Status Restart(const std::vector<JournalRecord>& records);

    // Called on the writer thread, once per run, when a write first fails.
    void SetFailureHandler(std::function<void(const Error&)> handler);

private:
    void StartWriter(); // with mutex_ held
    void WriterLoop();
    Status WriteBatch(const std::string& bytes);
    void CloseFile();

    std::filesystem::path path_;
    std::mutex mutex_;
    std::condition_variable wake_; // the writer: work arrived or it must stop
    std::condition_variable idle_; // the waiters: the writer finished an attempt
    std::deque<std::string> queue_; // encoded records not on disk yet
    bool busy_ = false; // the writer is writing a batch taken from the queue
    bool failing_ = false; // the last attempt failed; the queue holds what it could not write
    bool stop_ = false;
    bool reported_ = false;
    std::function<void(const Error&)> on_failure_;
    std::thread writer_;
    // The writer's file, used only by the writer or with the writer idle.
    int fd_ = -1;
    std::uintmax_t size_ = 0; // bytes of whole records (and the header) in the file
};

// Keeps a journal for a document: every operation that changes days or moves the window is
// appended, and a save clears it. The grid hands in the note being typed through NoteTyped.
class DocumentJournal final : public DocumentListener {
public:
    DocumentJournal(CalendarDocument& document, Journal& journal);
    ~DocumentJournal() override;

    Journal& journal() { return journal_; }
    // The note being typed into `slot` would be stored as `day`.
    void NoteTyped(int slot, std::string day);
    // Operations run while paused are not journalled (the replay of a recovery, whose records
    // the journal holds already).
    void SetPaused(bool paused) { paused_ = paused; }

    void Changed(const CalendarDocument& document, const ChangeReport& report) override;
    void Saved(const CalendarDocument& document) override;

private:
    CalendarDocument& document_;
    Journal& journal_;
    bool paused_ = false;
};

} // namespace orvane
