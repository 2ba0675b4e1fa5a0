#include "core/text_file.h"
#include "prefs/pref_file.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

PrefLines FullFile() {
    return SplitLines("10110110131\r\nSun\r\nMon\r\nTue\r\nWed\r\nThu\r\nFri\r\nSat\r\n"
                      "Ene\r\nFeb\r\nMar\r\nAbr\r\nMay\r\nJun\r\nJul\r\nAgo\r\nSep\r\nOct\r\n"
                      "Nov\r\nDic\r\nC:\\Orvane\r\n-05.00\r\n40,50\r\n-6\r\nVerdana\r\n");
}

TEST(PrefNumbers, FixedTwoDecimalFormat) {
    EXPECT_EQ(FormatFixed2(-5), "-05.00");
    EXPECT_EQ(FormatFixed2(7.5), "07.50");
    EXPECT_EQ(FormatFixed2(120.25), "120.25");
    EXPECT_EQ(FormatFixed2(-90.5), "-90.50");
    EXPECT_EQ(FormatFixed2(5.25), "05.25");
    EXPECT_EQ(FormatFixed2(120.4), "120.40");
    EXPECT_EQ(FormatFixed2(0), "00.00");
    EXPECT_EQ(FormatFixed2(-0.001), "00.00");
    EXPECT_EQ(FormatFixed2(1.005 + 1e-9), "01.01");
}

TEST(PrefNumbers, WholeFormatRoundsHalvesAway) {
    EXPECT_EQ(FormatWhole(-6), "-6");
    EXPECT_EQ(FormatWhole(5.5), "6");
    EXPECT_EQ(FormatWhole(-5.5), "-6");
    EXPECT_EQ(FormatWhole(0), "0");
}

// A hand-edited file can hold numbers far larger than the dialog lets anyone type; a save writes
// them back whole, never cut short or wrapped around.
TEST(PrefNumbers, LargeNumbersAreWrittenWhole) {
    const std::string big = FormatFixed2(-1e70);
    ASSERT_EQ(big.size(), 75u); // sign, 71 integer digits, point, 2 decimals
    EXPECT_EQ(big.substr(0, 2), "-1");
    EXPECT_EQ(big.substr(big.size() - 3), ".00");
    EXPECT_EQ(ParsePrefNumber(big), -1e70);
    EXPECT_EQ(FormatWhole(1e20), "100000000000000000000");
    EXPECT_EQ(FormatWhole(-1e19), "-10000000000000000000");
    EXPECT_EQ(FormatWhole(-0.4), "0");
}

TEST(PrefNumbers, ReadsEitherSeparatorAndRefusesText) {
    EXPECT_EQ(ParsePrefNumber("-05.00"), -5.0);
    EXPECT_EQ(ParsePrefNumber("40,50"), 40.5);
    EXPECT_EQ(ParsePrefNumber(" 7 "), 7.0);
    EXPECT_EQ(ParsePrefNumber("+3"), 3.0);
    EXPECT_EQ(ParsePrefNumber("5."), 5.0);
    EXPECT_EQ(ParsePrefNumber(".5"), 0.5);
    const std::string huge(400, '9');
    EXPECT_FALSE(ParsePrefNumber(huge).has_value());
    for (const char* bad : { "", "  ", "-", "abc", "1.2.3", "1,2.3", "12a", "1,2,3", ".", "1e3",
             "inf", "nan", "--1", "+-1", "1 2", "0x10" })
        EXPECT_FALSE(ParsePrefNumber(bad).has_value()) << bad;
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
    EXPECT_EQ(place->longitude, -5.0);
    EXPECT_EQ(place->latitude, 40.5);
    EXPECT_EQ(place->gmt_offset, -6.0);

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
