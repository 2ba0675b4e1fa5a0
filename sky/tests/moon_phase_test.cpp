#include "sky/moon_phase.h"

#include <gtest/gtest.h>

#include <chrono>
#include <numbers>

namespace orvane::sky {
namespace {

using namespace std::chrono;
using Kind = MoonShape::Kind;
using Colour = MoonShape::Colour;

constexpr long double kPi = std::numbers::pi_v<long double>;

Date D(int y, unsigned m, unsigned d) {
    return Date { year(y), month(m), day(d) };
}

DateTimeParts Parts(int y, int mo, int d, int h, int mi, int s = 0, int ms = 0) {
    return DateTimeParts { y, mo, d, h, mi, s, ms };
}

TEST(MoonPhase, ReferenceInstantIsAFullTurnAndTheNewMoonPicture) {
    const long double phase = PhaseAngleAt(Parts(1999, 2, 15, 7, 33));
    EXPECT_EQ(phase, 2 * kPi);
    EXPECT_EQ(MoonBitmapForPhase(phase), kNewMoonBitmap);
}

TEST(MoonPhase, BeforeTheReferenceWrapsIntoThePreviousCycle) {
    const long double minute_before = PhaseAngleAt(Parts(1999, 2, 15, 7, 32));
    EXPECT_NEAR(static_cast<double>(minute_before),
        static_cast<double>(2 * kPi * (1 - 60 / kLunarCycleSeconds)), 1e-12);
    // Ten years earlier lands in the same turn.
    const long double earlier = PhaseAngleAt(Parts(1989, 6, 1, 0, 0));
    EXPECT_GT(earlier, 0);
    EXPECT_LE(earlier, 2 * kPi);
}

TEST(MoonPhase, HalfACycleAfterTheReferenceIsFull) {
    // 1275841.39 s after 1999-02-15 07:33:00 in the count's own calendar.
    const long double phase = PhaseAngleAt(Parts(1999, 3, 2, 1, 57, 1, 390));
    EXPECT_NEAR(static_cast<double>(phase), static_cast<double>(kPi), 1e-9);
    EXPECT_EQ(MoonBitmapForPhase(phase), kFullMoonBitmap);
}

TEST(MoonPhase, KnownFullAndNewMoonsShowTheRightPictures) {
    // Evenings of published full and new moons.
    for (const auto& when : { Parts(2024, 1, 25, 18, 0), Parts(2024, 6, 21, 18, 0),
             Parts(2023, 8, 30, 18, 0), Parts(2031, 10, 31, 18, 0) }) {
        const int picture = MoonBitmapForPhase(PhaseAngleAt(when));
        EXPECT_GE(picture, 13) << when.year << "-" << when.month;
        EXPECT_LE(picture, 15) << when.year << "-" << when.month;
    }
    for (const auto& when :
        { Parts(2024, 4, 8, 18, 0), Parts(2023, 12, 12, 18, 0), Parts(2010, 1, 15, 18, 0) }) {
        const int picture = MoonBitmapForPhase(PhaseAngleAt(when));
        EXPECT_TRUE(picture == 28 || picture == 1 || picture == 27)
            << when.year << "-" << when.month << ": " << picture;
    }
}

TEST(MoonBitmaps, BoundsAreOrderedAndAPhaseOnOneKeepsThePicture) {
    ASSERT_EQ(kMoonPhaseBounds.size(), 57u);
    for (std::size_t i = 1; i < kMoonPhaseBounds.size(); ++i)
        EXPECT_LT(kMoonPhaseBounds[i - 1], kMoonPhaseBounds[i]) << i;
    for (const double bound : kMoonPhaseBounds)
        EXPECT_EQ(MoonBitmapForPhase(bound), 0) << bound;
    EXPECT_EQ(MoonBitmapForPhase(-0.1), 0);
    EXPECT_EQ(MoonBitmapForPhase(2.9), kFullMoonBitmap);
    EXPECT_EQ(MoonBitmapForPhase(3.4), kFullMoonBitmap);
    EXPECT_EQ(MoonBitmapForPhase(0.2), kNewMoonBitmap);
    EXPECT_EQ(MoonBitmapForPhase(6.1), kNewMoonBitmap);
}

TEST(MoonBitmaps, EveryIntervalShowsItsPicture) {
    struct Run {
        int first, last, picture;
    };
    // The picture table as ranges of intervals.
    const Run runs[] = { { 1, 1, 28 }, { 2, 2, 1 }, { 3, 4, 2 }, { 5, 6, 3 }, { 7, 8, 4 },
        { 9, 12, 5 }, { 13, 14, 6 }, { 15, 16, 7 }, { 17, 19, 8 }, { 20, 21, 9 }, { 22, 24, 10 },
        { 25, 26, 11 }, { 27, 27, 12 }, { 28, 28, 13 }, { 29, 29, 14 }, { 30, 31, 15 },
        { 32, 33, 16 }, { 34, 35, 17 }, { 36, 38, 18 }, { 39, 40, 19 }, { 41, 42, 20 },
        { 43, 45, 21 }, { 46, 48, 22 }, { 49, 50, 23 }, { 51, 52, 24 }, { 53, 53, 25 },
        { 54, 54, 26 }, { 55, 55, 27 }, { 56, 56, 28 } };
    int checked = 0;
    for (const Run& run : runs) {
        for (int i = run.first; i <= run.last; ++i) {
            const auto index = static_cast<std::size_t>(i);
            const double middle = (kMoonPhaseBounds[index - 1] + kMoonPhaseBounds[index]) / 2;
            EXPECT_EQ(MoonBitmapForPhase(middle), run.picture) << "interval " << i;
            EXPECT_EQ(MoonBitmapForInterval(i), run.picture) << "interval " << i;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 56);
    EXPECT_EQ(MoonBitmapForInterval(0), 0);
    EXPECT_EQ(MoonBitmapForInterval(57), 0);
}

TEST(MoonBitmaps, MiddlePhaseOfEachPictureShowsThatPicture) {
    for (int id = 1; id <= kMoonBitmapCount; ++id)
        EXPECT_EQ(MoonBitmapForPhase(MiddlePhaseOfBitmap(id)), id) << id;
    EXPECT_NEAR(
        static_cast<double>(MiddlePhaseOfBitmap(kFullMoonBitmap)), static_cast<double>(kPi), 1e-3);
    EXPECT_NEAR(static_cast<double>(MiddlePhaseOfBitmap(kNewMoonBitmap)),
        static_cast<double>(2 * kPi), 1e-3);
}

TEST(MoonText, DateTimeTextRoundTrips) {
    EXPECT_EQ(DateTimeToText({ D(2024, 3, 14), 18, 0, 0 }), "3/14/24 6:00:00 PM");
    EXPECT_EQ(DateTimeToText({ D(2005, 11, 2), 0, 5, 9 }), "11/2/05 12:05:09 AM");
    EXPECT_EQ(DateTimeToText({ D(2024, 3, 14), 12, 30, 0 }), "3/14/24 12:30:00 PM");
    EXPECT_EQ(DateTimeToText({ D(2024, 3, 14), 0, 0, 0 }), "3/14/24");
    EXPECT_EQ(EveningCustomTime(D(2024, 3, 4)), "03/04/24 6:00:00 PM");
    EXPECT_EQ(EveningCustomTime(D(2100, 12, 25)), "12/25/00 6:00:00 PM");

    const auto evening = TextToDateTime("03/14/24 6:00:00 PM", 2024);
    ASSERT_TRUE(evening);
    EXPECT_EQ(evening->year, 2024);
    EXPECT_EQ(evening->month, 3);
    EXPECT_EQ(evening->day, 14);
    EXPECT_EQ(evening->hour, 18);
    EXPECT_EQ(evening->minute, 0);
    const auto midnight = TextToDateTime("11/2/2005 12:05:09 am", 2024);
    ASSERT_TRUE(midnight);
    EXPECT_EQ(midnight->year, 2005);
    EXPECT_EQ(midnight->hour, 0);
    EXPECT_EQ(midnight->second, 9);
    const auto bare = TextToDateTime("2/29/24", 2024);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->hour, 0);
    const auto plain = TextToDateTime("2/3/24 17:45", 2024);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->hour, 17);
    EXPECT_EQ(plain->minute, 45);
}

TEST(MoonText, TwoDigitYearsLandWithinFiftyYearsOfTheReference) {
    EXPECT_EQ(TextToDateTime("1/1/99", 2024)->year, 1999);
    EXPECT_EQ(TextToDateTime("1/1/74", 2024)->year, 1974);
    EXPECT_EQ(TextToDateTime("1/1/73", 2024)->year, 2073);
    EXPECT_EQ(TextToDateTime("1/1/00", 2099)->year, 2100);
    EXPECT_EQ(TextToDateTime("1/1/5", 2024)->year, 2005);
}

TEST(MoonText, TextsThatAreNoDateAndTime) {
    for (const char* text : { "", "nonsense", "13/1/24", "2/29/23", "0/1/24", "3/32/24",
             "3/14/24 13:00 PM", "3/14/24 24:00", "3/14/24 6:60", "3/14/24 6", "3/14/24 6:00 XM",
             "3/14/24 6:00:00 PM extra", "3-14-24" }) {
        EXPECT_FALSE(TextToDateTime(text, 2024)) << '"' << text << '"';
    }
}

TEST(MoonPhaseCalculator, SettersSwitchTheModeAndCalcPhaseKeepsIt) {
    const LocalTime created { D(2024, 3, 14), 9, 30, 0 };
    MoonPhaseCalculator moon(created);
    EXPECT_EQ(moon.CustomTime(), "3/14/24 9:30:00 AM");
    EXPECT_EQ(moon.MoonDisplayType(), TMoonDisplayType::mdtUseSystemTime);
    EXPECT_EQ(moon.Hemisphere(), THemisphere::heNorthern);
    EXPECT_EQ(moon.Phase(), 0);

    const LocalTime now { D(2024, 6, 1), 20, 15, 5 };
    const long double system = moon.CalcPhase(now);
    EXPECT_EQ(system, PhaseAngleAt(PartsOf(now)));
    EXPECT_EQ(moon.Phase(), system);
    EXPECT_EQ(moon.CustomTime(), "6/1/24 8:15:05 PM") << "the time used is kept as text";
    EXPECT_EQ(moon.MoonDisplayType(), TMoonDisplayType::mdtUseSystemTime);

    moon.SetCustomTime("01/25/24 6:00:00 PM");
    EXPECT_EQ(moon.MoonDisplayType(), TMoonDisplayType::mdtUseCustomTime);
    const long double custom = moon.CalcPhase(now);
    EXPECT_EQ(custom, PhaseAngleAt(Parts(2024, 1, 25, 18, 0)));
    EXPECT_EQ(moon.MoonDisplayType(), TMoonDisplayType::mdtUseCustomTime);

    moon.SetCustomTime("not a date");
    EXPECT_EQ(moon.CalcPhase(now), custom) << "a bad text keeps the last phase";

    const long double evening = moon.CalcPhaseFor({ D(2024, 3, 14), 18, 0, 0 });
    EXPECT_EQ(evening, PhaseAngleAt(Parts(2024, 3, 14, 18, 0)));
    EXPECT_EQ(moon.MoonDisplayType(), TMoonDisplayType::mdtUseCustomTime);
    EXPECT_EQ(moon.CustomTime(), "not a date");

    moon.SetPhase(1.25L);
    EXPECT_EQ(moon.MoonDisplayType(), TMoonDisplayType::mdtUsePhaseAngle);
    EXPECT_EQ(moon.CalcPhase(now), 1.25L);
    EXPECT_EQ(moon.CalcPhaseFor(now), 1.25L);
    moon.SetMoonDisplayType(TMoonDisplayType::mdtUseSystemTime);
    EXPECT_EQ(moon.CalcPhase(now), system);
}

TEST(MoonPhaseCalculator, MoonStepNeedsTheSwitchAndLine23) {
    Preferences prefs;
    prefs.OptionFlags = "00000010000";
    EXPECT_TRUE(MoonStepApplies(23, prefs));
    EXPECT_FALSE(MoonStepApplies(22, prefs));
    prefs.OptionFlags = "000000x0000";
    EXPECT_TRUE(MoonStepApplies(25, prefs)) << "any character but '0' is on";
    prefs.OptionFlags = "00000000000";
    EXPECT_FALSE(MoonStepApplies(25, prefs));
    prefs.OptionFlags = "0000";
    EXPECT_FALSE(MoonStepApplies(25, prefs));
}

// 32 x 32 with a border of 2: disc from 2 to 30, radius 14, centre column 16.
TEST(MoonPaint, EachQuarterDrawsItsShapes) {
    const MoonShape frame { Kind::kRectangle, Colour::kBackground, 0, 0, 32, 32 };
    const MoonShape disc { Kind::kEllipse, Colour::kMoon, 2, 2, 30, 30 };
    const MoonShape left_half { Kind::kRectangle, Colour::kBackground, 2, 2, 16, 30 };
    const MoonShape right_half { Kind::kRectangle, Colour::kBackground, 17, 2, 30, 30 };
    const MoonShape dark_inner { Kind::kEllipse, Colour::kBackground, 9, 2, 23, 30 };
    const MoonShape lit_inner { Kind::kEllipse, Colour::kMoon, 23, 2, 9, 30 };

    const auto plan = [](long double p, THemisphere he = THemisphere::heNorthern) {
        return PlanMoonPaint(32, 32, 2, p, he);
    };
    using V = std::vector<MoonShape>;
    EXPECT_EQ(plan(kPi / 3), (V { frame, disc, dark_inner, left_half }));
    EXPECT_EQ(plan(2 * kPi / 3), (V { frame, disc, left_half, lit_inner }));
    EXPECT_EQ(plan(4 * kPi / 3), (V { frame, disc, right_half, lit_inner }));
    EXPECT_EQ(plan(5 * kPi / 3), (V { frame, disc, right_half, dark_inner }));
    // More than a turn is reduced first.
    EXPECT_EQ(plan(2 * kPi + kPi / 3), plan(kPi / 3));
    // The southern sky sees the mirror image: waxing there looks like waning here.
    EXPECT_EQ(plan(kPi / 3, THemisphere::heSouthern), plan(5 * kPi / 3));
    EXPECT_EQ(plan(2 * kPi / 3, THemisphere::heSouthern), plan(4 * kPi / 3));
    EXPECT_EQ(plan(4 * kPi / 3, THemisphere::heSouthern), plan(2 * kPi / 3));
    EXPECT_EQ(plan(5 * kPi / 3, THemisphere::heSouthern), plan(kPi / 3));
}

TEST(MoonPaint, NewAndFullMoonAndQuarterBoundaries) {
    using V = std::vector<MoonShape>;
    const MoonShape frame { Kind::kRectangle, Colour::kBackground, 0, 0, 16, 16 };
    const MoonShape disc { Kind::kEllipse, Colour::kMoon, 1, 1, 15, 15 };
    // New moon: the dark ellipse covers the whole disc.
    EXPECT_EQ(PlanMoonPaint(16, 16, 1, 0, THemisphere::heNorthern),
        (V { frame, disc, { Kind::kEllipse, Colour::kBackground, 1, 1, 15, 15 },
            { Kind::kRectangle, Colour::kBackground, 1, 1, 8, 15 } }));
    // Full moon: the lit ellipse, drawn backwards, covers it again.
    EXPECT_EQ(PlanMoonPaint(16, 16, 1, kPi, THemisphere::heNorthern),
        (V { frame, disc, { Kind::kRectangle, Colour::kBackground, 9, 1, 15, 15 },
            { Kind::kEllipse, Colour::kMoon, 15, 1, 1, 15 } }));
    // Exactly a quarter belongs to the later quarter.
    EXPECT_EQ(PlanMoonPaint(16, 16, 1, kPi / 2, THemisphere::heNorthern)[2].kind, Kind::kRectangle);
}

TEST(MoonPaint, BorderWiderThanHalfTheControlStillPlans) {
    const auto shapes = PlanMoonPaint(32, 32, 20, kPi / 3, THemisphere::heNorthern);
    ASSERT_EQ(shapes.size(), 4u);
    // w = h = -8, r = -4, centre column 16.
    EXPECT_EQ(shapes[1], (MoonShape { Kind::kEllipse, Colour::kMoon, 20, 20, 12, 12 }));
    EXPECT_EQ(shapes[3], (MoonShape { Kind::kRectangle, Colour::kBackground, 20, 20, 16, 12 }));
    EXPECT_EQ(PlanMoonPaint(1, 1, 2, 1, THemisphere::heSouthern).size(), 4u);
}

} // namespace
} // namespace orvane::sky
