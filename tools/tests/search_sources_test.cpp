#include "tools/search_sources.h"

#include "core/day_file.h"
#include "core/text_file.h"
#include "cycling/archive_file.h"
#include "tools/rtf.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stop_token>

namespace orvane {
namespace {

std::string Fixture(std::string_view name) {
    return ReadWholeFile(std::filesystem::path(ORVANE_TEST_DATA) / name).value_or("");
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string replaced;
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
        replaced.append(text.substr(start, at - start)).append(to);
        start = at + from.size();
    }
    return replaced.append(text.substr(start));
}

SearchQuery Query(
    std::string text, SearchScopes scopes, bool whole_word = false, bool all_words = false) {
    SearchQuery query;
    query.text = std::move(text);
    query.scopes = scopes;
    query.whole_word = whole_word;
    query.all_words = all_words;
    return query;
}

constexpr SearchScopes kDays { true, false, false };
constexpr SearchScopes kArchive { false, true, false };
constexpr SearchScopes kNotes { false, false, true };
constexpr SearchScopes kAll { true, true, true };

// "D12" for the day in slot 12, "A3" for archive line 3, "N2" for notes paragraph 2.
std::vector<std::string> Places(const SearchOutcome& outcome) {
    std::vector<std::string> places;
    for (const SearchResult& result : outcome.results) {
        switch (result.scope) {
        case SearchScope::kDays:
            places.push_back("D" + std::to_string(result.slot));
            break;
        case SearchScope::kArchive:
            places.push_back("A" + std::to_string(result.line));
            break;
        case SearchScope::kNotes:
            places.push_back("N" + std::to_string(result.paragraph));
            break;
        }
    }
    return places;
}

// Every result must point at text that holds one of the searched words, and its snippet must show
// the same text where it says.
void ExpectResultsPointAtTheirMatch(const SearchOutcome& outcome, const SearchQuery& query,
    const DayStore* days, std::string_view archive, std::string_view notes_text) {
    const std::vector<std::string> archive_lines = SplitLines(archive);
    for (const SearchResult& result : outcome.results) {
        std::string_view where;
        if (result.scope == SearchScope::kDays)
            where = EntryText((*days)[result.slot]);
        else if (result.scope == SearchScope::kArchive)
            where = archive_lines.at(static_cast<std::size_t>(result.line));
        else
            where = notes_text;
        ASSERT_LE(result.offset + result.length, where.size());
        const std::string matched = FoldCase(where.substr(result.offset, result.length));
        EXPECT_NE(FoldCase(query.text).find(matched), std::string::npos) << matched;
        ASSERT_LE(result.snippet_offset + result.snippet_length, result.snippet.size());
        // The snippet shows tabs and line breaks as blanks.
        EXPECT_EQ(FoldCase(result.snippet.substr(result.snippet_offset, result.snippet_length)),
            ReplaceAll(ReplaceAll(matched, "\t", " "), "\v", " "))
            << result.snippet;
    }
}

class SourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        NewCalendar(MakeDate(2024, 1, 7), store_);
        data_.dir = std::filesystem::path(testing::TempDir()) / "orvane_search_sources_test";
        std::filesystem::remove_all(data_.dir);
        std::filesystem::create_directories(data_.dir);
    }
    void TearDown() override { std::filesystem::remove_all(data_.dir); }

    void SetNote(int slot, std::string_view note) {
        store_[slot] = store_[slot].substr(0, kDateKeyLength) + std::string(note);
    }
    SearchSources Sources() { return LoadSearchSources(data_, store_); }
    SearchOutcome Run(const SearchQuery& query) { return RunSearch(Sources(), query); }

    DayStore store_;
    DataFolder data_;
};

TEST_F(SourcesTest, DaysAloneAreInSlotOrderAndNewestFirstBesideOtherScopes) {
    SetNote(700, "call the dentist\a");
    SetNote(3, "Dentist at 9\a");
    SetNote(40, "dentist\aDENTIST again\a");
    ASSERT_TRUE(WriteFileAtomic(data_.archive(), Fixture("archive.ovd")));
    ASSERT_TRUE(WriteFileAtomic(data_.notes(), "dentist one\r\nnothing\r\nDentist two\r\n"));

    EXPECT_EQ(
        Places(Run(Query("DENTIST", kDays))), (std::vector<std::string> { "D3", "D40", "D700" }));
    // Archive: the dated lines by date (2025, 2024, 2022), then the undated ones from the last.
    // Line 10 opens with "Feb/30/2024", which names no day.
    const SearchOutcome all = Run(Query("DENTIST", kAll));
    EXPECT_EQ(Places(all),
        (std::vector<std::string> {
            "D700", "D40", "D3", "A8", "A0", "A11", "A10", "A7", "N0", "N2" }));
    EXPECT_TRUE(all.skipped.empty());
    ExpectResultsPointAtTheirMatch(
        all, Query("dentist", kAll), &store_, Fixture("archive.ovd"), Sources().notes->text().text);
    EXPECT_EQ(Places(Run(Query("dentist", { true, true, false }))).size(), 8u);
    EXPECT_EQ(Places(Run(Query("dentist", kNotes))), (std::vector<std::string> { "N0", "N2" }));
}

TEST_F(SourcesTest, DayResultsCarryKeyDateAndMatch) {
    SetNote(4, "Lunch\aCall the Dentist\a"); // Wednesday 10 January 2024
    const SearchOutcome found = Run(Query("dentist", kAll));
    ASSERT_EQ(found.results.size(), 1u);
    const SearchResult& day = found.results[0];
    EXPECT_EQ(day.slot, 4);
    EXPECT_EQ(day.date_key, "Jan/10/2024");
    EXPECT_EQ(day.date, MakeDate(2024, 1, 10));
    EXPECT_EQ(day.offset, 15u); // in the text after the key
    EXPECT_EQ(day.length, 7u);
    EXPECT_EQ(day.snippet, "Lunch / Call the Dentist");
    EXPECT_EQ(day.snippet_offset, 17u);
    EXPECT_EQ(day.snippet_length, 7u);
}

// The fixture mixes CR LF, lone CR and lone LF line ends, holds a line edited by hand without a
// date key, a line whose key names no day and a last line without a line end.
struct ArchiveCase {
    const char* needle;
    std::vector<std::string> places;
    std::vector<std::size_t> offsets;
    std::vector<std::string> keys;
};

class ArchiveFixture : public SourcesTest, public ::testing::WithParamInterface<ArchiveCase> { };

TEST_P(ArchiveFixture, FindsLinesWhereTheArchiveWindowShowsThem) {
    const std::string bytes = Fixture("archive.ovd");
    ASSERT_TRUE(WriteFileAtomic(data_.archive(), bytes));
    const ArchiveCase& c = GetParam();
    const SearchOutcome found = Run(Query(c.needle, kArchive));
    EXPECT_EQ(Places(found), c.places);
    std::vector<std::size_t> offsets;
    std::vector<std::string> keys;
    for (const SearchResult& result : found.results) {
        offsets.push_back(result.offset);
        keys.push_back(result.date_key);
        EXPECT_EQ(result.date.has_value(), !result.date_key.empty());
        if (result.date) {
            EXPECT_EQ(DateKey(*result.date), result.date_key);
        }
    }
    EXPECT_EQ(offsets, c.offsets);
    EXPECT_EQ(keys, c.keys);
    ExpectResultsPointAtTheirMatch(found, Query(c.needle, kArchive), nullptr, bytes, {});
}

INSTANTIATE_TEST_SUITE_P(SearchSources, ArchiveFixture,
    ::testing::Values(
        // Keys are not searched: "Mar" is found only in the line without a key.
        ArchiveCase { "mar", { "A7" }, { 37 }, { "" } },
        // A line opening with no valid date is searched whole.
        ArchiveCase { "2024", { "A10" }, { 7 }, { "" } },
        ArchiveCase { "ANNA", { "A2", "A5" }, { 23, 12 }, { "Mar/5 /2024", "Mar/12/2023" } },
        ArchiveCase { "caf\xc9", { "A11" }, { 23 }, { "Dec/31/2022" } },
        ArchiveCase { "bob call", {}, {}, {} }));

// A 50-year archive as cycles write it: a week at a time, each day with entries as its line and
// an empty line, then one more empty line.
struct GeneratedArchive {
    std::string bytes;
    std::vector<int> lines; // where each marker is, counted as the archive window counts
    std::vector<std::size_t> offsets;
    std::vector<std::string> keys;
};

constexpr const char* kMarkers[] = { "Quokka-start", "Quokka-middle", "Quokka-end" };

GeneratedArchive FiftyYearArchive(std::string_view line_end) {
    static const char* const kEntries[] = { "Dentist 9:30", "Call Bob about the weekend", "Gym",
        "Pay the electricity bill", "Lunch with Anna at the corner caf\xe9", "Team meeting",
        "Pick up the dry cleaning", "Birthday: Aunt Margaret", "Piano lesson" };
    constexpr int kWeeks = 52 * 50;
    const int marked_weeks[] = { 1, kWeeks / 2, kWeeks - 1 };
    GeneratedArchive archive;
    const Date first_sunday = MakeDate(1974, 1, 6);
    DayStore week;
    int line = 0;
    for (int w = 0; w < kWeeks; ++w) {
        for (int d = 0; d < 7; ++d) {
            const int n = w * 7 + d;
            std::string day = DateKey(AddDays(first_sunday, n));
            for (int e = 0; e <= n % 7; ++e) {
                day += kEntries[(n + e) % 9];
                day += kEntrySeparator;
            }
            for (std::size_t m = 0; m < 3; ++m) {
                if (w == marked_weeks[m] && d == 3) {
                    archive.lines.push_back(line);
                    archive.offsets.push_back(day.size() + 1); // the blank after the key
                    archive.keys.push_back(day.substr(0, kDateKeyLength));
                    day += kMarkers[m];
                    day += kEntrySeparator;
                }
            }
            week[d + 1] = day;
            line += 2;
        }
        ++line;
        archive.bytes += ArchiveWeekBytes(week);
    }
    archive.bytes = ReplaceAll(archive.bytes, "\r\n", line_end);
    return archive;
}

class FiftyYears : public ::testing::TestWithParam<const char*> { };

TEST_P(FiftyYears, FindsMarkersNearStartMiddleAndEnd) {
    const GeneratedArchive archive = FiftyYearArchive(GetParam());
    EXPECT_GT(archive.bytes.size(), 1'500'000u);
    SearchSources sources;
    sources.archive = std::make_shared<const ArchiveIndex>(archive.bytes);
    EXPECT_GE(sources.archive->text().units.size(), 18'000u);
    for (std::size_t m = 0; m < 3; ++m) {
        const SearchOutcome found = RunSearch(sources, Query(FoldCase(kMarkers[m]), kArchive));
        ASSERT_EQ(found.results.size(), 1u) << kMarkers[m];
        const SearchResult& result = found.results[0];
        EXPECT_EQ(result.line, archive.lines[m]);
        EXPECT_EQ(result.offset, archive.offsets[m]);
        EXPECT_EQ(result.length, std::string_view(kMarkers[m]).size());
        EXPECT_EQ(result.date_key, archive.keys[m]);
    }
    // Every "Quokka" at once, newest first.
    const SearchOutcome all = RunSearch(sources, Query("quokka", kArchive));
    EXPECT_EQ(Places(all),
        (std::vector<std::string> { "A" + std::to_string(archive.lines[2]),
            "A" + std::to_string(archive.lines[1]), "A" + std::to_string(archive.lines[0]) }));
    ExpectResultsPointAtTheirMatch(all, Query("quokka", kArchive), nullptr, archive.bytes, {});
}

INSTANTIATE_TEST_SUITE_P(SearchSources, FiftyYears, ::testing::Values("\r\n", "\r", "\n"));

// Notes are searched in their text, never in the RTF markup around it.
struct NotesCase {
    const char* file;
    const char* needle;
    bool whole_word;
    std::vector<std::size_t> offsets; // in the notes' plain text
    std::vector<int> paragraphs;
};

class NotesFixture : public ::testing::TestWithParam<NotesCase> { };

TEST_P(NotesFixture, FindsTheTextNotTheMarkup) {
    const NotesCase& c = GetParam();
    SearchSources sources;
    sources.notes = std::make_shared<const NotesIndex>(Fixture(c.file));
    const SearchQuery query = Query(c.needle, kNotes, c.whole_word);
    const SearchOutcome found = RunSearch(sources, query);
    std::vector<std::size_t> offsets;
    std::vector<int> paragraphs;
    for (const SearchResult& result : found.results) {
        offsets.push_back(result.offset);
        paragraphs.push_back(result.paragraph);
        EXPECT_TRUE(result.date_key.empty());
        EXPECT_FALSE(result.date);
    }
    EXPECT_EQ(offsets, c.offsets) << c.needle;
    EXPECT_EQ(paragraphs, c.paragraphs) << c.needle;
    ExpectResultsPointAtTheirMatch(found, query, nullptr, {}, sources.notes->text().text);
}

// nested_notes.ovd reads as "Outer bold partial text\nSecond b0 under para\n\t\xc9t\xe9 link\vend";
// richedit_notes.ovd as "Caf\xe9 opens at 9\nBring the list\tdone\nLine one\vline two\n\x80 and ?
// \n\nold".
INSTANTIATE_TEST_SUITE_P(SearchSources, NotesFixture,
    ::testing::Values(NotesCase { "nested_notes.ovd", "par", false, { 11, 40 }, { 0, 1 } },
        NotesCase { "nested_notes.ovd", "par", true, {}, {} },
        NotesCase { "nested_notes.ovd", "b0", false, { 31 }, { 1 } },
        NotesCase { "nested_notes.ovd", "\xc9T\xc9", false, { 46 }, { 2 } },
        NotesCase { "nested_notes.ovd", "link end", false, {}, {} }, // a line break is no blank
        NotesCase { "nested_notes.ovd", "hyperlink", false, {}, {} },
        NotesCase { "nested_notes.ovd", "bkmk", false, {}, {} },
        NotesCase { "nested_notes.ovd", "arial", false, {}, {} },
        NotesCase { "richedit_notes.ovd", "par", false, {}, {} },
        NotesCase { "richedit_notes.ovd", "b0", false, {}, {} },
        NotesCase { "richedit_notes.ovd", "fs16", false, {}, {} },
        NotesCase { "richedit_notes.ovd", "LINE", false, { 36 }, { 2 } },
        NotesCase { "richedit_notes.ovd", "list\tdone", false, { 26 }, { 1 } },
        NotesCase { "richedit_notes.ovd", "old", true, { 63 }, { 5 } },
        // Plain text: "Shopping list\r\nMilk\r\n\r\nCall Ren\xe9\r\n".
        NotesCase { "plain_notes.ovd", "REN\xc9", false, { 25 }, { 3 } },
        NotesCase { "plain_notes.ovd", "l", true, {}, {} },
        NotesCase { "plain_notes.ovd", "l", false, { 9, 16, 22 }, { 0, 1, 3 } }));

TEST_F(SourcesTest, WholeWordTreatsAccentedLettersAsLetters) {
    SetNote(1, "R\xe9sum\xe9 sent\a"); // Résumé
    SetNote(2, "Caf\xe9 au lait\a");
    SetNote(3, "l'\xe9t\xe9 (caf\xe9)\a");
    SetNote(4, "2024x report\aBob\a");
    SetNote(5, "\x9cuvre na\xefve\a"); // œuvre naïve
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        { "caf", {} },
        { "caf\xe9", { "D2", "D3" } },
        { "sum", {} },
        { "r\xe9sum\xe9", { "D1" } },
        { "l", { "D3" } },
        { "\xe9t", {} },
        { "2024", {} },
        { "report", { "D4" } },
        { "bob", { "D4" } },
        { "uvre", {} },
        { "na", {} },
        { "\x8cUVRE NA\xcfVE", { "D5" } },
    };
    for (const auto& [needle, places] : cases) {
        EXPECT_EQ(Places(Run(Query(needle, kDays, /*whole_word=*/true))), places) << needle;
        // Without the option each is found as a piece of text.
        EXPECT_FALSE(Run(Query(needle, kDays)).results.empty()) << needle;
    }
    for (const char letter : { 'a', 'Z', '5', '\xe9', '\xc9', '\xdf', '\xff', '\x9c', '\x8a' })
        EXPECT_TRUE(IsWordByte(letter)) << letter;
    for (const char other : { ' ', '\'', '-', '\a', '\xd7', '\xf7', '\xa0', '\x85', '\x80' })
        EXPECT_FALSE(IsWordByte(other)) << other;
}

TEST_F(SourcesTest, AllWordsMatchInAnyOrderWithinOneDayLineOrParagraph) {
    SetNote(1, "Lunch with Anna at noon\a");
    SetNote(2, "Lunch\aAnna\a"); // two entries of one day
    SetNote(3, "lunch\a");
    SetNote(4, "anna\a");
    SetNote(5, "Lunchbox for Annabel\a");
    ASSERT_TRUE(WriteFileAtomic(data_.archive(),
        "Jan/3 /2020 Lunch Anna \r\n\r\nJan/4 /2020 Lunch \r\nJan/5 /2020 Anna \r\n"));
    ASSERT_TRUE(WriteFileAtomic(data_.notes(), "Anna\r\nlunch\r\nanna and\vlunch\r\n"));
    const std::pair<SearchQuery, std::vector<std::string>> cases[] = {
        { Query("ANNA lunch", kAll, false, true), { "D5", "D2", "D1", "A0", "N2" } },
        { Query("  noon   anna ", kDays, false, true), { "D1" } },
        { Query("anna dinner", kAll, false, true), {} },
        { Query("anna lunch", kAll, true, true), { "D2", "D1", "A0", "N2" } },
        { Query("anna anna", kDays, false, true), { "D1", "D2", "D4", "D5" } },
        // As one piece of text the words must follow each other.
        { Query("anna lunch", kAll), {} },
        { Query("   ", kAll, false, true), {} },
        { Query("", kAll), {} },
    };
    for (const auto& [query, places] : cases)
        EXPECT_EQ(Places(Run(query)), places) << query.text;

    // The first match is the earliest of the words.
    const SearchOutcome found = Run(Query("noon lunch", kDays, false, true));
    ASSERT_EQ(found.results.size(), 1u);
    EXPECT_EQ(found.results[0].offset, 0u);
    EXPECT_EQ(found.results[0].length, 5u);
}

// Snippets are built around the first match, never longer than about sixty characters.
struct SnippetCase {
    const char* note;
    const char* needle;
    const char* snippet;
};

class Snippets : public SourcesTest, public ::testing::WithParamInterface<SnippetCase> { };

TEST_P(Snippets, ShowTheMatchInContext) {
    const SnippetCase& c = GetParam();
    SetNote(10, c.note);
    const SearchOutcome found = Run(Query(c.needle, kDays));
    ASSERT_EQ(found.results.size(), 1u);
    const SearchResult& result = found.results[0];
    EXPECT_EQ(result.snippet, c.snippet);
    EXPECT_LE(result.snippet.size(), 64u);
    EXPECT_EQ(FoldCase(result.snippet.substr(result.snippet_offset, result.snippet_length)),
        FoldCase(c.needle));
}

INSTANTIATE_TEST_SUITE_P(SearchSources, Snippets,
    ::testing::Values(SnippetCase { "Dentist\aCall Bob\a", "bob", "Dentist / Call Bob" },
        SnippetCase { "Gym\a", "GYM", "Gym" },
        // Cut at blanks before and after, with an ellipsis where the note goes on.
        SnippetCase { "The quick brown fox jumps over the lazy dog while the dentist waits "
                      "patiently for the next appointment to begin at noon\a",
            "dentist", "\x85lazy dog while the dentist waits patiently for the next\x85" },
        // Near the start of a long note the room before the match goes after it.
        SnippetCase { "Dentist appointment moved to Thursday afternoon because the "
                      "clinic is closed\a",
            "dentist", "Dentist appointment moved to Thursday afternoon because\x85" },
        SnippetCase { "Remember\aAsk about the invoice from the garage that repaired the "
                      "clutch\aBuy milk\a",
            "milk",
            "\x85"
            "from the garage that repaired the clutch / Buy milk" },
        // A word too long to end at a blank is cut inside.
        SnippetCase {
            "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaneedlebbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb"
            "bbbbbbbbbbbbbbbbbbbb\a",
            "needle",
            "\x85"
            "aaaaaaaaaaaaaaaaaaaaneedlebbbbbbbbbbbbbbbbbbbbbbbbbbbbbb\x85" }));

TEST_F(SourcesTest, ArchiveAndNotesSnippetsLeaveOutKeysAndShowBreaksAsBlanks) {
    ASSERT_TRUE(WriteFileAtomic(data_.archive(), "Mar/14/2024 Dentist Call Bob \r\n"));
    ASSERT_TRUE(
        WriteFileAtomic(data_.notes(), WriteRtf(PlainTextDocument("Shopping\r\nbread\tmilk\r\n"))));
    const SearchOutcome found = Run(Query("call", kArchive));
    ASSERT_EQ(found.results.size(), 1u);
    EXPECT_EQ(found.results[0].snippet, "Dentist Call Bob");
    EXPECT_EQ(found.results[0].snippet_offset, 8u);
    EXPECT_EQ(found.results[0].offset, 20u);

    const SearchOutcome notes = Run(Query("milk", kNotes));
    ASSERT_EQ(notes.results.size(), 1u);
    EXPECT_EQ(notes.results[0].snippet, "bread milk");
    EXPECT_EQ(notes.results[0].offset, 15u);
}

TEST_F(SourcesTest, ACancelledSearchReturnsNothingAndSaysSo) {
    SetNote(1, "dentist\a");
    ASSERT_TRUE(
        WriteFileAtomic(data_.archive(), FiftyYearArchive("\r\n").bytes + "Jan/1 /2070 dentist"));
    const SearchSources sources = Sources();
    std::stop_source stop;
    stop.request_stop();
    for (const SearchScopes scopes : { kDays, kArchive, kNotes, kAll }) {
        const SearchOutcome cancelled
            = RunSearch(sources, Query("dentist", scopes), stop.get_token());
        EXPECT_TRUE(cancelled.cancelled);
        EXPECT_TRUE(cancelled.results.empty());
    }
    const SearchOutcome done
        = RunSearch(sources, Query("dentist", kAll), std::stop_source().get_token());
    EXPECT_FALSE(done.cancelled);
    EXPECT_GT(done.results.size(), 2000u);
}

TEST_F(SourcesTest, AnUnreadableSourceIsReportedAndTheRestSearched) {
    SetNote(2, "dentist\a");
    ASSERT_TRUE(WriteFileAtomic(data_.archive(), "Jan/1 /2020 dentist \r\n"));
    std::filesystem::create_directory(data_.notes()); // a folder cannot be read as a file
    const SearchSources sources = Sources();
    ASSERT_EQ(sources.skipped.size(), 1u);
    EXPECT_EQ(sources.skipped[0].scope, SearchScope::kNotes);
    EXPECT_EQ(sources.skipped[0].error.kind, ErrorKind::kFile);
    ASSERT_TRUE(sources.skipped[0].error.io);
    EXPECT_EQ(sources.skipped[0].error.io->path, data_.notes());

    const SearchOutcome found = RunSearch(sources, Query("dentist", kAll));
    EXPECT_EQ(Places(found), (std::vector<std::string> { "D2", "A0" }));
    ASSERT_EQ(found.skipped.size(), 1u);
    EXPECT_EQ(found.skipped[0].scope, SearchScope::kNotes);
    // A source that was not chosen is not reported.
    EXPECT_TRUE(RunSearch(sources, Query("dentist", { true, true, false })).skipped.empty());

    // Missing files are empty, not errors.
    std::filesystem::remove(data_.notes());
    std::filesystem::remove(data_.archive());
    const SearchSources missing = Sources();
    EXPECT_TRUE(missing.skipped.empty());
    EXPECT_EQ(
        Places(RunSearch(missing, Query("dentist", kAll))), std::vector<std::string> { "D2" });
}

TEST_F(SourcesTest, IndexesAreBuiltAgainOnlyForSourcesThatChanged) {
    ASSERT_TRUE(WriteFileAtomic(data_.archive(), "Jan/1 /2020 dentist \r\n"));
    ASSERT_TRUE(WriteFileAtomic(data_.notes(), "dentist"));
    const SearchSources first = Sources();
    const SearchSources same = LoadSearchSources(data_, store_, first);
    EXPECT_EQ(same.days, first.days);
    EXPECT_EQ(same.archive, first.archive);
    EXPECT_EQ(same.notes, first.notes);

    SetNote(9, "dentist\a");
    ASSERT_TRUE(WriteFileAtomic(data_.archive(), "Jan/1 /2020 dentist \r\nJan/2 /2020 gym \r\n"));
    const SearchSources changed = LoadSearchSources(data_, store_, first);
    EXPECT_NE(changed.days, first.days);
    EXPECT_NE(changed.archive, first.archive);
    EXPECT_EQ(changed.notes, first.notes);
    EXPECT_EQ(Places(RunSearch(changed, Query("dentist", kAll))),
        (std::vector<std::string> { "D9", "A0", "N0" }));
    EXPECT_EQ(Places(RunSearch(first, Query("dentist", kAll))),
        (std::vector<std::string> { "A0", "N0" })); // the old indexes are unchanged
}

} // namespace
} // namespace orvane
