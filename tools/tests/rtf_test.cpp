#include "tools/rtf.h"

#include "core/text_file.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

std::string Fixture(const char* name) {
    return ReadWholeFile(std::filesystem::path(ORVANE_TEST_DATA) / name).bytes;
}

RtfFormat Bold(RtfFormat format = {}) {
    format.bold = true;
    return format;
}
RtfFormat Italic(RtfFormat format = {}) {
    format.italic = true;
    return format;
}
RtfFormat Underline(RtfFormat format = {}) {
    format.underline = true;
    return format;
}
RtfFormat Strike(RtfFormat format = {}) {
    format.strike = true;
    return format;
}
RtfFormat Sized(int half_points, RtfFormat format = {}) {
    format.half_points = half_points;
    return format;
}
RtfFormat Colored(RtfColor color, RtfFormat format = {}) {
    format.color = color;
    return format;
}

// The text of every run with the given format property.
std::string TextWhere(const RtfDocument& doc, bool (*test)(const RtfFormat&)) {
    std::string text;
    for (const RtfRun& run : doc.runs) {
        if (test(run.format))
            text += run.text;
    }
    return text;
}

TEST(RtfReader, ReadsWhatTheRichEditControlWrites) {
    const std::string bytes = Fixture("richedit_notes.ovd");
    ASSERT_TRUE(LooksLikeRtf(bytes));
    const RtfDocument doc = ParseRtf(bytes);
    // Fonts, the generator and the picture are dropped; \u8364 is the euro sign and skips its
    // fallback; a character Windows-1252 cannot hold is read from its fallback.
    EXPECT_EQ(doc.PlainText(),
        "Caf\xe9 opens at 9\n"
        "Bring the list\tdone\n"
        "Line one\vline two\n"
        "\x80 and ?\n"
        "\n"
        "old");
    EXPECT_EQ(TextWhere(doc, [](const RtfFormat& f) { return f.bold; }), "opens");
    EXPECT_EQ(TextWhere(doc, [](const RtfFormat& f) { return f.italic; }), "Bring");
    EXPECT_EQ(TextWhere(doc, [](const RtfFormat& f) { return f.underline; }), "list");
    EXPECT_EQ(TextWhere(doc, [](const RtfFormat& f) { return f.strike; }), "old");
    EXPECT_EQ(TextWhere(doc, [](const RtfFormat& f) { return f.half_points == 20; }),
        "Line one\vline two\n");
    EXPECT_EQ(TextWhere(doc,
                  [](const RtfFormat& f) {
                      return f.color == RtfColor { 255, 0, 0 };
                  }),
        "Bring");
    EXPECT_EQ(TextWhere(doc,
                  [](const RtfFormat& f) {
                      return f.color == RtfColor { 0, 0, 128 };
                  }),
        "old");
    EXPECT_EQ(doc.runs.front().format, RtfFormat {});
}

TEST(RtfReader, FinalParagraphMarkIsTheDocumentEnd) {
    EXPECT_EQ(ParseRtf("{\\rtf1 Hello}").PlainText(), "Hello");
    EXPECT_EQ(ParseRtf("{\\rtf1 Hello\\par}").PlainText(), "Hello");
    EXPECT_EQ(ParseRtf("{\\rtf1 Hello\\par\\par}").PlainText(), "Hello\n");
    EXPECT_EQ(ParseRtf("{\\rtf1 \\par}").PlainText(), "");
    // A line end after a backslash is a paragraph mark; a line end alone is only layout.
    EXPECT_EQ(ParseRtf("{\\rtf1 a\\\r\nb\r\nc}").PlainText(), "a\nbc");
}

TEST(RtfReader, ControlWordsAndSymbols) {
    // The delimiting blank belongs to the control word; a second one is text.
    EXPECT_EQ(ParseRtf("{\\rtf1 \\b  x\\b0 y}").PlainText(), " xy");
    EXPECT_EQ(ParseRtf("{\\rtf1 \\{a\\}\\\\ b\\~c\\_d\\-e}").PlainText(),
        "{a}\\ b\xa0"
        "c-de");
    EXPECT_EQ(
        ParseRtf("{\\rtf1 \\lquote x\\rquote \\emdash\\bullet}").PlainText(), "\x91x\x92\x97\x95");
    EXPECT_EQ(ParseRtf("{\\rtf1 \\unknownword123 a\\zz-5 b}").PlainText(), "ab");
    // Destinations marked as ignorable are skipped with all they hold.
    EXPECT_EQ(ParseRtf("{\\rtf1 a{\\*\\foo {b}\\par c}d}").PlainText(), "ad");
    // \ucN sets how many fallback characters follow each \u, for the group only.
    EXPECT_EQ(ParseRtf("{\\rtf1 {\\uc2\\u233 xx}\\u233 y}").PlainText(), "\xe9\xe9");
    EXPECT_EQ(ParseRtf("{\\rtf1 \\u-3 ?}").PlainText(), "?"); // U+FFFD has no byte
    // \bin data is skipped however it looks.
    EXPECT_EQ(ParseRtf("{\\rtf1 a{\\pict\\bin4 }}{x}b}").PlainText(), "ab");
}

TEST(RtfReader, GroupsScopeFormatting) {
    const RtfDocument doc = ParseRtf("{\\rtf1\\fs16 a{\\b\\fs40 b}c\\plain d}");
    ASSERT_EQ(doc.runs.size(), 4u);
    EXPECT_EQ(doc.runs[0].text, "a");
    EXPECT_EQ(doc.runs[1].text, "b");
    EXPECT_TRUE(doc.runs[1].format.bold);
    EXPECT_EQ(doc.runs[1].format.half_points, 40);
    EXPECT_EQ(doc.runs[0].format, RtfFormat {});
    EXPECT_EQ(doc.runs[2].text, "c");
    EXPECT_EQ(doc.runs[2].format, RtfFormat {});
    EXPECT_EQ(doc.runs[3].text, "d"); // \plain keeps no size of its own: 12 points
    EXPECT_EQ(doc.runs[3].format, Sized(kRtfDefaultHalfPoints));
}

TEST(RtfReader, MalformedInputReadsAsFarAsItGoes) {
    EXPECT_EQ(ParseRtf("{\\rtf1 abc").PlainText(), "abc");
    EXPECT_EQ(ParseRtf("{\\rtf1 a{\\b b").PlainText(), "ab");
    EXPECT_EQ(ParseRtf("{\\rtf1 a}}}b{c}").PlainText(), "a");
    EXPECT_EQ(ParseRtf("{\\rtf1 caf\\'e").PlainText(), "caf");
    EXPECT_EQ(ParseRtf("{\\rtf1 caf\\'").PlainText(), "caf");
    EXPECT_EQ(ParseRtf("{\\rtf1 caf\\").PlainText(), "caf");
    EXPECT_EQ(ParseRtf("{\\rtf1 a\\'zzb}").PlainText(), "azzb");
    EXPECT_EQ(ParseRtf("{\\rtf1 a\\fs99999999999999999999 b\\bin99999999999}").PlainText(), "ab");
    EXPECT_EQ(ParseRtf("{\\rtf1 a\\uc99999999999\\u233 bcd}").PlainText(), "a\xe9");
    EXPECT_EQ(ParseRtf("{\\rtf1 {\\colortbl;\\red300\\green-4;}\\cf1 x\\cf7 y}").runs.size(), 2u);
    EXPECT_EQ(ParseRtf("").PlainText(), "");
    EXPECT_EQ(ParseRtf("no braces at all").PlainText(), "");
}

TEST(RtfReader, DeepNestingNeitherCrashesNorLosesText) {
    std::string bytes = "{\\rtf1 start";
    for (int i = 0; i < 10000; ++i)
        bytes += "{\\b ";
    bytes += "deep";
    for (int i = 0; i < 10000; ++i)
        bytes += '}';
    bytes += "end}";
    const RtfDocument doc = ParseRtf(bytes);
    EXPECT_EQ(doc.PlainText(), "startdeepend");
    EXPECT_EQ(TextWhere(doc, [](const RtfFormat& f) { return f.bold; }), "deep");

    // Unclosed nesting just ends with the file.
    std::string open = "{\\rtf1 ";
    for (int i = 0; i < 10000; ++i)
        open += "{x";
    EXPECT_EQ(ParseRtf(open).PlainText(), std::string(10000, 'x'));
}

TEST(RtfWriter, WritesTheControlsLayout) {
    RtfDocument doc;
    doc.Append("Caf\xe9 ", {});
    doc.Append("bold", Bold());
    doc.Append("\nred", Colored({ 255, 0, 0 }));
    EXPECT_EQ(WriteRtf(doc),
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
        "{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans Serif;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs16 Caf\\'e9 \\b bold\\b0\\cf1 \\par\r\n"
        "red\\par\r\n"
        "}\r\n");
    EXPECT_EQ(WriteRtf({}),
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
        "{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans Serif;}}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\par\r\n}\r\n");
}

TEST(RtfWriter, TextAndFormatsRoundTrip) {
    RtfDocument doc;
    doc.Append(" leading blank\n\nafter an empty line\tand a tab\vand a line break", {});
    doc.Append("{braces} \\ back\\slash \x80\xff\x01", Italic(Bold()));
    doc.Append("\n big ", Sized(40, Underline()));
    doc.Append("struck", Colored({ 1, 2, 3 }, Strike()));
    doc.Append("blue", Colored({ 0, 0, 255 }));
    doc.Append("again", Colored({ 1, 2, 3 }, Strike()));
    doc.Append("\n\n", {});
    EXPECT_EQ(ParseRtf(WriteRtf(doc)), doc);
    EXPECT_EQ(ParseRtf(WriteRtf(ParseRtf(WriteRtf(doc)))), doc);

    for (const std::string text : { "", "\n", "\n\n", "a", "a\n", "\na", " ", "\t", "\v" }) {
        RtfDocument plain = PlainTextDocument(text);
        EXPECT_EQ(ParseRtf(WriteRtf(plain)), plain) << "text: [" << text << "]";
    }
}

TEST(PlainText, EveryLineEndEndsAParagraph) {
    EXPECT_EQ(PlainTextDocument(Fixture("plain_notes.ovd")).PlainText(),
        "Shopping list\nMilk\n\nCall Ren\xe9"
        "e\n");
    EXPECT_EQ(PlainTextDocument(std::string("a\rb\nc\r\n\0d", 10)).PlainText(), "a\nb\nc\nd");
    EXPECT_FALSE(LooksLikeRtf(Fixture("plain_notes.ovd")));
    EXPECT_FALSE(LooksLikeRtf(" {\\rtf1}"));
    EXPECT_TRUE(PlainTextDocument("").runs.empty());
}

} // namespace
} // namespace orvane
