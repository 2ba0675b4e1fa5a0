#include "prefs/pref_file.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

struct Titles {
    std::array<TitleBytes, 7> days { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat" };
    std::array<TitleBytes, 12> months { "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug",
        "Sep", "Oct", "Nov", "Dec" };
    TitleCheck Check() const { return CheckTitles(days, months); }
};

TEST(TitleCheck, FifteenCharactersPassAndDayFaultsAreNamedOnceBeforeMonths) {
    Titles titles;
    titles.days[0] = std::string(kDayTitleMaxLength, 'x');
    titles.days[1] = "Caf\xe9 \x80";
    EXPECT_TRUE(titles.Check().accepted());
    titles.days[0] = TitleBytes(); // a character with no Windows-1252 byte
    titles.days[1] = "";
    titles.days[2] = std::string(kDayTitleMaxLength + 1, 'x');
    titles.days[3] = "";
    titles.months[0] = "Ja";
    const TitleCheck check = titles.Check();
    EXPECT_EQ(check.messages,
        (std::vector<std::string> { kDayTitleMissing, kDayTitleTooLong, kDayTitleUnwritable }));
    EXPECT_EQ(check.day_marked, (std::array<bool, 7> { true, true, true, true }));
    EXPECT_EQ(check.month_marked, (std::array<bool, 12> {}));
}

TEST(TitleCheck, RefusesWrongMonthLengthsAndBytesTheFileCannotHold) {
    Titles long_month;
    long_month.months[0] = "Janu";
    EXPECT_EQ(long_month.Check().messages, std::vector<std::string> { kMonthTitleWrongLength });
    EXPECT_EQ(long_month.Check().month_marked, (std::array<bool, 12> { true }));
    for (const char* bad : { "Mo\tn", "\x7f", "Mo\x81" }) {
        Titles titles;
        titles.days[2] = bad;
        EXPECT_EQ(titles.Check().messages, std::vector<std::string> { kDayTitleUnwritable });
        titles.days[2] = "Tue";
        titles.months[5] = bad;
        EXPECT_TRUE(titles.Check().month_marked[5]);
        EXPECT_EQ(titles.Check().messages.back(), kMonthTitleUnwritable);
    }
}

TEST(OptionFlagsOfTheDialog, OpeningClearsSavedAndSavesSetTitlesAndSaved) {
    EXPECT_EQ(OpenedOptionFlags("10110110131"), "10010110131");
    EXPECT_EQ(OpenedOptionFlags("0011"), "00010000000");
    const std::string read = OpenedOptionFlags("01010111041");
    EXPECT_EQ(SavedOptionFlags(read, ChoicesFromFlags(read), true), "11110111041");
    const PrefChoices all { true, true, true, true, true, true, true, '5' };
    EXPECT_EQ(SavedOptionFlags("00000000000", all, true), "11101111151");
    EXPECT_EQ(
        SavedOptionFlags("02020202292", ChoicesFromFlags("02020202292"), true), "10120000090");
}

} // namespace
} // namespace orvane
