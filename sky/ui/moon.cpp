#include "sky/ui/moon.h"

#include <QPaintEvent>
#include <QPainter>

namespace orvane::sky {

namespace {

// Rectangle and ellipse calls take left, top, right, bottom and fill up to, not including, the
// right and bottom edges, whichever way round the corners come.
QRect FillArea(const MoonShape& shape) {
    return QRect(QPoint(std::min(shape.left, shape.right), std::min(shape.top, shape.bottom)),
        QSize(std::abs(shape.right - shape.left), std::abs(shape.bottom - shape.top)));
}

} // namespace

TMoon::TMoon(const Clock& clock, QWidget* parent)
    : QWidget(parent)
    , clock_(clock)
    , calculator_(clock.Now()) {
    resize(32, 32);
    setAccessibleName(QStringLiteral("Moon"));
}

void TMoon::SetBackgroundColor(const QColor& color) {
    background_color_ = color;
    update();
}

void TMoon::SetBorderSize(int size) {
    border_size_ = size;
    update();
}

// The text holds only the characters of a date and time; Latin-1 covers them exactly.
QString TMoon::CustomTime() const {
    return QString::fromLatin1(calculator_.CustomTime());
}

void TMoon::SetCustomTime(const QString& text) {
    calculator_.SetCustomTime(text.toLatin1().toStdString());
    update();
}

void TMoon::SetHemisphere(THemisphere hemisphere) {
    calculator_.SetHemisphere(hemisphere);
    update();
}

void TMoon::SetHemisphereValue(int value) {
    SetHemisphere(value == 1 ? THemisphere::heSouthern : THemisphere::heNorthern);
}

void TMoon::SetMoonColor(const QColor& color) {
    moon_color_ = color;
    update();
}

void TMoon::SetPhase(long double phase) {
    calculator_.SetPhase(phase);
    update();
}

void TMoon::SetMoonDisplayType(TMoonDisplayType mode) {
    calculator_.SetMoonDisplayType(mode);
    update();
}

void TMoon::SetMoonDisplayTypeValue(int value) {
    if (value >= 0 && value <= 2)
        SetMoonDisplayType(static_cast<TMoonDisplayType>(value));
}

long double TMoon::CalcPhase() {
    return calculator_.CalcPhase(clock_.Now());
}

long double TMoon::CalcPhaseFor(const LocalTime& when) {
    return calculator_.CalcPhaseFor(when);
}

void TMoon::Paint(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    const long double phase = CalcPhase();
    for (const MoonShape& shape :
        PlanMoonPaint(width(), height(), border_size_, phase, Hemisphere())) {
        const QColor& colour
            = shape.colour == MoonShape::Colour::kMoon ? moon_color_ : background_color_;
        const QRect area = FillArea(shape);
        if (area.isEmpty())
            continue;
        painter.setBrush(colour);
        if (shape.kind == MoonShape::Kind::kRectangle)
            painter.fillRect(area, colour);
        else
            painter.drawEllipse(area);
    }
    painter.restore();
}

void TMoon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter);
}

} // namespace orvane::sky
