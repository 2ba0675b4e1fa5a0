// The preview the entry dialogs show is the pure plan (EvaluatePlan) and what the panel makes of
// it; this check runs random plans on seeded random calendars and holds each preview against what
// the operation then does.
#include "core/day_file.h"
#include "core/entry_limit.h"
#include "core/testing/document_testing.h"
#include "core/text_file.h"
#include "recurring/preview.h"
#include "recurring/scheduling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace orvane {
namespace {

using Strings = std::vector<std::string>;

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
