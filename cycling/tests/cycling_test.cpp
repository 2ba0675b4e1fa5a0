#include "core/day_file.h"
#include "core/testing/document_testing.h"
#include "core/text_file.h"
#include "cycling/archive_file.h"
#include "cycling/calendar_cycle.h"
#include "recurring/recurring_record.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace orvane {
namespace {

const auto D = [](int y, unsigned m, unsigned d) { return Date { std::chrono::year(y) / m / d }; };

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

class CycleTest : public ::testing::Test {
protected:
    void SetUp() override {
        data_.dir = std::filesystem::path(testing::TempDir()) / "orvane_cycling_test";
        std::filesystem::remove_all(data_.dir);
        std::filesystem::create_directories(data_.dir);
        NewCalendar(D(2024, 1, 7), store_);
    }
    void TearDown() override { std::filesystem::remove_all(data_.dir); }
    std::string File(const std::filesystem::path& path) const {
        return ReadWholeFile(path).value_or("");
    }
    std::string Day(int slot) const { return store_[slot]; }

    // The confirmed cycle as one operation; its report is kept in report_.
    CycleOutcome Cycle() {
        CycleOutcome outcome;
        report_ = RunOperation(
            store_, data_, [&](DocumentEdit& edit) { outcome = CycleCalendar(edit); },
            OperationKind::kCycle);
        return outcome;
    }
    Status Apply(const std::vector<std::string>& lines, std::vector<std::string>& messages) {
        Status applied;
        report_ = RunOperation(
            store_, data_,
            [&](DocumentEdit& edit) { applied = ApplyRecords(edit, lines, messages); },
            OperationKind::kCycle);
        return applied;
    }

    DataFolder data_;
    DayStore store_;
    ChangeReport report_;
};

TEST_F(CycleTest, MovesEveryDayWholeAndAddsBareKeys) {
    store_[15] += std::string(600, 'x') + "\a";
    store_[3] += "Dentist\aCall Bob\a";
    const std::string old_737 = Day(737);
    CycleOutcome done = Cycle();
    ASSERT_TRUE(done.error.has_value());
    EXPECT_TRUE(done.moved);
    EXPECT_EQ(Day(8), "Jan/21/2024" + std::string(600, 'x') + "\a");
    EXPECT_EQ(Day(730), old_737);
    const Date base = *ParseDateKey(Day(730));
    for (int slot = 731; slot <= 738; ++slot)
        EXPECT_EQ(Day(slot), DateKey(AddDays(base, slot - 730)));
    EXPECT_TRUE(Day(739).empty());
    EXPECT_EQ(File(data_.archive()), "Jan/9 /2024 Dentist Call Bob \r\n\r\n\r\n");
    EXPECT_EQ(ArchiveWeekBytes(store_), "\r\n"); // a week without entries
    EXPECT_EQ(File(data_.fdat()), ""); // created empty
}

TEST_F(CycleTest, RecordsReachOnlyTheNewWeekInFileOrder) {
    // The new week after one cycle: Sunday 11 to Saturday 17 January 2026.
    const std::string records = "DDec/30/2025003  Every third\r\n\r\n" // 11, 14 and 17
                                "W6200  Second Friday\r\n\r\n" // 16th is the third Friday
                                "W6300  Third Friday\r\nW1000  Sundays\r\nM12    Twelfth\r\n"
                                "YJan/17Seventeenth\r\nYJan/17"
        + std::string(150, 'y') + "\r\nbogus line\r\n\r\n";
    ASSERT_TRUE(WriteFileAtomic(data_.fdat(), records));
    CycleOutcome done = Cycle();
    ASSERT_TRUE(done.error.has_value());
    const std::vector<std::string> week = { "Jan/10/2026", "Jan/11/2026Sundays\aEvery third\a",
        "Jan/12/2026Twelfth\a", "Jan/13/2026", "Jan/14/2026Every third\a", "Jan/15/2026",
        "Jan/16/2026Third Friday\a",
        "Jan/17/2026" + std::string(100, 'y') + "\aSeventeenth\aEvery third\a", "Jan/18/2026" };
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(Day(728 + i), week[i]);
    EXPECT_EQ(done.messages, std::vector<std::string> { std::string(kInvalidRecordMessage) });
    EXPECT_EQ(File(data_.fdat()),
        "DDec/30/2025003  Every third\r\nW6200  Second Friday\r\nW6300  Third Friday\r\n"
        "W1000  Sundays\r\nM12    Twelfth\r\nYJan/17Seventeenth\r\nYJan/17"
            + std::string(150, 'y') + "\r\nbogus line\r\n\r\n");
}

TEST_F(CycleTest, MonthEndsLeapDaysAndTheLastSaturdayOfMarch) {
    std::vector<std::string> messages;
    const auto day_in_week_of = [&](const Date& sunday, int slot) {
        for (int i = 0; i < 7; ++i)
            store_[kNewWeekFirstSlot + i] = DateKey(AddDays(sunday, i));
        EXPECT_TRUE(Apply({ "MEM    End", "YFeb/29Leap", "W7603  March" }, messages));
        return Day(slot);
    };
    EXPECT_EQ(day_in_week_of(D(2024, 2, 25), 733), "Feb/29/2024Leap\aEnd\a");
    EXPECT_EQ(day_in_week_of(D(2023, 2, 26), 731), "Feb/28/2023End\a");
    EXPECT_EQ(Day(732), "Mar/1 /2023");
    EXPECT_EQ(day_in_week_of(D(2029, 3, 25), 735), "Mar/31/2029March\aEnd\a"); // a Saturday
    EXPECT_TRUE(messages.empty());
}

TEST_F(CycleTest, FullDayGetsOneNoticeAndLogLinePerRecord) {
    store_[kNewWeekFirstSlot] = "Jan/4 /2026" + std::string(20, kEntrySeparator);
    std::vector<std::string> messages;
    ASSERT_TRUE(Apply({ "W1000  A", "", "W1000  B" }, messages));
    const std::string full = "Jan/4 /2026 already has maximum entries - see Error Log";
    EXPECT_EQ(messages, (std::vector<std::string> { full, full }));
    EXPECT_EQ(File(data_.rdat()),
        "Jan/4 /2026 A  (Error - Date NOT Updated)\r\nJan/4 /2026 B  (Error - Date NOT "
        "Updated)\r\n");
    EXPECT_TRUE(report_.days.empty());
    ASSERT_EQ(report_.files.size(), 2u);
    EXPECT_EQ(report_.files[1].old_size, report_.files[0].appended.size());
}

TEST_F(CycleTest, RefusalsComeBeforeAnyDayMoves) {
    const std::string first = Day(1);
    store_[737] = "garbage";
    CycleOutcome bad_slot = Cycle();
    ASSERT_FALSE(bad_slot.error);
    EXPECT_EQ(bad_slot.error.error().kind, ErrorKind::kRefused);
    EXPECT_NE(bad_slot.error.error().note.find("737"), std::string::npos);
    EXPECT_FALSE(bad_slot.moved);
    EXPECT_TRUE(report_.empty());
    NewCalendar(D(2024, 1, 7), store_);
    std::filesystem::create_directories(data_.fdat()); // unreadable
    CycleOutcome refused = Cycle();
    ASSERT_FALSE(refused.error);
    EXPECT_EQ(refused.error.error().io->path, data_.fdat());
    EXPECT_FALSE(refused.moved);
    EXPECT_EQ(Day(1), first);
    // Nothing but the files the cycle made sure of (created empty) is reported.
    EXPECT_TRUE(report_.days.empty());
    for (const FileChange& file : report_.files)
        EXPECT_EQ(file, Appended(file.path, 0, "", true));
}

// The report of a cycle: every day of the calendar with its text before and after the move (slot
// 739 stays), then the files in the order the cycle wrote them: the top week appended to
// archive.ovd, a refused record's error-log line, fdat.ovd written back whole.
TEST_F(CycleTest, ReportListsEveryMovedDayAndEachFileWithItsBytes) {
    const std::string records = "W1000  Sundays\r\n\r\nM12    Twelfth\r\n\r\n";
    ASSERT_TRUE(WriteFileAtomic(data_.archive(), "old\r\n"));
    ASSERT_TRUE(WriteFileAtomic(data_.fdat(), records));
    ASSERT_TRUE(WriteFileAtomic(data_.rdat(), "old log\r\n"));
    store_[3] += "Dentist\aCall Bob\a";
    store_[736] += std::string(20, kEntrySeparator); // Sunday 11 January 2026: full
    store_[739] = "untouched";
    const DayStore before = store_;
    const CycleOutcome done = Cycle();
    ASSERT_TRUE(done.error.has_value() && done.moved);
    ASSERT_EQ(report_.days.size(), static_cast<std::size_t>(kCalendarDays));
    for (const DayChange& day : report_.days)
        EXPECT_TRUE(day.before == before[day.slot] && day.after == store_[day.slot]);
    EXPECT_EQ(Day(739), "untouched");
    EXPECT_EQ(Day(730), "Jan/12/2026Twelfth\a");
    EXPECT_EQ(report_.files,
        (std::vector<FileChange> {
            Appended(data_.archive(), 5, "Jan/9 /2024 Dentist Call Bob \r\n\r\n\r\n"),
            Appended(data_.rdat(), 9, "Jan/11/2026 Sundays  (Error - Date NOT Updated)\r\n"),
            Replaced(data_.fdat(), records, "W1000  Sundays\r\nM12    Twelfth\r\n\r\n") }));
}

TEST_F(CycleTest, ArchiveLinesHoldNoSeparatorEvenInADamagedKey) {
    store_[2] = "Jan/8\a/2024Dentist\a"; // a hand edit put a separator into the key
    store_[4] += "\a"; // one empty entry
    store_[6] = "Jan/12"; // shorter than a key: nothing to archive
    EXPECT_EQ(ArchiveWeekBytes(store_), "Jan/8 /2024 Dentist \r\n\r\nJan/10/2024  \r\n\r\n\r\n");
}

// Every kind of line break becomes one '\n' in the window and CR LF in the file, and stays so on
// the next load and save; every other byte is kept.
TEST_F(CycleTest, ArchiveLineBreaksBecomeCrLfAndStayThere) {
    using namespace std::string_literals;
    const std::string bytes = "a\rb\nc\r\r\nx\0\xA0\xFF\a\r"s;
    const std::string text = "a\nb\nc\n\nx\0\xA0\xFF\a\n"s;
    const std::string saved = "a\r\nb\r\nc\r\n\r\nx\0\xA0\xFF\a\r\n"s;
    EXPECT_EQ(ArchiveTextFromBytes(bytes), text);
    EXPECT_EQ(ArchiveBytesFromText(text), saved);
    EXPECT_EQ(ArchiveBytesFromText(ArchiveTextFromBytes(saved)), saved);
    ASSERT_TRUE(SaveArchive(data_, text));
    EXPECT_EQ(File(data_.archive()), saved);
    EXPECT_EQ(LoadArchive(data_).value_or(""), saved);
}

} // namespace
} // namespace orvane
