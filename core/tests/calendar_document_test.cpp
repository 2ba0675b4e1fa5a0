#include "core/calendar_document.h"

#include "core/tests/fixtures.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr auto D = MakeDate;

// Records what listeners hear, and stores a "typed" note when asked to before a change.
class Recorder : public TypedNote {
public:
    void BeforeChange(CalendarDocument& document) override {
        ++before;
        TypedNote::BeforeChange(document);
    }
    void Changed(const CalendarDocument&, const ChangeReport& report) override {
        reports.push_back(report);
    }

    int before = 0;
    std::vector<ChangeReport> reports;
};

class CalendarDocumentTest : public FolderTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteFileAtomic(dir_ / "cdat.ovd", ""));
        document_.AddListener(&recorder_);
        const auto load = document_.Load(D(2024, 1, 10)); // slot 1 is Sunday 7 January 2024
        ASSERT_TRUE(load);
        EXPECT_TRUE(load->created);
        EXPECT_EQ(document_.TodayKey(), "Jan/10/2024");
        ASSERT_EQ(recorder_.reports.size(), 1U);
        EXPECT_EQ(recorder_.reports[0].kind, OperationKind::kLoad);
        recorder_.reports.clear();
    }

    Recorder recorder_;
    CalendarDocument document_ { DataFolder { dir_ } };
};

// The note being typed is stored before any operation, in an operation of its own, and the
// listener is not asked again while it stores.
TEST_F(CalendarDocumentTest, PendingEditsAreStoredFirstInTheirOwnReport) {
    recorder_.pending = std::make_pair(2, std::string("Jan/8 /2024Typed\a"));
    const ChangeReport moved = document_.MoveWindow(16);
    EXPECT_EQ(recorder_.before, 1);
    ASSERT_EQ(recorder_.reports.size(), 2U);
    EXPECT_EQ(recorder_.reports[0].kind, OperationKind::kStoreNote);
    EXPECT_EQ(recorder_.reports[0].days.at(0).after, "Jan/8 /2024Typed\a");
    EXPECT_EQ(moved.top_before, 1);
    EXPECT_EQ(moved.top_after, 15); // a row start

    recorder_.pending = std::make_pair(9, std::string("Jan/15/2024Late\a"));
    ASSERT_TRUE(document_.Save());
    DayStore saved;
    ASSERT_EQ(ParseDayFile(ReadWholeFile(dir_ / "cdat.ovd").value_or(""), saved).value_or(0), 739);
    EXPECT_EQ(saved[9], "Jan/15/2024Late\a");
}

} // namespace
} // namespace orvane
