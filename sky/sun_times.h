// Today's sunrise and sunset for the user's place: a low-precision solar model scanned over one
// day hour by hour, giving the captions of the strip's two time labels and the notices to show
// when the sun does not rise or set.
//
//   auto request = SunRequestFromPreferences(lines, prefs, today);
//   if (request) { SunTimes times = ComputeSunTimes(*request, event_kind); ... }
#pragma once

#include "core/date_key.h"
#include "core/preferences.h"

#include <optional>
#include <string>
#include <vector>

namespace orvane::sky {

inline constexpr const char* kSunUpOrDownAllDay = "Sun up or down all day";
inline constexpr const char* kNoSunrise = "No sunrise this date";
inline constexpr const char* kNoSunset = "No sunset this date";

// What the computation needs, read from the preferences.
struct SunRequest {
    double longitude = 0; // degrees, east positive
    double latitude = 0; // degrees, north positive
    double zone = 0; // hours from Greenwich, east positive, daylight saving already added
    bool military_time = false; // "0642" / "1815" rather than "6:42A" / "6:15P"
    Date date;
};

// The request for `today`, or nothing when no computation is due: the sun display is off
// (position 5 is '0'), the lines stop before line 24, longitude, latitude or zone is not a
// number (or too large for a double), or longitude or latitude is exactly 0. The numbers are read
// without the C library's locale, "." or "," as the separator. `lines` holds line 1 at index 0.
std::optional<SunRequest> SunRequestFromPreferences(
    const std::vector<std::string>& lines, const Preferences& prefs, const Date& today);

// Which label the last event of a scan went to. The scan keeps it from one hour to the next and
// from one run to the next, so callers hold it between runs (0 before any event).
enum EventKindValue : int { kNoEvent = 0, kRiseEvent = 1, kSetEvent = 2 };

struct SunTimes {
    std::optional<std::string> rise_caption; // new caption of the sunrise label, if written
    std::optional<std::string> set_caption; // new caption of the sunset label, if written
    std::vector<std::string> messages; // notices to show one after the other
    int event_kind = kNoEvent; // to hand to the next run
};

// Scans the 24 hours that start at 12:00 local clock time (of the day before `date` for a zone
// west of Greenwich, of `date` otherwise) for the sun crossing the horizon.
SunTimes ComputeSunTimes(const SunRequest& request, int event_kind);

// Caption for an event found at scan hour `hour` (0 is 12:00 clock time) and `minute`.
std::string RiseCaption(int hour, int minute, bool military_time);
std::string SetCaption(int hour, int minute, bool military_time);

// Building blocks, exposed for tests.
namespace detail {

inline constexpr double kPi = 3.14159265; // the model's own constant, not full precision

// Where in the hour (0 to 1) the parabola through the altitudes at its start, middle and end
// crosses zero; nothing when it does not.
std::optional<double> CrossingFraction(double v0, double v1, double v2);

// Days from 2000 January 1 at 12:00 to 0h of the date (Gregorian calendar from 1583 on).
double DaysFromJ2000(int year, int month, int day);

struct SunPlace {
    double right_ascension; // radians, not reduced to one turn
    double declination; // radians
};
// The sun's place `days` after 2000 January 1 12:00; `centuries` counts from 1900.
SunPlace SunPosition(double days, double centuries);

} // namespace detail

} // namespace orvane::sky
