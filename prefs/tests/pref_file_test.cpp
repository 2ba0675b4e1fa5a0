#include "core/testing/scoped_locale.h"
#include "core/text_file.h"
#include "prefs/pref_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>

namespace orvane {
namespace {

PrefLines FullFile() {
    return SplitLines("10110110131\r\nSun\r\nMon\r\nTue\r\nWed\r\nThu\r\nFri\r\nSat\r\n"
                      "Ene\r\nFeb\r\nMar\r\nAbr\r\nMay\r\nJun\r\nJul\r\nAgo\r\nSep\r\nOct\r\n"
                      "Nov\r\nDic\r\nC:\\Orvane\r\n-05.00\r\n40,50\r\n-6\r\nVerdana\r\n");
}

// Lines 22-24 as a save writes them back after the file was read with `place` there. A line that
// is not a number leaves the whole place missing, written as zeros.
std::array<std::string, 3> WrittenPlace(const std::array<std::string, 3>& place) {
    PrefLines lines = FullFile();
    std::copy(place.begin(), place.end(), lines.begin() + (kLongitudeLine - 1));
    const PrefLines written = SplitLines(FormatPrefFile(PrefValuesFromLines(lines)));
    return { written.at(kLongitudeLine - 1), written.at(kLatitudeLine - 1),
        written.at(kGmtOffsetLine - 1) };
}

// One line read and written back in the format "00.00" (as the longitude) or "0" (as the zone).
std::string WrittenFixed2(const std::string& line) {
    return WrittenPlace({ line, "10", "0" })[0];
}
std::string WrittenWhole(const std::string& line) {
    return WrittenPlace({ "10", "10", line })[2];
}

// Every number check runs under the "C" locale and under a locale whose decimal separator is ","
// (the C library follows the user's settings in the running program).
class PrefNumbers : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        locale_ = std::make_unique<ScopedLocale>(LC_ALL, GetParam());
        ASSERT_TRUE(locale_->active())
            << "setlocale(LC_ALL, \"" << GetParam() << "\") failed: " << kCommaLocaleMissing;
    }
    void TearDown() override { locale_.reset(); }

    std::unique_ptr<ScopedLocale> locale_;
};

INSTANTIATE_TEST_SUITE_P(Locales, PrefNumbers, testing::Values("C", kCommaLocale),
    [](const testing::TestParamInfo<const char*>& locale) {
        return std::string(locale.param) == "C" ? std::string("C") : std::string("Comma");
    });

const std::string kTwoE306 = "2" + std::string(306, '0');

TEST_P(PrefNumbers, LinesAreWrittenInTheFileFormat) {
    struct Case {
        std::string read;
        std::string written;
    };
    const Case fixed2[] = {
        { "5.25", "05.25" },
        { "-90.5", "-90.50" },
        { "120.25", "120.25" },
        { "\t-1,5\t", "-01.50" },
        { "-,5", "-00.50" },
        { "0005.00", "05.00" },
        { "-0.001", "00.00" }, // no sign on zero
        { "0.005", "00.01" }, // halves away from zero
        { "-0.005", "-00.01" },
        { "2.675", "02.68" }, // no binary fraction in between
        { "-99.995", "-100.00" },
        { "44444444444433.875", "44444444444433.88" },
        { kTwoE306, kTwoE306 + ".00" },
        { "-" + kTwoE306 + ",125", "-" + kTwoE306 + ".13" },
        { "0." + std::string(400, '0') + "1", "00.00" },
        // Not numbers: the place counts as missing.
        { "", "00.00" },
        { "1.2.3", "00.00" },
    };
    // What a save writes, the next save keeps.
    for (const Case& c : fixed2) {
        EXPECT_EQ(WrittenFixed2(c.read), c.written) << '"' << c.read << '"';
        EXPECT_EQ(WrittenFixed2(c.written), c.written);
    }

    const Case whole[] = {
        { "-6", "-6" },
        { "5.5", "6" },
        { "-0.4", "0" },
        { "-0,5", "-1" },
        { " +007,7 ", "8" },
        { "-" + std::string(30, '9') + ".5", "-1" + std::string(30, '0') },
        { "six", "0" },
    };
    for (const Case& c : whole) {
        EXPECT_EQ(WrittenWhole(c.read), c.written) << '"' << c.read << '"';
        EXPECT_EQ(WrittenWhole(c.written), c.written);
    }
}

// The sun computation gets the numbers the file holds, whatever the locale.
TEST_P(PrefNumbers, PlaceGivesTheNumbersToTheSunComputation) {
    PrefLines lines = FullFile();
    lines[kLongitudeLine - 1] = "-00.13";
    lines[kLatitudeLine - 1] = "51,50";
    lines[kGmtOffsetLine - 1] = "+1";
    const auto place = PrefPlace(lines);
    ASSERT_TRUE(place.has_value());
    EXPECT_EQ(place->longitude.ToDouble(), -0.13);
    EXPECT_EQ(place->latitude.ToDouble(), 51.5);
    EXPECT_EQ(place->gmt_offset.ToDouble(), 1.0);
    // Without all three numbers there is no place.
    lines[kGmtOffsetLine - 1] = "six";
    EXPECT_FALSE(PrefPlace(lines).has_value());

    EXPECT_EQ(DecimalNumber::Parse(kTwoE306)->ToDouble(), 2e306);
    EXPECT_EQ(DecimalNumber::Parse("-0." + std::string(400, '0') + "1")->ToDouble(), 0.0);
    EXPECT_FALSE(DecimalNumber::Parse(std::string(400, '9'))->ToDouble().has_value());
}

TEST(PrefNumbers, ReadsEitherSeparatorAndRefusesText) {
    EXPECT_EQ(DecimalNumber::Parse("-05.00"), DecimalNumber::Parse("-5"));
    EXPECT_EQ(DecimalNumber::Parse("40,50"), DecimalNumber::Parse(" 40.5"));
    EXPECT_EQ(DecimalNumber::Parse("-0.000"), DecimalNumber());
    EXPECT_NE(DecimalNumber::Parse("0.001"), DecimalNumber());
    for (const char* bad : { "", "-", "1,2.3", "12a", ".", "-.", "inf", "+-1", "1 2", "0x10",
             "\xa0"
             "1" })
        EXPECT_FALSE(DecimalNumber::Parse(bad).has_value()) << bad;
}

// Titles are taken only with custom titles; short flags are padded and short files tolerated.
TEST(PrefStartup, ReadsTheLinesTheProgramStartsWith) {
    Preferences prefs;
    ApplyStartupLines(FullFile(), prefs);
    EXPECT_EQ(prefs.OptionFlags, "10110110131");
    EXPECT_EQ(prefs.MonthTitles[11], "Dic");
    EXPECT_EQ(prefs.DataFilesPath, "C:\\Orvane");
    EXPECT_EQ(prefs.CalendarFont, "Verdana");

    PrefLines lines = FullFile();
    lines[0] = "00110110131";
    Preferences defaults;
    ApplyStartupLines(lines, defaults);
    EXPECT_EQ(defaults.MonthTitles[0], "");

    Preferences short_file;
    ApplyStartupLines(SplitLines("1011011\r\n"), short_file);
    EXPECT_EQ(short_file.OptionFlags, "10110110000");
}

TEST(PrefFile, WritesTwentyFiveLinesAndReadsThemBack) {
    const std::string bytes = FormatPrefFile(PrefValuesFromLines(FullFile()));
    EXPECT_EQ(SplitLines(bytes).size(), 25U);
    EXPECT_NE(bytes.find("C:\\Orvane\r\n-05.00\r\n40.50\r\n-6\r\nVerdana\r\n"), std::string::npos);
    EXPECT_EQ(FormatPrefFile(PrefValuesFromLines(SplitLines(bytes))), bytes);
    // Missing location lines are written as zero.
    PrefLines lines = FullFile();
    lines.resize(21);
    const std::string short_file = FormatPrefFile(PrefValuesFromLines(lines));
    EXPECT_TRUE(short_file.ends_with("\r\nC:\\Orvane\r\n00.00\r\n00.00\r\n0\r\n\r\n"))
        << short_file;
}

} // namespace
} // namespace orvane
