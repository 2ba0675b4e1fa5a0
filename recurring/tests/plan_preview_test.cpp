// The previews the entry and delete dialogs show are the pure plans (EvaluatePlan, PlanDelete)
// and what the panel makes of them; these checks run random plans on seeded random calendars and
// hold each preview against what the operation then does.
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
            EXPECT_EQ(day.before, before[day.slot]);
            EXPECT_EQ(day.after,
                day.before.substr(0, kDateKeyLength) + text + kEntrySeparator
                    + day.before.substr(kDateKeyLength));
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
        ASSERT_EQ(static_cast<int>(marks.size()),
            std::max(0, preview.last_slot - preview.first_slot + 1));
        for (int slot = preview.first_slot; slot <= preview.last_slot; ++slot) {
            const bool refused = std::find(outcome.refused.begin(), outcome.refused.end(), slot)
                != outcome.refused.end();
            const DayMark expected = report.Touches(slot) ? DayMark::kChanged
                : refused                                 ? DayMark::kFull
                                                          : DayMark::kInRange;
            ASSERT_EQ(marks[static_cast<std::size_t>(slot - preview.first_slot)], expected) << slot;
        }
        over_refusal_limit += automatic && effect.refused.size() > 104u;
    }
    // The rounds reached the cases that matter.
    EXPECT_GT(applied, 200);
    EXPECT_GT(over_refusal_limit, 0);
}

// The days PlanDelete names are exactly the days DeleteEntry changes and the whole-store delete
// changes over the same range; the panel marks as kept exactly the days of the range that hold
// the text inside longer entries; the records it lists are the ones that go from fdat.ovd.
TEST_F(PlanPreviewTest, DeletePreviewIsWhatTheOperationDoes) {
    RandomCalendar random(77u);
    const Strings words = { "Gym", "gym", "Gym at 5", "Dentist", "xGym" };
    const Strings texts = { "Gym", "gym", "Gym at 5", "Gy", "Dentist", "none" };
    const Strings records = { "M5     Gym", "W1000  Gym at 5", "YJan/5 gym", "junk Gym line", "" };
    int found_kept = 0;
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        DayStore store = random.Store(1, words);
        const std::string text = random.Pick(texts);
        const int first = random.Between(-5, 740);
        const int last = first + random.Between(-3, 745);
        const bool discontinue = random.Chance(60);
        std::string fdat;
        for (int n = random.Between(0, 6); n > 0; --n)
            fdat += random.Pick(records) + (random.Chance(50) ? "\r\n" : "\r");
        ASSERT_TRUE(WriteFileAtomic(data_.fdat(), fdat));

        const DayStore before = store;
        const DeletePlan plan = PlanDelete(store, first, last, text, discontinue, fdat);
        DeleteOutcome outcome;
        const ChangeReport report = RunOperation(
            store, data_, [&](DocumentEdit& edit) { outcome = DeleteEntry(edit, plan); },
            OperationKind::kDeleteEntries);
        ASSERT_TRUE(outcome.error.has_value());

        std::vector<int> changed;
        for (const DayChange& day : report.days) {
            changed.push_back(day.slot);
            EXPECT_EQ(day.after, store[day.slot]);
        }
        EXPECT_EQ(changed, plan.days);
        DayStore reference = before;
        EXPECT_EQ(DeleteFromDays(reference, first, last, text), outcome.days_changed);
        for (int slot = 1; slot <= kSlotCount; ++slot)
            ASSERT_EQ(store[slot], reference[slot]) << slot;

        const PlanPreview preview = PreviewDeletePlan(before, plan);
        EXPECT_EQ(preview.changed, changed);
        for (int slot = std::max(first, 1); slot <= std::min(last, kLastShownSlot); ++slot) {
            const bool holds = before[slot].find(text, kDateKeyLength) != std::string::npos;
            const bool kept = std::find(preview.found_kept.begin(), preview.found_kept.end(), slot)
                != preview.found_kept.end();
            EXPECT_EQ(kept, holds && !report.Touches(slot)) << slot;
        }
        found_kept += static_cast<int>(preview.found_kept.size());
        EXPECT_EQ(preview.discontinued, plan.discontinued);
        const std::string kept = discontinue ? RecordsWithout(fdat, text) : fdat;
        EXPECT_EQ(ReadWholeFile(data_.fdat()).value_or(""), kept);
        EXPECT_EQ(report.files.empty(), !discontinue);
        std::size_t holding = 0;
        for (const std::string& line : RecordFileLines(fdat))
            holding += discontinue && !line.empty() && RecordHolds(line, text);
        EXPECT_EQ(plan.discontinued.size(), holding);
        for (const std::string& line : plan.discontinued) {
            EXPECT_TRUE(RecordHolds(line, text)) << line;
            EXPECT_NE(std::find(preview.details.begin(), preview.details.end(), line),
                preview.details.end());
        }
    }
    EXPECT_GT(found_kept, 10);
}

} // namespace
} // namespace orvane
