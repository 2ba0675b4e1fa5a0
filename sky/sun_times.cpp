#include "sky/sun_times.h"

#include "prefs/pref_file.h"
#include "sky/option_flag.h"

#include <cmath>

namespace orvane::sky {
namespace {

using detail::kPi;
constexpr double kTwoPi = 2 * kPi;
constexpr double kDegree = kPi / 180;
// Sidereal rotation in one solar hour, radians.
constexpr double kHourTurn = 15 * kDegree * 1.0027379;

double Int(double x) {
    return std::trunc(x);
}
double Frac(double x) {
    return x - Int(x);
}

int Sign(double x) {
    return x < 0 ? -1 : (x > 0 ? 1 : 0);
}

// The working values the hourly scan shares.
struct Scan {
    double t0 = 0; // local sidereal angle at the scan start
    double s = 0, c = 0, z = 0; // sin and cos of latitude, cos of zenith distance
    double a0 = 0, d0 = 0, a2 = 0, d2 = 0; // right ascension / declination at hour ends
    double v0 = 0, v2 = 0; // altitude function at hour ends
    bool rise_found = false; // M8
    bool set_found = false; // W8
    int event_kind = kNoEvent;
};

void TestHour(int hour, Scan& scan, bool military_time, SunTimes& out) {
    const double l0 = scan.t0 + hour * kHourTurn;
    const double l2 = l0 + kHourTurn;
    const double h0 = l0 - scan.a0;
    const double h2 = l2 - scan.a2;
    const double h1 = (h2 + h0) / 2;
    const double d1 = (scan.d2 + scan.d0) / 2;
    if (hour == 0)
        scan.v0 = scan.s * std::sin(scan.d0) + scan.c * std::cos(scan.d0) * std::cos(h0) - scan.z;
    scan.v2 = scan.s * std::sin(scan.d2) + scan.c * std::cos(scan.d2) * std::cos(h2) - scan.z;
    if (Sign(scan.v0) == Sign(scan.v2))
        return;

    const double v1 = scan.s * std::sin(d1) + scan.c * std::cos(d1) * std::cos(h1) - scan.z;
    const std::optional<double> e = detail::CrossingFraction(scan.v0, v1, scan.v2);
    if (!e)
        return;

    if (scan.v0 < 0 && scan.v2 > 0) {
        scan.event_kind = kRiseEvent;
        scan.rise_found = true;
    }
    if (scan.v0 > 0 && scan.v2 < 0) {
        scan.event_kind = kSetEvent;
        scan.set_found = true;
    }

    const double t3 = hour + *e + 1.0 / 120; // half a minute, so that truncation rounds
    const int h3 = static_cast<int>(Int(t3));
    const int m3 = static_cast<int>(Int((t3 - h3) * 60));
    if (scan.event_kind == kRiseEvent)
        out.rise_caption = RiseCaption(h3, m3, military_time);
    else if (scan.event_kind == kSetEvent)
        out.set_caption = SetCaption(h3, m3, military_time);
}

std::string TwoDigits(int value) {
    std::string text = std::to_string(value < 0 ? -value : value);
    if (text.size() < 2)
        text.insert(0, 1, '0');
    return value < 0 ? "-" + text : text;
}

int ClockHour(int hour) {
    return ((hour % 24) + 24) % 24;
}

} // namespace

namespace detail {

std::optional<double> CrossingFraction(double v0, double v1, double v2) {
    const double a = 2 * v2 - 4 * v1 + 2 * v0;
    const double b = 4 * v1 - 3 * v0 - v2;
    double d = b * b - 4 * a * v0;
    if (d < 0)
        return std::nullopt;
    d = std::sqrt(d);
    if (a == 0) {
        // The three altitudes lie on a straight line: its zero is the crossing.
        if (b == 0)
            return std::nullopt;
        return -v0 / b;
    }
    double e = (-b + d) / (2 * a);
    if (e > 1 || e < 0)
        e = (-b - d) / (2 * a);
    return e;
}

double DaysFromJ2000(int year, int month, int day) {
    const int gregorian = year >= 1583 ? 1 : 0;
    const double d = Int(day);
    double f = day - d - 0.5;
    double j = -Int(7 * (Int((month + 9) / 12.0) + year) / 4);
    double j3 = 0;
    if (gregorian == 1) {
        const int s = Sign(month - 9);
        const double a = std::abs(month - 9);
        j3 = Int(year + s * Int(a / 7));
        j3 = -Int((Int(j3 / 100) + 1) * 3 / 4);
    }
    j = j + Int(275.0 * month / 9) + d + gregorian * j3;
    j = j + 1721027 + 2 * gregorian + 367.0 * year;
    if (f < 0) {
        f = f + 1;
        j = j - 1;
    }
    return (j - 2451545) + f;
}

SunPlace SunPosition(double days, double centuries) {
    const double l = Frac(0.779072 + 0.00273790931 * days) * kTwoPi;
    const double g = Frac(0.993126 + 0.0027377785 * days) * kTwoPi;
    const double v = 0.39785 * std::sin(l) - 0.01 * std::sin(l - g) + 0.00333 * std::sin(l + g)
        - 0.00021 * centuries * std::sin(l);
    const double u = 1 - 0.03349 * std::cos(g) - 0.00014 * std::cos(2 * l) + 0.00008 * std::cos(l);
    const double w = -0.0001 - 0.04129 * std::sin(2 * l) + 0.03211 * std::sin(g)
        + 0.00104 * std::sin(2 * l - g) - 0.00035 * std::sin(2 * l + g)
        - 0.00008 * centuries * std::sin(g);
    SunPlace place {};
    double s = w / std::sqrt(u - v * v);
    place.right_ascension = l + std::atan(s / std::sqrt(1 - s * s));
    s = v / std::sqrt(u);
    place.declination = std::atan(s / std::sqrt(1 - s * s));
    return place;
}

} // namespace detail

std::optional<SunRequest> SunRequestFromPreferences(
    const std::vector<std::string>& lines, const Preferences& prefs, const Date& today) {
    if (FlagOrZero(prefs, Flag::DisplaySunriseSunset) == '0')
        return std::nullopt;
    const auto place = PrefPlace(lines);
    if (!place)
        return std::nullopt;
    // A number beyond a double's range counts as no number.
    const auto longitude = place->longitude.ToDouble();
    const auto latitude = place->latitude.ToDouble();
    const auto zone = place->gmt_offset.ToDouble();
    if (!longitude || !latitude || !zone || *longitude == 0 || *latitude == 0)
        return std::nullopt;

    SunRequest request;
    request.longitude = *longitude;
    request.latitude = *latitude;
    request.zone = *zone + (FlagOrZero(prefs, Flag::DaylightSaving) != '0' ? 1 : 0);
    // A position that is not a digit is simply not the 24-hour switch.
    request.military_time = FlagOrZero(prefs, Flag::DisplayMilitaryTime) == '1';
    request.date = today;
    return request;
}

std::string RiseCaption(int hour, int minute, bool military_time) {
    // The scan starts at noon, so a morning event lies 12 scan hours before its clock hour.
    if (military_time)
        return TwoDigits(ClockHour(hour - 12)) + TwoDigits(minute);
    return std::to_string(hour - 12) + ":" + TwoDigits(minute) + "A";
}

std::string SetCaption(int hour, int minute, bool military_time) {
    if (military_time)
        return TwoDigits(ClockHour(hour + 12)) + TwoDigits(minute);
    return std::to_string(hour) + ":" + TwoDigits(minute) + "P";
}

SunTimes ComputeSunTimes(const SunRequest& request, int event_kind) {
    const double zone = request.zone >= 0 ? 12 - request.zone : -12 - request.zone;
    const double z0 = zone / 24;
    const double l5 = request.longitude / 360;

    double t = detail::DaysFromJ2000(static_cast<int>(request.date.year()),
        static_cast<int>(static_cast<unsigned>(request.date.month())),
        static_cast<int>(static_cast<unsigned>(request.date.day())));
    const double tt = t / 36525 + 1;

    Scan scan;
    scan.event_kind = event_kind;
    double sidereal = 24110.5 + 8640184.813 * (t / 36525) + 86636.6 * z0 + 86400 * l5;
    sidereal = sidereal / 86400;
    sidereal = sidereal - Int(sidereal);
    scan.t0 = sidereal * 360 * kDegree;

    t = t + z0;
    const detail::SunPlace first = detail::SunPosition(t, tt);
    t = t + 1;
    const detail::SunPlace second = detail::SunPosition(t, tt);
    const double ra1 = first.right_ascension;
    double ra2 = second.right_ascension;
    if (ra2 < ra1)
        ra2 = ra2 + kTwoPi;

    const double zenith = 90.833 * kDegree;
    scan.s = std::sin(request.latitude * kDegree);
    scan.c = std::cos(request.latitude * kDegree);
    scan.z = std::cos(zenith);
    scan.a0 = ra1;
    scan.d0 = first.declination;
    const double da = ra2 - ra1;
    const double dd = second.declination - first.declination;

    SunTimes out;
    for (int hour = 0; hour <= 23; ++hour) {
        const double p = (hour + 1) / 24.0;
        scan.a2 = ra1 + p * da;
        scan.d2 = first.declination + p * dd;
        TestHour(hour, scan, request.military_time, out);
        scan.a0 = scan.a2;
        scan.d0 = scan.d2;
        scan.v0 = scan.v2;
    }
    out.event_kind = scan.event_kind;

    if (!scan.rise_found && !scan.set_found) {
        if (scan.v2 != 0)
            out.messages.emplace_back(kSunUpOrDownAllDay);
        return out;
    }
    if (!scan.rise_found)
        out.messages.emplace_back(kNoSunrise);
    if (!scan.set_found)
        out.messages.emplace_back(kNoSunset);
    return out;
}

} // namespace orvane::sky
