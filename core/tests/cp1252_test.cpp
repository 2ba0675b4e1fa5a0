#include "core/cp1252.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(Cp1252, EveryByteSurvivesTheTripThroughUtf8) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::u32string decoded = DecodeUtf8(Cp1252ToUtf8(byte));
        ASSERT_EQ(decoded.size(), 1u) << b;
        EXPECT_EQ(Cp1252Byte(decoded[0]), static_cast<unsigned char>(b)) << b;
    }
}

struct ByteCase {
    unsigned char byte;
    const char* utf8;
};

class Cp1252Bytes : public ::testing::TestWithParam<ByteCase> { };

TEST_P(Cp1252Bytes, AreTheCharactersOfTheCodePage) {
    EXPECT_EQ(Cp1252ToUtf8(std::string(1, static_cast<char>(GetParam().byte))), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(Table, Cp1252Bytes,
    ::testing::Values(ByteCase { 'A', "A" }, ByteCase { 0xE9, "\xC3\xA9" } /* é */,
        ByteCase { 0x80, "\xE2\x82\xAC" } /* € */, ByteCase { 0x9F, "\xC5\xB8" } /* Ÿ */,
        ByteCase { 0x85, "\xE2\x80\xA6" } /* … */, ByteCase { 0xA0, "\xC2\xA0" },
        ByteCase { 0x81, "\xC2\x81" } /* undefined: the C1 control of the same value */));

TEST(Cp1252, CharactersOutsideTheCodePageHaveNoByte) {
    EXPECT_FALSE(Cp1252Byte(U'\u2192')); // →
    EXPECT_FALSE(Cp1252Byte(U'\U0001F600'));
    EXPECT_FALSE(Cp1252Byte(U'\u0100'));
    EXPECT_EQ(Cp1252Byte(U'\u2122'), 0x99); // ™
}

struct Utf8Case {
    const char* bytes;
    std::u32string characters;
};

class Utf8Decoding : public ::testing::TestWithParam<Utf8Case> { };

TEST_P(Utf8Decoding, TakesWellFormedSequencesAndReplacesEachBadByte) {
    EXPECT_EQ(DecodeUtf8(GetParam().bytes), GetParam().characters);
}

constexpr char32_t kBad = kReplacementCharacter;

INSTANTIATE_TEST_SUITE_P(Table, Utf8Decoding,
    ::testing::Values(Utf8Case { "Caf\xC3\xA9", U"Café" },
        Utf8Case { "\xF0\x9F\x98\x80!", U"\U0001F600!" },
        Utf8Case { "\xC0\x80", { kBad, kBad } } /* overlong NUL */,
        Utf8Case { "\xE0\x80\xAF", { kBad, kBad, kBad } } /* overlong slash */,
        Utf8Case { "\xED\xA0\x80", { kBad, kBad, kBad } } /* a surrogate */,
        Utf8Case { "\xF4\x90\x80\x80", { kBad, kBad, kBad, kBad } } /* past U+10FFFF */,
        Utf8Case { "a\xE2\x82", { U'a', kBad, kBad } } /* cut short at the end */,
        Utf8Case { "\xE2\x82z", { kBad, kBad, U'z' } } /* cut short before a letter */,
        Utf8Case { "\x80x", { kBad, U'x' } } /* a stray continuation byte */,
        Utf8Case { "\xFF", { kBad } }));

} // namespace
} // namespace orvane
