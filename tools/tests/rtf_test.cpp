#include "tools/rtf.h"

#include "core/text_file.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr RtfColor kRed { 255, 0, 0 };
constexpr RtfColor kNavy { 0, 0, 128 };
using FormatTest = bool (*)(const RtfFormat&);

// The text of every run whose format passes `test`.
std::string TextWhere(const RtfDocument& doc, FormatTest test) {
    std::string text;
    for (const RtfRun& run : doc.runs)
        text += test(run.format) ? run.text : "";
    return text;
}

TEST(RtfReader, ReadsWhatTheRichEditControlWrites) {
    const std::string bytes
        = ReadWholeFile(std::filesystem::path(ORVANE_TEST_DATA) / "richedit_notes.ovd")
              .value_or("");
    ASSERT_TRUE(LooksLikeRtf(bytes));
    EXPECT_FALSE(LooksLikeRtf(" {\\rtf1}"));
    const RtfDocument doc = ParseRtf(bytes);
    // Fonts, the generator and the picture are dropped; \u8364 is the euro sign and skips its
    // fallback; a character Windows-1252 cannot hold is read from its fallback.
    EXPECT_EQ(doc.PlainText(),
        "Caf\xe9 opens at 9\nBring the list\tdone\nLine one\vline two\n\x80 and ?\n\nold");
    const std::pair<FormatTest, std::string> formats[] = {
        { [](const RtfFormat& f) { return f.bold; }, "opens" },
        { [](const RtfFormat& f) { return f.italic; }, "Bring" },
        { [](const RtfFormat& f) { return f.underline; }, "list" },
        { [](const RtfFormat& f) { return f.strike; }, "old" },
        { [](const RtfFormat& f) { return f.half_points == 20; }, "Line one\vline two\n" },
        { [](const RtfFormat& f) { return f.color == kRed; }, "Bring" },
        { [](const RtfFormat& f) { return f.color == kNavy; }, "old" },
    };
    for (const auto& [test, text] : formats)
        EXPECT_EQ(TextWhere(doc, test), text);
    EXPECT_EQ(doc.runs.front().format, RtfFormat {});
}

TEST(RtfReader, TextOfControlWordsGroupsAndBrokenInput) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        { "{\\rtf1 Hello\\par}", "Hello" }, // the final paragraph mark is the document's end
        { "{\\rtf1 a\\\r\nb\r\nc}", "a\nbc" }, // only a line end after a backslash is a \par
        { "{\\rtf1 \\b  x\\b0 y}", " xy" }, // one delimiting blank belongs to the word
        { "{\\rtf1 \\{a\\}\\\\ b\\~x\\_d\\-e}", "{a}\\ b\xa0x-de" },
        { "{\\rtf1 a{\\*\\foo {b}\\par c}d}", "ad" },
        { "{\\rtf1 {\\uc2\\u233 xx}\\u233 y}", "\xe9\xe9" }, // \ucN holds for its group
        { "{\\rtf1 a{\\pict\\bin4 }}{x}b}", "ab" }, // \bin data is skipped however it looks
        { "{\\rtf1 a{\\b b", "ab" }, // broken input reads as far as it goes
        { "{\\rtf1 a\\fs99999999999999999999 b\\bin99999999999}", "ab" },
        { "no braces at all", "" },
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(ParseRtf(bytes).PlainText(), text) << bytes;
}

TEST(RtfReader, GroupsScopeFormatting) {
    // \plain keeps no size of its own: 12 points.
    EXPECT_EQ(ParseRtf("{\\rtf1\\fs16 a{\\b\\fs40 b}c\\plain d}").runs,
        (std::vector<RtfRun> { { "a", {} },
            { "b", { .bold = true, .half_points = 40, .color = {} } }, { "c", {} },
            { "d", { .half_points = kRtfDefaultHalfPoints, .color = {} } } }));
}

TEST(RtfReader, DeepNestingNeitherCrashesNorLosesText) {
    std::string nested = "{\\rtf1 start";
    for (int i = 0; i < 10000; ++i)
        nested += "{\\b ";
    nested += "deep" + std::string(10000, '}') + "end}";
    const RtfDocument doc = ParseRtf(nested);
    EXPECT_EQ(doc.PlainText(), "startdeepend");
    EXPECT_EQ(TextWhere(doc, [](const RtfFormat& f) { return f.bold; }), "deep");
    std::string open = "{\\rtf1 "; // unclosed nesting just ends with the file
    for (int i = 0; i < 10000; ++i)
        open += "{x";
    EXPECT_EQ(ParseRtf(open).PlainText(), std::string(10000, 'x'));
}

TEST(RtfWriter, WritesTheControlsLayout) {
    RtfDocument doc;
    doc.Append("Caf\xe9 ", {});
    doc.Append("bold", { .bold = true, .color = {} });
    doc.Append("\nred", { .color = kRed });
    const std::string head = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
                             "{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans Serif;}}\r\n";
    EXPECT_EQ(WriteRtf(doc),
        head
            + "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
              "\\viewkind4\\uc1\\pard\\f0\\fs16 Caf\\'e9 \\b bold\\b0\\cf1 "
              "\\par\r\nred\\par\r\n}\r\n");
    EXPECT_EQ(WriteRtf({}), head + "\\viewkind4\\uc1\\pard\\f0\\par\r\n}\r\n");
}

TEST(RtfWriter, TextAndFormatsRoundTrip) {
    const RtfFormat struck { .strike = true, .color = RtfColor { 1, 2, 3 } };
    RtfDocument doc;
    doc.Append(" leading blank\n\nafter an empty line\tand a tab\vand a line break", {});
    doc.Append(
        "{braces} \\ back\\slash \x80\xff\x01", { .bold = true, .italic = true, .color = {} });
    doc.Append("\n big ", { .underline = true, .half_points = 40, .color = {} });
    doc.Append("struck", struck);
    doc.Append("blue", { .color = RtfColor { 0, 0, 255 } });
    doc.Append("again", struck);
    doc.Append("\n\n", {});
    EXPECT_EQ(ParseRtf(WriteRtf(doc)), doc);
    // Every line end of a plain text ends a paragraph.
    EXPECT_EQ(PlainTextDocument(std::string("a\rb\nc\r\n\0d", 10)).PlainText(), "a\nb\nc\nd");
    const RtfDocument plain = PlainTextDocument("\n\na\n");
    EXPECT_EQ(ParseRtf(WriteRtf(plain)), plain);
}

} // namespace
} // namespace orvane
