// "Delete Entry": removes an entry text from the days between two dates and, optionally, the
// records that would bring it back at the next cycle.
#pragma once

#include "recurring/ui/entry_dialog.h"

namespace orvane {

class TDelEntry final : public EntryDialog {
    Q_OBJECT
public:
    TDelEntry(CalendarDocument& document, CalendarHost& host, Services services,
        QWidget* parent = nullptr);

protected:
    bool RunOk(const Date& from, const Date& to, const std::string& text) override;
};

} // namespace orvane
