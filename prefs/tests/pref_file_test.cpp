#include "core/testing/scoped_locale.h"
#include "core/text_file.h"
#include "prefs/pref_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <random>

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
        { "120.4", "120.40" },
        { "-5", "-05.00" },
        { "120.25", "120.25" },
        { "-00.13", "-00.13" },
        { "51.50", "51.50" },
        { "40,50", "40.50" },
        { "+3", "03.00" },
        { " 7 ", "07.00" },
        { "\t-1,5\t", "-01.50" },
        { "5.", "05.00" },
        { ".5", "00.50" },
        { "-,5", "-00.50" },
        { "0005.00", "05.00" },
        { "-0.001", "00.00" },
        { "-00.00", "00.00" },
        { "0", "00.00" },
        { "0.005", "00.01" },
        { "-0.005", "-00.01" },
        { "0.00499999", "00.00" },
        { "1.005", "01.01" },
        { "2.675", "02.68" },
        { "9.999", "10.00" },
        { "-99.995", "-100.00" },
        { "999.995", "1000.00" },
        { "44444444444433.875", "44444444444433.88" },
        { kTwoE306, kTwoE306 + ".00" },
        { "-" + kTwoE306 + ",125", "-" + kTwoE306 + ".13" },
        { "0." + std::string(400, '0') + "1", "00.00" },
        // Not numbers: the place counts as missing.
        { "", "00.00" },
        { "abc", "00.00" },
        { "1e3", "00.00" },
        { "1.2.3", "00.00" },
        { "inf", "00.00" },
        { "5-", "00.00" },
    };
    for (const Case& c : fixed2)
        EXPECT_EQ(WrittenFixed2(c.read), c.written) << '"' << c.read << '"';

    const Case whole[] = {
        { "-6", "-6" },
        { "5.5", "6" },
        { "-5.5", "-6" },
        { "0", "0" },
        { "-0.4", "0" },
        { "-0,5", "-1" },
        { "+12", "12" },
        { "007", "7" },
        { "2.49", "2" },
        { " 3,7 ", "4" },
        { "100000000000000000000", "100000000000000000000" },
        { "-" + std::string(30, '9') + ".5", "-1" + std::string(30, '0') },
        { "six", "0" },
    };
    for (const Case& c : whole)
        EXPECT_EQ(WrittenWhole(c.read), c.written) << '"' << c.read << '"';
}

// Rounding checked against whole-number arithmetic on thousandths.
TEST_P(PrefNumbers, RoundsHalvesAwayFromZero) {
    std::mt19937_64 random(20240621);
    std::uniform_int_distribution<std::int64_t> thousandths(
        -999'999'999'999'999, 999'999'999'999'999);
    for (int i = 0; i < 2000; ++i) {
        const std::int64_t value = i < 20 ? i - 10 : thousandths(random);
        const std::uint64_t size
            = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        std::string digits = std::to_string(size);
        digits.insert(0, digits.size() < 4 ? 4 - digits.size() : 0, '0');
        const std::string text = (value < 0 ? "-" : "") + digits.substr(0, digits.size() - 3)
            + (i % 2 ? "," : ".") + digits.substr(digits.size() - 3);

        const std::uint64_t cents = (size + 5) / 10;
        std::string expected = std::to_string(cents);
        expected.insert(0, expected.size() < 4 ? 4 - expected.size() : 0, '0');
        expected.insert(expected.size() - 2, ".");
        if (value < 0 && cents != 0)
            expected.insert(0, "-");
        EXPECT_EQ(WrittenFixed2(text), expected) << text;

        const std::uint64_t whole = (size + 500) / 1000;
        EXPECT_EQ(WrittenWhole(text), (value < 0 && whole != 0 ? "-" : "") + std::to_string(whole))
            << text;
    }
}

// A line already in the file's format is written back as it is, whatever its size, and a save
// of anything else writes a line that the next save keeps.
TEST_P(PrefNumbers, SavesAreStable) {
    std::mt19937 random(1583);
    auto digits = [&random](std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i)
            text += static_cast<char>('0' + random() % 10);
        return text;
    };
    for (int i = 0; i < 1000; ++i) {
        // The program's own lines: no leading zeros beyond the two integer places, a sign only
        // on a value that is not zero.
        std::string integer = digits(random() % (i % 10 ? 20 : 400));
        integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
        std::string fixed2 = std::string(integer.size() < 2 ? 2 - integer.size() : 0, '0') + integer
            + "." + digits(2);
        std::string whole = integer.empty() ? "0" : integer;
        if (random() % 2) {
            if (fixed2.find_first_not_of("0.") != std::string::npos)
                fixed2.insert(0, "-");
            if (whole != "0")
                whole.insert(0, "-");
        }
        EXPECT_EQ(WrittenFixed2(fixed2), fixed2);
        EXPECT_EQ(WrittenWhole(whole), whole);

        // Anything at all made of the characters a number is written with.
        const std::string alphabet = "0123456789999.,+- \t";
        std::string line;
        for (std::size_t n = random() % 24; n > 0; --n)
            line += alphabet[random() % alphabet.size()];
        const std::string once = WrittenFixed2(line);
        EXPECT_EQ(WrittenFixed2(once), once) << '"' << line << '"';
        const std::string whole_once = WrittenWhole(line);
        EXPECT_EQ(WrittenWhole(whole_once), whole_once) << '"' << line << '"';
    }

    std::array<std::string, 3> place = { "44444444444433.875", kTwoE306, "-0.5" };
    const std::array<std::string, 3> first = WrittenPlace(place);
    EXPECT_EQ(first, (std::array<std::string, 3> { "44444444444433.88", kTwoE306 + ".00", "-1" }));
    for (int save = 0; save < 5; ++save) {
        place = WrittenPlace(place);
        EXPECT_EQ(place, first) << "save " << save;
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

    EXPECT_EQ(DecimalNumber::Parse(kTwoE306)->ToDouble(), 2e306);
    EXPECT_EQ(DecimalNumber::Parse("-0." + std::string(400, '0') + "1")->ToDouble(), 0.0);
    EXPECT_FALSE(DecimalNumber::Parse(std::string(400, '9'))->ToDouble().has_value());
}

TEST(PrefNumbers, ReadsEitherSeparatorAndRefusesText) {
    EXPECT_EQ(DecimalNumber::Parse("-05.00"), DecimalNumber::Parse("-5"));
    EXPECT_EQ(DecimalNumber::Parse("40,50"), DecimalNumber::Parse(" 40.5"));
    EXPECT_EQ(DecimalNumber::Parse("-0.000"), DecimalNumber());
    EXPECT_NE(DecimalNumber::Parse("0.001"), DecimalNumber());
    for (const char* bad : { "", "  ", "-", "+", "abc", "1.2.3", "1,2.3", "12a", "1,2,3", ".", "-.",
             "1e3", "inf", "nan", "--1", "+-1", "1 2", "0x10",
             "\xa0"
             "1" })
        EXPECT_FALSE(DecimalNumber::Parse(bad).has_value()) << bad;
}

TEST(PrefStartup, TakesTitlesOnlyWithCustomTitles) {
    Preferences prefs;
    ApplyStartupLines(FullFile(), prefs);
    EXPECT_EQ(prefs.OptionFlags, "10110110131");
    EXPECT_EQ(prefs.DayTitles[0], "Sun");
    EXPECT_EQ(prefs.MonthTitles[0], "Ene");
    EXPECT_EQ(prefs.MonthTitles[11], "Dic");
    EXPECT_EQ(prefs.DataFilesPath, "C:\\Orvane");
    EXPECT_EQ(prefs.CalendarFont, "Verdana");

    PrefLines lines = FullFile();
    lines[0] = "00110110131";
    Preferences defaults;
    ApplyStartupLines(lines, defaults);
    EXPECT_EQ(defaults.DayTitles[0], "");
    EXPECT_EQ(defaults.MonthTitles[0], "");
}

TEST(PrefStartup, ShortFlagsArePaddedAndShortFilesTolerated) {
    Preferences prefs;
    ApplyStartupLines(SplitLines("1011011\r\n"), prefs);
    EXPECT_EQ(prefs.OptionFlags, "10110110000");
    EXPECT_EQ(prefs.flag(Flag::CellColor), '0');
    EXPECT_EQ(prefs.DataFilesPath, "");

    Preferences empty;
    ApplyStartupLines({}, empty);
    EXPECT_EQ(empty.OptionFlags, "00000000000");
}

TEST(PrefPlace, NeedsAllThreeNumbers) {
    const auto place = PrefPlace(FullFile());
    ASSERT_TRUE(place.has_value());
    EXPECT_EQ(place->longitude.ToDouble(), -5.0);
    EXPECT_EQ(place->latitude.ToDouble(), 40.5);
    EXPECT_EQ(place->gmt_offset.ToDouble(), -6.0);

    PrefLines lines = FullFile();
    lines.resize(21);
    EXPECT_FALSE(PrefPlace(lines).has_value());
    lines = FullFile();
    lines[23] = "six";
    EXPECT_FALSE(PrefPlace(lines).has_value());
}

TEST(PrefFile, WritesTwentyFiveLinesAndReadsThemBack) {
    PrefValues values = PrefValuesFromLines(FullFile());
    const std::string bytes = FormatPrefFile(values);
    EXPECT_EQ(SplitLines(bytes).size(), 25U);
    EXPECT_EQ(bytes.substr(bytes.size() - 9), "Verdana\r\n");
    EXPECT_NE(bytes.find("C:\\Orvane\r\n-05.00\r\n40.50\r\n-6\r\n"), std::string::npos);
    EXPECT_EQ(FormatPrefFile(PrefValuesFromLines(SplitLines(bytes))), bytes);
}

TEST(PrefFile, MissingLocationLinesAreWrittenAsZero) {
    PrefLines lines = FullFile();
    lines.resize(21);
    const std::string bytes = FormatPrefFile(PrefValuesFromLines(lines));
    const PrefLines written = SplitLines(bytes);
    ASSERT_EQ(written.size(), 25U);
    EXPECT_EQ(written[21], "00.00");
    EXPECT_EQ(written[22], "00.00");
    EXPECT_EQ(written[23], "0");
    EXPECT_EQ(written[24], "");
}

} // namespace
} // namespace orvane
