// What start-up does with a recovery journal that the last run left behind (it ended without a
// save or a clean quit): asks whether to recover the changes, replays them or keeps their text in
// a dated file, and puts aside a journal the program did not write. Messages go through the
// Notifier; nothing here writes the day file.
//
//   RecoveryOutcome outcome = RecoverAtStartup(document, keeper, notifier, clock);
#pragma once

#include "core/calendar_document.h"
#include "core/clock.h"
#include "core/journal.h"
#include "core/result.h"

#include <QObject>
#include <QString>
#include <filesystem>

namespace orvane {

class Notifier;

enum class RecoveryOutcome {
    kNothing, // no journal, or one without a whole change
    kRecovered, // the changes were replayed; the calendar is unsaved
    kDiscarded, // the changes went to a dated file
    kRefused, // the journal was not the program's own and was put aside
    kUnreadable, // the journal could not be read; it was left where it is
};

// The question asked when a journal holds `changes` changes.
QString RecoveryQuestion(int changes);

RecoveryOutcome RecoverAtStartup(
    CalendarDocument& document, DocumentJournal& keeper, Notifier& notifier, const Clock& clock);

// Writes the journal's changes, as text, to a dated file in the data folder and clears the
// journal: for changes the user chose not to keep in the calendar. Returns the file written, or
// an empty path when the journal held no change.
Result<std::filesystem::path> KeepJournalAside(
    const DataFolder& data, Journal& journal, const LocalTime& now);

// Says a failed journal write (a full disk) in a box shown from `context`'s thread, once.
void SayJournalFailures(Journal& journal, QObject* context, Notifier& notifier);

} // namespace orvane
