#include "core/undo_history.h"

#include "core/day_file.h"
#include "core/tests/fixtures.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr auto D = MakeDate;

class UndoHistoryTest : public FolderTest {
protected:
    void SetUp() override {
        Write("cdat.ovd", "");
        ASSERT_TRUE(document_.Load(D(2024, 1, 10)));
        document_.AddListener(&typed_);
        history_.SetOnChanged([this] { ++menu_updates_; });
    }
    void Write(std::string_view name, std::string_view bytes) {
        ASSERT_TRUE(WriteFileAtomic(dir_ / name, bytes));
    }

    TypedNote typed_;
    CalendarDocument document_ { DataFolder { dir_ } };
    UndoHistory history_ { document_ };
    int menu_updates_ = 0;
};

// Every way an operation can touch a file and the days, in one operation: undo gives back every
// byte and every day as they were before it, redo the state after, and both can be repeated.
TEST_F(UndoHistoryTest, UndoAndRedoReturnEveryByteOfEveryKindOfFileChange) {
    Write("fdat.ovd", "W1\r\n");
    Write("archive.ovd", "week 1\r\n");
    const Snapshot before = Take(document_);
    document_.Run(OperationKind::kApplyEntry, "Weekly Entry 'Church'", [&](DocumentEdit& edit) {
        edit.Day(3) += "Church\a"; // changed before every day moves
        DayStore& days = edit.AllDays();
        for (int slot = 1; slot <= 731; ++slot)
            days[slot] = days[slot + 7];
        ASSERT_TRUE(edit.AppendFile(dir_ / "fdat.ovd", "W2\r\n", false));
        ASSERT_TRUE(edit.AppendFile(dir_ / "fdat.ovd", "W3\r\n", false));
        ASSERT_TRUE(edit.WriteFile(dir_ / "fdat.ovd", "W3\r\n"));
        ASSERT_TRUE(edit.WriteFile(dir_ / "wdat.ovd", "made\r\n"));
        ASSERT_TRUE(edit.AppendFile(dir_ / "archive.ovd", "week 2\r\n", true));
        ASSERT_TRUE(edit.AppendFile(dir_ / "rdat.ovd", "", true));
        EXPECT_FALSE(edit.WriteFile(dir_ / "none" / "x.ovd", "lost"));
    });
    const Snapshot after = Take(document_);
    ASSERT_NE(before, after);
    EXPECT_EQ(history_.UndoName(), "Weekly Entry 'Church'");
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(history_.Undo());
        EXPECT_EQ(Take(document_), before);
        EXPECT_FALSE(history_.CanUndo());
        EXPECT_EQ(history_.RedoName(), "Weekly Entry 'Church'");
        ASSERT_TRUE(history_.Redo());
        EXPECT_EQ(Take(document_), after);
        EXPECT_FALSE(history_.CanRedo());
    }
    EXPECT_GE(menu_updates_, 5); // the Edit menu hears of every step, undo and redo
}

TEST_F(UndoHistoryTest, AFileChangedSinceRefusesAndChangesNothing) {
    Write("fdat.ovd", "old\r\n");
    Write("archive.ovd", "a\r\n");
    document_.Run(OperationKind::kCycle, "Cycle Calendar", [&](DocumentEdit& edit) {
        edit.Day(5) += "x\a";
        ASSERT_TRUE(edit.AppendFile(dir_ / "archive.ovd", "b\r\n", false));
        ASSERT_TRUE(edit.WriteFile(dir_ / "fdat.ovd", "new\r\n"));
    });
    // archive.ovd is checked by its tail: the same size with other bytes is a change too.
    for (const auto& [name, outside] : std::vector<std::pair<std::string, std::string>> {
             { "fdat.ovd", "edited\r\n" }, { "archive.ovd", "a\r\nB\r\n" } }) {
        const std::string kept = *ReadWholeFile(dir_ / name);
        Write(name, outside);
        const Snapshot changed = Take(document_);
        const Status undone = history_.Undo();
        ASSERT_FALSE(undone);
        EXPECT_EQ(
            undone.error().note, "Cannot undo Cycle Calendar: " + name + " has changed since.");
        EXPECT_EQ(Take(document_), changed);
        Write(name, kept);
    }
    EXPECT_TRUE(history_.Undo());
    EXPECT_EQ(*ReadWholeFile(dir_ / "fdat.ovd"), "old\r\n");
    EXPECT_EQ(*ReadWholeFile(dir_ / "archive.ovd"), "a\r\n");

    // A redo finds the files as the operation found them, or refuses.
    std::filesystem::remove(dir_ / "archive.ovd");
    const Status redone = history_.Redo();
    ASSERT_FALSE(redone);
    EXPECT_EQ(redone.error().note, "Cannot redo Cycle Calendar: archive.ovd has changed since.");
    EXPECT_EQ(document_.store()[5], "Jan/11/2024");
}

// The note being typed is stored before any operation, in a step of its own, and before a save.
TEST_F(UndoHistoryTest, PendingEditsAreStoredFirstInTheirOwnStep) {
    typed_.pending = std::make_pair(2, std::string("Jan/8 /2024Typed\a"));
    document_.MoveWindow(16);
    EXPECT_EQ(document_.TopSlot(), 15); // a row start
    EXPECT_EQ(document_.store()[2], "Jan/8 /2024Typed\a");
    EXPECT_EQ(history_.UndoName(), "Typing");
    typed_.pending = std::make_pair(9, std::string("Jan/15/2024Late\a"));
    ASSERT_TRUE(document_.Save());
    DayStore saved;
    ASSERT_EQ(ParseDayFile(ReadWholeFile(dir_ / "cdat.ovd").value_or(""), saved).value_or(0), 739);
    EXPECT_EQ(saved[9], "Jan/15/2024Late\a");
}

TEST_F(UndoHistoryTest, TypingIsAStepAndIsStoredBeforeAnUndo) {
    document_.StoreNote(2, "Jan/8 /2024Dentist\a");
    typed_.pending = std::make_pair(4, std::string("Jan/10/2024Typed\a"));
    ASSERT_TRUE(history_.Undo()); // stores the typed note, then takes it back
    EXPECT_EQ(document_.store()[4], "Jan/10/2024");
    EXPECT_EQ(document_.store()[2], "Jan/8 /2024Dentist\a");
    EXPECT_EQ(history_.UndoName(), "Typing");
    ASSERT_TRUE(history_.Undo());
    EXPECT_EQ(document_.store()[2], "Jan/8 /2024");

    // Typing after an undo starts a new branch: nothing is left to redo.
    typed_.pending = std::make_pair(6, std::string("Jan/12/2024New\a"));
    EXPECT_TRUE(history_.Redo());
    EXPECT_FALSE(history_.CanRedo());
    EXPECT_EQ(document_.store()[2], "Jan/8 /2024");
    EXPECT_EQ(document_.store()[6], "Jan/12/2024New\a");
}

// A day that no longer holds what its step left (a store adopted behind the history's back).
TEST_F(UndoHistoryTest, KeepsTheNewestStepsUpToItsLimitAndRefusesAChangedDay) {
    UndoHistory small(document_, 3);
    for (int k = 0; k < 5; ++k)
        document_.StoreNote(2, "Jan/8 /2024" + std::to_string(k) + "\a");
    EXPECT_EQ(small.undo_steps(), 3U);
    DayStore changed = document_.store();
    changed[2] = "Jan/8 /2024other\a";
    document_.Adopt(changed, document_.TodayKey());
    const Status refused = small.Undo();
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().note, "Cannot undo Typing: the day Jan/8 /2024 has changed since.");
    EXPECT_EQ(document_.store()[2], "Jan/8 /2024other\a");
}

} // namespace
} // namespace orvane
