// Kills a process that saves the calendar over and over, at random moments, and checks after every
// kill that the day file is one whole version or the other and that the clean-up of interrupted
// saves leaves nothing behind. A failure prints the seed; --gtest_random_seed=<seed> draws the same
// kill delays again, as fractions of the save time measured on the machine.
#include "core/data_folder.h"
#include "core/day_file.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A full store from Sunday 7 January 2024 whose days hold one to several everyday entries and
// some full days. The two versions differ in every noted day and in length, so that no mix or
// part of them equals either.
DayStore RealisticStore(bool second_version) {
    static const char* const kFirst[] = { "Dentist 9:30", "Call Bob about the weekend", "Gym",
        "Pay the electricity bill before Friday", "Lunch with Anna at the corner cafe",
        "Team meeting, room 4", "Pick up the dry cleaning",
        "Birthday: Aunt Margaret (send a card)" };
    static const char* const kSecond[] = { "Dentist moved to 11:00", "Bob: weekend is off",
        "Swimming", "Electricity bill paid", "Anna cancelled, lunch with Tom",
        "Team meeting moved to room 7", "Dry cleaning ready Thursday", "Card sent to Margaret" };
    const auto& entries = second_version ? kSecond : kFirst;
    DayStore store;
    NewCalendar(Date { std::chrono::year(2024), std::chrono::January, std::chrono::day(7) }, store);
    for (int slot = 1; slot <= kCalendarDays; ++slot) {
        const int count = slot % 37 == 0 ? kMaxEntries : slot % (second_version ? 4 : 5);
        for (int e = 0; e < count; ++e) {
            store[slot] += entries[(slot + e) % 8];
            store[slot] += kEntrySeparator;
        }
    }
    return store;
}

// Starts a process that saves `first` and `second` in turn over `file`, `saves` times or, when it
// is 0, until it is killed; a failed save ends it with status 1. The test process has a single
// thread, so the child may allocate as the save does.
pid_t StartSaver(const fs::path& file, const DayStore& first, const DayStore& second, int saves) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (int done = 0; saves == 0 || done < saves; ++done) {
            if (!SaveDayFile(file, done % 2 == 0 ? first : second))
                ::_exit(1);
        }
        ::_exit(0);
    }
    return pid;
}

std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

struct Layout {
    const char* name;
    bool linked; // cdat.ovd is a link to sync/calendar.ovd
    int kills;
};

void PrintTo(const Layout& layout, std::ostream* os) {
    *os << layout.name;
}

class SaveCrash : public ::testing::TestWithParam<Layout> {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path()
            / ("orvane_save_crash_" + std::to_string(::getpid()) + "_" + GetParam().name);
        fs::remove_all(root_);
        fs::create_directories(root_ / "data");
        fs::create_directories(root_ / "sync");
        if (GetParam().linked)
            fs::create_symlink("../sync/calendar.ovd", root_ / "data" / kDayFileName);
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_;
};

TEST_P(SaveCrash, KilledSavesLeaveTheOldOrTheNewFileAndCleanUpRemovesTheRest) {
    const unsigned seed = static_cast<unsigned>(::testing::UnitTest::GetInstance()->random_seed());
    SCOPED_TRACE("seed " + std::to_string(seed)
        + " (repeat with --gtest_random_seed=" + std::to_string(seed) + ")");
    const fs::path data = root_ / "data";
    const fs::path cdat = data / kDayFileName;
    const DayStore a = RealisticStore(false);
    const DayStore b = RealisticStore(true);
    const std::string a_bytes = FormatDayFile(a);
    const std::string b_bytes = FormatDayFile(b);
    ASSERT_NE(a_bytes.size(), b_bytes.size());

    // Kill delays span the child's start, whole saves and the moments between them: up to the time
    // a saver takes from the fork to the end of its second save (the median of a few measured
    // here, which holds the sanitizers' cost too). The bound keeps a very slow disk from running
    // the test into its time limit.
    ASSERT_TRUE(SaveDayFile(cdat, b));
    std::vector<long long> two_saves_us;
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        const pid_t saver = StartSaver(cdat, a, b, 2);
        ASSERT_GT(saver, 0);
        int status = 0;
        ASSERT_EQ(::waitpid(saver, &status, 0), saver);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
        two_saves_us.push_back(
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
    }
    std::sort(two_saves_us.begin(), two_saves_us.end());
    const long long max_delay_us = std::min(two_saves_us[two_saves_us.size() / 2], 100'000LL);
    std::mt19937 random(seed);
    std::uniform_int_distribution<long long> delay_us(0, max_delay_us);

    const std::set<std::string> data_files = { std::string(kDayFileName) };
    const std::set<std::string> sync_files
        = GetParam().linked ? std::set<std::string> { "calendar.ovd" } : std::set<std::string> {};
    const fs::path temp_folder = GetParam().linked ? root_ / "sync" : data;
    bool holds_b = true;
    int old_kept = 0;
    int new_written = 0;
    int kills_leaving_temporaries = 0;
    const int kills = GetParam().kills;
    for (int kill = 1; kill <= kills; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        // Each saver first replaces the version the file holds, then alternates.
        const pid_t saver = holds_b ? StartSaver(cdat, a, b, 0) : StartSaver(cdat, b, a, 0);
        ASSERT_GT(saver, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
        ::kill(saver, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(saver, &status, 0), saver);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the saver stopped by itself: a save failed";

        ASSERT_EQ(fs::is_symlink(cdat), GetParam().linked);
        const Result<std::string> bytes = ReadWholeFile(cdat);
        ASSERT_TRUE(bytes);
        const bool now_b = *bytes == b_bytes;
        ASSERT_TRUE(now_b || *bytes == a_bytes)
            << "cdat.ovd is neither version: " << bytes->size() << " bytes";
        ++(now_b == holds_b ? old_kept : new_written);
        holds_b = now_b;

        // Whatever the kill left beside the file is a temporary of the save.
        const std::size_t left = Listing(temp_folder).size() - 1;
        if (left > 0)
            ++kills_leaving_temporaries;
        const Result<int> removed = RemoveStaleTemporaryFiles(data, kDataFileNames);
        ASSERT_TRUE(removed);
        EXPECT_EQ(static_cast<std::size_t>(*removed), left);
        ASSERT_EQ(Listing(data), data_files);
        ASSERT_EQ(Listing(root_ / "sync"), sync_files);
    }
    std::printf("%d kills: old file kept %d, new file written %d, temporaries left by %d "
                "(delays up to %lld us)\n",
        kills, old_kept, new_written, kills_leaving_temporaries, max_delay_us);
    // Kills that never caught a save in progress, or never let one finish, would prove nothing.
    EXPECT_GT(kills_leaving_temporaries, 0);
    EXPECT_GT(old_kept, 0);
    EXPECT_GT(new_written, 0);
}

INSTANTIATE_TEST_SUITE_P(Layouts, SaveCrash,
    ::testing::Values(Layout { "PlainFile", false, 200 }, Layout { "Linked", true, 60 }),
    [](const auto& param_info) { return std::string(param_info.param.name); });

} // namespace
} // namespace orvane
