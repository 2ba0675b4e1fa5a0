// A data file that a window reads whole, lets the user edit and writes back whole (the notes, the
// error log, the archive, the preferences), and the one question every save asks when another
// program changed the file since the window read it: Keep Mine, Take Theirs or Cancel.
//
//   EditedFile file(data.notes(), notifier, backups, QStringLiteral("these notes"));
//   Result<std::string> read = file.Read();            // show it; remembered as read
//   switch (file.Save(bytes, ".rtf")) {                // asks first when it changed outside
//   case EditedFile::Saved::kTookTheirs: Prepare();    // show the other version
//   ...
#pragma once

#include "core/outside_changes.h"
#include "core/result.h"

#include <QString>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace orvane {

class Clock;
class FileBackups;
class Notifier;

enum class OutsideAnswer { kKeepMine, kTakeTheirs, kCancel };

// The question about `file` (named by its whole path): `mine` is what the save would write ("this
// calendar", "these notes"), `aside` what Take Theirs keeps in a dated file ("your changes since
// the last save").
QString OutsideQuestionText(
    const std::filesystem::path& file, const QString& mine, const QString& aside);
// Asks it; closing the box is Cancel.
OutsideAnswer AskAboutOutsideChange(Notifier& notifier, const std::filesystem::path& file,
    const QString& mine, const QString& aside);

class EditedFile {
public:
    // `backups` are the program's rotating backups, which take the file each save replaces.
    EditedFile(std::filesystem::path path, Notifier& notifier, FileBackups& backups, QString mine);
    ~EditedFile();
    EditedFile(const EditedFile&) = delete;
    EditedFile& operator=(const EditedFile&) = delete;

    const std::filesystem::path& path() const { return known_.path(); }

    // The file's bytes for the window to show, remembered as read: the next save compares the
    // file with these bytes, not with a second read.
    Result<std::string> Read();
    // The window has taken the file's bytes some other way.
    void RememberRead(const Result<std::string>& read) { known_.RememberRead(read); }

    enum class Go { kWrite, kTookTheirs, kCancel };
    // Before the window writes `bytes`: when the file changed since the window read it, asks.
    // Keep Mine copies the other version into backups/ and goes on (when that fails it says so
    // and nothing is written); Take Theirs keeps `bytes` in a dated file beside the data files
    // (extension `aside_ext`), names it in a message and leaves the window to load the file
    // again; Cancel writes nothing.
    Go BeforeWrite(std::string_view bytes, std::string_view aside_ext);
    // Backs the file up and replaces it with `bytes`. A failed write is reported (false); after
    // a write, a backup that could not be made is reported.
    bool Write(std::string_view bytes);

    enum class Saved { kSaved, kTookTheirs, kNotSaved };
    // BeforeWrite, then Write.
    Saved Save(std::string_view bytes, std::string_view aside_ext);

private:
    Notifier& notifier_;
    FileBackups& backups_;
    QString mine_;
    KnownFile known_;
};

} // namespace orvane
