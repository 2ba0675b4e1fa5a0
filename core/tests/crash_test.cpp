// Kills processes in the middle of saves and of changes, at random moments, and checks what the
// next start finds: a day file that is one whole version or the other with nothing left beside
// it, and a journal whose recovery holds every change acknowledged as flushed. A failure prints
// the seed; --gtest_random_seed=<seed> repeats the same changes and kill delays.
#include "core/calendar_document.h"
#include "core/data_folder.h"
#include "core/day_file.h"
#include "core/journal.h"
#include "core/tests/fixtures.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using SteadyClock = std::chrono::steady_clock;

const Date kToday = MakeDate(2024, 1, 10);

class Crash : public FolderTest {
protected:
    Crash()
        : seed_(static_cast<unsigned>(::testing::UnitTest::GetInstance()->random_seed()))
        , random_(seed_) { }

    std::string Seed() const {
        return "seed " + std::to_string(seed_)
            + " (repeat with --gtest_random_seed=" + std::to_string(seed_) + ")";
    }

    // A process that runs `work` and leaves with the status it returns. The test process has a
    // single thread, so the child may allocate.
    static pid_t Start(const std::function<int()>& work) {
        const pid_t pid = ::fork();
        if (pid == 0)
            ::_exit(work());
        return pid;
    }

    // Runs `pid` to its end, which must be a success, and sets the kill delays up to `factor`
    // times the time it took (at most `cap_us`), so that kills land before, among and after
    // what it does.
    void TimeDelays(pid_t pid, SteadyClock::time_point started, int factor, long long cap_us) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the timed run failed";
        const auto took
            = std::chrono::duration_cast<std::chrono::microseconds>(SteadyClock::now() - started);
        delay_us_ = std::uniform_int_distribution<long long>(
            0, std::min<long long>(factor * took.count(), cap_us));
    }

    // Kills `pid` after a random delay; it must not have ended by itself.
    void KillAfterADelay(pid_t pid) {
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay_us_(random_)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the process stopped by itself with "
            << (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    }

    unsigned seed_;
    std::mt19937 random_;
    std::uniform_int_distribution<long long> delay_us_;
};

// A full store whose days hold up to `per_day - 1` copies of `entry`. Two versions with different
// entries and counts differ in every noted day and in length, so that no mix of them equals
// either.
DayStore Version(const std::string& entry, int per_day) {
    DayStore store;
    NewCalendar(MakeDate(2024, 1, 7), store);
    for (int slot = 1; slot <= kCalendarDays; ++slot) {
        for (int e = 0; e < slot % per_day; ++e)
            store[slot] += entry + kEntrySeparator;
    }
    return store;
}

// Saves `first` and `second` in turn over `file`, `saves` times or, when it is 0, until killed.
int SaveInTurn(const fs::path& file, const DayStore& first, const DayStore& second, int saves) {
    for (int done = 0; saves == 0 || done < saves; ++done) {
        if (!SaveDayFile(file, done % 2 == 0 ? first : second))
            return 1;
    }
    return 0;
}

TEST_F(Crash, KilledSavesLeaveTheOldOrTheNewFileAndCleanUpRemovesTheRest) {
    SCOPED_TRACE(Seed());
    const fs::path cdat = dir_ / kDayFileName;
    const DayStore a = Version("Lunch with Anna at the corner cafe", 5);
    const DayStore b = Version("Team meeting moved to room 7", 4);
    const std::string a_bytes = FormatDayFile(a);
    const std::string b_bytes = FormatDayFile(b);
    ASSERT_NE(a_bytes.size(), b_bytes.size());
    ASSERT_TRUE(SaveDayFile(cdat, b));
    // Delays up to the time from the fork to the end of a second save, at most 100 ms.
    ASSERT_NO_FATAL_FAILURE(TimeDelays(
        Start([&] { return SaveInTurn(cdat, a, b, 2); }), SteadyClock::now(), 1, 100'000));

    bool holds_b = true;
    int old_kept = 0;
    int new_written = 0;
    int kills_leaving_temporaries = 0;
    for (int kill = 1; kill <= 200; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        // Each saver first replaces the version the file holds, then alternates.
        ASSERT_NO_FATAL_FAILURE(KillAfterADelay(
            Start([&] { return SaveInTurn(cdat, holds_b ? a : b, holds_b ? b : a, 0); })));
        const Result<std::string> bytes = ReadWholeFile(cdat);
        ASSERT_TRUE(bytes);
        const bool now_b = *bytes == b_bytes;
        ASSERT_TRUE(now_b || *bytes == a_bytes)
            << "cdat.ovd is neither version: " << bytes->size() << " bytes";
        ++(now_b == holds_b ? old_kept : new_written);
        holds_b = now_b;

        // Whatever the kill left beside the file is a temporary of the save.
        const auto left = std::distance(fs::directory_iterator(dir_), fs::directory_iterator()) - 1;
        kills_leaving_temporaries += left > 0 ? 1 : 0;
        EXPECT_EQ(RemoveStaleTemporaryFiles(dir_, kDataFileNames).value_or(-1), left);
        ASSERT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
    }
    // Kills that never caught a save in progress, or never let one finish, would prove nothing.
    EXPECT_GT(kills_leaving_temporaries, 0);
    EXPECT_GT(old_kept, 0);
    EXPECT_GT(new_written, 0);
}

// One change the user makes; change `index` is the same in every process that makes it: a note
// stored, the window moved, an entry added to every week of ten, or a save.
struct Change {
    enum class Kind { kStore, kMove, kWeekly, kSave } kind;
    int slot; // kStore: the day; kWeekly: the first day; kMove: the window's top
    std::string text; // the entries after the date key
};

Change ChangeAt(unsigned seed, long index) {
    std::mt19937 random(seed * 2654435761U + static_cast<unsigned>(index));
    const int pick = static_cast<int>(random() % 100);
    const auto kind = pick < 65 ? Change::Kind::kStore
        : pick < 80             ? Change::Kind::kMove
        : pick < 95             ? Change::Kind::kWeekly
                                : Change::Kind::kSave;
    return { kind,
        1
            + static_cast<int>(
                random() % (kind == Change::Kind::kMove ? kMaxTopSlot : kLastShownSlot)),
        "Note " + std::to_string(index) + "\a" };
}

std::vector<int> WeeklySlots(int first) {
    std::vector<int> slots;
    for (int slot = first; slot <= kLastShownSlot && slot < first + 70; slot += 7)
        slots.push_back(slot);
    return slots;
}

// The days and the window the changes up to some index give. The day file keeps no window: after
// a save, a restart shows the first week until the window moves again.
struct Expected {
    DayStore store;
    int top = 1; // as the recovered calendar shows it
    int live_top = 1; // as the process that made the changes showed it

    void Apply(const Change& change, const DayStore& start) {
        if (change.kind == Change::Kind::kStore)
            store[change.slot] = start[change.slot] + change.text;
        else if (change.kind == Change::Kind::kMove && ClampTopSlot(change.slot) != live_top)
            top = live_top = ClampTopSlot(change.slot);
        else if (change.kind == Change::Kind::kWeekly)
            for (const int slot : WeeklySlots(change.slot))
                store[slot] = start[slot] + change.text;
        else if (change.kind == Change::Kind::kSave)
            top = 1;
    }
    bool Holds(const CalendarDocument& recovered) const {
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            if (store[slot] != recovered.store()[slot])
                return false;
        }
        return top == recovered.TopSlot();
    }
};

// Makes changes `first` to `last`, writing each index to `ack` once the journal holds it on disk.
// It starts as the program does after a crash: the day file, then the journal replayed.
int MakeChanges(
    const DataFolder& data, const DayStore& start, unsigned seed, long first, long last, int ack) {
    CalendarDocument document(data);
    if (!document.Load(kToday))
        return 2;
    Journal journal(data.file(kJournalFileName));
    DocumentJournal keeper(document, journal);
    const Result<JournalContents> left = ReadJournal(journal.path());
    if (!left)
        return 3;
    if (!left->records.empty()) {
        keeper.SetPaused(true);
        (void)ReplayJournal(document, left->records);
        keeper.SetPaused(false);
        if (!journal.Restart(left->records))
            return 4;
    }
    for (long index = first; index <= last; ++index) {
        const Change change = ChangeAt(seed, index);
        if (change.kind == Change::Kind::kStore)
            (void)document.StoreNote(change.slot, start[change.slot] + change.text);
        else if (change.kind == Change::Kind::kMove)
            (void)document.MoveWindow(change.slot);
        else if (change.kind == Change::Kind::kWeekly)
            (void)document.Run(OperationKind::kApplyEntry, "Weekly Entry", [&](DocumentEdit& edit) {
                for (const int slot : WeeklySlots(change.slot))
                    edit.Day(slot) = start[slot] + change.text;
            });
        else if (!document.Save())
            return 5;
        if (change.kind != Change::Kind::kSave && !journal.WaitFlushed())
            return 6;
        if (::write(ack, &index, sizeof index) != static_cast<ssize_t>(sizeof index))
            return 7;
    }
    return 0;
}

TEST_F(Crash, RecoveryAfterAKillGivesEveryFlushedChange) {
    SCOPED_TRACE(Seed());
    const DataFolder data { dir_ };
    DayStore start;
    NewCalendar(kToday, start);
    start.set_loaded(true);
    ASSERT_TRUE(SaveDayFile(data.cdat(), start));
    // The process that makes changes `first`... and the last index it acknowledged, or `done`.
    const auto run = [&](long first, long last) {
        int fds[2];
        EXPECT_EQ(::pipe(fds), 0);
        const pid_t pid = Start([&] {
            ::close(fds[0]);
            return MakeChanges(data, start, seed_, first, last, fds[1]);
        });
        ::close(fds[1]);
        return std::make_pair(pid, fds[0]);
    };
    const auto last_ack = [](int ack, long none) {
        long index = 0;
        while (::read(ack, &index, sizeof index) == static_cast<ssize_t>(sizeof index))
            none = index;
        ::close(ack);
        return none;
    };
    // Delays up to twice the time of a start and 40 changes: a process after a crash first
    // replays and rewrites the journal, and other tests may share the machine.
    const auto timed_start = SteadyClock::now();
    const auto [timed, timed_ack] = run(1, 40);
    ASSERT_NO_FATAL_FAILURE(TimeDelays(timed, timed_start, 2, 300'000));
    EXPECT_EQ(last_ack(timed_ack, 0), 40);
    fs::remove(data.file(kJournalFileName));
    ASSERT_TRUE(SaveDayFile(data.cdat(), start));

    Expected expected { start };
    long done = 0; // changes 1..done are in the recovered calendar
    int kills_with_progress = 0;
    for (int kill = 1; kill <= 120; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill) + " after change " + std::to_string(done));
        const auto [pid, ack] = run(done + 1, done + 100'000);
        ASSERT_NO_FATAL_FAILURE(KillAfterADelay(pid));
        const long acked = last_ack(ack, done);

        // The recovery of start-up, Recover chosen: the saved days, then the journal.
        CalendarDocument recovered(data);
        ASSERT_TRUE(recovered.Load(kToday));
        const Result<JournalContents> journal = ReadJournal(data.file(kJournalFileName));
        ASSERT_TRUE(journal) << journal.error().note;
        EXPECT_LE(journal->lost_at_end, 1);
        (void)ReplayJournal(recovered, journal->records);

        // Everything acknowledged is there; at most the change being made when the kill came is
        // there too.
        Expected through_acked = expected;
        for (long index = done + 1; index <= acked; ++index)
            through_acked.Apply(ChangeAt(seed_, index), start);
        Expected one_more = through_acked;
        one_more.Apply(ChangeAt(seed_, acked + 1), start);
        const bool with_one_more = !through_acked.Holds(recovered) && one_more.Holds(recovered);
        ASSERT_TRUE(with_one_more || through_acked.Holds(recovered))
            << "the recovery is not what changes 1-" << acked << " (or " << acked + 1 << ") give";
        kills_with_progress += acked > done ? 1 : 0;
        expected = with_one_more ? one_more : through_acked;
        done = with_one_more ? acked + 1 : acked;
        expected.live_top = expected.top; // the next process starts from the recovered window
    }
    // Kills that never let a change be flushed would prove nothing.
    EXPECT_GT(kills_with_progress, 30);
}

} // namespace
} // namespace orvane
