// The main window's toolbar strip with today's sunrise and sunset times and the picture of the
// moon's phase for the place in the preferences. The main window shows or hides its parts at
// start-up and asks it to recompute on each activation.
#pragma once

#include "core/clock.h"
#include "core/preferences.h"

#include <QWidget>
#include <string>
#include <vector>

class QLabel;

namespace orvane {
class Notifier;
}

namespace orvane::sky {

class TMoon;

class SunMoonStrip : public QWidget {
    Q_OBJECT

public:
    // Size of the strip; it sits at the right end of the 21-pixel toolbar.
    static constexpr int kWidth = 150;
    static constexpr int kHeight = 21;

    // `clock` serves the moon control's own time; it must outlive the strip.
    explicit SunMoonStrip(const Clock& clock, QWidget* parent = nullptr);

    // Shows the sunrise and sunset pictures and times when the sun display flag is "1" and the
    // moon picture when the moon display flag is "1"; hides them otherwise.
    void ApplyStartupFlags(const Preferences& prefs);

    // The main window's activation work for the strip: the moon picture for 6 pm today, then
    // today's sunrise and sunset, each only when switched on and when the freshly read
    // preference file (`lines`, line 1 at index 0) reaches the lines it needs. Notices about the
    // sun go to `notifier`. A call made while an earlier call is still showing a notice does
    // nothing, so a notice can never bring itself back.
    void Activate(const std::vector<std::string>& lines, const Preferences& prefs,
        const LocalTime& now, Notifier& notifier);

    // The moon picture on show (1 to 28), or 0 while none has been chosen.
    int MoonBitmapShown() const { return moon_bitmap_; }

    TMoon* Moon1() const { return moon1_; }

private:
    void ShowMoonPhase(const Preferences& prefs, const LocalTime& now);
    void ShowSunTimes(const std::vector<std::string>& lines, const Preferences& prefs,
        const LocalTime& now, Notifier& notifier);

    QLabel* rise_image_;
    QLabel* rise_label_;
    QLabel* set_image_;
    QLabel* set_label_;
    QLabel* moon_image_;
    TMoon* moon1_;
    TMoon* moon2_;
    int moon_bitmap_ = 0;
    int event_kind_ = 0; // which label the last sun event went to, kept between runs
    bool activating_ = false;
};

} // namespace orvane::sky
