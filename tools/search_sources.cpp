#include "tools/search_sources.h"

#include "core/text_file.h"
#include "tools/rtf.h"

#include <algorithm>
#include <utility>

namespace orvane {

namespace {

constexpr char kEllipsis = '\x85'; // "…" in Windows-1252

// Bytes scanned between two looks at the stop token: a few microseconds of work.
constexpr std::size_t kScanChunk = std::size_t { 64 } * 1024;
// Matched pieces checked or turned into results between two looks at the stop token.
constexpr std::size_t kPiecesPerCheck = 256;

// A snippet holds about this many characters of text around its match, less what it takes to end
// at word boundaries (at most kWordCutReach on either side).
constexpr std::size_t kSnippetTarget = 56;
constexpr std::size_t kWordCutReach = 8;

constexpr std::size_t kNone = std::string_view::npos;

using Unit = FoldedText::Unit;

// One word (or the whole search text) to find in folded text.
class Finder {
public:
    Finder(std::string folded_word, bool whole_word)
        : word_(std::move(folded_word))
        , whole_word_(whole_word) { }

    std::size_t size() const { return word_.size(); }

    // The first occurrence that starts in [from, to - size()], or kNone.
    std::size_t Find(std::string_view folded, std::size_t from, std::size_t to) const {
        if (to < from || to - from < word_.size())
            return kNone;
        const std::size_t at = folded.substr(from, to - from).find(word_);
        return at == kNone ? kNone : from + at;
    }

    // True when the occurrence at `at`, inside `unit`, counts as a match.
    bool Accepts(std::string_view folded, const Unit& unit, std::size_t at) const {
        if (!whole_word_)
            return true;
        const std::size_t end = at + word_.size();
        return (at == unit.begin || !IsWordByte(folded[at - 1]))
            && (end == unit.end || !IsWordByte(folded[end]));
    }

    // The first match inside `unit`, or kNone.
    std::size_t FirstIn(std::string_view folded, const Unit& unit) const {
        for (std::size_t from = unit.begin;;) {
            const std::size_t at = Find(folded, from, unit.end);
            if (at == kNone || Accepts(folded, unit, at))
                return at;
            from = at + 1;
        }
    }

private:
    std::string word_;
    bool whole_word_;
};

// What a search looks for: the whole text, or each of its words (longest first, as the longest is
// likely the rarest and the first one is scanned for over the whole text).
std::vector<Finder> FindersFor(const SearchQuery& query) {
    std::vector<Finder> finders;
    if (!query.all_words) {
        if (!query.text.empty())
            finders.emplace_back(FoldCase(query.text), query.whole_word);
        return finders;
    }
    std::vector<std::string> words;
    const std::string folded = FoldCase(query.text);
    std::size_t start = 0;
    while (start < folded.size()) {
        const std::size_t blank = std::min(folded.find_first_of(" \t", start), folded.size());
        if (blank > start)
            words.push_back(folded.substr(start, blank - start));
        start = blank + 1;
    }
    std::sort(words.begin(), words.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() > b.size() : a < b;
    });
    words.erase(std::unique(words.begin(), words.end()), words.end());
    for (std::string& word : words)
        finders.emplace_back(std::move(word), query.whole_word);
    return finders;
}

struct Match {
    std::size_t unit = 0; // index into FoldedText::units
    std::size_t at = 0; // in the text
    std::size_t length = 0;
};

// The first match of `finder` in each unit that has one, in unit order; nothing when stopped.
// One pass over the whole text finds the occurrences, so a rare word costs little more than the
// scan itself however many units there are.
std::optional<std::vector<Match>> Scan(
    const FoldedText& text, const Finder& finder, const std::stop_token& stop) {
    std::vector<Match> matches;
    const std::string_view folded = text.folded;
    const std::vector<Unit>& units = text.units;
    std::size_t u = 0;
    std::size_t from = 0;
    while (u < units.size()) {
        if (stop.stop_requested())
            return std::nullopt;
        from = std::max(from, units[u].begin); // nothing between units is searched
        const std::size_t chunk_end = std::min(folded.size(), from + kScanChunk);
        const std::size_t at
            = finder.Find(folded, from, std::min(folded.size(), chunk_end + finder.size() - 1));
        if (at == kNone) {
            if (chunk_end == folded.size())
                break;
            from = chunk_end;
            continue;
        }
        while (u < units.size() && units[u].end < at + finder.size())
            ++u;
        if (u == units.size())
            break;
        if (units[u].begin <= at && finder.Accepts(folded, units[u], at)) {
            matches.push_back({ u, at, finder.size() });
            from = units[u].end; // one result per unit
            ++u;
        } else {
            from = at + 1;
        }
    }
    return matches;
}

// The units that hold every finder's word, each with its earliest match; nothing when stopped.
std::optional<std::vector<Match>> MatchUnits(
    const FoldedText& text, const std::vector<Finder>& finders, const std::stop_token& stop) {
    std::optional<std::vector<Match>> found = Scan(text, finders.front(), stop);
    if (!found || finders.size() == 1)
        return found;
    std::vector<Match> kept;
    for (std::size_t i = 0; i < found->size(); ++i) {
        if (i % kPiecesPerCheck == 0 && stop.stop_requested())
            return std::nullopt;
        Match match = (*found)[i];
        bool all = true;
        for (std::size_t f = 1; f < finders.size() && all; ++f) {
            const std::size_t at = finders[f].FirstIn(text.folded, text.units[match.unit]);
            all = at != kNone;
            if (all && (at < match.at || (at == match.at && finders[f].size() > match.length))) {
                match.at = at;
                match.length = finders[f].size();
            }
        }
        if (all)
            kept.push_back(match);
    }
    return kept;
}

bool IsSnippetBlank(char c) {
    return c == ' ' || static_cast<unsigned char>(c) < 0x20;
}

struct Snippet {
    std::string text;
    std::size_t offset = 0;
    std::size_t length = 0;
};

// About kSnippetTarget characters of `text` around the match at [match, match + length), a bit
// more after it than before, cut at blanks where one is near.
Snippet MakeSnippet(std::string_view text, std::size_t match, std::size_t length) {
    const std::size_t match_end = match + length;
    const std::size_t room = kSnippetTarget > length ? kSnippetTarget - length : 0;
    std::size_t before = room * 2 / 5;
    std::size_t after = room - before;
    if (match < before) {
        after += before - match;
        before = match;
    }
    const std::size_t rest = text.size() - match_end;
    if (rest < after) {
        before = std::min(match, before + after - rest);
        after = rest;
    }
    std::size_t first = match - before;
    std::size_t last = match_end + after;
    if (first > 0 && !IsSnippetBlank(text[first - 1])) {
        for (std::size_t i = first; i < match && i < first + kWordCutReach; ++i) {
            if (IsSnippetBlank(text[i])) {
                first = i + 1;
                break;
            }
        }
    }
    if (last < text.size() && !IsSnippetBlank(text[last])) {
        for (std::size_t i = last; i > match_end && i + kWordCutReach > last; --i) {
            if (IsSnippetBlank(text[i - 1])) {
                last = i - 1;
                break;
            }
        }
    }
    while (first < match && IsSnippetBlank(text[first]))
        ++first;
    while (last > match_end && IsSnippetBlank(text[last - 1]))
        --last;
    bool cut_front = false;
    for (std::size_t i = first; i > 0 && !cut_front; --i)
        cut_front = !IsSnippetBlank(text[i - 1]);
    bool cut_back = false;
    for (std::size_t i = last; i < text.size() && !cut_back; ++i)
        cut_back = !IsSnippetBlank(text[i]);

    Snippet snippet;
    if (cut_front)
        snippet.text += kEllipsis;
    for (std::size_t i = first; i < last; ++i) {
        if (i == match)
            snippet.offset = snippet.text.size();
        if (i == match_end)
            snippet.length = snippet.text.size() - snippet.offset;
        const char c = text[i];
        if (c == kEntrySeparator)
            snippet.text += " / ";
        else
            snippet.text += IsSnippetBlank(c) ? ' ' : c;
    }
    if (match_end == last)
        snippet.length = snippet.text.size() - snippet.offset;
    if (cut_back)
        snippet.text += kEllipsis;
    return snippet;
}

SearchResult ResultFor(
    SearchScope scope, const FoldedText& text, const Match& match, std::size_t origin) {
    const Unit& unit = text.units[match.unit];
    SearchResult result;
    result.scope = scope;
    result.offset = match.at - origin;
    result.length = match.length;
    Snippet snippet
        = MakeSnippet(std::string_view(text.text).substr(unit.begin, unit.end - unit.begin),
            match.at - unit.begin, match.length);
    result.snippet = std::move(snippet.text);
    result.snippet_offset = snippet.offset;
    result.snippet_length = snippet.length;
    return result;
}

// Appends a result per matching unit of `text`, made by `make`, in unit order or newest first:
// dated units before undated ones, later dates first, and among equals the later unit first.
// `date_of` gives the date of a unit by its index. False when stopped.
template <class DateOf, class Make>
bool SearchText(const FoldedText& text, const std::vector<Finder>& finders,
    const std::stop_token& stop, bool newest_first, DateOf date_of,
    std::vector<SearchResult>& results, Make make) {
    std::optional<std::vector<Match>> matches = MatchUnits(text, finders, stop);
    if (!matches)
        return false;
    if (newest_first) {
        const auto newer = [&date_of](const Match& a, const Match& b) {
            const std::optional<Date>& date_a = date_of(a.unit);
            const std::optional<Date>& date_b = date_of(b.unit);
            if (date_a.has_value() != date_b.has_value())
                return date_a.has_value();
            if (date_a && *date_a != *date_b)
                return *date_a > *date_b;
            return a.unit > b.unit;
        };
        // Days and archive lines mostly come in date order, so reversed they seldom need sorting.
        std::reverse(matches->begin(), matches->end());
        if (!std::is_sorted(matches->begin(), matches->end(), newer))
            std::sort(matches->begin(), matches->end(), newer);
    }
    results.reserve(results.size() + matches->size());
    for (std::size_t i = 0; i < matches->size(); ++i) {
        if (i % kPiecesPerCheck == 0 && stop.stop_requested())
            return false;
        results.push_back(make((*matches)[i]));
    }
    return true;
}

bool Chosen(const SearchScopes& scopes, SearchScope scope) {
    switch (scope) {
    case SearchScope::kDays:
        return scopes.days;
    case SearchScope::kArchive:
        return scopes.archive;
    case SearchScope::kNotes:
        return scopes.notes;
    }
    return false;
}

// The file's bytes; a missing file reads as empty.
Result<std::string> ReadSource(const std::filesystem::path& path) {
    Result<std::string> read = ReadWholeFile(path);
    if (!read && IsMissingFile(read.error()))
        return std::string();
    return read;
}

} // namespace

bool IsWordByte(char byte) {
    const auto u = static_cast<unsigned char>(byte);
    if ((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z'))
        return true;
    switch (u) {
    case 0x83: // ƒ
    case 0x8A: // Š
    case 0x8C: // Œ
    case 0x8E: // Ž
    case 0x9A: // š
    case 0x9C: // œ
    case 0x9E: // ž
    case 0x9F: // Ÿ
    case 0xAA: // ª
    case 0xB2: // ²
    case 0xB3: // ³
    case 0xB5: // µ
    case 0xB9: // ¹
    case 0xBA: // º
        return true;
    default:
        return u >= 0xC0 && u != 0xD7 && u != 0xF7; // À-ÿ but × and ÷
    }
}

DaysIndex::DaysIndex(const DayStore& store)
    : days_(kLastSearchedSlot + 1)
    , dates_(kLastSearchedSlot + 1) {
    for (int slot = 1; slot <= kLastSearchedSlot; ++slot) {
        const std::string& day = store[slot];
        days_[static_cast<std::size_t>(slot)] = day;
        dates_[static_cast<std::size_t>(slot)] = ParseDateKey(day);
        const std::string_view note = EntryText(day);
        if (note.empty())
            continue;
        if (!text_.text.empty())
            text_.text += '\n';
        const std::size_t begin = text_.text.size();
        text_.text += note;
        text_.units.push_back({ begin, text_.text.size(), slot });
    }
    text_.folded = FoldCase(text_.text);
}

bool DaysIndex::Holds(const DayStore& store) const {
    if (days_.empty())
        return false;
    for (int slot = 1; slot <= kLastSearchedSlot; ++slot) {
        if (days_[static_cast<std::size_t>(slot)] != store[slot])
            return false;
    }
    return true;
}

std::string_view DaysIndex::Key(int slot) const {
    const std::string& day = days_.at(static_cast<std::size_t>(slot));
    return std::string_view(day).substr(0, std::min(day.size(), kDateKeyLength));
}

ArchiveIndex::ArchiveIndex(std::string bytes) {
    text_.text = std::move(bytes);
    const std::string_view text = text_.text;
    int line = 0;
    std::size_t start = 0;
    const auto add_line = [&](std::size_t end) {
        const std::optional<Date> date = ParseDateKey(text.substr(start, end - start));
        const std::size_t begin = date ? start + kDateKeyLength : start;
        if (begin < end) {
            text_.units.push_back({ begin, end, line });
            lines_.push_back({ start, date });
        }
        ++line;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        add_line(i);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        add_line(text.size());
    text_.folded = FoldCase(text_.text);
}

NotesIndex::NotesIndex(std::string file_bytes)
    : file_(std::move(file_bytes)) {
    text_.text = (LooksLikeRtf(file_) ? ParseRtf(file_) : PlainTextDocument(file_)).PlainText();
    const std::string_view text = text_.text;
    int paragraph = 0;
    for (std::size_t start = 0; start < text.size(); ++paragraph) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end > start)
            text_.units.push_back({ start, end, paragraph });
        start = end + 1;
    }
    text_.folded = FoldCase(text_.text);
}

SearchSources LoadSearchSources(
    const DataFolder& data, const DayStore& days, const SearchSources& previous) {
    SearchSources sources;
    sources.days = previous.days && previous.days->Holds(days)
        ? previous.days
        : std::make_shared<const DaysIndex>(days);

    Result<std::string> archive = ReadSource(data.archive());
    if (!archive)
        sources.skipped.push_back({ SearchScope::kArchive, std::move(archive).error() });
    else if (previous.archive && previous.archive->Holds(*archive))
        sources.archive = previous.archive;
    else
        sources.archive = std::make_shared<const ArchiveIndex>(std::move(*archive));

    Result<std::string> notes = ReadSource(data.notes());
    if (!notes)
        sources.skipped.push_back({ SearchScope::kNotes, std::move(notes).error() });
    else if (previous.notes && previous.notes->Holds(*notes))
        sources.notes = previous.notes;
    else
        sources.notes = std::make_shared<const NotesIndex>(std::move(*notes));
    return sources;
}

SearchOutcome RunSearch(
    const SearchSources& sources, const SearchQuery& query, const std::stop_token& stop) {
    SearchOutcome outcome;
    for (const SkippedSource& skipped : sources.skipped) {
        if (Chosen(query.scopes, skipped.scope))
            outcome.skipped.push_back(skipped);
    }
    const std::vector<Finder> finders = FindersFor(query);
    if (finders.empty())
        return outcome;
    const bool days_alone = !query.scopes.archive && !query.scopes.notes;
    std::vector<SearchResult>& results = outcome.results;
    const auto cancelled = [&outcome] {
        outcome.results.clear();
        outcome.cancelled = true;
        return std::move(outcome);
    };

    if (query.scopes.days && sources.days) {
        const DaysIndex& days = *sources.days;
        const FoldedText& text = days.text();
        const auto date_of = [&](std::size_t unit) -> const std::optional<Date>& {
            return days.DateOf(text.units[unit].id);
        };
        if (!SearchText(
                text, finders, stop, !days_alone, date_of, results, [&](const Match& match) {
                    const Unit& unit = text.units[match.unit];
                    SearchResult result = ResultFor(SearchScope::kDays, text, match, unit.begin);
                    result.slot = unit.id;
                    result.date_key = days.Key(unit.id);
                    result.date = days.DateOf(unit.id);
                    return result;
                }))
            return cancelled();
    }

    if (query.scopes.archive && sources.archive) {
        const ArchiveIndex& archive = *sources.archive;
        const FoldedText& text = archive.text();
        const auto date_of = [&](std::size_t unit) -> const std::optional<Date>& {
            return archive.LineOf(unit).date;
        };
        if (!SearchText(text, finders, stop, true, date_of, results, [&](const Match& match) {
                const ArchiveIndex::Line& line = archive.LineOf(match.unit);
                SearchResult result = ResultFor(SearchScope::kArchive, text, match, line.start);
                result.line = text.units[match.unit].id;
                result.date = line.date;
                if (line.date)
                    result.date_key = text.text.substr(line.start, kDateKeyLength);
                return result;
            }))
            return cancelled();
    }

    if (query.scopes.notes && sources.notes) {
        const FoldedText& text = sources.notes->text();
        const auto no_date = [](std::size_t) -> const std::optional<Date>& {
            static const std::optional<Date> kNoDate;
            return kNoDate;
        };
        if (!SearchText(text, finders, stop, false, no_date, results, [&](const Match& match) {
                SearchResult result = ResultFor(SearchScope::kNotes, text, match, 0);
                result.paragraph = text.units[match.unit].id;
                return result;
            }))
            return cancelled();
    }
    if (stop.stop_requested())
        return cancelled();
    return outcome;
}

} // namespace orvane
