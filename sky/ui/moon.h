// TMoon: a small control that knows the moon's phase and can draw it as a disc with a lit and a
// dark part. The main window keeps one as its phase calculator; the moon pictures are drawn with
// it too.
#pragma once

#include "core/clock.h"
#include "sky/moon_phase.h"

#include <QColor>
#include <QString>
#include <QWidget>

class QPainter;

namespace orvane::sky {

// The background every strip picture is drawn on; the strip shows it as transparent.
inline const QColor kStripSilver(192, 192, 192);

class TMoon : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor BackgroundColor READ BackgroundColor WRITE SetBackgroundColor)
    Q_PROPERTY(int BorderSize READ BorderSize WRITE SetBorderSize)
    Q_PROPERTY(QString CustomTime READ CustomTime WRITE SetCustomTime)
    Q_PROPERTY(int Hemisphere READ HemisphereValue WRITE SetHemisphereValue)
    Q_PROPERTY(QColor MoonColor READ MoonColor WRITE SetMoonColor)
    Q_PROPERTY(double Phase READ PhaseValue WRITE SetPhaseValue)
    Q_PROPERTY(int MoonDisplayType READ MoonDisplayTypeValue WRITE SetMoonDisplayTypeValue)

public:
    // The control's enumerations, also reachable as TMoon::THemisphere and so on.
    using THemisphere = orvane::sky::THemisphere;
    using TMoonDisplayType = orvane::sky::TMoonDisplayType;

    // `clock` gives the default CustomTime and the time of the system-time mode; it must outlive
    // the control.
    explicit TMoon(const Clock& clock, QWidget* parent = nullptr);

    QColor BackgroundColor() const { return background_color_; }
    void SetBackgroundColor(const QColor& color);
    int BorderSize() const { return border_size_; }
    void SetBorderSize(int size);
    QString CustomTime() const;
    // Also switches to mdtUseCustomTime.
    void SetCustomTime(const QString& text);
    THemisphere Hemisphere() const { return calculator_.Hemisphere(); }
    void SetHemisphere(THemisphere hemisphere);
    QColor MoonColor() const { return moon_color_; }
    void SetMoonColor(const QColor& color);
    long double Phase() const { return calculator_.Phase(); }
    // Also switches to mdtUsePhaseAngle.
    void SetPhase(long double phase);
    TMoonDisplayType MoonDisplayType() const { return calculator_.MoonDisplayType(); }
    void SetMoonDisplayType(TMoonDisplayType mode);

    // The phase in radians for the current mode; stored in Phase unless the mode is
    // mdtUsePhaseAngle. The mode never changes.
    long double CalcPhase();
    // The same for a given instant instead of the CustomTime text or the clock.
    long double CalcPhaseFor(const LocalTime& when);

    // Draws the control on `painter`, whose origin is the control's top-left corner.
    void Paint(QPainter& painter);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int HemisphereValue() const { return static_cast<int>(Hemisphere()); }
    void SetHemisphereValue(int value);
    double PhaseValue() const { return static_cast<double>(Phase()); }
    void SetPhaseValue(double phase) { SetPhase(phase); }
    int MoonDisplayTypeValue() const { return static_cast<int>(MoonDisplayType()); }
    void SetMoonDisplayTypeValue(int value);

    const Clock& clock_;
    QColor background_color_ { 0, 0, 0 };
    int border_size_ = 2;
    QColor moon_color_ { 255, 255, 255 };
    MoonPhaseCalculator calculator_;
};

} // namespace orvane::sky
