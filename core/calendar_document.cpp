#include "core/calendar_document.h"

#include "core/text_file.h"

#include <algorithm>
#include <cassert>
#include <system_error>

namespace orvane {

bool ChangeReport::Touches(int slot) const {
    return std::any_of(
        days.begin(), days.end(), [slot](const DayChange& day) { return day.slot == slot; });
}

namespace {

std::optional<Error> BackupError(Result<std::optional<std::filesystem::path>> kept) {
    if (kept)
        return std::nullopt;
    return std::move(kept).error();
}

} // namespace

DocumentEdit::DocumentEdit(DayStore& store, const DataFolder& data, const Preferences& prefs,
    int top, FileBackups* backups)
    : store_(store)
    , data_(data)
    , prefs_(prefs)
    , top_(top)
    , backups_(backups) { }

std::string& DocumentEdit::Day(int slot) {
    if (!all_days_)
        before_.try_emplace(slot, store_[slot]);
    return store_[slot];
}

DayStore& DocumentEdit::AllDays() {
    if (!all_days_) {
        all_before_ = store_;
        // Days changed before this call keep the text they had when the operation began.
        for (const auto& [slot, text] : before_)
            all_before_[slot] = text;
        before_.clear();
        all_days_ = true;
    }
    return store_;
}

void DocumentEdit::SetTopSlot(int top_slot) {
    top_ = ClampTopSlot(top_slot);
}

Result<FileChange> ReplaceFile(const std::filesystem::path& path, std::string_view bytes) {
    FileChange change;
    change.kind = FileChange::Kind::kReplaced;
    change.path = path;
    if (Result<std::string> old = ReadWholeFile(path); old)
        change.before = std::move(*old);
    else
        change.before_known = IsMissingFile(old.error());
    Status written = WriteFileAtomic(path, bytes);
    if (!written)
        return std::move(written).error();
    change.after = std::string(bytes);
    return change;
}

Status DocumentEdit::WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    // The recurring records are the one data file besides the days that an operation rewrites
    // whole; a failed backup does not stop the operation (its undo step still holds the old bytes).
    if (backups_ && path == data_.fdat())
        backups_->set_last_error(BackupError(backups_->Keep(path)));
    Result<FileChange> change = ReplaceFile(path, bytes);
    if (!change)
        return std::move(change).error();
    files_.push_back(std::move(*change));
    return Ok();
}

Status DocumentEdit::AppendFile(
    const std::filesystem::path& path, std::string_view bytes, bool create) {
    FileChange change;
    change.kind = FileChange::Kind::kAppended;
    change.path = path;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    change.created = static_cast<bool>(ec);
    change.old_size = ec ? 0 : size;
    Status appended = AppendToFile(path, bytes, create);
    if (!appended)
        return appended;
    // Opening a file for appending without adding anything (to make sure it can be written) is
    // a change only when it created the file.
    if (!bytes.empty() || change.created) {
        change.appended = std::string(bytes);
        files_.push_back(std::move(change));
    }
    return Ok();
}

void DocumentEdit::Include(FileChange change) {
    files_.push_back(std::move(change));
}

CalendarDocument::CalendarDocument(DataFolder data)
    : data_(std::move(data)) { }

std::optional<int> CalendarDocument::ActiveSlot() const {
    if (active_note_ < 2 || active_note_ > 84 || active_note_ % 2 != 0)
        return std::nullopt;
    return top_ + active_note_ / 2 - 1;
}

void CalendarDocument::AddListener(DocumentListener* listener) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void CalendarDocument::RemoveListener(DocumentListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void CalendarDocument::NotifyBefore() {
    // A listener storing its edit runs an operation of its own, which must not ask again.
    if (storing_pending_)
        return;
    storing_pending_ = true;
    const std::vector<DocumentListener*> listeners = listeners_;
    for (DocumentListener* listener : listeners)
        listener->BeforeChange(*this);
    storing_pending_ = false;
}

void CalendarDocument::NotifyChanged(const ChangeReport& report) {
    const std::vector<DocumentListener*> listeners = listeners_;
    for (DocumentListener* listener : listeners)
        listener->Changed(*this, report);
}

ChangeReport CalendarDocument::Run(
    OperationKind kind, std::string name, const std::function<void(DocumentEdit&)>& work) {
    assert(!running_ && "an operation runs inside another");
    NotifyBefore();
    DocumentEdit edit(store_, data_, prefs_, top_, backups_);
    running_ = true;
    work(edit);
    running_ = false;

    ChangeReport report;
    report.kind = kind;
    report.name = std::move(name);
    report.top_before = top_;
    report.top_after = edit.top_;
    top_ = edit.top_;
    if (edit.all_days_) {
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            if (edit.all_before_[slot] != store_[slot])
                report.days.push_back({ slot, edit.all_before_[slot], store_[slot] });
        }
    } else {
        for (auto& [slot, before] : edit.before_) {
            if (before != store_[slot])
                report.days.push_back({ slot, std::move(before), store_[slot] });
        }
    }
    report.files = std::move(edit.files_);
    NotifyChanged(report);
    return report;
}

ChangeReport CalendarDocument::StoreNote(int slot, std::string text) {
    return Run(OperationKind::kStoreNote, "Typing",
        [&](DocumentEdit& edit) { edit.Day(slot) = std::move(text); });
}

ChangeReport CalendarDocument::MoveWindow(int top_slot) {
    return Run(OperationKind::kMoveWindow, "Move",
        [top_slot](DocumentEdit& edit) { edit.SetTopSlot(top_slot); });
}

ChangeReport CalendarDocument::SetPreferences(const Preferences& prefs) {
    ChangeReport report;
    report.kind = OperationKind::kPreferences;
    report.name = "Preferences";
    report.top_before = report.top_after = top_;
    if (prefs == prefs_)
        return report;
    NotifyBefore();
    prefs_ = prefs;
    NotifyChanged(report);
    return report;
}

Result<DayFileLoaded> CalendarDocument::Load(const Date& today) {
    DayStore loaded;
    Result<DayFileLoaded> load = LoadDayFile(data_.cdat(), today, loaded);
    if (!load)
        return load;
    store_ = std::move(loaded);
    day_file_ = load->file;
    top_ = 1;
    today_key_ = DateKey(today);
    ChangeReport report;
    report.kind = OperationKind::kLoad;
    report.name = "Load";
    NotifyChanged(report);
    return load;
}

void CalendarDocument::Adopt(DayStore store, const std::string& today_key) {
    store_ = std::move(store);
    today_key_ = today_key;
    top_ = 1;
}

Status CalendarDocument::Save() {
    NotifyBefore();
    // The file about to be replaced goes to the backups first; a failed backup is kept for the
    // window to report and does not keep the calendar from being saved.
    if (backups_ && store_.loaded())
        backups_->set_last_error(BackupError(backups_->Keep(data_.cdat())));
    Result<FileFingerprint> saved = SaveDayFile(data_.cdat(), store_);
    if (!saved)
        return std::move(saved).error();
    day_file_ = *saved;
    const std::vector<DocumentListener*> listeners = listeners_;
    for (DocumentListener* listener : listeners)
        listener->Saved(*this);
    return Ok();
}

} // namespace orvane
