#include "tools/search_sources.h"

#include "core/day_file.h"
#include "core/text_file.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace orvane {
namespace {

std::string Fixture(std::string_view name) {
    return ReadWholeFile(std::filesystem::path(ORVANE_TEST_DATA) / name).value_or("");
}

SearchQuery Query(
    std::string text, SearchScopes scopes, bool whole_word = false, bool all_words = false) {
    return { std::move(text), scopes, whole_word, all_words };
}

constexpr SearchScopes kDays { true, false, false };
constexpr SearchScopes kArchive { false, true, false };
constexpr SearchScopes kNotes { false, false, true };
constexpr SearchScopes kAll { true, true, true };

// "D12" for the day in slot 12, "A3" for archive line 3, "N2" for notes paragraph 2.
std::vector<std::string> Places(const SearchOutcome& outcome) {
    std::vector<std::string> places;
    for (const SearchResult& result : outcome.results) {
        const char kind = "DAN"[static_cast<int>(result.scope)];
        const int where = result.scope == SearchScope::kDays ? result.slot
            : result.scope == SearchScope::kArchive          ? result.line
                                                             : result.paragraph;
        places.push_back(kind + std::to_string(where));
    }
    return places;
}

// Every result must point at text that holds the searched text, and its snippet must show the
// same text where it says (tabs and line breaks as blanks).
void ExpectResultsPointAtTheirMatch(const SearchOutcome& outcome, std::string_view needle,
    const DayStore* days, std::string_view archive, std::string_view notes_text) {
    const std::vector<std::string> archive_lines = SplitLines(archive);
    for (const SearchResult& result : outcome.results) {
        std::string_view where = notes_text;
        if (result.scope == SearchScope::kDays)
            where = EntryText((*days)[result.slot]);
        else if (result.scope == SearchScope::kArchive)
            where = archive_lines.at(static_cast<std::size_t>(result.line));
        std::string matched = FoldCase(where.substr(result.offset, result.length));
        EXPECT_EQ(matched, FoldCase(needle));
        std::replace_if(
            matched.begin(), matched.end(), [](char c) { return c == '\t' || c == '\v'; }, ' ');
        EXPECT_EQ(
            FoldCase(result.snippet.substr(result.snippet_offset, result.snippet_length)), matched)
            << result.snippet;
        EXPECT_EQ(result.date.has_value(), !result.date_key.empty());
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

// Days alone are in slot order; beside other scopes each source is newest first. Archive lines
// are ordered by date (2025, 2024, 2022), then the undated ones from the last; line 10 opens with
// "Feb/30/2024", which names no day.
TEST_F(SourcesTest, ListsEachSourceInItsOrder) {
    SetNote(700, "call the dentist\a");
    SetNote(3, "Dentist at 9\a");
    SetNote(40, "dentist\aDENTIST again\a");
    ASSERT_TRUE(WriteFileAtomic(data_.archive(), Fixture("archive.ovd")));
    ASSERT_TRUE(WriteFileAtomic(data_.notes(), "dentist one\r\nnothing\r\nDentist two\r\n"));

    EXPECT_EQ(
        Places(Run(Query("DENTIST", kDays))), (std::vector<std::string> { "D3", "D40", "D700" }));
    const SearchOutcome all = Run(Query("DENTIST", kAll));
    EXPECT_EQ(Places(all),
        (std::vector<std::string> {
            "D700", "D40", "D3", "A8", "A0", "A11", "A10", "A7", "N0", "N2" }));
    EXPECT_EQ(all.results[4].snippet, "Dentist Call Bob"); // archive snippets leave out the key
    ExpectResultsPointAtTheirMatch(
        all, "dentist", &store_, Fixture("archive.ovd"), Sources().notes->text().text);
}

// The fixture mixes CR LF, lone CR and lone LF line ends, holds a line edited by hand without a
// date key, a line whose key names no day and a last line without a line end.
TEST_F(SourcesTest, FindsArchiveLinesWhereTheArchiveWindowShowsThem) {
    const std::string bytes = Fixture("archive.ovd");
    ASSERT_TRUE(WriteFileAtomic(data_.archive(), bytes));
    const std::pair<const char*, std::string> cases[] = {
        { "mar", "A7" }, // keys are not searched, only the line without one
        { "2024", "A10" }, // a line opening with no valid date is searched whole
        { "caf\xc9", "A11" },
    };
    for (const auto& [needle, place] : cases) {
        const SearchOutcome found = Run(Query(needle, kArchive));
        EXPECT_EQ(Places(found), std::vector<std::string> { place }) << needle;
        ExpectResultsPointAtTheirMatch(found, needle, nullptr, bytes, {});
    }
}

// Notes are searched in their text, never in the RTF markup around it. nested_notes.ovd reads
// "Outer bold partial text\nSecond b0 under para\n\t\xc9t\xe9 link\vend"; richedit_notes.ovd
// "Caf\xe9 opens at 9\nBring the list\tdone\nLine one\vline two\n\x80 and ?\n\nold";
// plain_notes.ovd "Shopping list\r\nMilk\r\n\r\nCall Ren\xe9\r\n".
TEST(SearchNotes, FindsTheTextNotTheMarkup) {
    const struct {
        const char* file;
        const char* needle;
        bool whole_word;
        std::vector<std::string> places;
    } cases[] = {
        { "nested_notes.ovd", "par", false, { "N0", "N1" } },
        { "nested_notes.ovd", "\xc9T\xc9", false, { "N2" } },
        { "nested_notes.ovd", "link end", false, {} }, // a line break is no blank
        { "richedit_notes.ovd", "list\tdone", false, { "N1" } },
        { "plain_notes.ovd", "REN\xc9", false, { "N3" } },
    };
    for (const auto& c : cases) {
        SearchSources sources;
        sources.notes = std::make_shared<const NotesIndex>(Fixture(c.file));
        const SearchOutcome found = RunSearch(sources, Query(c.needle, kNotes, c.whole_word));
        EXPECT_EQ(Places(found), c.places) << c.needle;
        ExpectResultsPointAtTheirMatch(found, c.needle, nullptr, {}, sources.notes->text().text);
    }
}

TEST_F(SourcesTest, WholeWordTreatsAccentedLettersAsLetters) {
    SetNote(2, "Caf\xe9 au lait\a");
    SetNote(3, "l'\xe9t\xe9 (caf\xe9)\a");
    SetNote(5, "\x9cuvre\a"); // œuvre
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        { "caf\xe9", { "D2", "D3" } },
        { "l", { "D3" } },
        { "uvre", {} },
    };
    for (const auto& [needle, places] : cases) {
        EXPECT_EQ(Places(Run(Query(needle, kDays, /*whole_word=*/true))), places) << needle;
        EXPECT_FALSE(Run(Query(needle, kDays)).results.empty()) << needle; // found as a piece
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
    SetNote(5, "Lunchbox for Annabel\a");
    ASSERT_TRUE(WriteFileAtomic(data_.archive(),
        "Jan/3 /2020 Lunch Anna \r\n\r\nJan/4 /2020 Lunch \r\nJan/5 /2020 Anna \r\n"));
    ASSERT_TRUE(WriteFileAtomic(data_.notes(), "Anna\r\nlunch\r\nanna and\vlunch\r\n"));
    const std::pair<SearchQuery, std::vector<std::string>> cases[] = {
        { Query("ANNA lunch", kAll, false, true), { "D5", "D2", "D1", "A0", "N2" } },
        { Query("anna lunch", kAll, true, true), { "D2", "D1", "A0", "N2" } },
    };
    for (const auto& [query, places] : cases)
        EXPECT_EQ(Places(Run(query)), places) << query.text;
    // The first match is the earliest of the words.
    EXPECT_EQ(Run(Query("noon lunch", kDays, false, true)).results.at(0).offset, 0u);
}

// Snippets are built around the first match, cut at blanks with an ellipsis where the text goes
// on, never longer than about sixty characters.
TEST_F(SourcesTest, SnippetsShowTheMatchInContext) {
    const struct {
        std::string note;
        const char* needle;
        std::string snippet;
    } cases[] = {
        { "Dentist\aCall Bob\a", "bob", "Dentist / Call Bob" },
        { "The quick brown fox jumps over the lazy dog while the dentist waits patiently for "
          "the "
          "next appointment to begin at noon\a",
            "dentist", "\x85lazy dog while the dentist waits patiently for the next\x85" },
        // A word too long to end at a blank is cut inside.
        { std::string(40, 'a') + "needle" + std::string(54, 'b') + "\a", "needle",
            "\x85" + std::string(20, 'a') + "needle" + std::string(30, 'b') + "\x85" },
    };
    for (const auto& c : cases) {
        SetNote(10, c.note);
        const SearchOutcome found = Run(Query(c.needle, kDays));
        ASSERT_EQ(found.results.size(), 1u);
        EXPECT_EQ(found.results[0].snippet, c.snippet);
        ExpectResultsPointAtTheirMatch(found, c.needle, &store_, {}, {});
    }
}

TEST_F(SourcesTest, AnUnreadableSourceIsReportedAndTheRestSearched) {
    SetNote(2, "dentist\a");
    ASSERT_TRUE(WriteFileAtomic(data_.archive(), "Jan/1 /2020 dentist \r\n"));
    std::filesystem::create_directory(data_.notes()); // a folder cannot be read as a file
    const SearchSources sources = Sources();
    ASSERT_EQ(sources.skipped.size(), 1u);
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
    EXPECT_TRUE(Sources().skipped.empty());
}

// Indexes are reused while their source is unchanged, and built again when it changed.
TEST_F(SourcesTest, IndexesAreBuiltAgainForSourcesThatChanged) {
    ASSERT_TRUE(WriteFileAtomic(data_.archive(), "Jan/1 /2020 dentist \r\n"));
    ASSERT_TRUE(WriteFileAtomic(data_.notes(), "dentist"));
    const SearchSources first = Sources();
    SetNote(9, "dentist\a");
    ASSERT_TRUE(WriteFileAtomic(data_.archive(), "Jan/1 /2020 gym \r\nJan/2 /2020 dentist \r\n"));
    const SearchSources changed = LoadSearchSources(data_, store_, first);
    EXPECT_EQ(changed.notes, first.notes);
    EXPECT_EQ(Places(RunSearch(changed, Query("dentist", kAll))),
        (std::vector<std::string> { "D9", "A1", "N0" }));
}

} // namespace
} // namespace orvane
