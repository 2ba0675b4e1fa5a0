// Kills a process that types notes, stores them, moves the window, applies entries to many days
// and now and then saves, at random moments, over and over. After every kill the calendar is
// recovered as the program does at start-up (the saved day file, then the journal replayed) and
// must be exactly what the changes acknowledged as flushed give, or at most the one change after
// them; the next process recovers the same way and goes on from there, so recoveries follow
// crashes that followed recoveries. A failure prints the seed; --gtest_random_seed=<seed> repeats
// the same changes and kill delays.
#include "core/calendar_document.h"
#include "core/data_folder.h"
#include "core/day_file.h"
#include "core/journal.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using SteadyClock = std::chrono::steady_clock;

const Date kToday = MakeDate(2024, 1, 10);

// One change the user makes. Change `index` is the same in every process that makes it.
struct Change {
    enum class Kind { kStore, kType, kMove, kWeekly, kSave };
    Kind kind = Kind::kStore;
    int slot = 1; // kStore, kType: the day; kWeekly: the first day
    int top = 1; // kMove
    std::string text; // the entries after the date key
};

Change ChangeAt(unsigned seed, long index) {
    std::mt19937 random(seed * 2654435761U + static_cast<unsigned>(index));
    Change change;
    const int pick = static_cast<int>(random() % 100);
    change.kind = pick < 55 ? Change::Kind::kStore
        : pick < 75         ? Change::Kind::kType
        : pick < 87         ? Change::Kind::kMove
        : pick < 96         ? Change::Kind::kWeekly
                            : Change::Kind::kSave;
    change.slot = 1 + static_cast<int>(random() % kLastShownSlot);
    change.top = 1 + static_cast<int>(random() % kMaxTopSlot);
    change.text = "Note " + std::to_string(index) + "\a";
    if (random() % 2 == 0)
        change.text += "Call Bob about the weekend\a";
    return change;
}

// The days and the window the changes up to some index give. The day file keeps no window: after
// a save, a restart shows the first week until the window moves again.
struct Expected {
    DayStore store;
    int top = 1; // as the recovered calendar shows it
    int live_top = 1; // as the process that made the changes showed it

    void Apply(const Change& change, const DayStore& start) {
        switch (change.kind) {
        case Change::Kind::kStore:
        case Change::Kind::kType:
            store[change.slot] = start[change.slot] + change.text;
            break;
        case Change::Kind::kMove:
            if (ClampTopSlot(change.top) != live_top)
                top = live_top = ClampTopSlot(change.top);
            break;
        case Change::Kind::kWeekly:
            for (int slot = change.slot; slot <= kLastShownSlot && slot < change.slot + 70;
                 slot += 7)
                store[slot] = start[slot] + change.text;
            break;
        case Change::Kind::kSave:
            top = 1;
            break;
        }
    }
};

// The note being typed, stored before any other change as the grid stores it.
class TypingGrid final : public DocumentListener {
public:
    void BeforeChange(CalendarDocument& document) override {
        if (pending_slot_ > 0) {
            const int slot = pending_slot_;
            pending_slot_ = 0;
            (void)document.StoreNote(slot, pending_);
        }
    }
    void Type(int slot, std::string day) {
        pending_slot_ = slot;
        pending_ = std::move(day);
    }

private:
    int pending_slot_ = 0;
    std::string pending_;
};

// The recovery of start-up, Recover chosen: the saved days, then the journal.
struct Recovered {
    DayStore store;
    int top = 1;
    int lost = 0;
};

Recovered RecoverReadOnly(const DataFolder& data) {
    CalendarDocument document(data);
    Recovered recovered;
    if (!document.Load(kToday)) {
        ADD_FAILURE() << "the day file does not load";
        return recovered;
    }
    const Result<JournalContents> journal = ReadJournal(data.file(kJournalFileName));
    if (!journal) {
        ADD_FAILURE() << "the journal is refused: " << journal.error().note;
        return recovered;
    }
    (void)ReplayJournal(document, journal->records);
    recovered.store = document.store();
    recovered.top = document.TopSlot();
    recovered.lost = journal->lost_at_end;
    return recovered;
}

// The process that makes changes `first`, `first + 1`, ... and writes each change's index to
// `ack` once the journal holds it on disk. It starts as the program does after a crash.
[[noreturn]] void RunChanger(
    const DataFolder& data, const DayStore& start, unsigned seed, long first, long last, int ack) {
    CalendarDocument document(data);
    if (!document.Load(kToday))
        ::_exit(2);
    Journal journal(data.file(kJournalFileName));
    DocumentJournal keeper(document, journal);
    const Result<JournalContents> left = ReadJournal(journal.path());
    if (!left)
        ::_exit(3);
    if (!left->records.empty()) {
        keeper.SetPaused(true);
        (void)ReplayJournal(document, left->records);
        keeper.SetPaused(false);
        if (!journal.Restart(left->records))
            ::_exit(4);
    }
    TypingGrid grid;
    document.AddListener(&grid);
    for (long index = first; index <= last; ++index) {
        const Change change = ChangeAt(seed, index);
        switch (change.kind) {
        case Change::Kind::kStore:
            (void)document.StoreNote(change.slot, start[change.slot] + change.text);
            break;
        case Change::Kind::kType:
            // Typing in another note leaves the one typed before, which stores it.
            document.FlushPendingEdits();
            grid.Type(change.slot, start[change.slot] + change.text);
            keeper.NoteTyped(change.slot, start[change.slot] + change.text);
            break;
        case Change::Kind::kMove:
            (void)document.MoveWindow(change.top);
            break;
        case Change::Kind::kWeekly:
            (void)document.Run(OperationKind::kApplyEntry, "Weekly Entry", [&](DocumentEdit& edit) {
                for (int slot = change.slot; slot <= kLastShownSlot && slot < change.slot + 70;
                     slot += 7)
                    edit.Day(slot) = start[slot] + change.text;
            });
            break;
        case Change::Kind::kSave:
            if (!document.Save())
                ::_exit(5);
            break;
        }
        if (change.kind != Change::Kind::kSave && !journal.WaitFlushed())
            ::_exit(6);
        if (::write(ack, &index, sizeof index) != static_cast<ssize_t>(sizeof index))
            ::_exit(7);
    }
    ::_exit(0);
}

struct Child {
    pid_t pid = -1;
    int ack = -1; // read end
};

Child StartChanger(
    const DataFolder& data, const DayStore& start, unsigned seed, long first, long last) {
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        RunChanger(data, start, seed, first, last, fds[1]);
    }
    ::close(fds[1]);
    return { pid, fds[0] };
}

// The last index the child acknowledged, or `none`.
long LastAck(int ack, long none) {
    long last = none;
    long index = 0;
    while (::read(ack, &index, sizeof index) == static_cast<ssize_t>(sizeof index))
        last = index;
    ::close(ack);
    return last;
}

class JournalCrash : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("orvane_journal_crash_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(JournalCrash, RecoveryAfterAKillGivesEveryFlushedChange) {
    const unsigned seed = static_cast<unsigned>(::testing::UnitTest::GetInstance()->random_seed());
    SCOPED_TRACE("seed " + std::to_string(seed)
        + " (repeat with --gtest_random_seed=" + std::to_string(seed) + ")");
    const DataFolder data { dir_ };
    DayStore start;
    NewCalendar(kToday, start);
    start.set_loaded(true);
    ASSERT_TRUE(SaveDayFile(data.cdat(), start));

    // Kill delays up to the time a process takes to start and make 40 changes here (the median
    // of a few runs), so that kills land before, among and after the first flushes.
    std::vector<long long> runs_us;
    for (int i = 0; i < 3; ++i) {
        fs::remove(data.file(kJournalFileName));
        ASSERT_TRUE(SaveDayFile(data.cdat(), start));
        const auto begin = SteadyClock::now();
        const Child child = StartChanger(data, start, seed + 1, 1, 40);
        ASSERT_GT(child.pid, 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child.pid, &status, 0), child.pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "the changer failed: " << (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        EXPECT_EQ(LastAck(child.ack, 0), 40);
        runs_us.push_back(
            std::chrono::duration_cast<std::chrono::microseconds>(SteadyClock::now() - begin)
                .count());
    }
    std::sort(runs_us.begin(), runs_us.end());
    // Twice that: a process after a crash first replays and rewrites the journal, and other tests
    // may share the machine.
    const long long max_delay_us = std::min(2 * runs_us[1], 300'000LL);
    fs::remove(data.file(kJournalFileName));
    ASSERT_TRUE(SaveDayFile(data.cdat(), start));

    std::mt19937 random(seed);
    std::uniform_int_distribution<long long> delay_us(0, max_delay_us);
    Expected expected { start, 1, 1 };
    long done = 0; // changes 1..done are in the recovered calendar
    int kills_with_progress = 0;
    int cut_records = 0;
    constexpr int kKills = 120;
    for (int kill = 1; kill <= kKills; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill) + " after change " + std::to_string(done));
        const long done_before = done;
        const Child child = StartChanger(data, start, seed, done + 1, done + 100'000);
        ASSERT_GT(child.pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
        ::kill(child.pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child.pid, &status, 0), child.pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the changer stopped by itself with "
                                         << (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        const long acked = LastAck(child.ack, done);

        const Recovered recovered = RecoverReadOnly(data);
        EXPECT_LE(recovered.lost, 1);
        cut_records += recovered.lost;
        // Everything acknowledged is there; at most the change being made when the kill came is
        // there too.
        Expected through_acked = expected;
        for (long index = done + 1; index <= acked; ++index)
            through_acked.Apply(ChangeAt(seed, index), start);
        Expected one_more = through_acked;
        one_more.Apply(ChangeAt(seed, acked + 1), start);
        const auto same = [&recovered](const Expected& e) {
            if (e.top != recovered.top)
                return false;
            for (int slot = 1; slot <= kSlotCount; ++slot) {
                if (e.store[slot] != recovered.store[slot])
                    return false;
            }
            return true;
        };
        if (same(through_acked)) {
            expected = through_acked;
            done = acked;
        } else if (same(one_more)) {
            expected = one_more;
            done = acked + 1;
        }
        // The next process starts from the recovered window.
        expected.live_top = expected.top;
        if (!same(expected)) {
            int slot = 1;
            while (slot < kSlotCount && through_acked.store[slot] == recovered.store[slot])
                ++slot;
            FAIL() << "the recovered calendar is not what changes 1-" << acked << " (or "
                   << acked + 1 << ") give: window " << recovered.top << " for "
                   << through_acked.top << ", slot " << slot << " \"" << recovered.store[slot]
                   << "\" for \"" << through_acked.store[slot] << "\"";
        }
        if (done > done_before)
            ++kills_with_progress;
    }
    std::printf("%d kills: %ld changes made, %d kills after progress, %d cut-off records "
                "(delays up to %lld us)\n",
        kKills, done, kills_with_progress, cut_records, max_delay_us);
    // Kills that never let a change be flushed would prove nothing.
    EXPECT_GT(kills_with_progress, kKills / 4);
}

} // namespace
} // namespace orvane
