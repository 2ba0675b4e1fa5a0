#include "core/ui/edited_file.h"

#include "core/clock.h"
#include "core/file_backups.h"
#include "core/text_file.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"

namespace orvane {

namespace { } // namespace

QString OutsideQuestionText(
    const std::filesystem::path& file, const QString& mine, const QString& aside) {
    return QStringLiteral("%1 was changed by another program since Orvane read it.\n\n"
                          "Keep Mine saves %2 over it; the other version is kept in the backups "
                          "folder.\nTake Theirs loads the other version; %3 are kept in a dated "
                          "file.\nCancel saves nothing.")
        .arg(PathText(file), mine, aside);
}

OutsideAnswer AskAboutOutsideChange(Notifier& notifier, const std::filesystem::path& file,
    const QString& mine, const QString& aside) {
    const int choice = notifier.Choose(OutsideQuestionText(file, mine, aside),
        { QStringLiteral("Keep Mine"), QStringLiteral("Take Theirs"), QStringLiteral("Cancel") },
        2);
    switch (choice) {
    case 0:
        return OutsideAnswer::kKeepMine;
    case 1:
        return OutsideAnswer::kTakeTheirs;
    default:
        return OutsideAnswer::kCancel;
    }
}

EditedFile::EditedFile(
    std::filesystem::path path, Notifier& notifier, FileBackups& backups, QString mine)
    : notifier_(notifier)
    , backups_(backups)
    , mine_(std::move(mine))
    , known_(std::move(path)) { }

EditedFile::~EditedFile() = default;

Result<std::string> EditedFile::Read() {
    Result<std::string> read = ReadWholeFile(path());
    known_.RememberRead(read);
    return read;
}

EditedFile::Go EditedFile::BeforeWrite(std::string_view bytes, std::string_view aside_ext) {
    if (!known_.ChangedOutside())
        return Go::kWrite;
    switch (AskAboutOutsideChange(
        notifier_, path(), mine_, QStringLiteral("your changes in this window"))) {
    case OutsideAnswer::kKeepMine:
        if (auto kept = backups_.Keep(path()); !kept) {
            notifier_.Error(ErrorText(kept.error())
                + QStringLiteral("\n\nNothing was saved: the other version could not be kept."));
            return Go::kCancel;
        }
        return Go::kWrite;
    case OutsideAnswer::kTakeTheirs: {
        const Result<std::filesystem::path> aside = KeepUnsaved(path().parent_path(),
            path().filename().string(), backups_.clock().Now(), aside_ext, bytes);
        if (!aside) {
            notifier_.Error(ErrorText(aside.error())
                + QStringLiteral("\n\nYour changes could not be kept aside; nothing was changed."));
            return Go::kCancel;
        }
        notifier_.Information(
            QStringLiteral("The other version of %1 was loaded. Your changes in this window are "
                           "kept in %2.")
                .arg(PathText(path()), PathText(*aside)));
        return Go::kTookTheirs;
    }
    case OutsideAnswer::kCancel:
        break;
    }
    return Go::kCancel;
}

bool EditedFile::Write(std::string_view bytes) {
    std::optional<Error> backup_error;
    if (const Status written = ReplaceKnownFile(known_, backups_, bytes, backup_error); !written) {
        notifier_.Error(ErrorText(written.error()));
        return false;
    }
    if (backup_error) {
        notifier_.Warning(QStringLiteral("%1 was saved, but the backup of the file it replaced "
                                         "could not be made.\n\n")
                              .arg(PathText(path()))
            + ErrorText(*backup_error));
    }
    return true;
}

EditedFile::Saved EditedFile::Save(std::string_view bytes, std::string_view aside_ext) {
    switch (BeforeWrite(bytes, aside_ext)) {
    case Go::kWrite:
        return Write(bytes) ? Saved::kSaved : Saved::kNotSaved;
    case Go::kTookTheirs:
        return Saved::kTookTheirs;
    case Go::kCancel:
        break;
    }
    return Saved::kNotSaved;
}

} // namespace orvane
