#include "core/cp1252.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(Cp1252, EveryByteSurvivesTheTripThroughUtf8AndIsTheCodePagesCharacter) {
    for (int b = 0; b < 256; ++b) {
        const std::u32string decoded = DecodeUtf8(Cp1252ToUtf8(std::string(1, char(b))));
        ASSERT_EQ(decoded.size(), 1u) << b;
        EXPECT_EQ(Cp1252Byte(decoded[0]), static_cast<unsigned char>(b)) << b;
    }
    EXPECT_EQ(Cp1252ToUtf8("A\xE9\x80\x9F\xA0"), "A\xC3\xA9\xE2\x82\xAC\xC5\xB8\xC2\xA0");
    EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xC2\x81"); // undefined: the C1 control of the same value
    EXPECT_EQ(Cp1252Byte(U'\u2122'), 0x99); // ™
    EXPECT_FALSE(Cp1252Byte(U'\u2192')); // →
    EXPECT_FALSE(Cp1252Byte(U'\U0001F600'));
}

TEST(Utf8, TakesWellFormedSequencesAndReplacesEachBadByte) {
    constexpr char32_t kBad = kReplacementCharacter;
    const std::pair<const char*, std::u32string> kCases[] = {
        { "Caf\xC3\xA9", U"Café" }, { "\xF0\x9F\x98\x80!", U"\U0001F600!" },
        { "\xC0\x80", { kBad, kBad } }, // overlong NUL
        { "\xED\xA0\x80", { kBad, kBad, kBad } }, // a surrogate
        { "\xF4\x90\x80\x80", { kBad, kBad, kBad, kBad } }, // past U+10FFFF
        { "\xE2\x82z", { kBad, kBad, U'z' } }, // cut short before a letter
        { "\x80x", { kBad, U'x' } }, // a stray continuation byte
    };
    for (const auto& [bytes, characters] : kCases)
        EXPECT_EQ(DecodeUtf8(bytes), characters) << bytes;
}

} // namespace
} // namespace orvane
