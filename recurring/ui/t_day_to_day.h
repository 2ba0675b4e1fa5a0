// "Day to Day Entries": one entry text on every N-th day from a From date to a To date, and a
// daily record so that cycling continues the series.
#pragma once

#include "recurring/ui/entry_dialog.h"

class QLineEdit;

namespace orvane {

class TDayToDay final : public EntryDialog {
    Q_OBJECT
public:
    TDayToDay(CalendarDocument& document, CalendarHost& host, Services services,
        QWidget* parent = nullptr);

    bool IntervalError() const { return interval_error_; }
    void umNumberEdit1Change(); // the interval check

protected:
    void PrepareOwn() override;
    void AddOwnProblems(std::vector<std::string>& problems) const override;
    std::optional<EntryPlan> MakePlan(const DayStore& store, const Date& from, const Date& to,
        const std::string& text) const override;

private:
    QLineEdit* interval_edit_ = nullptr;
    bool interval_error_ = false;
};

} // namespace orvane
