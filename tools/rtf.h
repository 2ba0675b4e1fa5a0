// A small rich-text (RTF) reader and writer for the notes file. It reads what the Windows
// rich-edit control writes and writes a file that control reads back. What it keeps: the text
// with its paragraph breaks, line breaks and tabs, and per character bold, italic, underline,
// strike-out, size and colour. Everything richer (fonts, paragraph layout, lists, tables,
// pictures, objects) is dropped on reading.
//
// The text is held as Windows-1252 bytes: '\n' ends a paragraph, '\v' is a line break inside
// one, '\t' is a tab.
//
//   RtfDocument doc = ParseRtf(bytes);      // or PlainTextDocument(bytes)
//   doc.Append("Done", RtfFormat { .bold = true });
//   std::string file = WriteRtf(doc);
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct RtfColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const RtfColor&, const RtfColor&) = default;
};

// The size of text in a document without size control words, and of the notes box's own font
// (8 points), in half points.
inline constexpr int kRtfDefaultHalfPoints = 24;
inline constexpr int kNotesHalfPoints = 16;

struct RtfFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int half_points = kNotesHalfPoints; // in [1, kRtfMaxHalfPoints]
    std::optional<RtfColor> color; // nothing: the automatic (window text) colour
    friend bool operator==(const RtfFormat&, const RtfFormat&) = default;
};

inline constexpr int kRtfMaxHalfPoints = 3276; // the largest size the rich-edit control accepts

struct RtfRun {
    std::string text;
    RtfFormat format;
    friend bool operator==(const RtfRun&, const RtfRun&) = default;
};

struct RtfDocument {
    std::vector<RtfRun> runs; // never two neighbours with the same format, never an empty run

    // Adds text, merging it into the last run when the format is the same.
    void Append(std::string_view text, const RtfFormat& format);
    std::string PlainText() const;
    friend bool operator==(const RtfDocument&, const RtfDocument&) = default;
};

// True when the bytes open as an RTF document ("{\rtf").
bool LooksLikeRtf(std::string_view bytes);

// Reads an RTF document as far as it goes. Never fails: unknown control words are skipped,
// unbalanced braces and a cut-off end stop the reading where they are, nesting deeper than the
// reader keeps state for shares the state of the deepest kept group.
RtfDocument ParseRtf(std::string_view bytes);

// A plain text file as the rich-edit control shows it: each line end (CR LF, CR or LF) ends a
// paragraph; NUL bytes are dropped.
RtfDocument PlainTextDocument(std::string_view bytes, const RtfFormat& format = {});

// The document as an RTF file in the rich-edit control's own layout.
std::string WriteRtf(const RtfDocument& document);

} // namespace orvane
