#include "recurring/ui/preview_panel.h"

#include "core/ui/dialog_style.h"
#include "core/ui/text_codec.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <algorithm>
#include <array>
#include <chrono>

namespace orvane {

namespace {

constexpr int kTitleHeight = 11; // a month's name above its weeks
constexpr int kLegendHeight = 14;
constexpr int kGap = 4; // between months
constexpr int kLargestCell = 14;

QFont SmallFont() {
    return ProgramFont(QStringLiteral("MS Sans Serif"), 9);
}

int DaysBetween(const Date& from, const Date& to) {
    return static_cast<int>((std::chrono::sys_days(to) - std::chrono::sys_days(from)).count());
}

Date FirstOfMonth(const Date& date) {
    return Date { date.year(), date.month(), std::chrono::day(1) };
}

Date NextMonth(const Date& first) {
    const std::chrono::year_month next
        = std::chrono::year_month(first.year(), first.month()) + std::chrono::months(1);
    return next / std::chrono::day(1);
}

} // namespace

PreviewCalendar::PreviewCalendar(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("PreviewCalendar"));
    setAccessibleName(QStringLiteral("Days of the preview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QColor PreviewCalendar::Fill(DayMark mark) {
    switch (mark) {
    case DayMark::kChanged:
        return kLabelNavy;
    case DayMark::kFull:
        return QColor(200, 0, 0);
    case DayMark::kFoundKept:
        return QColor(230, 150, 0);
    case DayMark::kInRange:
        break;
    }
    return QColor(255, 255, 255);
}

QColor PreviewCalendar::OutsideFill() {
    return QColor(238, 229, 205);
}

void PreviewCalendar::SetDays(const Date& first, std::vector<DayMark> marks, bool deleting) {
    first_ = first;
    marks_ = std::move(marks);
    deleting_ = deleting;
    Layout();
    update();
}

void PreviewCalendar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
}

void PreviewCalendar::Layout() {
    months_.clear();
    cell_ = 0;
    if (marks_.empty() || !first_.ok())
        return;
    const Date last = AddDays(first_, static_cast<int>(marks_.size()) - 1);
    for (Date month = FirstOfMonth(first_); month <= last; month = NextMonth(month))
        months_.push_back({ month, QRect() });
    const int count = static_cast<int>(months_.size());
    const int width = this->width();
    const int height = this->height() - kLegendHeight;
    // The number of columns that gives the days the largest squares.
    int columns = 1;
    for (int c = 1; c <= count; ++c) {
        const int rows = (count + c - 1) / c;
        const int across = (width - (c - 1) * kGap) / c / 7;
        const int down = ((height - (rows - 1) * kGap) / rows - kTitleHeight) / 6;
        const int cell = std::min({ across, down, kLargestCell });
        if (cell > cell_) {
            cell_ = cell;
            columns = c;
        }
    }
    cell_ = std::max(cell_, 2);
    const int block_width = 7 * cell_;
    const int block_height = kTitleHeight + 6 * cell_;
    const int used = columns * block_width + (columns - 1) * kGap;
    const int left = std::max(0, (width - used) / 2);
    for (int i = 0; i < count; ++i) {
        months_[static_cast<std::size_t>(i)].rect
            = QRect(left + (i % columns) * (block_width + kGap),
                (i / columns) * (block_height + kGap), block_width, block_height);
    }
}

QRect PreviewCalendar::CellRect(const Month& month, const Date& date) const {
    const int column = WeekdayIndex(date);
    const int row
        = (static_cast<int>(static_cast<unsigned>(date.day())) - 1 + WeekdayIndex(month.first)) / 7;
    // A pixel between days while there is room for it.
    const int inset = cell_ > 3 ? 1 : 0;
    return QRect(month.rect.left() + column * cell_, month.rect.top() + kTitleHeight + row * cell_,
        cell_ - inset, cell_ - inset);
}

QRect PreviewCalendar::DayRect(const Date& date) const {
    for (const Month& month : months_) {
        if (month.first.year() == date.year() && month.first.month() == date.month())
            return CellRect(month, date);
    }
    return QRect();
}

std::optional<DayMark> PreviewCalendar::MarkOf(const Date& date) const {
    if (marks_.empty() || !first_.ok() || !date.ok())
        return std::nullopt;
    const int index = DaysBetween(first_, date);
    if (index < 0 || index >= static_cast<int>(marks_.size()))
        return std::nullopt;
    return marks_[static_cast<std::size_t>(index)];
}

void PreviewCalendar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kDialogBackground);
    if (months_.empty())
        return;
    painter.setFont(SmallFont());
    for (std::size_t i = 0; i < months_.size(); ++i) {
        const Month& month = months_[i];
        // The year goes with the first month and every January.
        QString title = QString::fromLatin1(
            kMonthAbbreviations[static_cast<unsigned>(month.first.month()) - 1].data(), 3);
        if (i == 0 || month.first.month() == std::chrono::January)
            title += QStringLiteral(" '%1").arg(
                static_cast<int>(month.first.year()) % 100, 2, 10, QLatin1Char('0'));
        painter.setPen(kLabelNavy);
        painter.drawText(
            QRect(month.rect.left(), month.rect.top(), month.rect.width() + kGap, kTitleHeight),
            Qt::AlignLeft | Qt::AlignVCenter, title);
        const Date end = LastDayOfMonth(month.first);
        for (Date day = month.first; day <= end; day = AddDays(day, 1)) {
            const QRect cell = CellRect(month, day);
            const std::optional<DayMark> mark = MarkOf(day);
            painter.fillRect(cell, mark ? Fill(*mark) : OutsideFill());
            // A full day is crossed out, so it reads without telling red from the others.
            if (mark == DayMark::kFull && cell_ >= 5) {
                painter.setPen(Qt::white);
                painter.drawLine(cell.topLeft(), cell.bottomRight());
                painter.drawLine(cell.topRight(), cell.bottomLeft());
            }
        }
    }

    const std::array<std::pair<DayMark, const char*>, 3> legend = { {
        { DayMark::kChanged, deleting_ ? "loses the entry" : "gets the entry" },
        { deleting_ ? DayMark::kFoundKept : DayMark::kFull,
            deleting_ ? "inside longer entries" : "full" },
        { DayMark::kInRange, "no change" },
    } };
    const QFontMetrics metrics(painter.font());
    int x = 0;
    const int y = height() - kLegendHeight + 3;
    for (const auto& [mark, words] : legend) {
        painter.fillRect(QRect(x, y, 9, 9), Fill(mark));
        painter.setPen(kLabelNavy);
        painter.drawRect(QRect(x, y, 8, 8));
        const QString text = QString::fromLatin1(words);
        painter.drawText(QPoint(x + 12, y + 8), text);
        x += 12 + metrics.horizontalAdvance(text) + 10;
    }
}

PreviewPanel::PreviewPanel(QWidget* parent)
    : QGroupBox(QStringLiteral("Preview:"), parent) {
    setObjectName(QStringLiteral("GroupBoxPreview"));
    MakeNavy(this);
    const int inner = kWidth - 16;
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("PreviewSummary"));
    summary_->setAccessibleDescription(QStringLiteral("What OK will do"));
    summary_->setTextFormat(Qt::PlainText);
    summary_->setWordWrap(true);
    summary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    MakeNavy(summary_);
    const int summary_height = 4 * QFontMetrics(summary_->font()).lineSpacing() + 2;
    summary_->setGeometry(8, 18, inner, summary_height);

    const int details_height = 62;
    const int calendar_top = 18 + summary_height + 4;
    calendar_ = new PreviewCalendar(this);
    calendar_->setGeometry(8, calendar_top, inner, kHeight - calendar_top - details_height - 12);

    details_ = new QPlainTextEdit(this);
    details_->setObjectName(QStringLiteral("PreviewDetails"));
    details_->setAccessibleName(QStringLiteral("Preview details"));
    details_->setReadOnly(true);
    details_->setFocusPolicy(Qt::ClickFocus);
    SetColours(details_, QPalette::Base, Qt::white);
    details_->setGeometry(8, kHeight - details_height - 8, inner, details_height);
}

QString PreviewPanel::Summary() const {
    return summary_->text();
}

QString PreviewPanel::Details() const {
    return details_->toPlainText();
}

void PreviewPanel::Show(
    const DayStore& store, const PlanPreview& preview, bool deleting, const QStringList& notes) {
    shown_ = preview;
    const QString summary = FromCp1252(preview.summary);
    if (summary != summary_->text()) {
        summary_->setText(summary);
        QAccessibleEvent changed(summary_, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
        emit SummaryAnnounced(summary);
    }

    QStringList lines;
    for (const std::string& line : preview.details)
        lines << FromCp1252(line);
    lines += notes;
    const QString details = lines.join(QLatin1Char('\n'));
    if (details != details_->toPlainText())
        details_->setPlainText(details);

    std::optional<Date> first;
    if (!preview.refused() && preview.first_slot >= 1 && preview.first_slot <= kSlotCount)
        first = ParseDateKey(store[preview.first_slot]);
    calendar_->SetDays(
        first.value_or(Date {}), first ? RangeMarks(preview) : std::vector<DayMark> {}, deleting);
    const QString described = FromCp1252(MarkedDaysText(store, preview, deleting));
    if (described != calendar_->accessibleDescription()) {
        calendar_->setAccessibleDescription(described);
        QAccessibleEvent changed(calendar_, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
        emit MarkedDaysAnnounced(described);
    }
}

} // namespace orvane
