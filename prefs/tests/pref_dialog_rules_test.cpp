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

std::vector<std::string> Only(const char* message) {
    return { message };
}

TEST(TitleCheck, GoodTitlesAreAccepted) {
    Titles titles;
    titles.days[0] = std::string(kDayTitleMaxLength, 'x');
    titles.days[1] = "Caf\xe9 \x80"; // accented letters and the euro sign are Windows-1252
    const TitleCheck check = titles.Check();
    EXPECT_TRUE(check.accepted());
    EXPECT_EQ(check.day_marked, (std::array<bool, 7> {}));
    EXPECT_EQ(check.month_marked, (std::array<bool, 12> {}));
}

TEST(TitleCheck, EmptyDayTitlesRefuseBeforeMonthTitlesAreLookedAt) {
    Titles titles;
    titles.days[1] = "";
    titles.days[4] = "";
    titles.months[0] = "Ja";
    const TitleCheck check = titles.Check();
    EXPECT_FALSE(check.accepted());
    EXPECT_EQ(check.messages, Only(kDayTitleMissing));
    EXPECT_EQ(check.day_marked, (std::array<bool, 7> { false, true, false, false, true }));
    EXPECT_EQ(check.month_marked, (std::array<bool, 12> {}));
}

TEST(TitleCheck, MonthTitlesMustHoldExactlyThreeCharacters) {
    for (const char* bad : { "", "Ja", "Janu" }) {
        Titles titles;
        titles.months[0] = bad;
        titles.months[11] = "Dic";
        const TitleCheck check = titles.Check();
        EXPECT_EQ(check.messages, Only(kMonthTitleWrongLength)) << bad;
        EXPECT_TRUE(check.month_marked[0]) << bad;
        EXPECT_FALSE(check.month_marked[11]) << bad;
    }
}

TEST(TitleCheck, OverlongDayTitleIsRefusedNotCut) {
    Titles titles;
    titles.days[6] = std::string(kDayTitleMaxLength + 1, 'S');
    const TitleCheck check = titles.Check();
    EXPECT_EQ(check.messages, Only(kDayTitleTooLong));
    EXPECT_TRUE(check.day_marked[6]);
}

TEST(TitleCheck, CharactersTheFileCannotHoldAreRefused) {
    // A tab, a line break, DEL, an undefined Windows-1252 byte, and a character with no byte.
    for (const TitleBytes& bad : { TitleBytes("Mo\tn"), TitleBytes("Mo\r\nn"), TitleBytes("\x7f"),
             TitleBytes("Mo\x81"), TitleBytes() }) {
        Titles titles;
        titles.days[2] = bad;
        const TitleCheck day_check = titles.Check();
        EXPECT_EQ(day_check.messages, Only(kDayTitleUnwritable));
        EXPECT_TRUE(day_check.day_marked[2]);

        Titles month_titles;
        month_titles.months[5] = bad;
        const TitleCheck month_check = month_titles.Check();
        EXPECT_TRUE(month_check.month_marked[5]);
        EXPECT_NE(std::find(month_check.messages.begin(), month_check.messages.end(),
                      kMonthTitleUnwritable),
            month_check.messages.end());
    }
}

TEST(TitleCheck, EveryKindOfDayFaultIsNamedOnceInAFixedOrder) {
    Titles titles;
    titles.days[0] = TitleBytes();
    titles.days[1] = "";
    titles.days[2] = std::string(20, 'x');
    titles.days[3] = "";
    const TitleCheck check = titles.Check();
    EXPECT_EQ(check.messages,
        (std::vector<std::string> { kDayTitleMissing, kDayTitleTooLong, kDayTitleUnwritable }));
    EXPECT_EQ(check.day_marked, (std::array<bool, 7> { true, true, true, true }));
}

TEST(OpenedFlags, ClearSavedOnOpenClearsPreferencesSaved) {
    EXPECT_EQ(OpenedOptionFlags("10110110131"), "10010110131");
    EXPECT_EQ(OpenedOptionFlags("10100110131"), "10100110131");
    // Position 4 must be exactly "1".
    EXPECT_EQ(OpenedOptionFlags("10120110131"), "10120110131");
    EXPECT_EQ(OpenedOptionFlags("0011"), "00010000000");
}

TEST(SavedFlags, FirstUserSaveWithUntouchedControls) {
    const std::string read = OpenedOptionFlags("01010111041");
    const std::string saved = SavedOptionFlags(read, ChoicesFromFlags(read), true);
    EXPECT_EQ(saved, "11110111041");
}

TEST(SavedFlags, DefaultSaveClearsCustomTitlesOnly) {
    EXPECT_EQ(
        SavedOptionFlags("11101111151", ChoicesFromFlags("11101111151"), false), "01101111151");
}

TEST(SavedFlags, EveryPositionComesFromItsOwnChoice) {
    PrefChoices none;
    EXPECT_EQ(SavedOptionFlags("01111111131", none, true), "10110000030");
    PrefChoices all { true, true, true, true, true, true, true, '5' };
    EXPECT_EQ(SavedOptionFlags("00000000000", all, true), "11101111151");
    // A flag read as something other than "1" is written as "0".
    EXPECT_EQ(
        SavedOptionFlags("02020202222", ChoicesFromFlags("02020202222"), true), "10120000020");
}

TEST(SavedFlags, NoColourSelectedKeepsTheCellColourDigit) {
    PrefChoices choices;
    EXPECT_EQ(SavedOptionFlags("00000000090", choices, true).substr(9, 1), "9");
    choices.cell_color = '2';
    EXPECT_EQ(SavedOptionFlags("00000000090", choices, true).substr(9, 1), "2");
    EXPECT_EQ(ChoicesFromFlags("00000000060").cell_color, 0);
    EXPECT_EQ(ChoicesFromFlags("00000000010").cell_color, '1');
}

} // namespace
} // namespace orvane
