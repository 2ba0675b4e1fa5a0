// The previews the entry and delete dialogs show are the pure plans (EvaluatePlan, PlanDelete)
// and what the panel makes of them (PreviewEntryPlan, PreviewDeletePlan); these checks run random
// plans on random stores and hold each preview against what the operation then does.
#include "core/day_file.h"
#include "core/entry_limit.h"
#include "core/testing/document_testing.h"
#include "core/text_file.h"
#include "recurring/delete_entry.h"
#include "recurring/preview.h"
#include "recurring/recurring_record.h"
#include "recurring/scheduling.h"
#include "recurring/tests/random_calendar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace orvane {
namespace {

constexpr int kRounds = 150; // per plan kind
constexpr int kDeleteRounds = 60; // each writes two files to disk

class PlanPreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        data_.dir = std::filesystem::temp_directory_path() / "orvane_plan_preview_test";
        std::filesystem::remove_all(data_.dir);
        std::filesystem::create_directories(data_.dir);
    }
    void TearDown() override { std::filesystem::remove_all(data_.dir); }

    // The bytes a report shows appended to `path`, in order.
    std::string AppendedTo(const ChangeReport& report, const std::filesystem::path& path) const {
        std::string bytes;
        for (const FileChange& file : report.files) {
            EXPECT_EQ(file.kind, FileChange::Kind::kAppended);
            if (file.path == path)
                bytes += file.appended;
        }
        return bytes;
    }

    DataFolder data_;
};

enum class PlanKind { kDaily, kWeekly, kMonthly, kYearly };

class EvaluatePlanTest : public PlanPreviewTest, public ::testing::WithParamInterface<PlanKind> {
protected:
    std::optional<EntryPlan> RandomPlan(
        RandomCalendar& random, const DayStore& store, const std::string& text) {
        const Date from = random.DateIn(store);
        const Date to = AddDays(from, random.Between(-3, 800));
        switch (GetParam()) {
        case PlanKind::kDaily: {
            int interval = random.Between(1, kMaxInterval);
            if (random.Chance(75))
                interval = random.Chance(60) ? 1 : random.Between(2, 10);
            return PlanDaily(store, from, to, interval, text);
        }
        case PlanKind::kWeekly:
            return PlanWeekly(store, from, to, random.Between(0, 6), random.Chance(50), text);
        case PlanKind::kMonthly:
            return PlanMonthly(store, from, to, random.Chance(40), text);
        case PlanKind::kYearly:
            return PlanYearly(store, from, text);
        }
        return std::nullopt;
    }
};

// The days EvaluatePlan says get the entry are exactly the days ApplyEntryPlan changes, each with
// the text as its new first entry; the days it says are refused are exactly the days logged, in
// order; the record is appended exactly when it says so. No other day changes.
TEST_P(EvaluatePlanTest, PreviewIsWhatTheOperationDoes) {
    RandomCalendar random(1000u + static_cast<unsigned>(GetParam()));
    const Strings words = { "Gym", "Dentist",
        "Tea\xa0"
        "at 5" };
    int applied = 0;
    int with_refusals = 0;
    int over_refusal_limit = 0;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        DayStore store = random.Store(random.Chance(20) ? 60 : 4, words);
        const std::string text = random.Pick(words);
        const std::optional<EntryPlan> plan = RandomPlan(random, store, text);
        if (!plan)
            continue;
        ++applied;
        const bool automatic = random.Chance(70);
        std::filesystem::remove(data_.fdat());
        std::filesystem::remove(data_.rdat());

        const DayStore before = store;
        const PlanEffect effect = EvaluatePlan(store, *plan, automatic);
        // Each visited day is refused when it holds 20 entries or more, else gets the entry when
        // the plan picks it.
        std::vector<int> should_get;
        std::vector<int> should_refuse;
        for (const DayVisit& visit : plan->visits) {
            if (EntryCount(before[visit.slot]) >= 20)
                should_refuse.push_back(visit.slot);
            else if (visit.insert)
                should_get.push_back(visit.slot);
        }
        EXPECT_EQ(effect.inserted, should_get);
        EXPECT_EQ(effect.refused, should_refuse);
        EXPECT_EQ(effect.record_due, automatic && should_refuse.size() <= 104u);
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
        EXPECT_EQ(outcome.days_changed, !effect.inserted.empty());
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            if (!report.Touches(slot)) {
                ASSERT_EQ(store[slot], before[slot]) << slot;
            }
        }

        EXPECT_EQ(outcome.refused, effect.refused);
        std::string log;
        for (int slot : effect.refused)
            log += ErrorLogLine(before[slot], text);
        EXPECT_EQ(AppendedTo(report, data_.rdat()), log);

        EXPECT_EQ(outcome.record_appended, effect.record_due);
        EXPECT_EQ(AppendedTo(report, data_.fdat()),
            effect.record_due ? plan->record + std::string(kRecordEnd) : "");

        // What the dialog's panel shows: the changed and the refused days, each day of the range
        // marked by what happened to it, and the record rule stated exactly when it bit.
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
        // Nothing outside the range changes or is refused.
        for (const DayChange& day : report.days) {
            EXPECT_GE(day.slot, preview.first_slot);
            EXPECT_LE(day.slot, preview.last_slot);
        }
        with_refusals += !effect.refused.empty();
        over_refusal_limit
            += automatic && static_cast<int>(effect.refused.size()) > kMaxRefusalsForRecord;
    }
    // The rounds reached the cases that matter.
    EXPECT_GT(applied, kRounds / 2);
    EXPECT_GT(with_refusals, 10);
    if (GetParam() == PlanKind::kDaily) {
        EXPECT_GT(over_refusal_limit, 0);
    }
}

std::string PlanKindName(const ::testing::TestParamInfo<PlanKind>& info) {
    constexpr std::array<const char*, 4> kNames = { "Daily", "Weekly", "Monthly", "Yearly" };
    return kNames.at(static_cast<std::size_t>(info.param));
}

INSTANTIATE_TEST_SUITE_P(EveryPlanKind, EvaluatePlanTest,
    ::testing::Values(PlanKind::kDaily, PlanKind::kWeekly, PlanKind::kMonthly, PlanKind::kYearly),
    PlanKindName);

// fdat.ovd with valid and invalid records that hold, contain or miss the texts, with and without
// empty lines and with every kind of line end.
std::string RandomRecords(RandomCalendar& random) {
    const Strings lines = { "M5     Gym", "W1000  Gym at 5", "DJan/29/2001007  Dentist",
        "YJan/5 gym", "MEM    Tea", "junk Gym line", "W9999  Gym", "", "" };
    const Strings ends = { "\r\n", "\r", "\n", "\r\n\r\n" };
    std::string bytes;
    for (int n = random.Between(0, 8); n > 0; --n)
        bytes += random.Pick(lines) + random.Pick(ends);
    if (random.Chance(30))
        bytes += random.Pick(lines); // no line end after the last line
    return bytes;
}

// The days PlanDelete names are exactly the days DeleteEntry changes, and they are the days the
// whole-store delete changes over the same range; the records it discontinues and keeps split
// fdat.ovd's lines, and the kept ones are written to wdat.ovd and fdat.ovd.
TEST_F(PlanPreviewTest, DeletePreviewIsWhatTheOperationDoes) {
    RandomCalendar random(77u);
    const Strings words = { "Gym", "gym", "Gym at 5", "Dentist", "xGym" };
    const Strings texts = { "Gym", "gym", "Gym at 5", "Gy", "Dentist", "at 5", "none" };
    int discontinued = 0;
    int days_changed = 0;
    int found_kept = 0;
    for (int round = 0; round < kDeleteRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        DayStore store = random.Store(1, words);
        const std::string text = random.Pick(texts);
        const int first = random.Between(-5, 740);
        const int last = first + random.Between(-3, 745);
        const bool discontinue = random.Chance(60);
        // Without discontinuing, fdat.ovd is neither read nor written.
        const std::string records
            = discontinue ? RandomRecords(random) : ReadWholeFile(data_.fdat()).value_or("");
        if (discontinue) {
            ASSERT_TRUE(WriteFileAtomic(data_.fdat(), records));
            const Result<std::string> read = RecordsForDelete(data_);
            ASSERT_TRUE(read.has_value());
            ASSERT_EQ(*read, records);
        }

        const DayStore before = store;
        const DeletePlan plan = PlanDelete(
            store, first, last, text, discontinue, discontinue ? records : "junk Gym line\r\n");
        DeleteOutcome outcome;
        const ChangeReport report = RunOperation(
            store, data_, [&](DocumentEdit& edit) { outcome = DeleteEntry(edit, plan); },
            OperationKind::kDeleteEntries);
        ASSERT_TRUE(outcome.error.has_value());

        std::vector<int> changed;
        for (const DayChange& day : report.days) {
            changed.push_back(day.slot);
            EXPECT_EQ(day.before, before[day.slot]);
            EXPECT_EQ(day.after, store[day.slot]);
        }
        EXPECT_EQ(changed, plan.days);
        EXPECT_EQ(outcome.days_changed, static_cast<int>(plan.days.size()));
        // The panel marks the changed days, and the days of the range that hold the text in
        // their entries and stay as they were.
        const PlanPreview preview = PreviewDeletePlan(before, plan);
        EXPECT_EQ(preview.changed, changed);
        for (int slot : preview.found_kept) {
            EXPECT_FALSE(report.Touches(slot)) << slot;
            EXPECT_NE(before[slot].find(text, kDateKeyLength), std::string::npos) << slot;
        }
        for (int slot = std::max(first, 1); slot <= std::min(last, kLastShownSlot); ++slot) {
            const bool holds = before[slot].find(text, kDateKeyLength) != std::string::npos;
            const bool kept = std::find(preview.found_kept.begin(), preview.found_kept.end(), slot)
                != preview.found_kept.end();
            EXPECT_EQ(kept, holds && !report.Touches(slot)) << slot;
        }
        found_kept += static_cast<int>(preview.found_kept.size());
        DayStore reference = before;
        EXPECT_EQ(DeleteFromDays(reference, first, last, text), outcome.days_changed);
        for (int slot = 1; slot <= kSlotCount; ++slot)
            ASSERT_EQ(store[slot], reference[slot]) << slot;

        if (!discontinue) {
            EXPECT_TRUE(plan.discontinued.empty());
            EXPECT_TRUE(report.files.empty());
            EXPECT_EQ(ReadWholeFile(data_.fdat()).value_or(""), records);
            continue;
        }
        const std::string kept = RecordsWithout(records, text);
        ASSERT_EQ(report.files.size(), 2u);
        EXPECT_EQ(report.files[0].path, data_.wdat());
        EXPECT_EQ(report.files[0].after, kept);
        EXPECT_EQ(report.files[1].path, data_.fdat());
        EXPECT_EQ(report.files[1].before, records);
        EXPECT_EQ(report.files[1].after, kept);
        EXPECT_EQ(ReadWholeFile(data_.fdat()).value_or(""), kept);
        // Every non-empty line either goes (in plan.discontinued) or stays (in the kept bytes),
        // each list in file order.
        Strings kept_lines;
        for (const std::string& line : RecordFileLines(kept)) {
            if (!line.empty())
                kept_lines.push_back(line);
        }
        std::size_t gone = 0;
        std::size_t stays = 0;
        for (const std::string& line : RecordFileLines(records)) {
            if (line.empty())
                continue;
            if (gone < plan.discontinued.size() && plan.discontinued[gone] == line
                && RecordHolds(line, text))
                ++gone;
            else if (stays < kept_lines.size() && kept_lines[stays] == line)
                ++stays;
            else
                ADD_FAILURE() << "line neither discontinued nor kept: " << line;
        }
        EXPECT_EQ(gone, plan.discontinued.size());
        EXPECT_EQ(stays, kept_lines.size());
        EXPECT_EQ(preview.discontinued, plan.discontinued);
        // Each discontinued record is shown in full among the details.
        for (const std::string& line : plan.discontinued) {
            EXPECT_NE(std::find(preview.details.begin(), preview.details.end(), line),
                preview.details.end());
        }
        discontinued += static_cast<int>(gone);
        days_changed += outcome.days_changed;
    }
    EXPECT_GT(discontinued, 10);
    EXPECT_GT(days_changed, 10);
    EXPECT_GT(found_kept, 10);
}

} // namespace
} // namespace orvane
