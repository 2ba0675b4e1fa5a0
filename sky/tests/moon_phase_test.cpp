#include "sky/moon_phase.h"

#include <gtest/gtest.h>

#include <chrono>
#include <numbers>
#include <tuple>

namespace orvane::sky {
namespace {

using namespace std::chrono;
using Kind = MoonShape::Kind;
using Colour = MoonShape::Colour;
using Mode = TMoonDisplayType;

constexpr long double kPi = std::numbers::pi_v<long double>;

Date D(int y, unsigned m, unsigned d) {
    return Date { year(y), month(m), day(d) };
}

TEST(MoonPhase, ReferenceInstantHalfCycleAndWrapping) {
    const long double reference = PhaseAngleAt(DateTimeParts { 1999, 2, 15, 7, 33 });
    EXPECT_EQ(reference, 2 * kPi);
    EXPECT_EQ(MoonBitmapForPhase(reference), kNewMoonBitmap);
    // 1275841.39 s later in the count's own calendar.
    const long double half = PhaseAngleAt(DateTimeParts { 1999, 3, 2, 1, 57, 1, 390 });
    EXPECT_NEAR(static_cast<double>(half), static_cast<double>(kPi), 1e-9);
    EXPECT_EQ(MoonBitmapForPhase(half), kFullMoonBitmap);
    // Before the reference the count wraps into the previous cycles.
    EXPECT_NEAR(static_cast<double>(PhaseAngleAt(DateTimeParts { 1999, 2, 15, 7, 32 })),
        static_cast<double>(2 * kPi * (1 - 60 / kLunarCycleSeconds)), 1e-12);
}

TEST(MoonBitmaps, EveryIntervalShowsItsPictureAndABoundKeepsTheOldOne) {
    const int pictures[57] = { 0, 28, 1, 2, 2, 3, 3, 4, 4, 5, 5, 5, 5, 6, 6, 7, 7, 8, 8, 8, 9, 9,
        10, 10, 10, 11, 11, 12, 13, 14, 15, 15, 16, 16, 17, 17, 18, 18, 18, 19, 19, 20, 20, 21, 21,
        21, 22, 22, 22, 23, 23, 24, 24, 25, 26, 27, 28 };
    for (std::size_t i = 1; i < kMoonPhaseBounds.size(); ++i) {
        ASSERT_LT(kMoonPhaseBounds[i - 1], kMoonPhaseBounds[i]) << i;
        const double middle = (kMoonPhaseBounds[i - 1] + kMoonPhaseBounds[i]) / 2;
        EXPECT_EQ(MoonBitmapForPhase(middle), pictures[i]) << "interval " << i;
        EXPECT_EQ(MoonBitmapForInterval(static_cast<int>(i)), pictures[i]) << "interval " << i;
    }
    for (const double bound : kMoonPhaseBounds)
        EXPECT_EQ(MoonBitmapForPhase(bound), 0) << bound;
    EXPECT_EQ(MoonBitmapForPhase(-0.1), 0);
    EXPECT_TRUE(MoonBitmapForInterval(0) == 0 && MoonBitmapForInterval(57) == 0);
    for (int id = 1; id <= kMoonBitmapCount; ++id)
        EXPECT_EQ(MoonBitmapForPhase(MiddlePhaseOfBitmap(id)), id) << id;
}

TEST(MoonText, WritesAndReadsDateAndTime) {
    EXPECT_EQ(DateTimeToText({ D(2005, 11, 2), 0, 5, 9 }), "11/2/05 12:05:09 AM");
    EXPECT_EQ(DateTimeToText({ D(2024, 3, 14), 0, 0, 0 }), "3/14/24");
    EXPECT_EQ(EveningCustomTime(D(2100, 12, 25)), "12/25/00 6:00:00 PM");
    // Short years land within 50 years of the reference year.
    for (const auto& [text, reference, y, mo, d, h, mi, s] :
        { std::tuple { "03/14/24 6:00:00 PM", 2024, 2024, 3, 14, 18, 0, 0 },
            { "11/2/2005 12:05:09 am", 2024, 2005, 11, 2, 0, 5, 9 },
            { "1/1/74 17:45", 2024, 1974, 1, 1, 17, 45, 0 },
            { "1/1/00", 2099, 2100, 1, 1, 0, 0, 0 } }) {
        const auto p = TextToDateTime(text, reference).value_or(DateTimeParts { 0 });
        EXPECT_EQ(std::tie(p.year, p.month, p.day, p.hour, p.minute, p.second),
            std::tie(y, mo, d, h, mi, s))
            << text;
    }
    for (const char* text : { "", "13/1/24", "2/29/23", "3/14/24 13:00 PM", "3/14/24 6:60",
             "3/14/24 6", "3/14/24 6:00 PM x" })
        EXPECT_FALSE(TextToDateTime(text, 2024)) << '"' << text << '"';
}

// A bad CustomTime keeps the last phase; the phase-angle mode ignores every time.
TEST(MoonPhaseCalculator, SettersSwitchTheModeAndCalcPhaseKeepsIt) {
    MoonPhaseCalculator moon({ D(2024, 3, 14), 9, 30, 0 });
    EXPECT_EQ(moon.CustomTime(), "3/14/24 9:30:00 AM");
    const LocalTime now { D(2024, 6, 1), 20, 15, 5 };
    const long double system = moon.CalcPhase(now);
    EXPECT_TRUE(system == PhaseAngleAt(PartsOf(now)) && moon.Phase() == system);
    EXPECT_EQ(moon.CustomTime(), "6/1/24 8:15:05 PM") << "the time used is kept as text";

    moon.SetCustomTime("01/25/24 6:00:00 PM");
    EXPECT_EQ(moon.MoonDisplayType(), Mode::mdtUseCustomTime);
    const long double custom = moon.CalcPhase(now);
    EXPECT_EQ(custom, PhaseAngleAt(DateTimeParts { 2024, 1, 25, 18, 0 }));
    moon.SetCustomTime("not a date");
    EXPECT_EQ(moon.CalcPhase(now), custom);
    EXPECT_EQ(moon.CalcPhaseFor({ D(2024, 3, 14), 18, 0, 0 }),
        PhaseAngleAt(DateTimeParts { 2024, 3, 14, 18, 0 }));
    EXPECT_EQ(moon.CustomTime(), "not a date");

    moon.SetPhase(1.25L);
    EXPECT_EQ(moon.MoonDisplayType(), Mode::mdtUsePhaseAngle);
    EXPECT_TRUE(moon.CalcPhase(now) == 1.25L && moon.CalcPhaseFor(now) == 1.25L);
    moon.SetMoonDisplayType(Mode::mdtUseSystemTime);
    EXPECT_EQ(moon.CalcPhase(now), system);

    // The main window's moon step needs the switch on and line 23.
    Preferences prefs;
    for (const auto& [flags, lines, applies] :
        { std::tuple { "000000x0000", 23u, true }, { "000000x0000", 22u, false },
            { "00000000000", 25u, false }, { "0000", 25u, false } }) {
        prefs.OptionFlags = flags;
        EXPECT_EQ(MoonStepApplies(lines, prefs), applies) << flags << " " << lines;
    }
}

// 32 x 32 with a border of 2: disc from 2 to 30, radius 14, centre column 16.
TEST(MoonPaint, QuartersHemispheresNewFullAndAWideBorder) {
    using V = std::vector<MoonShape>;
    const auto dark = [](Kind kind, int l, int t, int r, int b) {
        return MoonShape { kind, Colour::kBackground, l, t, r, b };
    };
    const MoonShape frame = dark(Kind::kRectangle, 0, 0, 32, 32);
    const MoonShape disc { Kind::kEllipse, Colour::kMoon, 2, 2, 30, 30 };
    const MoonShape left_half = dark(Kind::kRectangle, 2, 2, 16, 30);
    const MoonShape right_half = dark(Kind::kRectangle, 17, 2, 30, 30);
    const MoonShape dark_inner = dark(Kind::kEllipse, 9, 2, 23, 30);
    const MoonShape lit_inner { Kind::kEllipse, Colour::kMoon, 23, 2, 9, 30 }; // drawn backwards
    const auto plan = [](long double p, THemisphere he = THemisphere::heNorthern, int border = 2) {
        return PlanMoonPaint(32, 32, border, p, he);
    };
    EXPECT_EQ(plan(kPi / 3), (V { frame, disc, dark_inner, left_half }));
    EXPECT_EQ(plan(4 * kPi / 3), (V { frame, disc, right_half, lit_inner }));
    EXPECT_EQ(plan(2 * kPi + kPi / 3), plan(kPi / 3)) << "more than a turn is reduced";
    for (const long double p : { kPi / 3, 4 * kPi / 3 })
        EXPECT_EQ(plan(p, THemisphere::heSouthern), plan(2 * kPi - p)) << "mirror of " << p;
    // New moon: the dark ellipse covers the disc; full: the lit one does. A quarter belongs to
    // the later quarter.
    EXPECT_EQ(plan(0), (V { frame, disc, dark(Kind::kEllipse, 2, 2, 30, 30), left_half }));
    EXPECT_EQ(plan(kPi),
        (V { frame, disc, right_half, { Kind::kEllipse, Colour::kMoon, 30, 2, 2, 30 } }));
    EXPECT_EQ(plan(kPi / 2)[2], left_half);
    // A border wider than half the control: w = h = -8, r = -4, centre column 16.
    EXPECT_EQ(plan(kPi / 3, THemisphere::heNorthern, 20),
        (V { frame, { Kind::kEllipse, Colour::kMoon, 20, 20, 12, 12 },
            dark(Kind::kEllipse, 18, 20, 14, 12), dark(Kind::kRectangle, 20, 20, 16, 12) }));
}

} // namespace
} // namespace orvane::sky
