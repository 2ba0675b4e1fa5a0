#include "core/journal.h"

#include "core/day_store.h"
#include "core/text_file.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <string_view>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvane {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRecordHeadSize = 1 + 8 + 1 + 8 + 2; // "#" len " " crc CR LF
constexpr std::string_view kLineEnd = "\r\n";
// How long a failed write waits before it is tried again without a new append.
constexpr auto kRetryInterval = std::chrono::seconds(2);

std::string Hex8(uint32_t value) {
    static constexpr std::string_view kDigits = "0123456789abcdef";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
        value >>= 4;
    }
    return text;
}

std::optional<uint32_t> ParseHex8(std::string_view text) {
    if (text.size() != 8)
        return std::nullopt;
    uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Reads a decimal number ended by `end` from the front of `text`, and drops both.
std::optional<long> TakeNumber(std::string_view& text, char end) {
    const std::size_t stop = text.find(end);
    if (stop == std::string_view::npos || stop == 0)
        return std::nullopt;
    long value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + stop, value);
    if (ec != std::errc() || ptr != text.data() + stop)
        return std::nullopt;
    text.remove_prefix(stop + 1);
    return value;
}

// Reads "<length>:<bytes>" from the front of `text`.
std::optional<std::string> TakeCounted(std::string_view& text) {
    const auto length = TakeNumber(text, ':');
    if (!length || *length < 0 || static_cast<std::size_t>(*length) > text.size())
        return std::nullopt;
    std::string bytes(text.substr(0, static_cast<std::size_t>(*length)));
    text.remove_prefix(static_cast<std::size_t>(*length));
    return bytes;
}

bool TakeLineEnd(std::string_view& text) {
    if (!text.starts_with(kLineEnd))
        return false;
    text.remove_prefix(kLineEnd.size());
    return true;
}

// The payload: "<kind> <top>:<name length>:<name>" CR LF, then per day
// "<slot> <text length>:<text>" CR LF. Counted texts keep any byte a day string may hold.
std::string EncodePayload(const JournalRecord& record) {
    std::string payload;
    payload += record.kind == JournalRecord::Kind::kTyping ? 'T' : 'C';
    payload += ' ';
    payload += std::to_string(record.top_slot);
    payload += ':';
    payload += std::to_string(record.name.size());
    payload += ':';
    payload += record.name;
    payload += kLineEnd;
    for (const auto& [slot, text] : record.days) {
        payload += std::to_string(slot);
        payload += ' ';
        payload += std::to_string(text.size());
        payload += ':';
        payload += text;
        payload += kLineEnd;
    }
    return payload;
}

std::optional<JournalRecord> ParsePayload(std::string_view payload) {
    JournalRecord record;
    if (payload.size() < 2 || payload[1] != ' ')
        return std::nullopt;
    if (payload[0] == 'T')
        record.kind = JournalRecord::Kind::kTyping;
    else if (payload[0] != 'C')
        return std::nullopt;
    payload.remove_prefix(2);
    const auto top = TakeNumber(payload, ':');
    if (!top || (*top != 0 && (*top < 1 || *top > kMaxTopSlot)))
        return std::nullopt;
    record.top_slot = static_cast<int>(*top);
    auto name = TakeCounted(payload);
    if (!name || !TakeLineEnd(payload))
        return std::nullopt;
    record.name = std::move(*name);
    while (!payload.empty()) {
        const auto slot = TakeNumber(payload, ' ');
        if (!slot || *slot < 1 || *slot > kSlotCount)
            return std::nullopt;
        auto text = TakeCounted(payload);
        if (!text || !TakeLineEnd(payload))
            return std::nullopt;
        record.days.emplace_back(static_cast<int>(*slot), std::move(*text));
    }
    return record;
}

// How many records the bytes after the last whole record were: each head that still reads counts
// one, and whatever is left (a head cut off, zeros a crash left) one more.
int CountLost(std::string_view tail) {
    int lost = 0;
    while (!tail.empty()) {
        ++lost;
        if (tail.size() < kRecordHeadSize || tail[0] != '#')
            break;
        const auto length = ParseHex8(tail.substr(1, 8));
        const std::size_t whole = kRecordHeadSize + (length ? *length : 0) + kLineEnd.size();
        if (!length || whole > tail.size())
            break;
        tail.remove_prefix(whole);
    }
    return lost;
}

// The record whose head starts `bytes`, when it is whole and its checksum matches.
bool WholeRecordAt(std::string_view bytes) {
    if (bytes.size() < kRecordHeadSize || bytes[0] != '#' || bytes[9] != ' '
        || bytes.substr(18, 2) != kLineEnd)
        return false;
    const auto length = ParseHex8(bytes.substr(1, 8));
    const auto crc = ParseHex8(bytes.substr(10, 8));
    return length && crc && kRecordHeadSize + *length + kLineEnd.size() <= bytes.size()
        && bytes.substr(kRecordHeadSize + *length, 2) == kLineEnd
        && Crc32(bytes.substr(kRecordHeadSize, *length)) == *crc;
}

// True when a whole record follows somewhere in `bytes`: damage before it was not a crash during
// the last append, which leaves nothing whole behind it.
bool WholeRecordFollows(std::string_view bytes) {
    for (std::size_t at = bytes.find('#'); at != std::string_view::npos;
         at = bytes.find('#', at + 1)) {
        if (WholeRecordAt(bytes.substr(at)))
            return true;
    }
    return false;
}

Error NotOurs(std::string_view why) {
    return Refusal(
        "The recovery journal is not one this version of Orvane wrote (" + std::string(why) + ").");
}

std::string TwoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10 % 10))
        + static_cast<char>('0' + value % 10);
}

} // namespace

uint32_t Crc32(std::string_view bytes) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t {};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFU;
    for (const char ch : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFU;
}

JournalRecord RecordOf(const ChangeReport& report) {
    JournalRecord record;
    record.name = report.name;
    record.top_slot = report.window_moved() ? report.top_after : 0;
    for (const DayChange& day : report.days)
        record.days.emplace_back(day.slot, day.after);
    return record;
}

std::string EncodeJournalRecord(const JournalRecord& record) {
    const std::string payload = EncodePayload(record);
    std::string bytes;
    bytes.reserve(kRecordHeadSize + payload.size() + kLineEnd.size());
    bytes += '#';
    bytes += Hex8(static_cast<uint32_t>(payload.size()));
    bytes += ' ';
    bytes += Hex8(Crc32(payload));
    bytes += kLineEnd;
    bytes += payload;
    bytes += kLineEnd;
    return bytes;
}

Result<JournalContents> ParseJournal(std::string_view bytes) {
    JournalContents contents;
    if (bytes.empty())
        return contents;
    if (!bytes.starts_with(kJournalHeader)) {
        // A header cut off while the first record was written (or zeros where it should be) is
        // a journal with nothing in it.
        if (kJournalHeader.starts_with(bytes)
            || bytes.find_first_not_of('\0') == std::string_view::npos) {
            contents.lost_at_end = 1;
            return contents;
        }
        return NotOurs("its first line is not the journal's");
    }
    std::string_view rest = bytes.substr(kJournalHeader.size());
    while (!rest.empty()) {
        const std::string_view tail = rest;
        if (!WholeRecordAt(rest)) {
            // Damage with nothing whole after it is what a crash during the last append leaves
            // (a record cut short, or zeros where the file grew before its data arrived);
            // anything else was changed after the program wrote it.
            if (WholeRecordFollows(rest.substr(1)))
                return NotOurs("a record in the middle is damaged");
            contents.lost_at_end = CountLost(tail);
            break;
        }
        const std::size_t length = *ParseHex8(rest.substr(1, 8));
        const std::string_view payload = rest.substr(kRecordHeadSize, length);
        const std::size_t whole = kRecordHeadSize + length + kLineEnd.size();
        std::optional<JournalRecord> record = ParsePayload(payload);
        if (!record)
            return NotOurs("a record does not read as the program writes it");
        contents.records.push_back(std::move(*record));
        rest.remove_prefix(whole);
    }
    return contents;
}

Result<JournalContents> ReadJournal(const std::filesystem::path& path) {
    Result<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        if (IsMissingFile(bytes.error()))
            return JournalContents {};
        return std::move(bytes).error();
    }
    return ParseJournal(*bytes);
}

int CountChanges(const std::vector<JournalRecord>& records) {
    int count = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const JournalRecord& record = records[i];
        // Typing into a note is one change however often it was journalled on the way, and its
        // store is the same change.
        if (record.kind == JournalRecord::Kind::kTyping && i + 1 < records.size()
            && record.days.size() == 1 && records[i + 1].days.size() == 1
            && records[i + 1].days[0].first == record.days[0].first && records[i + 1].top_slot == 0)
            continue;
        ++count;
    }
    return count;
}

ChangeReport ReplayJournal(CalendarDocument& document, const std::vector<JournalRecord>& records) {
    return document.Run(OperationKind::kRestore, "Recovery", [&records](DocumentEdit& edit) {
        for (const JournalRecord& record : records) {
            for (const auto& [slot, text] : record.days)
                edit.Day(slot) = text;
            if (record.top_slot > 0)
                edit.SetTopSlot(record.top_slot);
        }
    });
}

std::string JournalText(const std::vector<JournalRecord>& records) {
    std::string text = "Orvane: changes made after the last save that were not recovered.\r\n"
                       "Each day is shown as the change left it, one entry to a line.\r\n";
    for (const JournalRecord& record : records) {
        text += "\r\n";
        text += record.name;
        if (record.kind == JournalRecord::Kind::kTyping)
            text += " (not stored yet)";
        text += "\r\n";
        for (const auto& [slot, day] : record.days) {
            const std::string_view entries = EntryText(day);
            text += "  ";
            text += std::string_view(day).substr(0, day.size() - entries.size());
            text += "\r\n";
            for (const std::string& entry : Entries(day)) {
                text += "    ";
                text += entry;
                text += "\r\n";
            }
        }
    }
    return text;
}

std::filesystem::path DatedPath(const std::filesystem::path& folder, std::string_view stem,
    const LocalTime& now, std::string_view ext) {
    const Date& date = now.date;
    const std::string stamp = std::to_string(static_cast<int>(date.year())) + "-"
        + TwoDigits(static_cast<int>(static_cast<unsigned>(date.month()))) + "-"
        + TwoDigits(static_cast<int>(static_cast<unsigned>(date.day()))) + "-" + TwoDigits(now.hour)
        + TwoDigits(now.minute) + TwoDigits(now.second);
    const std::string base = std::string(stem) + "-" + stamp;
    fs::path path = folder / (base + std::string(ext));
    std::error_code ec;
    for (int n = 2; fs::exists(fs::symlink_status(path, ec)); ++n)
        path = folder / (base + "-" + std::to_string(n) + std::string(ext));
    return path;
}

Journal::Journal(std::filesystem::path path)
    : path_(std::move(path)) { }

Journal::~Journal() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (writer_.joinable())
        writer_.join();
    CloseFile();
}

void Journal::SetFailureHandler(std::function<void(const Error&)> handler) {
    std::lock_guard lock(mutex_);
    on_failure_ = std::move(handler);
}

void Journal::StartWriter() {
    if (!writer_.joinable())
        writer_ = std::thread([this] { WriterLoop(); });
}

void Journal::Append(const JournalRecord& record) {
    std::string bytes = EncodeJournalRecord(record);
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(bytes));
        failing_ = false; // a new record tries the ones that failed again
        StartWriter();
    }
    wake_.notify_all();
}

bool Journal::WaitFlushed() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !busy_ && (queue_.empty() || failing_); });
    return queue_.empty();
}

void Journal::WriterLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (failing_ && !stop_) {
            if (!wake_.wait_for(lock, kRetryInterval, [this] { return stop_ || !failing_; }))
                failing_ = false; // time to try again
        } else {
            wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
        }
        if (queue_.empty() || (stop_ && failing_)) {
            if (stop_)
                break;
            continue;
        }
        std::string batch;
        for (const std::string& bytes : queue_)
            batch += bytes;
        queue_.clear();
        busy_ = true;
        lock.unlock();
        Status written = WriteBatch(batch);
        lock.lock();
        busy_ = false;
        if (!written) {
            // Kept for the next attempt, ahead of anything appended meanwhile.
            queue_.push_front(std::move(batch));
            failing_ = true;
            if (!reported_ && on_failure_) {
                reported_ = true;
                const auto report = on_failure_;
                lock.unlock();
                report(written.error());
                lock.lock();
            }
        }
        idle_.notify_all();
        if (stop_ && (queue_.empty() || failing_))
            break;
    }
    idle_.notify_all();
}

#ifndef _WIN32
void Journal::CloseFile() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

Status Journal::WriteBatch(const std::string& bytes) {
    const auto fail = [this](int code) {
        return FileError(
            FileOperation::kAppend, path_, std::error_code(code, std::generic_category()));
    };
    bool created = false;
    if (fd_ < 0) {
        struct stat before { };
        created = ::stat(path_.c_str(), &before) != 0;
        fd_ = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0)
            return fail(errno);
        struct stat status { };
        if (::fstat(fd_, &status) != 0) {
            const int code = errno;
            CloseFile();
            return fail(code);
        }
        size_ = static_cast<std::uintmax_t>(status.st_size);
    }
    const std::string header = size_ == 0 ? std::string(kJournalHeader) : std::string();
    const std::array<std::string_view, 2> parts = { header, bytes };
    int code = 0;
    for (std::string_view part : parts) {
        while (code == 0 && !part.empty()) {
            const ssize_t n = ::write(fd_, part.data(), part.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                code = errno;
            else
                part.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    if (code == 0 && ::fdatasync(fd_) != 0)
        code = errno;
    if (code != 0) {
        // Nothing half-written stays: the next record must follow a whole one.
        if (::ftruncate(fd_, static_cast<off_t>(size_)) != 0)
            CloseFile();
        return fail(code);
    }
    size_ += header.size() + bytes.size();
    if (created) {
        // The new file's name must survive a power cut too.
        const fs::path folder = path_.has_parent_path() ? path_.parent_path() : fs::path(".");
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
    return Ok();
}
#else
void Journal::CloseFile() {
    fd_ = -1;
    size_ = 0;
}

Status Journal::WriteBatch(const std::string& bytes) {
    std::error_code ec;
    const bool empty = !fs::exists(path_, ec) || fs::file_size(path_, ec) == 0;
    return AppendToFile(path_, (empty ? std::string(kJournalHeader) : std::string()) + bytes, true);
}
#endif

Status Journal::Clear() {
    std::unique_lock lock(mutex_);
    queue_.clear();
    idle_.wait(lock, [this] { return !busy_; });
    failing_ = false;
    CloseFile();
    // Only the file the journal wrote is removed, never a device or a folder of that name.
    std::error_code ec;
    const fs::file_type type = fs::symlink_status(path_, ec).type();
    if (type == fs::file_type::not_found)
        return Ok();
    if (type != fs::file_type::regular)
        return FileError(FileOperation::kRemove, path_, "it is not a file Orvane wrote");
    fs::remove(path_, ec);
    if (ec)
        return FileError(FileOperation::kRemove, path_, ec);
    return Ok();
}

Status Journal::Restart(const std::vector<JournalRecord>& records) {
    std::unique_lock lock(mutex_);
    queue_.clear();
    idle_.wait(lock, [this] { return !busy_; });
    failing_ = false;
    CloseFile();
    std::string bytes(kJournalHeader);
    for (const JournalRecord& record : records)
        bytes += EncodeJournalRecord(record);
    return WriteFileAtomic(path_, bytes);
}

DocumentJournal::DocumentJournal(CalendarDocument& document, Journal& journal)
    : document_(document)
    , journal_(journal) {
    document_.AddListener(this);
}

DocumentJournal::~DocumentJournal() {
    document_.RemoveListener(this);
}

void DocumentJournal::NoteTyped(int slot, std::string day) {
    if (paused_ || slot < 1 || slot > kSlotCount)
        return;
    JournalRecord record;
    record.kind = JournalRecord::Kind::kTyping;
    record.name = "Typing";
    record.days.emplace_back(slot, std::move(day));
    journal_.Append(record);
}

void DocumentJournal::Changed(const CalendarDocument&, const ChangeReport& report) {
    // Loading reads what is saved, and the preferences are saved in their own file by their
    // dialog; neither is a change the day file is missing.
    if (paused_ || report.kind == OperationKind::kLoad
        || report.kind == OperationKind::kPreferences)
        return;
    if (report.days.empty() && !report.window_moved())
        return;
    journal_.Append(RecordOf(report));
}

void DocumentJournal::Saved(const CalendarDocument&) {
    // A journal that cannot be removed is replayed onto the saved days at the next start, which
    // gives the same days: nothing is lost, the question is only asked once too often.
    (void)journal_.Clear();
}

} // namespace orvane
