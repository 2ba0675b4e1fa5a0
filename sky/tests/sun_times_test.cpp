#include "sky/sun_times.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace orvane::sky {
namespace {

using namespace std::chrono;
using Texts = std::vector<std::string>;

Date D(int y, unsigned m, unsigned d) {
    return Date { year(y), month(m), day(d) };
}

// Local clock times (hhmm) from an independent almanac (low-accuracy solar ephemeris, refraction
// 0.833 degrees); west of Greenwich the sunset is the evening before.
TEST(SunTimes, AgreesWithTheAlmanac) {
    struct Place {
        double longitude, latitude, zone;
        Date date;
        int rise, set;
    };
    const Place places[] = { { -74.01, 40.71, -4, D(2024, 3, 14), 708, 1901 },
        { -0.13, 51.51, 1, D(2024, 6, 21), 443, 2122 },
        { 151.21, -33.87, 11, D(2025, 1, 15), 601, 2009 },
        { -78.47, -0.18, -5, D(2024, 3, 20), 618, 1825 },
        { 103.82, 1.35, 8, D(2024, 2, 29), 714, 1920 },
        { -157.86, 21.31, -10, D(2000, 1, 1), 709, 1800 },
        { 174.76, -36.85, 13, D(2024, 12, 31), 605, 2043 },
        { -21.94, 64.15, 0, D(2024, 4, 1), 641, 2021 },
        { -68.30, -54.80, -3, D(2024, 6, 21), 959, 1711 },
        { 13.40, 52.52, 1, D(1999, 12, 31), 817, 1601 } };
    const auto minutes = [](int hhmm) { return hhmm / 100 * 60 + hhmm % 100; };
    for (const Place& p : places) {
        SCOPED_TRACE(testing::Message() << p.longitude << " " << p.latitude);
        const SunTimes times
            = ComputeSunTimes({ p.longitude, p.latitude, p.zone, true, p.date }, 0);
        ASSERT_TRUE(times.rise_caption && times.set_caption);
        const int tolerance = std::fabs(p.latitude) < 60 ? 2 : 4;
        EXPECT_NEAR(minutes(std::stoi(*times.rise_caption)), minutes(p.rise), tolerance);
        EXPECT_NEAR(minutes(std::stoi(*times.set_caption)), minutes(p.set), tolerance);
        EXPECT_TRUE(times.messages.empty());
    }
}

// A year where the sun stays up, then down, for weeks: around those spells the noon-started
// scan catches only one of the two events.
TEST(SunTimes, PolarDaysAndOneEventOnlyNameWhatIsMissing) {
    int all_day = 0, no_sunrise = 0, no_sunset = 0;
    for (sys_days day = sys_days(D(2024, 1, 1)); day < sys_days(D(2025, 1, 1)); day += days(1)) {
        const SunTimes times = ComputeSunTimes({ 15.0, 69.65, 1, true, Date(day) }, kNoEvent);
        Texts expected;
        if (!times.rise_caption && !times.set_caption)
            expected = { kSunUpOrDownAllDay }, ++all_day;
        else if (!times.set_caption)
            expected = { kNoSunset }, ++no_sunset;
        else if (!times.rise_caption)
            expected = { kNoSunrise }, ++no_sunrise;
        EXPECT_EQ(times.messages, expected);
    }
    EXPECT_TRUE(
        all_day > 80 && no_sunrise > 0 && no_sunset > 0); // 90 days of midnight sun or night
    const SunTimes antarctic = ComputeSunTimes({ 166.67, -77.85, 13, true, D(2024, 12, 21) }, 1);
    EXPECT_EQ(antarctic.messages, Texts { kSunUpOrDownAllDay });
    EXPECT_EQ(antarctic.event_kind, kRiseEvent) << "an earlier run's event kind is kept";
}

TEST(SunCaptions, TimeStylesAndTheirHours) {
    // Set hour 0 stays 0 in the 12-hour style; the 24-hour style wraps 25:05 and -4:00.
    for (const auto& [rise, hour, minute, military, caption] :
        { std::tuple { true, 18, 42, true, "0642" }, { true, 18, 42, false, "6:42A" },
            { true, 18, 5, false, "6:05A" }, { false, 6, 15, true, "1815" },
            { false, 0, 30, false, "0:30P" }, { false, 13, 5, true, "0105" },
            { true, 12, 0, true, "0000" }, { true, 8, 0, false, "-4:00A" } })
        EXPECT_EQ(rise ? RiseCaption(hour, minute, military) : SetCaption(hour, minute, military),
            caption);
}

// When the altitudes lie on a straight line (A = 0) the crossing is linear; with B = 0 too, none.
TEST(SunModel, CrossingFraction) {
    EXPECT_DOUBLE_EQ(detail::CrossingFraction(-0.3, 0.1, 0.5).value_or(-1), 0.375);
    EXPECT_NEAR(detail::CrossingFraction(-1, 0.5, 1).value_or(-1), 1 - std::sqrt(0.5), 1e-12);
    EXPECT_FALSE(detail::CrossingFraction(0, 0, 0));
    EXPECT_FALSE(detail::CrossingFraction(1, 0.2, 1)) << "no real root";
}

// Line 1 holds the flags; lines 22, 23 and 24 longitude, latitude and zone.
std::optional<SunRequest> Request(const Texts& place, const char* flags, std::size_t lines = 25) {
    Texts file(lines, "x");
    for (std::size_t i = 0; i < 3 && 21 + i < lines; ++i)
        file[21 + i] = place[i];
    Preferences prefs;
    prefs.OptionFlags = flags;
    return SunRequestFromPreferences(file, prefs, D(2024, 3, 14));
}

TEST(SunRequest, ReadsPlaceZoneAndStyle) {
    const auto r = Request({ "-74.01", "40,71", "-5" }, "00101100001").value_or(SunRequest {});
    // Summer time adds an hour; a decimal comma reads as a point.
    EXPECT_EQ(std::tie(r.longitude, r.latitude, r.zone, r.military_time, r.date),
        std::tuple(-74.01, 40.71, -4.0, true, D(2024, 3, 14)));
    // Any character but '0' switches summer time on; only '1' is the 24-hour style.
    const auto odd = Request({ "10", "10", "2" }, "00002x00009").value_or(SunRequest {});
    EXPECT_EQ(std::pair(odd.zone, odd.military_time), std::pair(3.0, false));
}

TEST(SunRequest, NothingToComputeWhenOffShortZeroOrNoNumber) {
    const char* on = "00001000000";
    EXPECT_FALSE(Request({ "10", "10", "1" }, "00000000000"));
    EXPECT_FALSE(Request({ "10", "10", "1" }, "0000"));
    EXPECT_FALSE(Request({ "10", "10", "1" }, on, 23));
    EXPECT_TRUE(Request({ "10", "10", "1" }, on, 24));
    for (const Texts& place : { Texts { "10", "-00,00", "0" }, Texts { "east", "51.5", "0" },
             Texts { "10", "51.5.2", "0" }, Texts { "10", "51.5", "" },
             // Beyond a double's range, or so small that it is 0 as a double.
             Texts { std::string(400, '9'), "51.5", "0" },
             Texts { "10", "51.5", "-" + std::string(400, '9') },
             Texts { "10", "0." + std::string(400, '0') + "1", "0" } })
        EXPECT_FALSE(Request(place, on)) << place[0] << " " << place[1] << " " << place[2];
}

} // namespace
} // namespace orvane::sky
