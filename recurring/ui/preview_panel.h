// The preview panel of the entry and delete dialogs: a summary line, a compact calendar of the
// days the plan walks with the changed and the full days marked, and the details in text (the
// full days named, the record, a delete's discontinued records). It shows what it is given; the
// dialog computes the preview with the same functions its OK runs (recurring/preview.h).
#pragma once

#include "core/date_key.h"
#include "core/day_store.h"
#include "recurring/preview.h"

#include <QGroupBox>
#include <QWidget>
#include <optional>
#include <vector>

class QLabel;
class QPlainTextEdit;

namespace orvane {

// The months from the first to the last day of a range, each a small block of weeks from Sunday
// to Saturday, every day of the range filled by its mark.
class PreviewCalendar final : public QWidget {
    Q_OBJECT
public:
    explicit PreviewCalendar(QWidget* parent = nullptr);

    // Shows the days from `first` on, one mark each; no marks leave the calendar empty.
    // `deleting` names the marks in the legend as a delete does.
    void SetDays(const Date& first, std::vector<DayMark> marks, bool deleting);

    // Where `date` is drawn, in the widget's coordinates; empty when it is not shown.
    QRect DayRect(const Date& date) const;
    // The mark of `date`, or nothing outside the range.
    std::optional<DayMark> MarkOf(const Date& date) const;
    int MonthCount() const { return static_cast<int>(months_.size()); }
    int CellSize() const { return cell_; }

    // The fill of each mark, and of a day of a shown month outside the range.
    static QColor Fill(DayMark mark);
    static QColor OutsideFill();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Month {
        Date first; // the first of the month
        QRect rect; // title and weeks
    };
    void Layout();
    QRect CellRect(const Month& month, const Date& date) const;

    Date first_ {};
    std::vector<DayMark> marks_;
    bool deleting_ = false;
    std::vector<Month> months_;
    int cell_ = 0; // pixels per day, square
};

class PreviewPanel final : public QGroupBox {
    Q_OBJECT
public:
    explicit PreviewPanel(QWidget* parent = nullptr);

    // Shows `preview` of a plan on `store`; `notes` follow the details (words from outside the
    // model, such as why fdat.ovd cannot be read). A summary that differs from the one shown is
    // announced to screen readers.
    void Show(const DayStore& store, const PlanPreview& preview, bool deleting,
        const QStringList& notes = {});

    const PlanPreview& Shown() const { return shown_; }
    QString Summary() const;
    QString Details() const;
    PreviewCalendar* Calendar() const { return calendar_; }

signals:
    // Sent with each new summary, and with each new list of marked days, when it is announced to
    // screen readers.
    void SummaryAnnounced(const QString& summary);
    void MarkedDaysAnnounced(const QString& days);

public:
    static constexpr int kWidth = 360;
    static constexpr int kHeight = 288;

private:
    QLabel* summary_ = nullptr; // PreviewSummary
    PreviewCalendar* calendar_ = nullptr; // PreviewCalendar
    QPlainTextEdit* details_ = nullptr; // PreviewDetails
    PlanPreview shown_;
};

} // namespace orvane
