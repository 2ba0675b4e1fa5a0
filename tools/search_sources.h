// One search over everything the user wrote: the days of the grid, the archive of days cycled
// out of the calendar (archive.ovd) and the free notes (notes.ovd). Each source is folded once
// into an index that never changes afterwards, so one index can be shared by several threads; a
// search reads the indexes, checks a stop token as it goes and returns one list of results, each
// with a snippet of the text around its first match.
//
//   // On the UI thread: a copy of the days as they are now.
//   DayStore days = document.store();
//   // On a worker thread: read the files, fold only what changed since `previous`.
//   SearchSources sources = LoadSearchSources(document.data(), days, previous);
//   SearchQuery query;
//   query.text = "dentist";
//   query.scopes.archive = true;
//   SearchOutcome found = RunSearch(sources, query, stop_token);
//   if (!found.cancelled) for (const SearchResult& r : found.results) ...
#pragma once

#include "core/data_folder.h"
#include "core/date_key.h"
#include "core/day_store.h"
#include "core/result.h"
#include "tools/search.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class SearchScope {
    kDays, // the days of the grid, slots 1 to kLastSearchedSlot
    kArchive, // archive.ovd
    kNotes, // notes.ovd
};

struct SearchScopes {
    bool days = true;
    bool archive = false;
    bool notes = false;
};

struct SearchQuery {
    std::string text; // Windows-1252 bytes; an empty text finds nothing
    SearchScopes scopes;
    // A match must not have a letter or digit (accented Windows-1252 letters included) directly
    // before or after it.
    bool whole_word = false;
    // Every blank-separated word of the text, in any order, within one day, one archive line or
    // one paragraph of the notes, instead of the text as one piece.
    bool all_words = false;
};

// Text split into the pieces a search reports separately (a day, an archive line, a paragraph),
// kept as it is and folded to lower case byte for byte.
struct FoldedText {
    struct Unit {
        std::size_t begin = 0; // [begin, end) in text, never empty; units ascend and never overlap
        std::size_t end = 0;
        int id = 0; // a slot, a line index or a paragraph index
    };
    std::string text;
    std::string folded; // FoldCase(text), as long as text
    std::vector<Unit> units;
};

// The days of the grid: slots 1 to kLastSearchedSlot, each searched after its date key.
class DaysIndex {
public:
    DaysIndex() = default;
    explicit DaysIndex(const DayStore& store);

    // True when `store` holds exactly the days this index was built from.
    bool Holds(const DayStore& store) const;

    const FoldedText& text() const { return text_; }
    // slot in [1, kLastSearchedSlot]
    std::string_view Key(int slot) const;
    const std::optional<Date>& DateOf(int slot) const { return dates_.at(slot); }

private:
    std::vector<std::string> days_; // index 0 unused
    std::vector<std::optional<Date>> dates_;
    FoldedText text_; // a unit per day with a note; its text is the day after its key
};

// archive.ovd: a unit per line with something to search. A line that opens with a date key is
// searched after its key; any other line (edited or pruned by hand) is searched whole. Lines end
// at CR LF, a lone CR or a lone LF, and are counted as the archive window counts them.
class ArchiveIndex {
public:
    explicit ArchiveIndex(std::string bytes);

    bool Holds(std::string_view bytes) const { return text_.text == bytes; }

    const FoldedText& text() const { return text_; }
    struct Line {
        std::size_t start = 0; // where the line starts in the file
        std::optional<Date> date; // when the line opens with a date key
    };
    // The line of text().units[unit].
    const Line& LineOf(std::size_t unit) const { return lines_[unit]; }

private:
    FoldedText text_;
    std::vector<Line> lines_; // one per unit
};

// notes.ovd: its text as the notes window shows it (RTF read as rich text, anything else as plain
// text), a unit per paragraph. Offsets count the bytes of RtfDocument::PlainText(): '\n' ends a
// paragraph, '\v' is a line break, '\t' a tab, so they are the character positions of the notes
// window's document.
class NotesIndex {
public:
    explicit NotesIndex(std::string file_bytes);

    bool Holds(std::string_view file_bytes) const { return file_ == file_bytes; }

    const FoldedText& text() const { return text_; }

private:
    std::string file_;
    FoldedText text_;
};

struct SkippedSource {
    SearchScope scope = SearchScope::kArchive;
    Error error; // why it could not be searched, such as the failed read
};

// The indexes a search runs over. Copying it shares the indexes, which never change.
struct SearchSources {
    std::shared_ptr<const DaysIndex> days;
    std::shared_ptr<const ArchiveIndex> archive; // nothing when the file could not be read
    std::shared_ptr<const NotesIndex> notes; // nothing when the file could not be read
    std::vector<SkippedSource> skipped;
};

// Builds the indexes of `days` and of the data folder's archive and notes files, reusing each
// index of `previous` whose source has not changed. A missing file is searched as empty; a file
// that cannot be read is listed in `skipped` with the read's error. Reads files, so call it off
// the UI thread.
SearchSources LoadSearchSources(
    const DataFolder& data, const DayStore& days, const SearchSources& previous = {});

struct SearchResult {
    SearchScope scope = SearchScope::kDays;
    std::string date_key; // the day's key as stored; empty for notes and undated archive lines
    std::optional<Date> date;
    int slot = 0; // days: in [1, kLastSearchedSlot]
    int line = -1; // archive: the 0-based line in the archive window
    int paragraph = -1; // notes: the 0-based paragraph
    // The first match: days, in the text after the date key; archive, in its line (the key
    // included); notes, in the whole plain text.
    std::size_t offset = 0;
    std::size_t length = 0;
    // About fifty characters around the first match (Windows-1252): entry separators shown as
    // " / ", line breaks and tabs as blanks, "\x85" (an ellipsis) where the text goes on.
    std::string snippet;
    std::size_t snippet_offset = 0; // where the match is in the snippet
    std::size_t snippet_length = 0;
};

struct SearchOutcome {
    // Days alone: in slot order, as the grid holds them. Any other choice: scope by scope (days,
    // archive, notes), the days and archive lines newest first (archive lines without a date
    // after the dated ones, last line first), the notes in their order.
    std::vector<SearchResult> results;
    std::vector<SkippedSource> skipped; // chosen sources that could not be searched
    bool cancelled = false; // the stop was requested; results is then empty
};

// Searches the chosen scopes. Checks `stop` at least every few thousand bytes scanned and
// returns soon after it is requested.
SearchOutcome RunSearch(
    const SearchSources& sources, const SearchQuery& query, const std::stop_token& stop = {});

// True for the bytes a whole-word match must not touch: ASCII letters and digits and the letters
// of Windows-1252 (Š, Œ, Ž, š, œ, ž, Ÿ, ƒ, ª, µ, º and À to ÿ but × and ÷) and its superscript
// digits.
bool IsWordByte(char byte);

} // namespace orvane
