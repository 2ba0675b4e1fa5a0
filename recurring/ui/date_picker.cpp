#include "recurring/ui/date_picker.h"

#include <QSignalBlocker>

namespace orvane {

QDate ToQDate(const Date& date) {
    return QDate(static_cast<int>(date.year()),
        static_cast<int>(static_cast<unsigned>(date.month())),
        static_cast<int>(static_cast<unsigned>(date.day())));
}

Date FromQDate(const QDate& date) {
    return Date { std::chrono::year(date.year()),
        std::chrono::month(static_cast<unsigned>(date.month())),
        std::chrono::day(static_cast<unsigned>(date.day())) };
}

DatePicker::DatePicker(QWidget* parent)
    : QDateEdit(parent) {
    setDisplayFormat(QStringLiteral("M/d/yy"));
    setCalendarPopup(true);
    // The editor keeps the century of the date it shows while a two-digit year is typed; the
    // window below then moves such a year into the calendar's hundred years.
    setDateRange(QDate(1901, 1, 1), QDate(2099, 12, 31));
    connect(this, &QDateEdit::dateChanged, this, &DatePicker::KeepInWindow);
}

void DatePicker::SetCenturyPivot(int year) {
    pivot_ = year;
}

void DatePicker::SetDateQuietly(const QDate& date) {
    const QSignalBlocker quiet(this);
    setDate(date);
}

void DatePicker::KeepInWindow(const QDate& date) {
    if (!date.isValid())
        return;
    int shift = 0;
    if (date.year() < pivot_ - 50)
        shift = 100;
    else if (date.year() > pivot_ + 49)
        shift = -100;
    if (shift == 0) {
        emit DatePicked();
        return;
    }
    QDate moved = date.addYears(shift);
    if (!moved.isValid()) // 29 February moved into a common year
        moved = QDate(date.year() + shift, date.month(), 28);
    setDate(moved); // its own change signal reports the corrected date
}

} // namespace orvane
