#include "core/day_file.h"
#include "core/entry_limit.h"
#include "core/text_file.h"
#include "recurring/delete_entry.h"
#include "recurring/scheduling.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using Strings = std::vector<std::string>;

Date D(int y, unsigned m, unsigned d) {
    return Date { std::chrono::year(y), std::chrono::month(m), std::chrono::day(d) };
}

// An empty data folder and bare keys from Sunday 7 January 2024 unless a test starts elsewhere.
class EntryChangesTest : public ::testing::Test {
protected:
    void SetUp() override {
        st_.data.dir = std::filesystem::temp_directory_path() / "orvane_entry_changes_test";
        std::filesystem::remove_all(st_.data.dir);
        std::filesystem::create_directories(st_.data.dir);
        StartOn(D(2024, 1, 7));
    }

    void StartOn(const Date& first) { NewCalendar(first, st_.store); }
    Date DateOf(int slot) const { return *ParseDateKey(st_.store[slot]); }
    Date Last() const { return DateOf(kLastShownSlot); }
    void Fill(int slot) { st_.store[slot] += std::string(20, '\a'); }
    std::string Fdat() const { return ReadWholeFile(st_.data.fdat()).value_or(""); }
    // The keys of the days whose first entry is `text`.
    Strings KeysStartingWith(const std::string& text) const {
        Strings keys;
        for (int slot = 1; slot <= kCalendarDays; ++slot) {
            if (st_.store[slot].compare(11, text.size() + 1, text + kEntrySeparator) == 0)
                keys.push_back(st_.store[slot].substr(0, 11));
        }
        return keys;
    }
    Strings Keys(const EntryPlan& plan, bool inserted_only = false) const {
        Strings keys;
        for (const DayVisit& visit : plan.visits) {
            if (visit.insert || !inserted_only)
                keys.push_back(st_.store[visit.slot].substr(0, 11));
        }
        return keys;
    }
    EntryOutcome Apply(const std::optional<EntryPlan>& plan, bool automatic = true,
        const std::string& text = "x") {
        EXPECT_TRUE(plan);
        return ApplyEntryPlan(st_, *plan, text, automatic);
    }

    CalendarState st_;
};

TEST_F(EntryChangesTest, DailyAnchorsOnTheLastDayWrittenAndNeedsTheFromDayInTheCalendar) {
    st_.store[2] += "Old\a";
    const EntryOutcome done = Apply(PlanDaily(st_.store, DateOf(2), Last(), 7, "x"));
    ASSERT_TRUE(done.error.has_value());
    Strings mondays;
    for (int slot = 2; slot <= kLastShownSlot; slot += 7)
        mondays.push_back(st_.store[slot].substr(0, 11));
    EXPECT_EQ(KeysStartingWith("x"), mondays);
    EXPECT_EQ(st_.store[2], "Jan/8 /2024x\aOld\a");
    EXPECT_EQ(Fdat(), "D" + mondays.back() + "007  x\r\n\r\n");

    const auto plan = PlanDaily(st_.store, Last(), Last(), 1, "x");
    EXPECT_EQ(Keys(*plan), Strings { DateKey(Last()) });
    EXPECT_EQ(plan->record, "D" + DateKey(Last()) + "001  x");
    EXPECT_FALSE(PlanDaily(st_.store, D(2023, 1, 1), DateOf(20), 1, "x"));
}

TEST_F(EntryChangesTest, WeeklySecondTuesdayOfTheBeginMonthOnly) {
    StartOn(D(2001, 3, 4)); // the calendar ends before the second Tuesday of March 2003
    const auto plan = PlanWeekly(st_.store, D(2001, 3, 13), Last(), 2, true, "text");
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->record, "W3203  text");
    ASSERT_TRUE(Apply(plan, true, "text").error.has_value());
    EXPECT_EQ(KeysStartingWith("text"), (Strings { "Mar/13/2001", "Mar/12/2002" }));
    EXPECT_EQ(Fdat(), "W3203  text\r\n\r\n");
}

TEST_F(EntryChangesTest, WeeklyChecksEveryDayOfTheWeekdayButInsertsOnlyThePicked) {
    EXPECT_EQ(Keys(*PlanWeekly(st_.store, D(2024, 3, 1), D(2024, 3, 31), 6, false, "t"), true),
        Strings { "Mar/29/2024" });
    const auto feb_fifth = PlanWeekly(st_.store, D(2024, 2, 2), D(2024, 2, 29), 5, false, "t");
    EXPECT_TRUE(Keys(*feb_fifth, true).empty());
    EXPECT_EQ(feb_fifth->visits.size(), 4u);

    const int third_friday = *FindSlot(st_.store, D(2024, 3, 15));
    Fill(third_friday);
    const auto done = Apply(PlanWeekly(st_.store, D(2024, 3, 1), D(2024, 3, 31), 1, false, "t"));
    EXPECT_EQ(done.refused, std::vector<int> { third_friday });
    EXPECT_EQ(KeysStartingWith("x"), Strings { "Mar/1 /2024" });
}

TEST_F(EntryChangesTest, MonthlyLastDayFromTheFifteenthOfMarch) {
    const auto plan = PlanMonthly(st_.store, D(2024, 3, 15), Last(), true, "x");
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->record, "MEM    x");
    const auto keys = Keys(*plan);
    EXPECT_EQ(Strings(keys.begin(), keys.begin() + 3),
        (Strings { "Mar/31/2024", "Apr/30/2024", "May/31/2024" }));
    EXPECT_EQ(keys.at(11), "Feb/28/2025");
}

TEST_F(EntryChangesTest, YearlyThirtyFirstOfOctoberAndABeginOutsideTheCalendar) {
    const auto plan = PlanYearly(st_.store, D(2024, 10, 31), "text");
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->record, "YOct/31text");
    ASSERT_TRUE(Apply(plan, false, "text").error.has_value());
    EXPECT_EQ(KeysStartingWith("text"), (Strings { "Oct/31/2024", "Oct/31/2025" }));
    EXPECT_FALSE(std::filesystem::exists(st_.data.fdat())); // unchecked: no record
    EXPECT_FALSE(PlanYearly(st_.store, D(2023, 12, 31), "x"));
    EXPECT_FALSE(PlanYearly(st_.store, DateOf(736), "x"));
    EXPECT_TRUE(PlanYearly(st_.store, Last(), "x"));
}

TEST_F(EntryChangesTest, RecordNeedsAtMostOneHundredFourRefusals) {
    for (int refused : { 104, 105 }) {
        StartOn(D(2024, 1, 7));
        std::filesystem::remove(st_.data.fdat());
        for (int slot = 1; slot <= refused; ++slot)
            Fill(slot);
        const EntryOutcome done = Apply(PlanDaily(st_.store, DateOf(1), DateOf(200), 1, "x"));
        EXPECT_EQ(static_cast<int>(done.refused.size()), refused);
        EXPECT_EQ(Fdat().empty(), refused == 105);
        EXPECT_EQ(st_.store[refused + 1].substr(11), "x\a");
    }
}

TEST_F(EntryChangesTest, RecordFileIsOpenedFirstCreatedIfMissingAndAppendedAfterACarriageReturn) {
    const auto plan = PlanMonthly(st_.store, D(2024, 2, 5), D(2024, 2, 29), false, "x");
    ASSERT_TRUE(Apply(plan).record_appended);
    EXPECT_EQ(Fdat(), "M5     x\r\n\r\n");
    ASSERT_TRUE(WriteFileAtomic(st_.data.fdat(), "M5     x\r\n\r"));
    ASSERT_TRUE(Apply(plan).record_appended);
    EXPECT_EQ(Fdat(), "M5     x\r\n\rM5     x\r\n\r\n");

    std::filesystem::remove(st_.data.fdat());
    std::filesystem::create_directories(st_.data.fdat());
    const EntryOutcome done = Apply(PlanDaily(st_.store, DateOf(1), DateOf(30), 1, "x"));
    ASSERT_FALSE(done.error.has_value());
    EXPECT_EQ(done.error.error().io->path, st_.data.fdat());
    EXPECT_NE(done.error.error().note.find("No day was changed"), std::string::npos);
    EXPECT_EQ(st_.store[1], "Jan/7 /2024");
}

TEST_F(EntryChangesTest, FailedErrorLogEndsTheWalkAtThatDay) {
    std::filesystem::create_directories(st_.data.rdat());
    Fill(3);
    const EntryOutcome done = Apply(PlanDaily(st_.store, DateOf(1), DateOf(10), 1, "x"));
    ASSERT_FALSE(done.error.has_value());
    EXPECT_EQ(done.error.error().io->path, st_.data.rdat());
    EXPECT_NE(done.error.error().note.find("were written"), std::string::npos);
    EXPECT_EQ(KeysStartingWith("x"), (Strings { "Jan/7 /2024", "Jan/8 /2024" }));
    EXPECT_TRUE(done.refused.empty()); // its log line was never written: no "see Error Log" box
    EXPECT_EQ(Fdat(), "");
}

TEST(DeleteFromDay, RemovesWholeEqualEntriesOnlyAndKeepsATailAtTheEnd) {
    const struct {
        const char* day;
        const char* text;
        const char* after; // nullptr: unchanged
    } cases[] = { { "Dentist\aDentist\aGym\a", "Dentist", "Gym\a" },
        { "Dentist at 4\a", "Dentist", nullptr }, { "Dentist\a", "dentist", nullptr },
        { "Gym\aDentist\ahand edit", "Gym", "Dentist\ahand edit" }, { "\aGym\a", "Gym", "\a" } };
    for (const auto& c : cases) {
        std::string day = std::string("Mar/14/2024") + c.day;
        EXPECT_EQ(DeleteFromDay(day, c.text), c.after != nullptr) << c.day;
        EXPECT_EQ(day, std::string("Mar/14/2024") + (c.after ? c.after : c.day));
    }
}

TEST_F(EntryChangesTest, DeleteFromDaysStaysWithinTheRangeAndTheShownDays) {
    for (int slot : { 4, 5, 6, 736 })
        st_.store[slot] += "Gym\a";
    EXPECT_EQ(DeleteFromDays(st_.store, 5, 740, "Gym"), 2);
    EXPECT_EQ(KeysStartingWith("Gym"), (Strings { "Jan/10/2024", st_.store[736].substr(0, 11) }));
}

TEST(RecordsWithout, MatchesOnlyTheEntryTextOfValidRecordsAndEndsInOneCarriageReturn) {
    const std::string fdat = "DJan/29/2001007  Gym\r\n\r\nYJan/5 Party\r\n\r\n"
                             "W1000  Jan meeting\r\n\r\nM5     Rent\r\n\r\njunk Jan line\r\n\r\n";
    EXPECT_EQ(
        RecordsWithout(fdat, "Jan"), "DJan/29/2001007  Gym\r\nYJan/5 Party\r\nM5     Rent\r\n\r");
    EXPECT_EQ(RecordsWithout(fdat, "gym"), RecordsWithout(fdat, "zzz")); // case-sensitive
    EXPECT_EQ(RecordsWithout(fdat, "Ren"),
        "DJan/29/2001007  Gym\r\nYJan/5 Party\r\nW1000  Jan meeting\r\njunk Jan line\r\n\r");
    EXPECT_EQ(RecordsWithout("W1000  a\r\n\rM5     b", "zzz"), "W1000  a\r\nM5     b\r\n\r");
    EXPECT_EQ(RecordsWithout("", "x"), "\r");
}

TEST_F(EntryChangesTest, DeleteRewritesRecordsThroughTheWorkFileOnlyWhenChecked) {
    st_.store[3] += "Dentist\aDentist\aGym\a";
    ASSERT_TRUE(DeleteEntry(st_, 1, 735, "Gym", false).error.has_value());
    EXPECT_EQ(st_.store[3], "Jan/9 /2024Dentist\aDentist\a");
    EXPECT_FALSE(std::filesystem::exists(st_.data.wdat()));
    std::filesystem::create_directories(st_.data.fdat()); // unreadable: no day changes
    const DeleteOutcome refused = DeleteEntry(st_, 1, 735, "Dentist", true);
    ASSERT_FALSE(refused.error);
    EXPECT_EQ(refused.error.error().io->path, st_.data.fdat());
    EXPECT_EQ(st_.store[3], "Jan/9 /2024Dentist\aDentist\a");

    std::filesystem::remove(st_.data.fdat());
    ASSERT_TRUE(WriteFileAtomic(st_.data.fdat(), "M5     Dentist\r\n\r\nM6     Gym\r\n\r\n"));
    const DeleteOutcome done = DeleteEntry(st_, 1, 735, "Dentist", true);
    ASSERT_TRUE(done.error.has_value());
    EXPECT_EQ(done.days_changed, 1);
    EXPECT_EQ(st_.store[3], "Jan/9 /2024");
    EXPECT_EQ(Fdat(), "M6     Gym\r\n\r");
    EXPECT_EQ(ReadWholeFile(st_.data.wdat()).value_or(""), "M6     Gym\r\n\r");
    std::filesystem::remove(st_.data.fdat()); // a missing file holds no records
    ASSERT_TRUE(DeleteEntry(st_, 1, 735, "Gym", true).error.has_value());
    EXPECT_EQ(Fdat(), "\r");
}

} // namespace
} // namespace orvane
