#include "recurring/scheduling.h"

#include "core/day_file.h"
#include "core/entry_limit.h"
#include "core/text_file.h"
#include "recurring/tests/test_folder.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

Date D(int y, unsigned m, unsigned d) {
    return Date { std::chrono::year(y), std::chrono::month(m), std::chrono::day(d) };
}

std::string Full(const std::string& key) {
    return key + std::string(20, kEntrySeparator);
}

class SchedulingTest : public ::testing::Test {
protected:
    void SetUp() override { state_.data.dir = testing_support::MakeTestFolder("orvane_sched_"); }
    void TearDown() override { std::filesystem::remove_all(state_.data.dir); }

    // A calendar of bare keys from the Sunday `first`.
    void StartOn(const Date& first) { NewCalendar(first, state_.store); }
    Date DateOf(int slot) const { return *ParseDateKey(state_.store[slot]); }
    std::string Fdat() const { return ReadWholeFile(state_.data.fdat()).bytes; }
    std::string Rdat() const { return ReadWholeFile(state_.data.rdat()).bytes; }
    // Slots whose first entry is `text`.
    std::vector<int> SlotsStartingWith(const std::string& text) const {
        std::vector<int> slots;
        for (int slot = 1; slot <= kCalendarDays; ++slot) {
            if (state_.store[slot].compare(11, text.size() + 1, text + kEntrySeparator) == 0)
                slots.push_back(slot);
        }
        return slots;
    }

    CalendarState state_;
};

TEST_F(SchedulingTest, DailyEverySeventhDayFromAMondayWritesEveryMondayAndTheLastAsAnchor) {
    StartOn(D(2024, 1, 7));
    state_.store[2] += "Old\a";
    const auto plan = PlanDaily(state_.store, DateOf(2), DateOf(kLastShownSlot), 7, "Gym");
    ASSERT_TRUE(plan);
    const EntryOutcome done = ApplyEntryPlan(state_, *plan, "Gym", true);
    ASSERT_TRUE(done.error.ok()) << done.error.message();
    std::vector<int> mondays;
    for (int slot = 2; slot <= kLastShownSlot; slot += 7)
        mondays.push_back(slot);
    EXPECT_EQ(SlotsStartingWith("Gym"), mondays);
    EXPECT_EQ(state_.store[2], "Jan/8 /2024Gym\aOld\a");
    EXPECT_TRUE(done.record_appended);
    EXPECT_EQ(Fdat(), "D" + state_.store[mondays.back()].substr(0, 11) + "007  Gym\r\n\r\n");
}

TEST_F(SchedulingTest, DailyOnTheLastCalendarDayWritesOneDayAnchoredThere) {
    StartOn(D(2024, 1, 7));
    const Date last = DateOf(kLastShownSlot);
    const auto plan = PlanDaily(state_.store, last, last, 1, "x");
    ASSERT_TRUE(plan);
    ASSERT_EQ(plan->visits.size(), 1u);
    EXPECT_EQ(plan->visits[0].slot, kLastShownSlot);
    EXPECT_EQ(plan->record, "D" + DateKey(last) + "001  x");
}

TEST_F(SchedulingTest, DailyIntervalWiderThanTheRangeWritesOnlyTheFromDay) {
    StartOn(D(2024, 1, 7));
    const auto plan = PlanDaily(state_.store, DateOf(10), DateOf(20), 30, "x");
    ASSERT_TRUE(plan);
    ASSERT_EQ(plan->visits.size(), 1u);
    EXPECT_EQ(plan->record, "D" + state_.store[10] + "030  x");
    EXPECT_FALSE(PlanDaily(state_.store, D(2023, 1, 1), DateOf(20), 1, "x")); // no slot
}

TEST_F(SchedulingTest, WeeklySecondTuesdayOfTheBeginMonthOnly) {
    StartOn(D(2001, 3, 4)); // slot 735 is 8 March 2003, before the second Tuesday of March 2003
    const auto plan = PlanWeekly(
        state_.store, D(2001, 3, 13), DateOf(kLastShownSlot), 2, /*begin_month_only=*/true, "text");
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->record, "W3203  text");
    ASSERT_TRUE(ApplyEntryPlan(state_, *plan, "text", true).error.ok());
    const auto written = SlotsStartingWith("text");
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(state_.store[written[0]], "Mar/13/2001text\a");
    EXPECT_EQ(state_.store[written[1]], "Mar/12/2002text\a");
    EXPECT_EQ(Fdat(), "W3203  text\r\n\r\n");
}

TEST_F(SchedulingTest, WeeklyEveryTuesdayAndTheLastFridayThatIsAlsoTheFifth) {
    StartOn(D(2024, 1, 7));
    const auto every
        = PlanWeekly(state_.store, D(2024, 1, 9), DateOf(kLastShownSlot), 0, false, "t");
    ASSERT_TRUE(every);
    EXPECT_EQ(every->record, "W3000  t");
    for (const DayVisit& visit : every->visits) {
        EXPECT_EQ(WeekdayIndex(DateOf(visit.slot)), 2);
        EXPECT_TRUE(visit.insert);
    }
    EXPECT_EQ(every->visits.size(), 105u);

    const auto last = PlanWeekly(state_.store, D(2024, 3, 1), D(2024, 3, 31), 6, false, "t");
    const auto fifth = PlanWeekly(state_.store, D(2024, 3, 1), D(2024, 3, 31), 5, false, "t");
    const auto picked = [this](const EntryPlan& plan) {
        std::vector<std::string> keys;
        for (const DayVisit& visit : plan.visits) {
            if (visit.insert)
                keys.push_back(state_.store[visit.slot]);
        }
        return keys;
    };
    EXPECT_EQ(picked(*last), std::vector<std::string> { "Mar/29/2024" });
    EXPECT_EQ(picked(*fifth), std::vector<std::string> { "Mar/29/2024" });
    const auto feb_fifth = PlanWeekly(state_.store, D(2024, 2, 2), D(2024, 2, 29), 5, false, "t");
    EXPECT_TRUE(picked(*feb_fifth).empty());
    EXPECT_EQ(feb_fifth->visits.size(), 4u); // every Friday is still checked against the limit
}

TEST_F(SchedulingTest, WeeklyFullDayOfTheWeekdayIsRefusedEvenWhenNotPicked) {
    StartOn(D(2024, 1, 7));
    const int second_friday = *FindSlot(state_.store, D(2024, 3, 15)); // third Friday: not picked
    state_.store[second_friday] = Full("Mar/15/2024");
    const auto plan = PlanWeekly(state_.store, D(2024, 3, 1), D(2024, 3, 31), 1, false, "t");
    const EntryOutcome done = ApplyEntryPlan(state_, *plan, "t", true);
    EXPECT_EQ(done.refused, std::vector<int> { second_friday });
    EXPECT_EQ(Rdat(), "Mar/15/2024 t  (Error - Date NOT Updated)\r\n");
    EXPECT_EQ(state_.store[*FindSlot(state_.store, D(2024, 3, 1))], "Mar/1 /2024t\a");
    EXPECT_TRUE(done.record_appended);
}

TEST_F(SchedulingTest, MonthlyLastDayFromTheFifteenthOfMarch) {
    StartOn(D(2024, 1, 7));
    const auto plan = PlanMonthly(state_.store, D(2024, 3, 15), DateOf(kLastShownSlot), true, "x");
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->record, "MEM    x");
    std::vector<std::string> keys;
    for (const DayVisit& visit : plan->visits)
        keys.push_back(state_.store[visit.slot]);
    ASSERT_GE(keys.size(), 12u);
    EXPECT_EQ(keys[0], "Mar/31/2024");
    EXPECT_EQ(keys[1], "Apr/30/2024");
    EXPECT_EQ(keys[2], "May/31/2024");
    EXPECT_EQ(keys[11], "Feb/28/2025");
    EXPECT_EQ(std::count(keys.begin(), keys.end(), "Mar/15/2024"), 0);
}

TEST_F(SchedulingTest, MonthlyDayFieldsSkipShortMonths) {
    StartOn(D(2024, 1, 7));
    const auto thirty_first
        = PlanMonthly(state_.store, D(2024, 1, 31), DateOf(kLastShownSlot), false, "x");
    EXPECT_EQ(thirty_first->record, "M31    x");
    for (const DayVisit& visit : thirty_first->visits)
        EXPECT_EQ(state_.store[visit.slot].substr(3, 4), "/31/");
    EXPECT_EQ(thirty_first->visits.size(), 14u); // seven 31-day months a year, Jan 2024-Jan 2026

    const auto fifth = PlanMonthly(state_.store, D(2024, 2, 5), D(2024, 4, 30), false, "x");
    EXPECT_EQ(fifth->record, "M5     x");
    EXPECT_EQ(fifth->visits.size(), 3u);
    const auto leap = PlanMonthly(state_.store, D(2024, 1, 29), DateOf(kLastShownSlot), false, "x");
    int februaries = 0;
    for (const DayVisit& visit : leap->visits)
        februaries += state_.store[visit.slot].starts_with("Feb");
    EXPECT_EQ(februaries, 1); // only 2024
}

TEST_F(SchedulingTest, YearlyThirtyFirstOfOctober) {
    StartOn(D(2024, 1, 7));
    const auto plan = PlanYearly(state_.store, D(2024, 10, 31), "text");
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->record, "YOct/31text");
    ASSERT_TRUE(ApplyEntryPlan(state_, *plan, "text", false).error.ok());
    const auto written = SlotsStartingWith("text");
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(state_.store[written[0]], "Oct/31/2024text\a");
    EXPECT_EQ(state_.store[written[1]], "Oct/31/2025text\a");
    EXPECT_FALSE(std::filesystem::exists(state_.data.fdat())); // unchecked: no record
}

TEST_F(SchedulingTest, YearlyBeginOutsideTheShownDaysHasNoPlan) {
    StartOn(D(2024, 1, 7));
    EXPECT_FALSE(PlanYearly(state_.store, D(2023, 12, 31), "x"));
    EXPECT_FALSE(PlanYearly(state_.store, DateOf(736), "x"));
    EXPECT_TRUE(PlanYearly(state_.store, DateOf(kLastShownSlot), "x"));
}

TEST_F(SchedulingTest, RecordNeedsAtMostOneHundredFourRefusals) {
    for (int refused : { 104, 105 }) {
        StartOn(D(2024, 1, 7));
        std::filesystem::remove(state_.data.fdat());
        for (int slot = 1; slot <= refused; ++slot)
            state_.store[slot] = Full(state_.store[slot].substr(0, 11));
        const auto plan = PlanDaily(state_.store, DateOf(1), DateOf(200), 1, "x");
        const EntryOutcome done = ApplyEntryPlan(state_, *plan, "x", true);
        EXPECT_EQ(static_cast<int>(done.refused.size()), refused);
        EXPECT_EQ(done.record_appended, refused == 104);
        EXPECT_EQ(Fdat().empty(), refused == 105);
        EXPECT_EQ(state_.store[refused + 1].substr(11), "x\a");
        EXPECT_EQ(EntryCount(state_.store[1]), 20);
    }
}

TEST_F(SchedulingTest, UnopenableRecordFileChangesNoDay) {
    StartOn(D(2024, 1, 7));
    std::filesystem::create_directories(state_.data.fdat());
    const auto plan = PlanDaily(state_.store, DateOf(1), DateOf(30), 1, "x");
    const EntryOutcome done = ApplyEntryPlan(state_, *plan, "x", true);
    EXPECT_FALSE(done.error.ok());
    EXPECT_NE(done.error.message().find("No day was changed"), std::string::npos);
    EXPECT_FALSE(done.days_changed);
    EXPECT_EQ(state_.store[1], "Jan/7 /2024");
}

TEST_F(SchedulingTest, MissingRecordFileIsCreatedAndAppendsFollowADeleteCarriageReturn) {
    StartOn(D(2024, 1, 7));
    const auto plan = PlanMonthly(state_.store, D(2024, 2, 5), D(2024, 2, 29), false, "x");
    ASSERT_TRUE(ApplyEntryPlan(state_, *plan, "x", true).record_appended);
    EXPECT_EQ(Fdat(), "M5     x\r\n\r\n");
    ASSERT_TRUE(WriteFileAtomic(state_.data.fdat(), "M5     x\r\n\r").ok());
    ASSERT_TRUE(ApplyEntryPlan(state_, *plan, "y", true).record_appended);
    EXPECT_EQ(Fdat(), "M5     x\r\n\rM5     x\r\n\r\n");
}

TEST_F(SchedulingTest, FailedErrorLogEndsTheWalkAtThatDay) {
    StartOn(D(2024, 1, 7));
    std::filesystem::create_directories(state_.data.rdat());
    state_.store[3] = Full(state_.store[3]);
    const auto plan = PlanDaily(state_.store, DateOf(1), DateOf(10), 1, "x");
    const EntryOutcome done = ApplyEntryPlan(state_, *plan, "x", true);
    EXPECT_FALSE(done.error.ok());
    EXPECT_NE(done.error.message().find("were written"), std::string::npos);
    EXPECT_EQ(state_.store[2].substr(11), "x\a");
    EXPECT_EQ(state_.store[4].substr(11), "");
    // The day is not named in a "see Error Log" box: its log line was never written.
    EXPECT_TRUE(done.refused.empty());
    EXPECT_FALSE(done.record_appended);
    EXPECT_EQ(Fdat(), "");
}

} // namespace
} // namespace orvane
