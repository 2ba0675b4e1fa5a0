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

Date D(int y, unsigned m, unsigned d) {
    return Date { std::chrono::year(y), std::chrono::month(m), std::chrono::day(d) };
}

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
    change.kind = FileChange::Kind::kReplaced;
    change.path = path;
    change.before = std::move(before);
    change.after = std::move(after);
    return change;
}

// An empty data folder and bare keys from Sunday 7 January 2024 unless a test starts elsewhere.
class EntryChangesTest : public ::testing::Test {
protected:
    void SetUp() override {
        data_.dir = std::filesystem::temp_directory_path() / "orvane_entry_changes_test";
        std::filesystem::remove_all(data_.dir);
        std::filesystem::create_directories(data_.dir);
        StartOn(D(2024, 1, 7));
    }
    void TearDown() override { std::filesystem::remove_all(data_.dir); }

    void StartOn(const Date& first) { NewCalendar(first, store_); }
    Date DateOf(int slot) const { return *ParseDateKey(store_[slot]); }
    Date Last() const { return DateOf(kLastShownSlot); }
    void Fill(int slot) { store_[slot] += std::string(20, '\a'); }
    std::string Fdat() const { return ReadWholeFile(data_.fdat()).value_or(""); }
    // The keys of the days whose first entry is `text`.
    Strings KeysStartingWith(const std::string& text) const {
        Strings keys;
        for (int slot = 1; slot <= kCalendarDays; ++slot) {
            if (store_[slot].compare(11, text.size() + 1, text + kEntrySeparator) == 0)
                keys.push_back(store_[slot].substr(0, 11));
        }
        return keys;
    }
    Strings Keys(const EntryPlan& plan, bool inserted_only = false) const {
        Strings keys;
        for (const DayVisit& visit : plan.visits) {
            if (visit.insert || !inserted_only)
                keys.push_back(store_[visit.slot].substr(0, 11));
        }
        return keys;
    }
    // One OK of an entry dialog: the plan applied as one operation, its report kept in report_.
    EntryOutcome Apply(const std::optional<EntryPlan>& plan, bool automatic = true,
        const std::string& text = "x") {
        EXPECT_TRUE(plan);
        EntryOutcome outcome;
        if (plan) {
            report_ = RunOperation(store_, data_, [&](DocumentEdit& edit) {
                outcome = ApplyEntryPlan(edit, *plan, text, automatic);
            });
        }
        return outcome;
    }
    // One OK of the delete dialog: the records are read first (an unreadable file refuses the
    // delete before any day changes), then the plan is made and done as one operation.
    DeleteOutcome Delete(const std::string& text, bool discontinue) {
        std::string records;
        if (discontinue) {
            Result<std::string> read = RecordsForDelete(data_);
            if (!read) {
                DeleteOutcome refused;
                refused.error = read.error();
                return refused;
            }
            records = std::move(*read);
        }
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

TEST_F(EntryChangesTest, DailyAnchorsOnTheLastDayWrittenAndNeedsTheFromDayInTheCalendar) {
    store_[2] += "Old\a";
    const EntryOutcome done = Apply(PlanDaily(store_, DateOf(2), Last(), 7, "x"));
    ASSERT_TRUE(done.error.has_value());
    Strings mondays;
    for (int slot = 2; slot <= kLastShownSlot; slot += 7)
        mondays.push_back(store_[slot].substr(0, 11));
    EXPECT_EQ(KeysStartingWith("x"), mondays);
    EXPECT_EQ(store_[2], "Jan/8 /2024x\aOld\a");
    EXPECT_EQ(Fdat(), "D" + mondays.back() + "007  x\r\n\r\n");

    const auto plan = PlanDaily(store_, Last(), Last(), 1, "x");
    EXPECT_EQ(Keys(*plan), Strings { DateKey(Last()) });
    EXPECT_EQ(plan->record, "D" + DateKey(Last()) + "001  x");
    EXPECT_FALSE(PlanDaily(store_, D(2023, 1, 1), DateOf(20), 1, "x"));
}

TEST_F(EntryChangesTest, WeeklySecondTuesdayOfTheBeginMonthOnly) {
    StartOn(D(2001, 3, 4)); // the calendar ends before the second Tuesday of March 2003
    const auto plan = PlanWeekly(store_, D(2001, 3, 13), Last(), 2, true, "text");
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->record, "W3203  text");
    ASSERT_TRUE(Apply(plan, true, "text").error.has_value());
    EXPECT_EQ(KeysStartingWith("text"), (Strings { "Mar/13/2001", "Mar/12/2002" }));
    EXPECT_EQ(Fdat(), "W3203  text\r\n\r\n");
}

TEST_F(EntryChangesTest, WeeklyChecksEveryDayOfTheWeekdayButInsertsOnlyThePicked) {
    EXPECT_EQ(Keys(*PlanWeekly(store_, D(2024, 3, 1), D(2024, 3, 31), 6, false, "t"), true),
        Strings { "Mar/29/2024" });
    const auto feb_fifth = PlanWeekly(store_, D(2024, 2, 2), D(2024, 2, 29), 5, false, "t");
    EXPECT_TRUE(Keys(*feb_fifth, true).empty());
    EXPECT_EQ(feb_fifth->visits.size(), 4u);

    const int third_friday = *FindSlot(store_, D(2024, 3, 15));
    Fill(third_friday);
    const auto done = Apply(PlanWeekly(store_, D(2024, 3, 1), D(2024, 3, 31), 1, false, "t"));
    EXPECT_EQ(done.refused, std::vector<int> { third_friday });
    EXPECT_EQ(KeysStartingWith("x"), Strings { "Mar/1 /2024" });
}

TEST_F(EntryChangesTest, MonthlyLastDayFromTheFifteenthOfMarch) {
    const auto plan = PlanMonthly(store_, D(2024, 3, 15), Last(), true, "x");
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->record, "MEM    x");
    const auto keys = Keys(*plan);
    EXPECT_EQ(Strings(keys.begin(), keys.begin() + 3),
        (Strings { "Mar/31/2024", "Apr/30/2024", "May/31/2024" }));
    EXPECT_EQ(keys.at(11), "Feb/28/2025");
}

TEST_F(EntryChangesTest, YearlyThirtyFirstOfOctoberAndABeginOutsideTheCalendar) {
    const auto plan = PlanYearly(store_, D(2024, 10, 31), "text");
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->record, "YOct/31text");
    ASSERT_TRUE(Apply(plan, false, "text").error.has_value());
    EXPECT_EQ(KeysStartingWith("text"), (Strings { "Oct/31/2024", "Oct/31/2025" }));
    EXPECT_FALSE(std::filesystem::exists(data_.fdat())); // unchecked: no record
    EXPECT_FALSE(PlanYearly(store_, D(2023, 12, 31), "x"));
    EXPECT_FALSE(PlanYearly(store_, DateOf(736), "x"));
    EXPECT_TRUE(PlanYearly(store_, Last(), "x"));
}

TEST_F(EntryChangesTest, RecordNeedsAtMostOneHundredFourRefusals) {
    for (int refused : { 104, 105 }) {
        StartOn(D(2024, 1, 7));
        std::filesystem::remove(data_.fdat());
        for (int slot = 1; slot <= refused; ++slot)
            Fill(slot);
        const EntryOutcome done = Apply(PlanDaily(store_, DateOf(1), DateOf(200), 1, "x"));
        EXPECT_EQ(static_cast<int>(done.refused.size()), refused);
        EXPECT_EQ(Fdat().empty(), refused == 105);
        EXPECT_EQ(store_[refused + 1].substr(11), "x\a");
    }
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
    EXPECT_EQ(KeysStartingWith("x"), (Strings { "Jan/7 /2024", "Jan/8 /2024" }));
    EXPECT_TRUE(done.refused.empty()); // its log line was never written: no "see Error Log" box
    EXPECT_EQ(Fdat(), "");
    // The report holds what did change: the two days and the record file it created.
    ASSERT_EQ(report_.days.size(), 2u);
    EXPECT_EQ(report_.days[1].slot, 2);
    EXPECT_EQ(report_.files, std::vector<FileChange> { Appended(data_.fdat(), 0, "", true) });
}

// The report of a daily entry with automatic update, every 3 days from 7 to 22 January with the
// 10th and the 19th full: the days that got the entry with their old and new text, one error-log
// line per refused day, the record appended at the old end of fdat.ovd; a missing file is
// reported as created.
TEST_F(EntryChangesTest, EntryReportListsTheChangedDaysTheRefusalsAndTheRecord) {
    const std::string old_log = "Jan/1 /2024 y  (Error - Date NOT Updated)\r\n";
    const std::string old_records = "M5     y\r\n\r\n";
    const std::string log_10 = "Jan/10/2024 x  (Error - Date NOT Updated)\r\n";
    const std::string log_19 = "Jan/19/2024 x  (Error - Date NOT Updated)\r\n";
    const std::string record = "DJan/22/2024003  x\r\n\r\n";
    for (const bool files_exist : { true, false }) {
        SCOPED_TRACE(files_exist ? "with fdat.ovd and rdat.ovd" : "without them");
        std::filesystem::remove(data_.fdat());
        std::filesystem::remove(data_.rdat());
        if (files_exist) {
            ASSERT_TRUE(WriteFileAtomic(data_.rdat(), old_log));
            ASSERT_TRUE(WriteFileAtomic(data_.fdat(), old_records));
        }
        StartOn(D(2024, 1, 7));
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
                { 10, "Jan/16/2024", "Jan/16/2024x\a" },
                { 16, "Jan/22/2024", "Jan/22/2024x\a" } }));
        EXPECT_FALSE(report_.window_moved());
        const std::uintmax_t log_size = files_exist ? old_log.size() : 0;
        std::vector<FileChange> files;
        if (!files_exist)
            files.push_back(Appended(data_.fdat(), 0, "", true)); // opened first, created empty
        files.push_back(Appended(data_.rdat(), log_size, log_10, !files_exist));
        files.push_back(Appended(data_.rdat(), log_size + log_10.size(), log_19));
        files.push_back(Appended(data_.fdat(), files_exist ? old_records.size() : 0, record));
        EXPECT_EQ(report_.files, files);
        EXPECT_EQ(Fdat(), (files_exist ? old_records : "") + record);
    }
}

// Without automatic update fdat.ovd is never opened: the report holds the days and the
// refusals only.
TEST_F(EntryChangesTest, EntryWithoutAutomaticUpdateReportsNoRecordFile) {
    Fill(2);
    const EntryOutcome done = Apply(PlanDaily(store_, DateOf(1), DateOf(3), 1, "x"), false);
    ASSERT_TRUE(done.error.has_value());
    ASSERT_EQ(report_.days.size(), 2u);
    EXPECT_EQ(report_.days[0].slot, 1);
    EXPECT_EQ(report_.days[1].slot, 3);
    EXPECT_EQ(report_.files,
        std::vector<FileChange> {
            Appended(data_.rdat(), 0, "Jan/8 /2024 x  (Error - Date NOT Updated)\r\n", true) });
    EXPECT_FALSE(std::filesystem::exists(data_.fdat()));
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
    EXPECT_EQ(KeysStartingWith("Gym"), (Strings { "Jan/10/2024", store_[736].substr(0, 11) }));
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
    EXPECT_EQ(PlanDelete(DayStore(), 1, 735, "Jan", true, fdat).discontinued,
        (Strings { "W1000  Jan meeting", "junk Jan line" }));
}

TEST_F(EntryChangesTest, DeleteRewritesRecordsThroughTheWorkFileOnlyWhenChecked) {
    store_[3] += "Dentist\aDentist\aGym\a";
    ASSERT_TRUE(Delete("Gym", false).error.has_value());
    EXPECT_EQ(store_[3], "Jan/9 /2024Dentist\aDentist\a");
    EXPECT_FALSE(std::filesystem::exists(data_.wdat()));
    std::filesystem::create_directories(data_.fdat()); // unreadable: no day changes
    const DeleteOutcome refused = Delete("Dentist", true);
    ASSERT_FALSE(refused.error);
    EXPECT_EQ(refused.error.error().io->path, data_.fdat());
    EXPECT_EQ(store_[3], "Jan/9 /2024Dentist\aDentist\a");

    std::filesystem::remove(data_.fdat());
    ASSERT_TRUE(WriteFileAtomic(data_.fdat(), "M5     Dentist\r\n\r\nM6     Gym\r\n\r\n"));
    const DeleteOutcome done = Delete("Dentist", true);
    ASSERT_TRUE(done.error.has_value());
    EXPECT_EQ(done.days_changed, 1);
    EXPECT_EQ(store_[3], "Jan/9 /2024");
    EXPECT_EQ(Fdat(), "M6     Gym\r\n\r");
    EXPECT_EQ(ReadWholeFile(data_.wdat()).value_or(""), "M6     Gym\r\n\r");
    std::filesystem::remove(data_.fdat()); // a missing file holds no records
    ASSERT_TRUE(Delete("Gym", true).error.has_value());
    EXPECT_EQ(Fdat(), "\r");
}

// The report of a delete: the days with their old and new text, then wdat.ovd and fdat.ovd with
// their old bytes (none for a work file that was not there) and the kept records.
TEST_F(EntryChangesTest, DeleteReportListsTheDaysAndBothRecordFilesWithTheirBytes) {
    const std::string records = "M5     Dentist\r\n\r\nW1000  Gym\r\n\r\n";
    const std::string kept = "M5     Dentist\r\n\r";
    for (const char* old_work : { static_cast<const char*>(nullptr), "old work\r" }) {
        SCOPED_TRACE(old_work ? "over an old work file" : "without a work file");
        std::filesystem::remove(data_.wdat());
        if (old_work) {
            ASSERT_TRUE(WriteFileAtomic(data_.wdat(), old_work));
        }
        ASSERT_TRUE(WriteFileAtomic(data_.fdat(), records));
        StartOn(D(2024, 1, 7));
        store_[3] += "Dentist\aGym\a";
        store_[5] += "Gym\a";
        store_[9] += "Gym at 5\a";
        ASSERT_TRUE(Delete("Gym", true).error.has_value());
        EXPECT_EQ(report_.kind, OperationKind::kDeleteEntries);
        EXPECT_EQ(report_.days,
            (std::vector<DayChange> { { 3, "Jan/9 /2024Dentist\aGym\a", "Jan/9 /2024Dentist\a" },
                { 5, "Jan/11/2024Gym\a", "Jan/11/2024" } }));
        const std::optional<std::string> work_before
            = old_work ? std::optional<std::string>(old_work) : std::nullopt;
        EXPECT_EQ(report_.files,
            (std::vector<FileChange> { Replaced(data_.wdat(), work_before, kept),
                Replaced(data_.fdat(), records, kept) }));
    }

    // A work file that cannot be written: the days are changed and reported, the records stay.
    std::filesystem::remove(data_.wdat());
    std::filesystem::create_directories(data_.wdat());
    ASSERT_TRUE(WriteFileAtomic(data_.fdat(), records));
    store_[4] += "Gym\a";
    const DeleteOutcome done = Delete("Gym", true);
    ASSERT_FALSE(done.error);
    EXPECT_EQ(done.error.error().io->path, data_.wdat());
    EXPECT_EQ(done.days_changed, 1);
    ASSERT_EQ(report_.days.size(), 1u);
    EXPECT_EQ(report_.days[0].slot, 4);
    EXPECT_TRUE(report_.files.empty());
    EXPECT_EQ(Fdat(), records);
}

} // namespace
} // namespace orvane
