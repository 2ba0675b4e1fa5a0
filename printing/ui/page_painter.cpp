#include "printing/ui/page_painter.h"

#include "core/ui/dialog_style.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace orvane {

namespace {

QRect ToQRect(const PixelRect& rect) {
    return QRect(rect.left, rect.top, rect.width, rect.height);
}

// Lines are filled pixel rectangles rather than pen strokes, so that they cover exactly the
// layout's pixels on screen and scale with the page on the printer.
void FillLine(QPainter& painter, const PixelLine& line) {
    const int left = std::min(line.from.x, line.to.x);
    const int top = std::min(line.from.y, line.to.y);
    const int right = std::max(line.from.x, line.to.x);
    const int bottom = std::max(line.from.y, line.to.y);
    painter.fillRect(QRect(QPoint(left, top), QPoint(right, bottom)), Qt::black);
}

void FrameRect(QPainter& painter, const QRect& rect) {
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), Qt::black);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), Qt::black);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), Qt::black);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), Qt::black);
}

// Text whose top-left is at `origin`, on a white background as wide as the text.
void TextOut(QPainter& painter, PixelPoint origin, const QString& text) {
    const QFontMetrics metrics = painter.fontMetrics();
    painter.fillRect(
        QRect(origin.x, origin.y, metrics.horizontalAdvance(text), metrics.height()), Qt::white);
    painter.drawText(QPoint(origin.x, origin.y + metrics.ascent()), text);
}

} // namespace

PageCells ReadPageCells(const CalendarHost& host) {
    PageCells cells;
    for (int cell = 1; cell <= kPageCells; ++cell)
        cells[cell - 1] = host.Cell(cell);
    return cells;
}

PageLayout LayOutCells(const PageCells& cells) {
    std::array<int, kPageCells> counts {};
    for (int i = 0; i < kPageCells; ++i)
        counts[i] = static_cast<int>(std::min<qsizetype>(cells[i].lines.size(), 10000));
    return LayOutPage(counts);
}

QFont PageFont(bool bold) {
    return ProgramFont(QStringLiteral("MS Sans Serif"), 11, bold);
}

void PaintPage(QPainter& painter, const PageLayout& layout, const PageCells& cells,
    const QStringList& titles) {
    painter.save();
    painter.setPen(Qt::black);
    if (!titles.isEmpty()) {
        painter.setFont(PageFont(true));
        for (int column = 0; column < kPageColumns && column < titles.size(); ++column)
            painter.drawText(
                QRect(kTitleLefts[column], kTitleTop, kTitleWidths[column], kTitleHeight),
                Qt::AlignCenter, titles[column]);
    }

    for (int row = 0; row < layout.drawn_rows; ++row) {
        painter.setFont(PageFont(true));
        for (int column = 0; column < kPageColumns; ++column) {
            const HeaderBox& header = layout.headers[row * kPageColumns + column];
            const QRect box = ToQRect(header.box);
            painter.fillRect(box, Qt::white);
            painter.save();
            painter.setClipRect(box, Qt::IntersectClip);
            painter.drawText(
                QPoint(header.text_origin.x, header.text_origin.y + painter.fontMetrics().ascent()),
                cells[header.cell - 1].header);
            painter.restore();
            FrameRect(painter, box);
        }
        FillLine(painter, layout.row_edges[row]);

        painter.setFont(PageFont(false));
        for (int column = 0; column < kPageColumns; ++column) {
            const NoteBlock& note = layout.notes[row * kPageColumns + column];
            const QStringList& lines = cells[note.cell - 1].lines;
            for (int i = 0; i < lines.size(); ++i)
                TextOut(painter, PixelPoint { note.origin.x, note.origin.y + kLineHeight * i },
                    lines[i]);
        }
    }

    for (const PixelLine& line : layout.grid_lines)
        FillLine(painter, line);
    painter.restore();
}

void PaintPrintedPage(QPainter& painter, const PageLayout& layout, const PageCells& cells,
    const QStringList& titles, int width, int height) {
    if (width <= 0 || height <= 0)
        return;
    painter.save();
    painter.scale(static_cast<double>(width) / kPrintAreaWidth,
        static_cast<double>(height) / kPrintAreaHeight);
    painter.translate(-kPrintAreaLeft, -kPrintAreaTop);
    const QRect area(kPrintAreaLeft, kPrintAreaTop, kPrintAreaWidth, kPrintAreaHeight);
    painter.setClipRect(area);
    painter.fillRect(area, Qt::white);
    PaintPage(painter, layout, cells, titles);
    painter.restore();
}

} // namespace orvane
