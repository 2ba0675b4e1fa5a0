#include "core/calendar_document.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr auto D = MakeDate;

// Records what listeners hear, and can store a "typed" note when asked to before a change.
class Recorder : public DocumentListener {
public:
    void BeforeChange(CalendarDocument& document) override {
        ++before;
        if (pending) {
            auto [slot, text] = *pending;
            pending.reset();
            document.StoreNote(slot, text);
        }
    }
    void Changed(const CalendarDocument&, const ChangeReport& report) override {
        reports.push_back(report);
    }
    void Saved(const CalendarDocument&) override { ++saved; }

    int before = 0;
    int saved = 0;
    std::optional<std::pair<int, std::string>> pending;
    std::vector<ChangeReport> reports;
};

class CalendarDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path()
            / ("orvane_document_"
                + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        ASSERT_TRUE(WriteFileAtomic(dir_ / "cdat.ovd", ""));
        document_ = std::make_unique<CalendarDocument>(DataFolder { dir_ });
        document_->AddListener(&recorder_);
        ASSERT_TRUE(document_->Load(D(2024, 1, 10))); // slot 1 is Sunday 7 January 2024
        recorder_.reports.clear();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
    Recorder recorder_;
    std::unique_ptr<CalendarDocument> document_;
};

TEST_F(CalendarDocumentTest, LoadingMakesANewCalendarAndMarksToday) {
    CalendarDocument fresh(DataFolder { dir_ });
    Recorder heard;
    fresh.AddListener(&heard);
    ASSERT_TRUE(WriteFileAtomic(dir_ / "cdat.ovd", ""));
    const auto load = fresh.Load(D(2024, 1, 10));
    ASSERT_TRUE(load);
    EXPECT_TRUE(load->created);
    EXPECT_EQ(fresh.store()[1], "Jan/7 /2024");
    EXPECT_EQ(fresh.TodayKey(), "Jan/10/2024");
    ASSERT_EQ(heard.reports.size(), 1U);
    EXPECT_EQ(heard.reports[0].kind, OperationKind::kLoad);

    std::filesystem::remove(dir_ / "cdat.ovd");
    CalendarDocument missing(DataFolder { dir_ });
    EXPECT_FALSE(missing.Load(D(2024, 1, 10)));
    EXPECT_FALSE(missing.store().loaded());
}

TEST_F(CalendarDocumentTest, StoredNotesReportOnlyTheDayThatChanged) {
    const ChangeReport report = document_->StoreNote(3, "Jan/9 /2024Dentist\a");
    ASSERT_EQ(report.days.size(), 1U);
    EXPECT_EQ(report.days[0], (DayChange { 3, "Jan/9 /2024", "Jan/9 /2024Dentist\a" }));
    EXPECT_TRUE(report.Touches(3));
    EXPECT_FALSE(report.Touches(4));
    EXPECT_FALSE(report.window_moved());
    EXPECT_EQ(document_->store()[3], "Jan/9 /2024Dentist\a");
    // Storing the same text again changes nothing and says so.
    EXPECT_TRUE(document_->StoreNote(3, "Jan/9 /2024Dentist\a").empty());
    EXPECT_EQ(recorder_.reports.size(), 2U);
}

// The note being typed is stored before any operation, in an operation of its own, and the
// listener is not asked again while it stores.
TEST_F(CalendarDocumentTest, PendingEditsAreStoredFirstInTheirOwnReport) {
    recorder_.pending = std::make_pair(2, std::string("Jan/8 /2024Typed\a"));
    const ChangeReport moved = document_->MoveWindow(16);
    EXPECT_EQ(recorder_.before, 1);
    ASSERT_EQ(recorder_.reports.size(), 2U);
    EXPECT_EQ(recorder_.reports[0].kind, OperationKind::kStoreNote);
    EXPECT_EQ(recorder_.reports[0].days.at(0).after, "Jan/8 /2024Typed\a");
    EXPECT_EQ(recorder_.reports[1].kind, OperationKind::kMoveWindow);
    EXPECT_EQ(moved.top_before, 1);
    EXPECT_EQ(moved.top_after, 15); // a row start
    EXPECT_TRUE(moved.window_moved());
    EXPECT_EQ(document_->TopSlot(), 15);
    document_->SetActiveNote(4);
    EXPECT_EQ(document_->ActiveSlot(), 16);
    document_->SetActiveNote(0);
    EXPECT_FALSE(document_->ActiveSlot());
}

TEST_F(CalendarDocumentTest, OperationsReportDaysAndFilesWithTheirOldBytes) {
    ASSERT_TRUE(WriteFileAtomic(dir_ / "fdat.ovd", "old\r\n"));
    ASSERT_TRUE(WriteFileAtomic(dir_ / "rdat.ovd", "one\r\n"));
    const ChangeReport report
        = document_->Run(OperationKind::kApplyEntry, "Daily Entry 'Gym'", [&](DocumentEdit& edit) {
              edit.Day(5) += "Gym\a";
              edit.Day(6) += "x";
              edit.Day(6).pop_back(); // back as it was: not a change
              EXPECT_TRUE(edit.WriteFile(dir_ / "fdat.ovd", "new\r\n"));
              EXPECT_TRUE(edit.WriteFile(dir_ / "wdat.ovd", "made\r"));
              EXPECT_TRUE(edit.AppendFile(dir_ / "rdat.ovd", "two\r\n", false));
              EXPECT_TRUE(edit.AppendFile(dir_ / "archive.ovd", "", true)); // created, empty
              EXPECT_TRUE(edit.AppendFile(dir_ / "rdat.ovd", "", false)); // opened only: no change
              EXPECT_FALSE(edit.WriteFile(dir_ / "none" / "x.ovd", "lost")); // not recorded
          });
    EXPECT_EQ(report.name, "Daily Entry 'Gym'");
    ASSERT_EQ(report.days.size(), 1U);
    EXPECT_EQ(report.days[0].slot, 5);
    ASSERT_EQ(report.files.size(), 4U);
    EXPECT_EQ(report.files[0].before, std::optional<std::string>("old\r\n"));
    EXPECT_EQ(report.files[0].after, "new\r\n");
    EXPECT_FALSE(report.files[1].before);
    EXPECT_TRUE(report.files[1].before_known);
    EXPECT_EQ(report.files[2].kind, FileChange::Kind::kAppended);
    EXPECT_EQ(report.files[2].old_size, 5U);
    EXPECT_EQ(report.files[2].appended, "two\r\n");
    EXPECT_FALSE(report.files[2].created);
    EXPECT_TRUE(report.files[3].created);
    EXPECT_EQ(recorder_.reports.back().files, report.files);
}

TEST_F(CalendarDocumentTest, MovingEveryDayReportsEachChangedDayOnce) {
    const std::string first = document_->store()[1];
    const ChangeReport report
        = document_->Run(OperationKind::kCycle, "Cycle Calendar", [](DocumentEdit& edit) {
              edit.Day(2) += "early\a"; // changed before the whole store moves
              DayStore& days = edit.AllDays();
              for (int slot = 1; slot <= 731; ++slot)
                  days[slot] = days[slot + 7];
          });
    EXPECT_EQ(report.days.size(), 731U);
    EXPECT_EQ(report.days[0], (DayChange { 1, first, "Jan/14/2024" }));
    EXPECT_EQ(report.days[1].before, "Jan/8 /2024"); // as it was when the operation began
}

TEST_F(CalendarDocumentTest, SavingStoresPendingEditsFirst) {
    recorder_.pending = std::make_pair(9, std::string("Jan/15/2024Late\a"));
    ASSERT_TRUE(document_->Save());
    EXPECT_EQ(recorder_.saved, 1);
    DayStore saved;
    ASSERT_EQ(ParseDayFile(ReadWholeFile(dir_ / "cdat.ovd").value_or(""), saved).value_or(0), 739);
    EXPECT_EQ(saved[9], "Jan/15/2024Late\a");
}

} // namespace
} // namespace orvane
