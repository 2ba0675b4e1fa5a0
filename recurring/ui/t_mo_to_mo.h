// "Month to Month Entries": one entry text on the From date's day of every month, or on the last
// day of every month.
#pragma once

#include "recurring/ui/entry_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace orvane {

// " 1 st", "11 th", "22 nd": the day in two characters and its ordinal suffix.
QString DayWithSuffix(int day);

class TMoToMo final : public EntryDialog {
    Q_OBJECT
public:
    TMoToMo(CalendarDocument& document, CalendarHost& host, Services services,
        QWidget* parent = nullptr);

    void CheckBox2Click(); // "Last day of each month"

protected:
    void PrepareOwn() override;
    void BeforeFromCheck() override;
    void FromGroupDoubleClick() override;
    std::optional<EntryPlan> MakePlan(const DayStore& store, const Date& from, const Date& to,
        const std::string& text) const override;

private:
    QLabel* on_the_label_ = nullptr;
    QLineEdit* day_edit_ = nullptr;
    QLabel* each_month_label_ = nullptr;
    QCheckBox* last_day_check_ = nullptr;
};

} // namespace orvane
