// Keeps the calendar and its day file in step with other programs (a sync tool, a second
// machine): watches the data folder and says as soon as someone else changed cdat.ovd, and saves
// over such a change only after asking whether to keep this calendar, take the other version, or
// save nothing.
//
//   DayFileGuard guard(document, journal, services, this);
//   guard.Watch();                         // once the window is up
//   switch (guard.Save()) { ... }          // "Save Calendar"
#pragma once

#include "core/calendar_document.h"
#include "core/ui/services.h"

#include <QObject>
#include <memory>

class QFileSystemWatcher;

namespace orvane {

class Journal;
class OutsideChanges;

class DayFileGuard : public QObject {
    Q_OBJECT
public:
    DayFileGuard(
        CalendarDocument& document, Journal& journal, Services services, QObject* parent = nullptr);
    ~DayFileGuard() override;

    // Watches the data folder from now on.
    void Watch();

    enum class SaveOutcome {
        kSaved, // the calendar is in the day file
        kTookTheirs, // the other version was loaded; this calendar's changes were put aside
        kNotSaved, // cancelled, or the save failed (said)
    };
    // Saves the calendar, asking first when the day file changed outside since it was read.
    SaveOutcome Save();

private:
    enum class Choice { kSave, kTookTheirs, kCancel };
    Choice ResolveOutsideChange();
    bool TakeTheirs();
    void DataFolderChanged();

    CalendarDocument& document_;
    Journal& journal_;
    Services services_;
    std::unique_ptr<OutsideChanges> outside_;
    QFileSystemWatcher* watcher_ = nullptr;
};

} // namespace orvane
