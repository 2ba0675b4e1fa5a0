// Kills a process that stores notes and now and then saves, at random moments, 150 times.
// After each kill the calendar is recovered as start-up does (the temporaries of a cut-off save
// removed, the day file read, the journal replayed) and must hold every change acknowledged as
// flushed, or at most the one after them; a save cut off anywhere must leave a whole day file. The
// next process goes on from that recovery. A failure prints the seed;
// --gtest_random_seed=<seed> repeats the same changes and kill delays.
#include "core/calendar_document.h"
#include "core/data_folder.h"
#include "core/day_file.h"
#include "core/journal.h"
#include "core/tests/fixtures.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane {
namespace {

namespace fs = std::filesystem;

const Date kToday = MakeDate(2024, 1, 10);

// One change the user makes; change `index` is the same in every process that makes it.
struct Change {
    bool save; // or store `text` after the date key of `slot`
    int slot;
    std::string text;
};

Change ChangeAt(unsigned seed, long index) {
    std::mt19937 random(seed * 2654435761U + static_cast<unsigned>(index));
    const bool save = random() % 10 == 0;
    return { save, 1 + static_cast<int>(random() % kLastShownSlot),
        "Note " + std::to_string(index) + "\aCall Bob about the weekend\a" };
}

// The days the changes up to some index give.
struct Expected {
    DayStore store;

    void Apply(const Change& change, const DayStore& start) {
        if (!change.save)
            store[change.slot] = start[change.slot] + change.text;
    }
    bool Holds(const CalendarDocument& recovered) const {
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            if (store[slot] != recovered.store()[slot])
                return false;
        }
        return true;
    }
};

// Makes changes `first` to `last`, writing each index to `ack` once the journal holds it on disk
// (or the save is done). It starts as the program does after a crash.
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
        if (!change.save)
            (void)document.StoreNote(change.slot, start[change.slot] + change.text);
        else if (!document.Save())
            return 5;
        if (!change.save && !journal.WaitFlushed())
            return 6;
        if (::write(ack, &index, sizeof index) != static_cast<ssize_t>(sizeof index))
            return 7;
    }
    return 0;
}

struct Child {
    pid_t pid = -1;
    int ack = -1; // the read end of the acknowledgements
};

// Forks a process that makes changes `first` to `last`. The test process has a single thread, so
// the child may allocate.
Child StartChanger(
    const DataFolder& data, const DayStore& start, unsigned seed, long first, long last) {
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        ::_exit(MakeChanges(data, start, seed, first, last, fds[1]));
    }
    ::close(fds[1]);
    return { pid, fds[0] };
}

// The last index the child acknowledged, or `none`.
long LastAck(int ack, long none) {
    long index = 0;
    while (::read(ack, &index, sizeof index) == static_cast<ssize_t>(sizeof index))
        none = index;
    ::close(ack);
    return none;
}

using Crash = FolderTest;

TEST_F(Crash, RecoveryAfterAKillGivesEveryFlushedChangeAndAWholeDayFile) {
    const unsigned seed = static_cast<unsigned>(::testing::UnitTest::GetInstance()->random_seed());
    SCOPED_TRACE("seed " + std::to_string(seed)
        + " (repeat with --gtest_random_seed=" + std::to_string(seed) + ")");
    const DataFolder data { dir_ };
    DayStore start;
    NewCalendar(kToday, start);
    start.set_loaded(true);
    ASSERT_TRUE(SaveDayFile(data.cdat(), start));

    // Kill delays up to twice the time of a start and 40 changes (a process after a crash first
    // replays and rewrites the journal, and other tests may share the machine), at most 300 ms,
    // so that kills land before, among and after the first flushes.
    const auto began = std::chrono::steady_clock::now();
    const Child timed = StartChanger(data, start, seed + 1, 1, 40);
    ASSERT_GT(timed.pid, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(timed.pid, &status, 0), timed.pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the changer failed";
    EXPECT_EQ(LastAck(timed.ack, 0), 40);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - began);
    std::uniform_int_distribution<long long> delay_us(
        0, std::min<long long>(2 * took.count(), 300'000));
    fs::remove(data.file(kJournalFileName));
    ASSERT_TRUE(SaveDayFile(data.cdat(), start));

    std::mt19937 random(seed);
    Expected expected { start };
    long done = 0; // changes 1..done are in the recovered calendar
    int kills_with_progress = 0;
    for (int kill = 1; kill <= 150; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill) + " after change " + std::to_string(done));
        const Child child = StartChanger(data, start, seed, done + 1, done + 100'000);
        ASSERT_GT(child.pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
        ::kill(child.pid, SIGKILL);
        ASSERT_EQ(::waitpid(child.pid, &status, 0), child.pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the changer stopped by itself with "
                                         << (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        const long acked = LastAck(child.ack, done);

        // Whatever the kill left beside the day file and the journal is a temporary of a save or
        // of the journal's rewrite.
        ASSERT_TRUE(RemoveStaleTemporaryFiles(dir_, kDataFileNames));
        ASSERT_TRUE(RemoveStaleTemporaryFiles(dir_, std::array { kJournalFileName }));
        for (const auto& entry : fs::directory_iterator(dir_)) {
            const auto name = entry.path().filename();
            EXPECT_TRUE(name == kDayFileName || name == kJournalFileName) << name;
        }
        CalendarDocument recovered(data);
        ASSERT_TRUE(recovered.Load(kToday)) << "the day file is not whole";
        const Result<JournalContents> journal = ReadJournal(data.file(kJournalFileName));
        ASSERT_TRUE(journal) << journal.error().note;
        EXPECT_LE(journal->lost_at_end, 1);
        (void)ReplayJournal(recovered, journal->records);

        Expected through_acked = expected;
        for (long index = done + 1; index <= acked; ++index)
            through_acked.Apply(ChangeAt(seed, index), start);
        Expected one_more = through_acked;
        one_more.Apply(ChangeAt(seed, acked + 1), start);
        const bool with_one_more = !through_acked.Holds(recovered) && one_more.Holds(recovered);
        ASSERT_TRUE(with_one_more || through_acked.Holds(recovered))
            << "the recovery is not what changes 1-" << acked << " (or " << acked + 1 << ") give";
        kills_with_progress += acked > done ? 1 : 0;
        expected = with_one_more ? one_more : through_acked;
        done = with_one_more ? acked + 1 : acked;
    }
    // Kills that never let a change be flushed would prove nothing.
    EXPECT_GT(kills_with_progress, 40);
}

} // namespace
} // namespace orvane
