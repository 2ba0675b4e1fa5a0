// What the tests of the entry and delete dialogs share: a test bed with a data folder, the
// calendar host, and one dialog opened for one showing, with its controls found by name.
#pragma once

#include "core/ui/testing/fake_calendar_host.h"
#include "recurring/ui/date_picker.h"
#include "recurring/ui/entry_dialog.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace orvane::testing {

inline Date D(int y, unsigned m, unsigned d) {
    return Date { std::chrono::year(y), std::chrono::month(m), std::chrono::day(d) };
}

// The slots a report changed, in its order.
inline std::vector<int> Slots(const ChangeReport& report) {
    std::vector<int> changed;
    for (const DayChange& day : report.days)
        changed.push_back(day.slot);
    return changed;
}

class DialogTestBed {
public:
protected:
    void StartBed() {
        dir_ = std::make_unique<QTemporaryDir>();
        host_ = std::make_unique<FakeCalendarHost>(NonAsciiDataFolder(dir_->path()));
    }
    void EndBed() {
        dialog_.reset();
        host_.reset();
    }
    // The services the dialogs get; a test may route the boxes through its own notifier.
    virtual Services DialogServices() { return host_->services(); }

    // A dialog prepared for one showing with the given note active, and shown; the calls to store
    // pending edits are counted from its opening.
    template <typename T> T* Open(int active_note = 0) {
        host_->document.SetActiveNote(active_note);
        host_->before_change_calls = 0;
        dialog_ = std::make_unique<T>(host_->document, *host_, DialogServices());
        dialog_->Prepare();
        dialog_->show();
        return static_cast<T*>(dialog_.get());
    }
    template <typename T = QLineEdit> T* Child(const char* name) {
        T* child = dialog_->findChild<T*>(QString::fromLatin1(name));
        if (!child)
            qFatal("no control %s", name);
        return child;
    }
    void Pick(const char* name, const Date& d) { Child<DatePicker>(name)->setDate(ToQDate(d)); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeCalendarHost> host_;
    std::unique_ptr<EntryDialog> dialog_;
};

} // namespace orvane::testing
