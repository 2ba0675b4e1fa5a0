#include "core/day_file.h"
#include "core/entry_limit.h"
#include "core/testing/document_testing.h"
#include "core/text_file.h"
#include "recurring/delete_entry.h"
#include "recurring/scheduling.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using Strings = std::vector<std::string>;

constexpr auto D = MakeDate;

FileChange Appended(const std::filesystem::path& path, std::uintmax_t old_size, std::string bytes,
    bool created = false) {
    FileChange change;
    change.kind = FileChange::Kind::kAppended;
    change.path = path;
    change.old_size = old_size;
    change.created = created;
    change.appended = std::move(bytes);
    return change;
}

FileChange Replaced(
    const std::filesystem::path& path, std::optional<std::string> before, std::string after) {
    FileChange change;
    change.path = path;
    change.before = std::move(before);
    change.after = std::move(after);
    return change;
}

// An empty data folder and bare keys from Sunday 7 January 2024.
class EntryChangesTest : public ::testing::Test {
protected:
    void SetUp() override {
        data_.dir = std::filesystem::temp_directory_path() / "orvane_entry_changes_test";
        std::filesystem::remove_all(data_.dir);
        std::filesystem::create_directories(data_.dir);
        NewCalendar(D(2024, 1, 7), store_);
    }
    void TearDown() override { std::filesystem::remove_all(data_.dir); }

    Date DateOf(int slot) const { return *ParseDateKey(store_[slot]); }
    Date Last() const { return DateOf(kLastShownSlot); }
    void Fill(int slot) { store_[slot] += std::string(20, '\a'); }
    std::string Fdat() const { return ReadWholeFile(data_.fdat()).value_or(""); }
    Strings InsertedKeys(const EntryPlan& plan) const {
        Strings keys;
        for (const DayVisit& visit : plan.visits) {
            if (visit.insert)
                keys.push_back(store_[visit.slot].substr(0, 11));
        }
        return keys;
    }
    // One OK of an entry dialog: the plan applied as one operation, its report kept in report_.
    EntryOutcome Apply(const std::optional<EntryPlan>& plan) {
        EntryOutcome outcome;
        report_ = RunOperation(store_, data_,
            [&](DocumentEdit& edit) { outcome = ApplyEntryPlan(edit, plan.value(), "x", true); });
        return outcome;
    }
    // One OK of the delete dialog: the records are read first, then the plan is made and done as
    // one operation.
    DeleteOutcome Delete(const std::string& text, bool discontinue) {
        const std::string records = discontinue ? RecordsForDelete(data_).value_or("") : "";
        DeleteOutcome outcome;
        report_ = RunOperation(
            store_, data_,
            [&](DocumentEdit& edit) {
                outcome = DeleteEntry(
                    edit, PlanDelete(edit.store(), 1, kLastShownSlot, text, discontinue, records));
            },
            OperationKind::kDeleteEntries);
        return outcome;
    }

    DataFolder data_;
    DayStore store_;
    ChangeReport report_;
};

// Each kind of plan from its From day to the calendar's last day: the days it inserts into and
// the record it writes (a daily record anchors on the last day written).
TEST_F(EntryChangesTest, PlansOfEveryKindStayInTheCalendarAndWriteTheirRecord) {
    const struct {
        std::optional<EntryPlan> plan;
        const char* record;
        std::size_t count;
        const char* first_key;
        const char* last_key;
    } cases[] = {
        { PlanDaily(store_, D(2024, 1, 8), Last(), 7, "x"), "DJan/5 /2026007  x", 105,
            "Jan/8 /2024", "Jan/5 /2026" },
        // The second Tuesday of January 2026 falls after the calendar's last day.
        { PlanWeekly(store_, D(2024, 1, 9), Last(), 2, true, "x"), "W3201  x", 2, "Jan/9 /2024",
            "Jan/14/2025" },
        { PlanMonthly(store_, D(2024, 3, 15), Last(), true, "x"), "MEM    x", 22, "Mar/31/2024",
            "Dec/31/2025" },
        { PlanYearly(store_, D(2024, 10, 31), "x"), "YOct/31x", 2, "Oct/31/2024", "Oct/31/2025" },
        { PlanYearly(store_, D(2024, 2, 29), "x"), "YFeb/29x", 1, "Feb/29/2024", "Feb/29/2024" },
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.plan) << c.record;
        EXPECT_EQ(c.plan->record, c.record);
        const Strings keys = InsertedKeys(*c.plan);
        ASSERT_EQ(keys.size(), c.count) << c.record;
        EXPECT_EQ(keys.front(), c.first_key) << c.record;
        EXPECT_EQ(keys.back(), c.last_key) << c.record;
    }
    EXPECT_FALSE(PlanDaily(store_, D(2023, 1, 1), DateOf(20), 1, "x"));
    EXPECT_FALSE(PlanYearly(store_, D(2023, 12, 31), "x"));
    EXPECT_FALSE(PlanYearly(store_, DateOf(736), "x"));
}

TEST_F(EntryChangesTest, RecordFileIsOpenedFirstCreatedIfMissingAndAppendedAfterACarriageReturn) {
    const auto plan = PlanMonthly(store_, D(2024, 2, 5), D(2024, 2, 29), false, "x");
    ASSERT_TRUE(Apply(plan).record_appended);
    EXPECT_EQ(Fdat(), "M5     x\r\n\r\n");
    ASSERT_TRUE(WriteFileAtomic(data_.fdat(), "M5     x\r\n\r"));
    ASSERT_TRUE(Apply(plan).record_appended);
    EXPECT_EQ(Fdat(), "M5     x\r\n\rM5     x\r\n\r\n");

    std::filesystem::remove(data_.fdat());
    std::filesystem::create_directories(data_.fdat());
    const EntryOutcome done = Apply(PlanDaily(store_, DateOf(1), DateOf(30), 1, "x"));
    ASSERT_FALSE(done.error.has_value());
    EXPECT_EQ(done.error.error().io->path, data_.fdat());
    EXPECT_NE(done.error.error().note.find("No day was changed"), std::string::npos);
    EXPECT_EQ(store_[1], "Jan/7 /2024");
    EXPECT_TRUE(report_.empty());
}

TEST_F(EntryChangesTest, FailedErrorLogEndsTheWalkAtThatDay) {
    std::filesystem::create_directories(data_.rdat());
    Fill(3);
    const EntryOutcome done = Apply(PlanDaily(store_, DateOf(1), DateOf(10), 1, "x"));
    ASSERT_FALSE(done.error.has_value());
    EXPECT_EQ(done.error.error().io->path, data_.rdat());
    EXPECT_NE(done.error.error().note.find("were written"), std::string::npos);
    EXPECT_EQ(store_[2], "Jan/8 /2024x\a");
    EXPECT_EQ(store_[4], "Jan/10/2024");
    EXPECT_TRUE(done.refused.empty()); // its log line was never written: no "see Error Log" box
    EXPECT_EQ(Fdat(), "");
    // The report holds what did change: the two days and the record file it created.
    ASSERT_EQ(report_.days.size(), 2u);
    EXPECT_EQ(report_.days[1].slot, 2);
    EXPECT_EQ(report_.files, std::vector<FileChange> { Appended(data_.fdat(), 0, "", true) });
}

// The report of a daily entry with automatic update, every 3 days from 7 to 22 January with the
// 10th and the 19th full: the days that got the entry with their old and new text, one error-log
// line per refused day, the record appended at the old end of fdat.ovd.
TEST_F(EntryChangesTest, EntryReportListsTheChangedDaysTheRefusalsAndTheRecord) {
    const std::string old_log = "Jan/1 /2024 y  (Error - Date NOT Updated)\r\n";
    const std::string old_records = "M5     y\r\n\r\n";
    const std::string log_10 = "Jan/10/2024 x  (Error - Date NOT Updated)\r\n";
    const std::string record = "DJan/22/2024003  x\r\n\r\n";
    ASSERT_TRUE(WriteFileAtomic(data_.rdat(), old_log));
    ASSERT_TRUE(WriteFileAtomic(data_.fdat(), old_records));
    store_[7] += "Old\a";
    Fill(4);
    Fill(13);
    const std::string full_10 = store_[4];
    const EntryOutcome done = Apply(PlanDaily(store_, DateOf(1), DateOf(16), 3, "x"));
    ASSERT_TRUE(done.error.has_value());
    EXPECT_EQ(done.refused, (std::vector<int> { 4, 13 }));
    EXPECT_EQ(store_[4], full_10);
    EXPECT_EQ(report_.days,
        (std::vector<DayChange> { { 1, "Jan/7 /2024", "Jan/7 /2024x\a" },
            { 7, "Jan/13/2024Old\a", "Jan/13/2024x\aOld\a" },
            { 10, "Jan/16/2024", "Jan/16/2024x\a" }, { 16, "Jan/22/2024", "Jan/22/2024x\a" } }));
    EXPECT_EQ(report_.files,
        (std::vector<FileChange> { Appended(data_.rdat(), old_log.size(), log_10),
            Appended(data_.rdat(), old_log.size() + log_10.size(),
                "Jan/19/2024 x  (Error - Date NOT Updated)\r\n"),
            Appended(data_.fdat(), old_records.size(), record) }));
    EXPECT_EQ(Fdat(), old_records + record);
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
        store_[slot] += "Gym\a";
    const DeletePlan plan = PlanDelete(store_, 5, 740, "Gym", false, "");
    EXPECT_EQ(plan.days, (std::vector<int> { 5, 6 }));
    EXPECT_EQ(DeleteFromDays(store_, 5, 740, "Gym"), 2);
    EXPECT_EQ(store_[4], "Jan/10/2024Gym\a");
    EXPECT_TRUE(store_[736].ends_with("Gym\a"));
}

TEST(RecordsWithout, MatchesOnlyTheEntryTextOfValidRecordsAndEndsInOneCarriageReturn) {
    const std::string fdat = "DJan/29/2001007  Gym\r\n\r\nYJan/5 Party\r\n\r\n"
                             "W1000  Jan meeting\r\n\r\nM5     Rent\r\n\r\njunk Jan line\r\n\r\n";
    EXPECT_EQ(
        RecordsWithout(fdat, "Jan"), "DJan/29/2001007  Gym\r\nYJan/5 Party\r\nM5     Rent\r\n\r");
    EXPECT_EQ(RecordsWithout(fdat, "gym"), RecordsWithout(fdat, "zzz")); // case-sensitive
    EXPECT_EQ(RecordsWithout("", "x"), "\r");
    EXPECT_EQ(PlanDelete(DayStore(), 1, 735, "Jan", true, fdat).discontinued,
        (Strings { "W1000  Jan meeting", "junk Jan line" }));
}

// A delete that discontinues reads fdat.ovd first (a missing file holds no records, one that
// cannot be read refuses the delete), then writes the kept records to wdat.ovd and fdat.ovd; the
// report holds the days with their old and new text and both files with their old bytes. A work
// file that cannot be written leaves the records as they were.
TEST_F(EntryChangesTest, DeleteRewritesTheRecordsThroughTheWorkFileAndReportsBoth) {
    EXPECT_EQ(RecordsForDelete(data_).value_or("?"), "");
    std::filesystem::create_directories(data_.fdat());
    EXPECT_FALSE(RecordsForDelete(data_));
    std::filesystem::remove(data_.fdat());

    const std::string records = "M5     Dentist\r\n\r\nW1000  Gym\r\n\r\n";
    const std::string kept = "M5     Dentist\r\n\r";
    ASSERT_TRUE(WriteFileAtomic(data_.fdat(), records));
    ASSERT_TRUE(WriteFileAtomic(data_.wdat(), "old work\r"));
    store_[3] += "Dentist\aGym\a";
    store_[5] += "Gym\a";
    store_[9] += "Gym at 5\a";
    ASSERT_TRUE(Delete("Gym", true).error.has_value());
    EXPECT_EQ(report_.days,
        (std::vector<DayChange> { { 3, "Jan/9 /2024Dentist\aGym\a", "Jan/9 /2024Dentist\a" },
            { 5, "Jan/11/2024Gym\a", "Jan/11/2024" } }));
    EXPECT_EQ(report_.files,
        (std::vector<FileChange> {
            Replaced(data_.wdat(), "old work\r", kept), Replaced(data_.fdat(), records, kept) }));
    EXPECT_EQ(Fdat(), kept);
    ASSERT_TRUE(Delete("Dentist", false).error.has_value());
    EXPECT_TRUE(report_.files.empty());
    EXPECT_EQ(Fdat(), kept);

    std::filesystem::remove(data_.wdat());
    std::filesystem::create_directories(data_.wdat());
    store_[4] += "Dentist\a";
    const DeleteOutcome done = Delete("Dentist", true);
    ASSERT_FALSE(done.error);
    EXPECT_EQ(done.error.error().io->path, data_.wdat());
    ASSERT_EQ(report_.days.size(), 1u);
    EXPECT_EQ(report_.days[0].slot, 4);
    EXPECT_TRUE(report_.files.empty());
    EXPECT_EQ(Fdat(), kept);
}

} // namespace
} // namespace orvane
