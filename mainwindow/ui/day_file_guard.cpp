#include "mainwindow/ui/day_file_guard.h"

#include "core/file_backups.h"
#include "core/journal.h"
#include "core/outside_changes.h"
#include "core/text_file.h"
#include "core/ui/edited_file.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"
#include "mainwindow/ui/recovery.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

namespace orvane {

DayFileGuard::DayFileGuard(
    CalendarDocument& document, Journal& journal, Services services, QObject* parent)
    : QObject(parent)
    , document_(document)
    , journal_(journal)
    , services_(services)
    , outside_(std::make_unique<OutsideChanges>(document)) { }

DayFileGuard::~DayFileGuard() = default;

void DayFileGuard::Watch() {
    if (watcher_)
        return;
    watcher_ = new QFileSystemWatcher(this);
    watcher_->addPath(PathText(document_.data().dir));
    watcher_->addPath(PathText(document_.data().cdat()));
    connect(
        watcher_, &QFileSystemWatcher::directoryChanged, this, &DayFileGuard::DataFolderChanged);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &DayFileGuard::DataFolderChanged);
}

void DayFileGuard::DataFolderChanged() {
    // A file replaced by a rename is a new file, which the watcher must be told about again.
    const QString cdat = PathText(document_.data().cdat());
    if (!watcher_->files().contains(cdat) && QFileInfo::exists(cdat))
        watcher_->addPath(cdat);
    // The program's own saves and loads are remembered before their signals arrive here.
    if (outside_->TakeUnreported()) {
        services_.notifier.Information(
            QStringLiteral("%1 was changed by another program. Saving the calendar will ask "
                           "whether to keep this calendar or take the other version.")
                .arg(cdat));
    }
}

DayFileGuard::Choice DayFileGuard::ResolveOutsideChange() {
    if (!outside_->ChangedOutside())
        return Choice::kSave;
    switch (AskAboutOutsideChange(services_.notifier, document_.data().cdat(),
        QStringLiteral("this calendar"), QStringLiteral("your changes since the last save"))) {
    case OutsideAnswer::kKeepMine:
        // Their version becomes the day file's newest backup, which Restore lists.
        if (FileBackups* backups = document_.backups()) {
            if (const auto kept = backups->Keep(document_.data().cdat()); !kept) {
                services_.notifier.Error(ErrorText(kept.error())
                    + QStringLiteral(
                        "\n\nNothing was saved: the other version could not be kept."));
                return Choice::kCancel;
            }
        }
        return Choice::kSave;
    case OutsideAnswer::kTakeTheirs:
        return TakeTheirs() ? Choice::kTookTheirs : Choice::kCancel;
    case OutsideAnswer::kCancel:
        break;
    }
    return Choice::kCancel;
}

bool DayFileGuard::TakeTheirs() {
    Notifier& notifier = services_.notifier;
    // Their version must load before anything of this calendar is put aside.
    const Result<std::string> theirs = ReadWholeFile(document_.data().cdat());
    DayStore check;
    if (!theirs) {
        notifier.Error(ErrorText(theirs.error()));
        return false;
    }
    if (const Result<int> parsed = ParseDayFile(*theirs, check); !parsed) {
        notifier.Error(ErrorText(parsed.error())
            + QStringLiteral("\n\nThe other version cannot be loaded; nothing was changed."));
        return false;
    }
    // The note being typed is part of the changes put aside.
    document_.FlushPendingEdits();
    journal_.WaitFlushed();
    const Result<std::filesystem::path> kept
        = KeepJournalAside(document_.data(), journal_, services_.clock.Now());
    if (!kept) {
        notifier.Error(ErrorText(kept.error())
            + QStringLiteral("\n\nYour changes could not be kept aside; nothing was changed."));
        return false;
    }
    const Result<DayFileLoaded> loaded = document_.Load(services_.clock.Today());
    if (!loaded) {
        notifier.Error(ErrorText(loaded.error()));
        return false;
    }
    notifier.Information(kept->empty()
            ? QStringLiteral("The other version was loaded.")
            : QStringLiteral("The other version was loaded. Your changes since the last save are "
                             "kept in %1.")
                  .arg(PathText(*kept)));
    return true;
}

DayFileGuard::SaveOutcome DayFileGuard::Save() {
    switch (ResolveOutsideChange()) {
    case Choice::kSave:
        break;
    case Choice::kTookTheirs:
        return SaveOutcome::kTookTheirs;
    case Choice::kCancel:
        return SaveOutcome::kNotSaved;
    }
    if (const Status saved = document_.Save(); !saved) {
        services_.notifier.Error(ErrorText(saved.error())
            + QStringLiteral("\n\nThe calendar is still open; nothing was lost. Free some space or "
                             "fix the folder, then save again."));
        return SaveOutcome::kNotSaved;
    }
    if (FileBackups* backups = document_.backups(); backups && backups->last_error()) {
        services_.notifier.Warning(QStringLiteral("The calendar was saved, but the backup of the "
                                                  "file it replaced could not be made.\n\n")
            + ErrorText(*backups->last_error()));
        backups->set_last_error(std::nullopt);
    }
    return SaveOutcome::kSaved;
}

} // namespace orvane
