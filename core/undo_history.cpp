#include "core/undo_history.h"

#include "core/text_file.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <system_error>
#include <utility>

namespace orvane {

namespace {

// The changes an operation made to one file, in order. Only the first and the last matter for the
// checks: the file was as the first found it, and should be as the last left it.
struct FileHistory {
    std::vector<const FileChange*> changes;
    const FileChange& first() const { return *changes.front(); }
    const FileChange& last() const { return *changes.back(); }
};

std::vector<FileHistory> ByFile(const std::vector<FileChange>& files) {
    std::vector<FileHistory> grouped;
    for (const FileChange& change : files) {
        auto it = std::find_if(grouped.begin(), grouped.end(),
            [&](const FileHistory& file) { return file.first().path == change.path; });
        if (it == grouped.end())
            grouped.push_back({ { &change } });
        else
            it->changes.push_back(&change);
    }
    return grouped;
}

// The last `count` bytes of a file of `size` bytes.
std::optional<std::string> ReadTail(
    const std::filesystem::path& path, std::uintmax_t size, std::size_t count) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    in.seekg(static_cast<std::streamoff>(size - count));
    std::string tail(count, '\0');
    in.read(tail.data(), static_cast<std::streamsize>(count));
    if (static_cast<std::size_t>(in.gcount()) != count)
        return std::nullopt;
    return tail;
}

std::optional<std::uintmax_t> SizeOf(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return std::nullopt;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        return std::nullopt;
    return size;
}

// The file is as `change` left it.
bool IsAsAfter(const FileChange& change) {
    if (change.kind == FileChange::Kind::kReplaced) {
        const Result<std::string> bytes = ReadWholeFile(change.path);
        return bytes && *bytes == change.after;
    }
    const auto size = SizeOf(change.path);
    if (!size || *size != change.old_size + change.appended.size())
        return false;
    if (change.appended.empty())
        return true;
    const auto tail = ReadTail(change.path, *size, change.appended.size());
    return tail && *tail == change.appended;
}

// The file is as `change` found it.
bool IsAsBefore(const FileChange& change) {
    if (change.kind == FileChange::Kind::kReplaced) {
        if (!change.before_known)
            return false;
        const Result<std::string> bytes = ReadWholeFile(change.path);
        if (!change.before)
            return !bytes && IsMissingFile(bytes.error());
        return bytes && *bytes == *change.before;
    }
    const auto size = SizeOf(change.path);
    if (change.created) {
        std::error_code ec;
        return !std::filesystem::exists(std::filesystem::symlink_status(change.path, ec));
    }
    return size && *size == change.old_size;
}

Status RemoveFile(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec)
        return FileError(FileOperation::kRemove, path, ec);
    return Ok();
}

// Brings the file back to the state its first change found.
Status PutBefore(const FileHistory& file) {
    const FileChange& first = file.first();
    if (first.kind == FileChange::Kind::kReplaced)
        return first.before ? WriteFileAtomic(first.path, *first.before) : RemoveFile(first.path);
    if (first.created)
        return RemoveFile(first.path);
    // Appends first: cutting the file back is enough, unless a later change replaced it whole;
    // then the bytes it replaced start with the file as the first append found it.
    const auto replaced = std::find_if(file.changes.begin(), file.changes.end(),
        [](const FileChange* change) { return change->kind == FileChange::Kind::kReplaced; });
    if (replaced != file.changes.end() && (*replaced)->before)
        return WriteFileAtomic(first.path, (*replaced)->before->substr(0, first.old_size));
    std::error_code ec;
    std::filesystem::resize_file(first.path, first.old_size, ec);
    if (ec)
        return FileError(FileOperation::kWrite, first.path, ec);
    return Ok();
}

// Makes every change to the file again, in order.
Status PutAfter(const FileHistory& file) {
    for (const FileChange* change : file.changes) {
        Status done = change->kind == FileChange::Kind::kReplaced
            ? WriteFileAtomic(change->path, change->after)
            : AppendToFile(change->path, change->appended, true);
        if (!done)
            return done;
    }
    return Ok();
}

std::string FileName(const std::filesystem::path& path) {
    return path.filename().string();
}

} // namespace

Result<std::vector<FileChange>> RestoreFiles(
    const std::vector<FileChange>& files, bool undo, std::string_view name) {
    std::vector<FileHistory> grouped = ByFile(files);
    const std::string doing
        = std::string(undo ? "Cannot undo " : "Cannot redo ") + std::string(name);
    for (const FileHistory& file : grouped) {
        const bool unknown
            = file.first().kind == FileChange::Kind::kReplaced && !file.first().before_known;
        if (unknown)
            return Refusal(doing + ": the old " + FileName(file.first().path)
                + " could not be read when it was replaced.");
        if (undo ? !IsAsAfter(file.last()) : !IsAsBefore(file.first()))
            return Refusal(doing + ": " + FileName(file.first().path) + " has changed since.");
    }
    // An undo takes back the last file first.
    if (undo)
        std::reverse(grouped.begin(), grouped.end());
    for (std::size_t k = 0; k < grouped.size(); ++k) {
        Status done = undo ? PutBefore(grouped[k]) : PutAfter(grouped[k]);
        if (!done) {
            // Puts back the files already done, so that the operation stays whole either way. A
            // failed undo of one file left it as it was (each step is one atomic write, cut or
            // removal), and making its appends again would add them twice; a redo may have made
            // some of a file's changes, and putting it back as it was found is safe to repeat.
            const std::size_t done_files = undo ? k : k + 1;
            for (std::size_t back = done_files; back-- > 0;)
                static_cast<void>(undo ? PutAfter(grouped[back]) : PutBefore(grouped[back]));
            Error error = std::move(done).error();
            error.Also(doing + ". Nothing was changed.");
            return error;
        }
    }
    std::vector<FileChange> replaced;
    for (const FileHistory& file : grouped) {
        const FileChange& first = file.first();
        const FileChange& last = file.last();
        if (first.kind != FileChange::Kind::kReplaced || last.kind != FileChange::Kind::kReplaced)
            continue;
        FileChange change;
        change.path = first.path;
        if (undo) {
            if (!first.before)
                continue; // removed again
            change.before = last.after;
            change.after = *first.before;
        } else {
            change.before = first.before;
            change.after = last.after;
        }
        replaced.push_back(std::move(change));
    }
    return replaced;
}

UndoHistory::UndoHistory(CalendarDocument& document, std::size_t max_steps)
    : document_(document)
    , max_steps_(max_steps == 0 ? 1 : max_steps) {
    document_.AddListener(this);
}

UndoHistory::~UndoHistory() {
    document_.RemoveListener(this);
}

std::string UndoHistory::UndoName() const {
    return undo_.empty() ? std::string() : undo_.back().name;
}

std::string UndoHistory::RedoName() const {
    return redo_.empty() ? std::string() : redo_.back().name;
}

void UndoHistory::Notify() {
    if (on_changed_)
        on_changed_();
}

void UndoHistory::Changed(const CalendarDocument& /*document*/, const ChangeReport& report) {
    if (applying_)
        return;
    if (report.kind == OperationKind::kLoad) {
        undo_.clear();
        redo_.clear();
        Notify();
        return;
    }
    // Moving the window and preferences in memory change nothing of the calendar's content.
    if (report.days.empty() && report.files.empty())
        return;
    undo_.push_back(report);
    while (undo_.size() > max_steps_)
        undo_.pop_front();
    redo_.clear();
    Notify();
}

Status UndoHistory::Undo() {
    return Apply(true);
}

Status UndoHistory::Redo() {
    return Apply(false);
}

Status UndoHistory::Apply(bool undo) {
    // The note being typed becomes a step of its own first: an undo takes it back, and after an
    // undo it starts a new branch that leaves nothing to redo.
    document_.FlushPendingEdits();
    std::deque<ChangeReport>& from = undo ? undo_ : redo_;
    std::deque<ChangeReport>& to = undo ? redo_ : undo_;
    if (from.empty())
        return Ok();
    const ChangeReport& step = from.back();
    const std::string doing = std::string(undo ? "Cannot undo " : "Cannot redo ") + step.name;
    for (const DayChange& day : step.days) {
        if (document_.store()[day.slot] != (undo ? day.after : day.before))
            return Refusal(doing + ": the day " + (undo ? day.after : day.before).substr(0, 11)
                + " has changed since.");
    }
    Result<std::vector<FileChange>> files = RestoreFiles(step.files, undo, step.name);
    if (!files)
        return std::move(files).error();

    applying_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset { applying_ };
    document_.Run(
        OperationKind::kRestore, (undo ? "Undo " : "Redo ") + step.name, [&](DocumentEdit& edit) {
            for (const DayChange& day : step.days)
                edit.Day(day.slot) = undo ? day.before : day.after;
            if (step.window_moved())
                edit.SetTopSlot(undo ? step.top_before : step.top_after);
            for (FileChange& change : *files)
                edit.Include(std::move(change));
        });
    to.push_back(std::move(from.back()));
    from.pop_back();
    Notify();
    return Ok();
}

} // namespace orvane
