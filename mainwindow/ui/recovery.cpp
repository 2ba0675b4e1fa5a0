#include "mainwindow/ui/recovery.h"

#include "core/text_file.h"
#include "core/ui/error_text.h"
#include "core/ui/notifier.h"
#include "core/ui/text_codec.h"

#include <system_error>

namespace orvane {

namespace {

namespace fs = std::filesystem;

QString LostText(int lost) {
    return lost == 1
        ? QStringLiteral("The last change before Orvane closed was cut off and could not be "
                         "recovered.")
        : QStringLiteral("The last %1 changes before Orvane closed were cut off and could not be "
                         "recovered.")
              .arg(lost);
}

} // namespace

QString RecoveryQuestion(int changes) {
    return QStringLiteral("Orvane did not close properly. Recover the %1 %2 made after the last "
                          "save?")
        .arg(changes)
        .arg(changes == 1 ? QStringLiteral("change") : QStringLiteral("changes"));
}

Result<std::filesystem::path> KeepJournalAside(
    const DataFolder& data, Journal& journal, const LocalTime& now) {
    Result<JournalContents> contents = ReadJournal(journal.path());
    if (!contents)
        return std::move(contents).error();
    if (contents->records.empty()) {
        if (Status cleared = journal.Clear(); !cleared)
            LogFileError(cleared.error());
        return fs::path();
    }
    const fs::path kept = DatedPath(data.dir, "discarded-changes", now, ".txt");
    if (Status written = WriteFileAtomic(kept, JournalText(contents->records)); !written)
        return std::move(written).error();
    if (Status cleared = journal.Clear(); !cleared)
        LogFileError(cleared.error());
    return kept;
}

RecoveryOutcome RecoverAtStartup(
    CalendarDocument& document, DocumentJournal& keeper, Notifier& notifier, const Clock& clock) {
    Journal& journal = keeper.journal();
    // With the data folder ours, a temporary file of the journal is left only by a copy that
    // ended mid-write; one that cannot be removed only takes room.
    if (const Result<int> removed
        = RemoveStaleTemporaryFiles(document.data().dir, std::array { kJournalFileName });
        !removed)
        LogFileError(removed.error());
    const Result<JournalContents> contents = ReadJournal(journal.path());
    if (!contents && contents.error().kind == ErrorKind::kRefused) {
        // Kept under another name, so that whoever wrote it can still have it, and so that the
        // journal of this run starts afresh.
        const fs::path aside
            = DatedPath(document.data().dir, "recovery-refused", clock.Now(), ".ovj");
        std::error_code ec;
        fs::rename(journal.path(), aside, ec);
        QString text = PathText(journal.path()) + QLatin1Char('\n')
            + FromCp1252(contents.error().note)
            + QStringLiteral("\n\nNothing was recovered from it.");
        if (ec) {
            LogFileError(FileError(FileOperation::kWrite, aside, ec));
            text += QStringLiteral(" It could not be put aside and is still %1.")
                        .arg(PathText(journal.path()));
        } else {
            text += QStringLiteral(" It was kept as %1.").arg(PathText(aside));
        }
        notifier.Warning(text);
        return RecoveryOutcome::kRefused;
    }
    if (!contents) {
        notifier.Error(ErrorText(contents.error())
            + QStringLiteral("\n\nThe changes made after the last save were not recovered."));
        return RecoveryOutcome::kUnreadable;
    }
    const int changes = CountChanges(contents->records);
    if (changes == 0) {
        if (contents->lost_at_end > 0)
            notifier.Information(LostText(contents->lost_at_end));
        if (Status cleared = journal.Clear(); !cleared)
            LogFileError(cleared.error());
        return RecoveryOutcome::kNothing;
    }
    const int choice = notifier.Choose(
        RecoveryQuestion(changes), { QStringLiteral("Recover"), QStringLiteral("Discard") }, 0);
    if (choice == 1) {
        const Result<fs::path> kept = KeepJournalAside(document.data(), journal, clock.Now());
        if (!kept) {
            notifier.Error(ErrorText(kept.error())
                + QStringLiteral("\n\nThe changes were not discarded: the journal %1 keeps them.")
                      .arg(PathText(journal.path())));
            return RecoveryOutcome::kUnreadable;
        }
        notifier.Information(
            QStringLiteral("The changes were not recovered. Their text is kept in %1.")
                .arg(PathText(*kept)));
        return RecoveryOutcome::kDiscarded;
    }
    // The journal already holds these changes: the replay is not journalled again, and the
    // journal is rewritten without what the crash cut off, so that appends follow whole records.
    keeper.SetPaused(true);
    (void)ReplayJournal(document, contents->records);
    keeper.SetPaused(false);
    if (Status restarted = journal.Restart(contents->records); !restarted)
        notifier.Warning(ErrorText(restarted.error())
            + QStringLiteral("\n\nThe changes were recovered; save the calendar to keep them."));
    if (contents->lost_at_end > 0)
        notifier.Information(LostText(contents->lost_at_end));
    return RecoveryOutcome::kRecovered;
}

void SayJournalFailures(Journal& journal, QObject* context, Notifier& notifier) {
    // The writer thread reports a failed write (a full disk) once; the box is shown from the
    // context's own thread.
    journal.SetFailureHandler([context, &notifier](const Error& error) {
        QMetaObject::invokeMethod(
            context,
            [&notifier, error] {
                notifier.Warning(ErrorText(error)
                    + QStringLiteral("\n\nChanges made since the last save are not protected "
                                     "against a crash until the journal can be written again. "
                                     "Orvane keeps running; save the calendar to keep them."));
            },
            Qt::QueuedConnection);
    });
}

} // namespace orvane
