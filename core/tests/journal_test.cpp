#include "core/journal.h"

#include "core/date_key.h"
#include "core/day_file.h"
#include "core/tests/fixtures.h"
#include "core/text_file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using Records = std::vector<JournalRecord>;

Records SampleRecords() {
    JournalRecord typed { JournalRecord::Kind::kTyping, "Typing", 0,
        { { 5, std::string("Mar/14/2024Dentist\a") } } };
    JournalRecord stored { JournalRecord::Kind::kChange, "Typing", 0,
        { { 5, std::string("Mar/14/2024Dentist 9:30\a") } } };
    // Bytes a day string can hold that a line-based format would trip over: a colon, digits
    // after a separator, an empty text, Windows-1252 letters.
    JournalRecord weekly { JournalRecord::Kind::kChange, "Weekly Entry 'Caf\xe9: 12'", 8,
        { { 1, std::string("Mar/10/2024") }, { 8, std::string("Mar/17/2024Caf\xe9: 12\a3:4\a") },
            { 741, std::string() } } };
    JournalRecord move { JournalRecord::Kind::kChange, "Move", 694, {} };
    return { typed, stored, weekly, move };
}

std::string JournalBytes(const Records& records) {
    std::string bytes(kJournalHeader);
    for (const JournalRecord& record : records)
        bytes += EncodeJournalRecord(record);
    return bytes;
}

TEST(JournalFormat, RecordsReadBackAsWritten) {
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926U); // the standard check value
    const auto records = SampleRecords();
    for (const Records& written : { records, Records {} }) {
        const Result<JournalContents> read = ParseJournal(JournalBytes(written));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->records, written);
        EXPECT_EQ(read->lost_at_end, 0);
    }
    EXPECT_TRUE(ParseJournal("").value_or(JournalContents { records, 1 }).records.empty());
}

// A crash during an append can stop it after any byte, or leave zeros where a file system grew
// the file before the data reached it: the whole records before it are kept and it counts lost.
TEST(JournalFormat, ACutOrZeroedEndKeepsTheRecordsBeforeItAndCountsLost) {
    const auto records = SampleRecords();
    const std::string whole = JournalBytes(records);
    const std::size_t last = EncodeJournalRecord(records.back()).size();
    const Records all_but_last(records.begin(), records.end() - 1);
    for (std::size_t cut = whole.size() - last + 1; cut < whole.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const Result<JournalContents> read = ParseJournal(std::string_view(whole).substr(0, cut));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->records, all_but_last);
        EXPECT_EQ(read->lost_at_end, 1);
    }
    std::string zeroed = whole;
    zeroed.replace(whole.size() - last, last, std::string(last, '\0'));
    EXPECT_EQ(ParseJournal(zeroed).value_or(JournalContents {}).records, all_but_last);
    // The first append cut inside the header.
    EXPECT_EQ(
        ParseJournal(kJournalHeader.substr(0, 7)).value_or(JournalContents {}).lost_at_end, 1);

    // One batch of two records, the first damaged and the second cut off by the crash.
    const std::size_t third = kJournalHeader.size() + EncodeJournalRecord(records[0]).size()
        + EncodeJournalRecord(records[1]).size();
    std::string damaged = whole.substr(0, whole.size() - 3);
    damaged[third + 25] = '\0';
    const Result<JournalContents> read = ParseJournal(damaged);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->records, Records(records.begin(), records.begin() + 2));
    EXPECT_EQ(read->lost_at_end, 2);
}

TEST(JournalFormat, AFileThatIsNotTheProgramsOwnIsRefused) {
    const std::string good = JournalBytes(SampleRecords());
    std::string other_version = good;
    other_version.replace(kJournalHeader.size() - 3, 1, "2");
    std::string edited_first = good;
    edited_first[kJournalHeader.size() + 32] ^= 0x01;
    const JournalRecord bad_slot { JournalRecord::Kind::kChange, "x", 0, { { 742, "x" } } };
    for (const std::string& bytes :
        { std::string("Dentist on Tuesday\r\nCall Bob\r\n"), other_version, edited_first,
            std::string(kJournalHeader) + EncodeJournalRecord(bad_slot) }) {
        const Result<JournalContents> read = ParseJournal(bytes);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.error().kind, ErrorKind::kRefused);
        EXPECT_NE(
            read.error().note.find("not one this version of Orvane wrote"), std::string::npos);
    }
}

TEST(JournalFormat, ChangesCountTypingAndItsStoreOnceAndTheTextShowsEachDay) {
    const auto records = SampleRecords();
    EXPECT_EQ(CountChanges(records), 3); // typed+stored, weekly, move

    const std::string text = JournalText(records);
    EXPECT_NE(text.find("\r\nTyping (not stored yet)\r\n  Mar/14/2024\r\n    Dentist\r\n"),
        std::string::npos);
    EXPECT_NE(text.find("\r\nWeekly Entry 'Caf\xe9: 12'\r\n  Mar/10/2024\r\n  Mar/17/2024\r\n"
                        "    Caf\xe9: 12\r\n    3:4\r\n"),
        std::string::npos);
    EXPECT_EQ(text.find('\a'), std::string::npos);
}

using JournalFolder = FolderTest;

TEST(JournalDisk, AFullDiskIsReportedOnceAndTheJournalKeepsTakingRecords) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    Journal journal("/dev/full");
    std::atomic<int> reports = 0;
    journal.SetFailureHandler([&](const Error& error) {
        reports += error.io && error.io->code == std::errc::no_space_on_device ? 1 : 100;
    });
    for (const JournalRecord& record : SampleRecords()) {
        journal.Append(record);
        EXPECT_FALSE(journal.WaitFlushed());
    }
    EXPECT_EQ(reports.load(), 1);
    // Clearing leaves a file it did not write alone.
    EXPECT_FALSE(journal.Clear());
    EXPECT_TRUE(fs::exists("/dev/full"));
}

// Every change to days or the window is journalled, not loads or the preferences; a save clears
// the journal.
TEST_F(JournalFolder, DocumentChangesAreJournalledReplayedAndClearedBySaving) {
    DataFolder data { dir_ };
    DayStore store;
    NewCalendar(MakeDate(2024, 3, 14), store);
    store.set_loaded(true);
    CalendarDocument document(data);
    document.Adopt(store, "Mar/14/2024");
    Journal journal(data.file(kJournalFileName));
    DocumentJournal keeper(document, journal);

    keeper.NoteTyped(5, document.store()[5] + "Dent\a");
    (void)document.StoreNote(5, document.store()[5] + "Dentist\a");
    (void)document.StoreNote(6, document.store()[6]); // no change: nothing journalled
    (void)document.MoveWindow(15);
    Preferences prefs = document.prefs();
    prefs.CalendarFont = "Tahoma";
    (void)document.SetPreferences(prefs);
    ASSERT_TRUE(journal.WaitFlushed());

    Result<JournalContents> read = ReadJournal(journal.path());
    ASSERT_TRUE(read);
    ASSERT_EQ(read->records.size(), 3U);
    EXPECT_EQ(read->records[0].kind, JournalRecord::Kind::kTyping);
    CalendarDocument restarted(data);
    restarted.Adopt(store, "Mar/14/2024");
    (void)ReplayJournal(restarted, read->records);
    EXPECT_EQ(restarted.store()[5], document.store()[5]);
    EXPECT_EQ(restarted.TopSlot(), document.TopSlot());
    EXPECT_FALSE(fs::exists(data.cdat())) << "recovery writes nothing to the day file";

    ASSERT_TRUE(document.Save());
    EXPECT_FALSE(fs::exists(journal.path()));
}

} // namespace
} // namespace orvane
