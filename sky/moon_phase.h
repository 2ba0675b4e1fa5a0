// The moon's phase angle from a date and time, the picture (1 to 28) that shows a phase, and the
// shapes that draw the moon as a lit and a dark part of a disc. The moon control keeps its phase
// state in a MoonPhaseCalculator; the toolbar picks its picture with MoonBitmapForPhase.
//
//   MoonPhaseCalculator moon(clock.Now());
//   moon.SetCustomTime("03/14/24 6:00:00 PM");
//   int picture = MoonBitmapForPhase(moon.CalcPhase(clock.Now()));  // 0: keep the old one
#pragma once

#include "core/clock.h"
#include "core/preferences.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::sky {

enum class THemisphere : std::uint8_t { heNorthern = 0, heSouthern = 1 };
enum class TMoonDisplayType : std::uint8_t {
    mdtUseSystemTime = 0,
    mdtUseCustomTime = 1,
    mdtUsePhaseAngle = 2,
};

inline constexpr long double kLunarCycleSeconds = 2551682.78L;
inline constexpr int kMoonBitmapCount = 28;
inline constexpr int kNewMoonBitmap = 28;
inline constexpr int kFullMoonBitmap = 14;

// Phase bounds in radians; interval i (1 to 56) lies strictly between bounds i-1 and i.
extern const std::array<double, 57> kMoonPhaseBounds;

struct DateTimeParts {
    int year = 2000;
    int month = 1; // 1-12
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

DateTimeParts PartsOf(const LocalTime& time);

// Phase angle in (0, 2 pi] at a date and time; 0 is new moon, pi full moon. Leap days are
// ignored by the count, as the picture table expects.
long double PhaseAngleAt(const DateTimeParts& when);

// Date and time as the moon control shows them: "3/14/24 6:00:00 PM"; a time of exactly
// midnight is left out ("3/14/24").
std::string DateTimeToText(const LocalTime& time);

// Reads month/day/year with an optional "h:mm[:ss]" time and optional AM or PM. A year of one or
// two digits is taken in the century that puts it within 50 years of `reference_year`.
// Nothing for a text that names no valid date and time.
std::optional<DateTimeParts> TextToDateTime(std::string_view text, int reference_year);

// The text the main window writes into the moon control for today: "03/14/24 6:00:00 PM".
std::string EveningCustomTime(const Date& today);

// Picture for interval 1 to 56; 0 outside.
int MoonBitmapForInterval(int interval);

// Picture for a phase angle, or 0 when the phase lies exactly on a bound (or outside them all),
// in which case the shown picture stays as it was.
int MoonBitmapForPhase(long double phase);

// A phase in the middle of the intervals that show picture `id` (1 to 28).
long double MiddlePhaseOfBitmap(int id);

// Whether the main window's moon step runs: the moon display is on and the file reaches line 23.
bool MoonStepApplies(std::size_t line_count, const Preferences& prefs);

// The phase state of the moon control: where the phase comes from and its last value.
class MoonPhaseCalculator {
public:
    // `created` gives the default CustomTime text.
    explicit MoonPhaseCalculator(const LocalTime& created);

    const std::string& CustomTime() const { return custom_time_; }
    // Also switches the mode to mdtUseCustomTime.
    void SetCustomTime(std::string text);

    long double Phase() const { return phase_; }
    // Also switches the mode to mdtUsePhaseAngle.
    void SetPhase(long double phase);

    TMoonDisplayType MoonDisplayType() const { return mode_; }
    void SetMoonDisplayType(TMoonDisplayType mode) { mode_ = mode; }

    THemisphere Hemisphere() const { return hemisphere_; }
    void SetHemisphere(THemisphere hemisphere) { hemisphere_ = hemisphere; }

    // The phase for the current mode, stored in Phase unless the mode is mdtUsePhaseAngle; the
    // mode never changes. In mdtUseSystemTime `now` is used and its text kept in CustomTime.
    // A CustomTime that is no date and time leaves Phase as it was and returns it.
    long double CalcPhase(const LocalTime& now);

    // Like CalcPhase in a time mode, for a given instant rather than the CustomTime text.
    long double CalcPhaseFor(const LocalTime& when);

private:
    std::string custom_time_;
    THemisphere hemisphere_ = THemisphere::heNorthern;
    long double phase_ = 0;
    TMoonDisplayType mode_ = TMoonDisplayType::mdtUseSystemTime;
};

// One call of the moon drawing. Coordinates are those of a rectangle or ellipse call that takes
// left, top, right and bottom and fills up to, not including, right and bottom. Left may exceed
// right (and top bottom) where the drawing runs backwards; the call draws the same shape then.
struct MoonShape {
    enum class Kind { kRectangle, kEllipse };
    enum class Colour { kBackground, kMoon };
    Kind kind;
    Colour colour;
    int left, top, right, bottom;
    friend bool operator==(const MoonShape&, const MoonShape&) = default;
};

// The shapes, in drawing order, that paint a control of `width` x `height` with a margin of
// `border` around the disc, for phase `phase` as seen from `hemisphere`.
std::vector<MoonShape> PlanMoonPaint(
    int width, int height, int border, long double phase, THemisphere hemisphere);

} // namespace orvane::sky
