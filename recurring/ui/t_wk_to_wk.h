// "Week to Week Entries": one entry text on the Begin date's weekday, every week or on its
// first to fifth or last occurrence in the month, optionally in the Begin month only.
#pragma once

#include "recurring/ui/entry_dialog.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace orvane {

// Weekday names as the dialog shows them, Sunday first.
inline constexpr std::array<const char*, 7> kWeekdayNames
    = { " Sun", " Mon", " Tue", " Wed", " Thr", " Fri", " Sat" };

class TWkToWk final : public EntryDialog {
    Q_OBJECT
public:
    TWkToWk(CalendarDocument& document, CalendarHost& host, Services services,
        QWidget* parent = nullptr);

    // The occurrence code of the selected button: 0 every week, 1-5 the n-th, 6 the last.
    int Occurrence() const { return occurrence_; }
    void RadioButtonClick(int code);

protected:
    void PrepareOwn() override;
    void BeforeFromCheck() override;
    void OnAutomaticUpdate(bool checked) override;
    std::optional<EntryPlan> MakePlan(const DayStore& store, const Date& from, const Date& to,
        const std::string& text) const override;

private:
    void SetMonthOnlyUsable(bool usable);

    QLineEdit* weekday_edit_ = nullptr;
    std::array<QRadioButton*, 7> radio_ {}; // by occurrence code
    QCheckBox* month_only_check_ = nullptr;
    QLabel* month_only_label_ = nullptr;
    int occurrence_ = 0;
};

} // namespace orvane
