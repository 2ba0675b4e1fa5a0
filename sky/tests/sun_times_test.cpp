#include "sky/sun_times.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace orvane::sky {
namespace {

using namespace std::chrono;

Date D(int y, unsigned m, unsigned d) {
    return Date { year(y), month(m), day(d) };
}

// ---- An independent almanac: the sun's altitude from the standard low-accuracy ephemeris of
// the astronomical almanac (mean longitude, equation of centre, obliquity, sidereal time), and
// the horizon crossings found by bisection. It shares no formula with the code under test.

constexpr double kRad = std::numbers::pi / 180;

double JulianDayUt(const Date& date, double hours) {
    const double days = sys_days(date).time_since_epoch().count();
    return days + 2440587.5 + hours / 24;
}

double AltitudeDegrees(double jd, double longitude, double latitude) {
    const double n = jd - 2451545.0;
    const double jc = n / 36525;
    const double mean_long = std::fmod(280.46646 + jc * (36000.76983 + jc * 0.0003032), 360);
    const double anomaly = (357.52911 + jc * (35999.05029 - 0.0001537 * jc)) * kRad;
    const double centre = std::sin(anomaly) * (1.914602 - jc * (0.004817 + 0.000014 * jc))
        + std::sin(2 * anomaly) * (0.019993 - 0.000101 * jc) + std::sin(3 * anomaly) * 0.000289;
    const double omega = (125.04 - 1934.136 * jc) * kRad;
    const double lambda = (mean_long + centre - 0.00569 - 0.00478 * std::sin(omega)) * kRad;
    const double obliquity
        = (23 + (26 + (21.448 - jc * (46.815 + jc * (0.00059 - jc * 0.001813))) / 60) / 60
              + 0.00256 * std::cos(omega))
        * kRad;
    const double dec = std::asin(std::sin(obliquity) * std::sin(lambda));
    const double ra = std::atan2(std::cos(obliquity) * std::sin(lambda), std::cos(lambda));
    const double gmst = 280.46061837 + 360.98564736629 * n + 0.000387933 * jc * jc;
    const double hour_angle = (gmst + longitude) * kRad - ra;
    const double lat = latitude * kRad;
    return std::asin(
               std::sin(lat) * std::sin(dec) + std::cos(lat) * std::cos(dec) * std::cos(hour_angle))
        / kRad;
}

struct Almanac {
    std::optional<double> rise; // minutes after local midnight
    std::optional<double> set;
};

// Events in the 24 hours from 12:00 local clock time (of the day before for a zone west of
// Greenwich), the window the calendar shows.
Almanac AlmanacEvents(double longitude, double latitude, double zone, const Date& date) {
    const Date first = zone < 0 ? Date(sys_days(date) - days(1)) : date;
    const double start = JulianDayUt(first, 12 - zone);
    const auto f = [&](double jd) { return AltitudeDegrees(jd, longitude, latitude) + 0.833; };
    Almanac out;
    const double step = 1.0 / 1440;
    for (int i = 0; i < 1440; ++i) {
        double lo = start + i * step;
        double hi = lo + step;
        const double f_lo = f(lo);
        const double f_hi = f(hi);
        if ((f_lo < 0) == (f_hi < 0))
            continue;
        const bool rising = f_lo < 0;
        for (int k = 0; k < 40; ++k) {
            const double mid = (lo + hi) / 2;
            if ((f(mid) < 0) == (f_lo < 0))
                lo = mid;
            else
                hi = mid;
        }
        const double local_minutes = std::fmod((lo - start) * 1440 + 12 * 60, 1440);
        (rising ? out.rise : out.set) = local_minutes;
    }
    return out;
}

int CaptionMinutes(const std::string& caption) {
    return std::stoi(caption.substr(0, 2)) * 60 + std::stoi(caption.substr(2, 2));
}

double MinutesApart(double a, double b) {
    const double diff = std::fmod(std::fabs(a - b), 1440);
    return std::min(diff, 1440 - diff);
}

struct Place {
    const char* name;
    double longitude;
    double latitude;
    double zone; // daylight saving included
    Date date;
    double tolerance_minutes;
};

void PrintTo(const Place& place, std::ostream* os) {
    *os << place.name;
}

class SunAgainstAlmanac : public testing::TestWithParam<Place> { };

TEST_P(SunAgainstAlmanac, BothTimesWithinToleranceAndNoNotice) {
    const Place& place = GetParam();
    const SunRequest request { place.longitude, place.latitude, place.zone, true, place.date };
    const SunTimes times = ComputeSunTimes(request, kNoEvent);
    const Almanac almanac = AlmanacEvents(place.longitude, place.latitude, place.zone, place.date);
    ASSERT_TRUE(almanac.rise && almanac.set) << "almanac finds both events";
    ASSERT_TRUE(times.rise_caption && times.set_caption);
    EXPECT_LE(
        MinutesApart(CaptionMinutes(*times.rise_caption), *almanac.rise), place.tolerance_minutes)
        << *times.rise_caption << " vs " << *almanac.rise;
    EXPECT_LE(
        MinutesApart(CaptionMinutes(*times.set_caption), *almanac.set), place.tolerance_minutes)
        << *times.set_caption << " vs " << *almanac.set;
    EXPECT_TRUE(times.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Places, SunAgainstAlmanac,
    testing::Values(Place { "NewYorkDaylightSaving", -74.01, 40.71, -4, D(2024, 3, 14), 2 },
        Place { "NewYorkWinter", -74.01, 40.71, -5, D(2023, 12, 21), 2 },
        Place { "LondonMidsummer", -0.13, 51.51, 1, D(2024, 6, 21), 2 },
        Place { "SydneySummer", 151.21, -33.87, 11, D(2025, 1, 15), 2 },
        Place { "TokyoWinter", 139.69, 35.69, 9, D(2022, 12, 21), 2 },
        Place { "BuenosAiresWinter", -58.38, -34.60, -3, D(2024, 7, 1), 2 },
        Place { "CapeTownEquinox", 18.42, -33.92, 2, D(2024, 9, 23), 2 },
        Place { "LosAngelesAutumn", -118.24, 34.05, -8, D(2021, 11, 15), 2 },
        Place { "QuitoEquator", -78.47, -0.18, -5, D(2024, 3, 20), 2 },
        Place { "SingaporeLeapDay", 103.82, 1.35, 8, D(2024, 2, 29), 2 },
        Place { "HonoluluNewYear", -157.86, 21.31, -10, D(2000, 1, 1), 2 },
        Place { "AucklandSummer", 174.76, -36.85, 13, D(2024, 12, 31), 2 },
        Place { "DelhiSpring", 77.21, 28.61, 5, D(2019, 4, 10), 2 },
        Place { "MoscowSummer", 37.62, 55.75, 3, D(2024, 7, 10), 2 },
        Place { "PerthAutumn", 115.86, -31.95, 8, D(2030, 5, 5), 2 },
        Place { "ReykjavikSpring", -21.94, 64.15, 0, D(2024, 4, 1), 4 },
        Place { "UshuaiaWinter", -68.30, -54.80, -3, D(2024, 6, 21), 2 },
        Place { "BerlinCentury", 13.40, 52.52, 1, D(1999, 12, 31), 2 }));

TEST(SunTimes, PolarSummerAndWinterShowOneAllDayNoticeAndNoTimes) {
    for (const Date& date : { D(2024, 6, 21), D(2024, 12, 21) }) {
        const SunTimes times = ComputeSunTimes({ 18.96, 69.65, 1, false, date }, kNoEvent);
        EXPECT_FALSE(times.rise_caption);
        EXPECT_FALSE(times.set_caption);
        EXPECT_EQ(times.messages, std::vector<std::string> { kSunUpOrDownAllDay });
    }
    const SunTimes antarctic = ComputeSunTimes({ 166.67, -77.85, 13, true, D(2024, 12, 21) }, 1);
    EXPECT_EQ(antarctic.messages, std::vector<std::string> { kSunUpOrDownAllDay });
    EXPECT_EQ(antarctic.event_kind, kRiseEvent) << "an earlier run's event kind is kept";
}

TEST(SunTimes, OneEventOnlyNamesTheMissingOne) {
    // Where the sun culminates at noon clock time, the first sunrise after the polar night
    // falls just before the scan's noon start and the last sunset just after it, so the
    // scans around those days find one event only.
    bool saw_no_sunrise = false;
    bool saw_no_sunset = false;
    for (sys_days day = sys_days(D(2024, 1, 1)); day < sys_days(D(2025, 1, 1)); day += days(1)) {
        const Date date(day);
        const SunTimes times = ComputeSunTimes({ 15.0, 69.65, 1, true, date }, 0);
        const Almanac almanac = AlmanacEvents(15.0, 69.65, 1, date);
        if (times.rise_caption && !times.set_caption) {
            EXPECT_EQ(times.messages, std::vector<std::string> { kNoSunset });
            saw_no_sunset = true;
        } else if (times.set_caption && !times.rise_caption) {
            EXPECT_EQ(times.messages, std::vector<std::string> { kNoSunrise });
            saw_no_sunrise = true;
        } else if (times.set_caption && times.rise_caption) {
            EXPECT_TRUE(times.messages.empty());
        } else {
            EXPECT_EQ(times.messages, std::vector<std::string> { kSunUpOrDownAllDay });
        }
        // Away from the days where it is a matter of minutes, the almanac agrees.
        if (times.rise_caption && almanac.rise) {
            EXPECT_LE(MinutesApart(CaptionMinutes(*times.rise_caption), *almanac.rise), 6);
        }
    }
    EXPECT_TRUE(saw_no_sunrise);
    EXPECT_TRUE(saw_no_sunset);
}

TEST(SunTimes, DaylightSavingMovesBothTimesOneHourLater) {
    const Date date = D(2024, 5, 20);
    const SunTimes standard = ComputeSunTimes({ 2.35, 48.86, 1, true, date }, 0);
    const SunTimes summer = ComputeSunTimes({ 2.35, 48.86, 2, true, date }, 0);
    ASSERT_TRUE(standard.rise_caption && summer.rise_caption);
    ASSERT_TRUE(standard.set_caption && summer.set_caption);
    EXPECT_NEAR(
        CaptionMinutes(*summer.rise_caption) - CaptionMinutes(*standard.rise_caption), 60, 1);
    EXPECT_NEAR(CaptionMinutes(*summer.set_caption) - CaptionMinutes(*standard.set_caption), 60, 1);
}

TEST(SunCaptions, TimeStylesAndTheirHours) {
    EXPECT_EQ(RiseCaption(18, 42, true), "0642");
    EXPECT_EQ(RiseCaption(18, 42, false), "6:42A");
    EXPECT_EQ(RiseCaption(18, 5, true), "0605");
    EXPECT_EQ(RiseCaption(18, 5, false), "6:05A");
    EXPECT_EQ(SetCaption(6, 15, true), "1815");
    EXPECT_EQ(SetCaption(6, 15, false), "6:15P");
    // A sunset in the first scan hour keeps hour 0 in the 12-hour style.
    EXPECT_EQ(SetCaption(0, 30, false), "0:30P");
    EXPECT_EQ(SetCaption(0, 30, true), "1230");
}

TEST(SunCaptions, TwentyFourHourStyleWrapsIntoTheDay) {
    EXPECT_EQ(SetCaption(13, 5, true), "0105"); // 25:05
    EXPECT_EQ(SetCaption(24, 0, true), "1200");
    EXPECT_EQ(RiseCaption(8, 0, true), "2000"); // -4:00
    EXPECT_EQ(RiseCaption(12, 0, true), "0000");
    EXPECT_EQ(RiseCaption(8, 0, false), "-4:00A") << "the 12-hour style stays as it was";
}

TEST(SunCrossing, StraightLineAltitudesUseTheLinearZero) {
    // 2*1 - 4*0 + 2*(-1) = 0: no parabola, and no division by zero.
    const auto e = detail::CrossingFraction(-1, 0, 1);
    ASSERT_TRUE(e);
    EXPECT_DOUBLE_EQ(*e, 0.5);
    const auto skewed = detail::CrossingFraction(-0.3, 0.1, 0.5);
    ASSERT_TRUE(skewed);
    EXPECT_NEAR(*skewed, 0.375, 1e-12);
    EXPECT_FALSE(detail::CrossingFraction(0, 0, 0));
}

TEST(SunCrossing, ParabolaRootInsideTheHour) {
    const double v0 = -1, v1 = 0.5, v2 = 1;
    const auto e = detail::CrossingFraction(v0, v1, v2);
    ASSERT_TRUE(e);
    ASSERT_GE(*e, 0);
    ASSERT_LE(*e, 1);
    const double a = 2 * v2 - 4 * v1 + 2 * v0;
    const double b = 4 * v1 - 3 * v0 - v2;
    EXPECT_NEAR(a * *e * *e + b * *e + v0, 0, 1e-12);
    EXPECT_FALSE(detail::CrossingFraction(1, 0.2, 1)) << "no real root";
}

TEST(SunModel, DayCountAgreesWithTheCalendar) {
    EXPECT_DOUBLE_EQ(detail::DaysFromJ2000(2000, 1, 1), -0.5);
    EXPECT_DOUBLE_EQ(detail::DaysFromJ2000(2024, 3, 14), 8838.5);
    const sys_days j2000 = sys_days(D(2000, 1, 1));
    for (sys_days day = sys_days(D(1900, 1, 1)); day < sys_days(D(2101, 1, 1)); day += days(1)) {
        const year_month_day ymd(day);
        const double expected = (day - j2000).count() - 0.5;
        ASSERT_DOUBLE_EQ(detail::DaysFromJ2000(static_cast<int>(ymd.year()),
                             static_cast<int>(static_cast<unsigned>(ymd.month())),
                             static_cast<int>(static_cast<unsigned>(ymd.day()))),
            expected)
            << static_cast<int>(ymd.year()) << "-" << static_cast<unsigned>(ymd.month());
    }
}

TEST(SunModel, DeclinationAtSolsticesAndEquinox) {
    const auto at = [](int y, int m, int d) {
        const double t = detail::DaysFromJ2000(y, m, d) + 0.5;
        return detail::SunPosition(t, t / 36525 + 1);
    };
    EXPECT_NEAR(at(2024, 6, 20).declination / kRad, 23.44, 0.05);
    EXPECT_NEAR(at(2024, 12, 21).declination / kRad, -23.44, 0.05);
    EXPECT_NEAR(at(2024, 3, 20).declination / kRad, 0, 0.3);
    EXPECT_NEAR(std::cos(at(2024, 3, 20).right_ascension), 1, 1e-3);
}

// ---- Reading the request from the preferences.

std::vector<std::string> Lines(const char* longitude, const char* latitude, const char* zone) {
    std::vector<std::string> lines(25, "x");
    lines[21] = longitude;
    lines[22] = latitude;
    lines[23] = zone;
    return lines;
}

Preferences Flags(const char* flags) {
    Preferences prefs;
    prefs.OptionFlags = flags;
    return prefs;
}

TEST(SunRequest, ReadsPlaceZoneAndStyle) {
    const auto request = SunRequestFromPreferences(
        Lines("-74.01", "40,71", "-5"), Flags("00101100001"), D(2024, 3, 14));
    ASSERT_TRUE(request);
    EXPECT_DOUBLE_EQ(request->longitude, -74.01);
    EXPECT_DOUBLE_EQ(request->latitude, 40.71);
    EXPECT_DOUBLE_EQ(request->zone, -4) << "daylight saving adds an hour";
    EXPECT_TRUE(request->military_time);
    EXPECT_EQ(request->date, D(2024, 3, 14));

    const auto plain = SunRequestFromPreferences(
        Lines("-74.01", "40.71", "-5"), Flags("00001000000"), D(2024, 3, 14));
    ASSERT_TRUE(plain);
    EXPECT_DOUBLE_EQ(plain->zone, -5);
    EXPECT_FALSE(plain->military_time);
    // Any character but '0' switches daylight saving on; only '1' is the 24-hour style.
    const auto odd
        = SunRequestFromPreferences(Lines("10", "10", "2"), Flags("00002x00009"), D(2024, 3, 14));
    ASSERT_TRUE(odd);
    EXPECT_DOUBLE_EQ(odd->zone, 3);
    EXPECT_FALSE(odd->military_time);
}

TEST(SunRequest, NothingToComputeLeavesEverythingAlone) {
    const Date today = D(2024, 3, 14);
    const Preferences on = Flags("00001000000");
    EXPECT_FALSE(SunRequestFromPreferences(Lines("10", "10", "1"), Flags("00000000000"), today));
    EXPECT_FALSE(SunRequestFromPreferences(Lines("00.00", "51.5", "0"), on, today));
    EXPECT_FALSE(SunRequestFromPreferences(Lines("10", "-00,00", "0"), on, today));
    EXPECT_FALSE(SunRequestFromPreferences(Lines("east", "51.5", "0"), on, today));
    EXPECT_FALSE(SunRequestFromPreferences(Lines("10", "51.5.2", "0"), on, today));
    EXPECT_FALSE(SunRequestFromPreferences(Lines("10", "51.5", ""), on, today));
    EXPECT_FALSE(SunRequestFromPreferences(Lines("10", "51.5", "GMT"), on, today));
    std::vector<std::string> short_file = Lines("10", "51.5", "1");
    short_file.resize(23);
    EXPECT_FALSE(SunRequestFromPreferences(short_file, on, today));
    short_file.push_back("1");
    EXPECT_TRUE(SunRequestFromPreferences(short_file, on, today));
    EXPECT_FALSE(SunRequestFromPreferences(Lines("10", "51.5", "1"), Flags("0000"), today))
        << "a flags line cut short reads as off";
}

} // namespace
} // namespace orvane::sky
