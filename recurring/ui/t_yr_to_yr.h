// "Year to Year Entries": one entry text on the Begin date's month and day in every year the
// calendar shows.
#pragma once

#include "recurring/ui/entry_dialog.h"

namespace orvane {

class TYrToYr final : public EntryDialog {
    Q_OBJECT
public:
    TYrToYr(CalendarDocument& document, CalendarHost& host, Services services,
        QWidget* parent = nullptr);

protected:
    std::optional<EntryPlan> MakePlan(const DayStore& store, const Date& from, const Date& to,
        const std::string& text) const override;
};

} // namespace orvane
