// The date pickers of the entry dialogs: short dates "M/d/yy" with a drop-down calendar. A
// two-digit year is placed in the hundred years around the calendar, so 99 typed next to a
// 2024 calendar means 1999 and 25 typed over a 1999 date means 2025.
#pragma once

#include "core/date_key.h"

#include <QDate>
#include <QDateEdit>

namespace orvane {

QDate ToQDate(const Date& date);
Date FromQDate(const QDate& date);

class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

    // Centres the hundred-year window on `year`: dates run from year - 50 to year + 49.
    void SetCenturyPivot(int year);
    // The first year of the window.
    int WindowStart() const { return pivot_ - 50; }

    // Sets the date without running the date checks; the caller runs them.
    void SetDateQuietly(const QDate& date);

signals:
    // The user changed the date; emitted once per change, after any century correction.
    void DatePicked();

private:
    void KeepInWindow(const QDate& date);

    int pivot_ = 2000;
};

} // namespace orvane
