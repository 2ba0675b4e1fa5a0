// The words and marks of the dialogs' preview: counts, the full days named, the record rule at
// its boundary, the records a delete discontinues, what OK would refuse; and random plans on
// seeded random calendars, each preview held against what the operation then does.
#include "core/day_file.h"
#include "core/entry_limit.h"
#include "core/testing/document_testing.h"
#include "core/text_file.h"
#include "recurring/delete_entry.h"
#include "recurring/preview.h"
#include "recurring/scheduling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace orvane {
namespace {

using Strings = std::vector<std::string>;

const Date kFirst = MakeDate(2024, 1, 7); // a Sunday

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override { NewCalendar(kFirst, store_); }
    void Fill(int slot) { store_[slot] += std::string(kMaxEntries, kEntrySeparator); }
    Date DateOf(int slot) const { return *ParseDateKey(store_[slot]); }
    Date Last() const { return DateOf(kLastShownSlot); }

    DayStore store_;
};

TEST_F(PreviewTest, DayListAddsYearsOnlyWhenTheDaysSpanYears) {
    // Slot 1 is 7 January 2024; slot 361 is 1 January 2025.
    EXPECT_EQ(DayList(store_, { 1, 2, 59 }), "Jan 7, Jan 8, Mar 5");
    EXPECT_EQ(DayList(store_, { 359, 361 }), "Dec 30 2024, Jan 1 2025");
}

TEST_F(PreviewTest, EntryPreviewCountsAndNamesTheFullDays) {
    Fill(8); // Sunday 14 January
    Fill(57); // Sunday 3 March
    const auto plan = PlanWeekly(store_, kFirst, MakeDate(2024, 3, 31), kEveryWeek, false, "Gym");
    ASSERT_TRUE(plan);
    const PlanPreview preview = PreviewEntryPlan(store_, *plan, true);
    EXPECT_EQ(preview.last_slot, 85); // 31 March
    EXPECT_EQ(preview.full, (std::vector<int> { 8, 57 }));
    EXPECT_EQ(preview.summary, "The entry goes into 11 days; 2 days are full.");
    EXPECT_EQ(preview.details.at(0), "2 days are full: Jan 14, Mar 3");
    EXPECT_EQ(preview.details.at(1), "Automatic Update adds the record: W1000  Gym");
    EXPECT_EQ(preview.details.at(2).substr(0, 31), "Gets the entry: Jan 7, Jan 21, ");
    EXPECT_NE(
        MarkedDaysText(store_, preview, false).find(" Full: Jan 14, Mar 3."), std::string::npos);
}

TEST_F(PreviewTest, EntryPreviewSingularAndNothing) {
    Fill(1);
    const auto one = PlanDaily(store_, kFirst, AddDays(kFirst, 1), 1, "Gym");
    ASSERT_TRUE(one);
    EXPECT_EQ(
        PreviewEntryPlan(store_, *one, false).summary, "The entry goes into 1 day; 1 day is full.");
    // The fifth Sunday of a month with four: no day gets it, but the full Sunday is refused all
    // the same, as OK refuses it.
    const auto fifth = PlanWeekly(store_, kFirst, MakeDate(2024, 2, 29), 5, false, "Gym");
    ASSERT_TRUE(fifth);
    EXPECT_EQ(
        PreviewEntryPlan(store_, *fifth, false).summary, "No day gets the entry; 1 day is full.");
    const auto none = PlanWeekly(store_, DateOf(8), MakeDate(2024, 2, 29), 5, false, "Gym");
    ASSERT_TRUE(none);
    const PlanPreview nothing = PreviewEntryPlan(store_, *none, false);
    EXPECT_EQ(nothing.summary, "No day gets the entry.");
    EXPECT_TRUE(nothing.details.empty());
    EXPECT_EQ(MarkedDaysText(store_, nothing, false), "No day is marked.");
}

// The record is dropped from the 105th refused day on; the preview says so exactly then, and only
// when "Automatic Update" would store it.
TEST_F(PreviewTest, RecordRuleIsStatedFromTheHundredAndFifthFullDay) {
    for (int slot = 1; slot <= 104; ++slot)
        Fill(slot);
    const auto plan = PlanDaily(store_, kFirst, Last(), 1, "Gym");
    ASSERT_TRUE(plan);
    const std::string rule = "More than 104 days are full: Automatic Update keeps no record.";
    const PlanPreview at_limit = PreviewEntryPlan(store_, *plan, true);
    EXPECT_EQ(at_limit.full.size(), 104u);
    EXPECT_EQ(at_limit.summary.find(rule), std::string::npos);
    EXPECT_EQ(at_limit.details.at(1), "Automatic Update adds the record: DJan/10/2026001  Gym");

    Fill(105);
    const PlanPreview over = PreviewEntryPlan(store_, *plan, true);
    EXPECT_EQ(over.summary, "The entry goes into 630 days; 105 days are full. " + rule);
    EXPECT_EQ(over.details.at(1),
        "Without its record, cycling the calendar will not add the entry to new days.");
}

TEST_F(PreviewTest, DeletePreviewNamesDaysKeptAndRecordsInFull) {
    store_[2] += "Dentist\aGym\a";
    store_[3] += "Dentist at 4\a";
    store_[4] += "Dentist\a";
    store_[9] += "Dentist\a"; // outside the range
    const std::string records = "M5     Dentist\r\n\r\nW1000  Gym\r\n\r\nYJan/8 Dentist at 4\r\n";
    const auto plan
        = PlanDeleteBetween(store_, DateOf(1), DateOf(5), "Dentist", /*discontinue=*/true, records);
    ASSERT_TRUE(plan);
    const PlanPreview preview = PreviewDeletePlan(store_, *plan);
    EXPECT_EQ(preview.summary, "The entry goes from 2 days. 2 records are discontinued.");
    EXPECT_EQ(preview.details,
        (Strings { "Only inside longer entries, kept: Jan 9", "Discontinued records of fdat.ovd:",
            "M5     Dentist", "YJan/8 Dentist at 4", "Loses the entry: Jan 8, Jan 10" }));
    EXPECT_EQ(RangeMarks(preview),
        (std::vector<DayMark> { DayMark::kInRange, DayMark::kChanged, DayMark::kFoundKept,
            DayMark::kChanged, DayMark::kInRange }));
    EXPECT_EQ(MarkedDaysText(store_, preview, true),
        "Loses the entry: Jan 8, Jan 10. Holds it inside longer entries: Jan 9.");

    const auto keep_records
        = PlanDeleteBetween(store_, DateOf(1), DateOf(3), "Dentist", false, records);
    ASSERT_TRUE(keep_records);
    EXPECT_EQ(PreviewDeletePlan(store_, *keep_records).summary, "The entry goes from 1 day.");
    const auto nothing = PlanDeleteBetween(store_, DateOf(5), DateOf(8), "Dentist", true, "");
    ASSERT_TRUE(nothing);
    EXPECT_EQ(
        PreviewDeletePlan(store_, *nothing).summary, "No day holds the entry. No record holds it.");
}

TEST_F(PreviewTest, DeleteRangeIsCountedFromFromAndStopsAtTheLastShownDay) {
    const auto whole = PlanDeleteBetween(store_, DateOf(700), MakeDate(2099, 1, 1), "x", false, "");
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->first_slot, 700);
    EXPECT_EQ(whole->last_slot, kLastShownSlot);
    const auto backwards = PlanDeleteBetween(store_, DateOf(10), DateOf(4), "x", false, "");
    ASSERT_TRUE(backwards);
    EXPECT_TRUE(RangeMarks(PreviewDeletePlan(store_, *backwards)).empty());
    EXPECT_FALSE(PlanDeleteBetween(store_, AddDays(kFirst, -1), DateOf(4), "x", false, ""));
}

TEST(RefusedPreview, SaysWhatIsWrongInTheOrderTheChecksSetItAndMarksNothing) {
    DateErrors all;
    all.from_too_early = all.from_too_late = all.from_after_to = all.to_too_late = true;
    EXPECT_EQ(DateProblems(all),
        (Strings { "From date < calendar", "From date > calendar", "From date  > To date",
            "To date > calendar" }));
    const PlanPreview refused
        = RefusedPreview({ std::string(kFromAfterTo), std::string(kEmptyEntryProblem) });
    EXPECT_TRUE(refused.refused());
    EXPECT_EQ(refused.summary, "From date  > To date");
    EXPECT_EQ(refused.details, (Strings { "From date  > To date", "Entry: empty" }));
    EXPECT_TRUE(RangeMarks(refused).empty());
    for (const auto& [interval, good] :
        { std::pair { 0, false }, { 1, true }, { 730, true }, { 731, false } })
        EXPECT_EQ(IntervalInRange(interval), good) << interval;
}

class RandomCalendar {
public:
    explicit RandomCalendar(unsigned seed)
        : random_(seed) { }

    int Between(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }
    bool Chance(int percent) { return Between(1, 100) <= percent; }
    const std::string& Pick(const Strings& items) {
        return items[static_cast<std::size_t>(Between(0, static_cast<int>(items.size()) - 1))];
    }
    // A calendar from a Sunday between 1998 and 2030 whose days hold a few entries, with
    // `full_percent` of them at the entry limit or past it.
    DayStore Store(int full_percent, const Strings& words) {
        DayStore store;
        NewCalendar(AddDays(MakeDate(1998, 1, 4), 7 * Between(0, 1700)), store);
        for (int slot = 1; slot <= kCalendarDays; ++slot) {
            int entries
                = Chance(full_percent) ? Between(kMaxEntries - 1, kMaxEntries + 2) : Between(0, 3);
            for (; entries > 0; --entries)
                store[slot] += Pick(words) + kEntrySeparator;
            if (Chance(3))
                store[slot] += "hand edit"; // a tail without separator
        }
        return store;
    }

private:
    std::mt19937 random_;
};

class PlanPreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        data_.dir = std::filesystem::temp_directory_path() / "orvane_plan_preview_test";
        std::filesystem::remove_all(data_.dir);
        std::filesystem::create_directories(data_.dir);
    }
    void TearDown() override { std::filesystem::remove_all(data_.dir); }

    DataFolder data_;
};

std::string AppendedTo(const ChangeReport& report, const std::filesystem::path& path) {
    std::string bytes;
    for (const FileChange& file : report.files) {
        if (file.path == path)
            bytes += file.appended;
    }
    return bytes;
}

// For plans of every kind: the days EvaluatePlan says get the entry are exactly the days
// ApplyEntryPlan changes, each with the text as its new first entry; the refused days are the
// days logged, in order; the record is appended exactly when it says so; the panel marks each day
// of the range by what happened to it and states the record rule exactly when it bit.
TEST_F(PlanPreviewTest, EntryPreviewIsWhatTheOperationDoes) {
    RandomCalendar random(1000u);
    const Strings words = { "Gym", "Dentist",
        "Tea\xa0"
        "at 5" };
    int applied = 0;
    int over_refusal_limit = 0;
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        DayStore store = random.Store(random.Chance(30) ? 80 : 4, words);
        const std::string text = random.Pick(words);
        const Date from = AddDays(*ParseDateKey(store[1]),
            random.Chance(5) ? random.Between(-10, -1) : random.Between(0, kCalendarDays + 2));
        const Date to = AddDays(from, random.Between(-3, 800));
        std::optional<EntryPlan> plan;
        switch (round % 4) {
        case 0:
            plan = PlanDaily(store, from, to, random.Chance(70) ? 1 : random.Between(2, 730), text);
            break;
        case 1:
            plan = PlanWeekly(store, from, to, random.Between(0, 6), random.Chance(50), text);
            break;
        case 2:
            plan = PlanMonthly(store, from, to, random.Chance(40), text);
            break;
        default:
            plan = PlanYearly(store, from, text);
        }
        if (!plan)
            continue;
        ++applied;
        const bool automatic = random.Chance(70);
        std::filesystem::remove(data_.fdat());
        std::filesystem::remove(data_.rdat());
        const DayStore before = store;
        const PlanEffect effect = EvaluatePlan(store, *plan, automatic);
        EntryOutcome outcome;
        const ChangeReport report = RunOperation(store, data_,
            [&](DocumentEdit& edit) { outcome = ApplyEntryPlan(edit, *plan, text, automatic); });
        ASSERT_TRUE(outcome.error.has_value());

        std::vector<int> changed;
        for (const DayChange& day : report.days) {
            changed.push_back(day.slot);
            EXPECT_EQ(day.after,
                before[day.slot].substr(0, kDateKeyLength) + text + kEntrySeparator
                    + before[day.slot].substr(kDateKeyLength));
        }
        EXPECT_EQ(changed, effect.inserted);
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            if (!report.Touches(slot)) {
                ASSERT_EQ(store[slot], before[slot]) << slot;
            }
        }
        EXPECT_EQ(outcome.refused, effect.refused);
        std::string log;
        for (int slot : effect.refused) {
            EXPECT_GE(EntryCount(before[slot]), kMaxEntries);
            log += ErrorLogLine(before[slot], text);
        }
        EXPECT_EQ(AppendedTo(report, data_.rdat()), log);
        EXPECT_EQ(effect.record_due, automatic && effect.refused.size() <= 104u);
        EXPECT_EQ(std::filesystem::exists(data_.fdat()), automatic); // opened first, if at all
        EXPECT_EQ(AppendedTo(report, data_.fdat()),
            effect.record_due ? plan->record + std::string(kRecordEnd) : "");

        const PlanPreview preview = PreviewEntryPlan(before, *plan, automatic);
        EXPECT_EQ(preview.changed, changed);
        EXPECT_EQ(preview.full, outcome.refused);
        EXPECT_EQ(preview.summary.find("Automatic Update keeps no record") != std::string::npos,
            automatic && !outcome.record_appended);
        const std::vector<DayMark> marks = RangeMarks(preview);
        const auto mark = [&](int slot) {
            return marks.at(static_cast<std::size_t>(slot - preview.first_slot));
        };
        for (int slot : outcome.refused)
            EXPECT_EQ(mark(slot), DayMark::kFull);
        for (int slot : changed)
            EXPECT_EQ(mark(slot), DayMark::kChanged);
        EXPECT_EQ(std::count(marks.begin(), marks.end(), DayMark::kChanged),
            static_cast<std::ptrdiff_t>(changed.size()));
        over_refusal_limit += automatic && effect.refused.size() > 104u;
    }
    // The rounds reached the cases that matter.
    EXPECT_GT(applied, 200);
    EXPECT_GT(over_refusal_limit, 0);
}

} // namespace
} // namespace orvane
