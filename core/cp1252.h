// Windows-1252, the 8-bit encoding of every data file: which character each byte stands for and
// back. Every byte 0x00-0xFF maps to one character; the five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control characters of the same value, so nothing
// read from a file is ever lost.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The characters of bytes 0x80-0x9F.
inline constexpr std::array<char16_t, 32> kCp1252HighCharacters
    = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
          0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
          0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

// The character (a Unicode code point) byte `byte` stands for.
constexpr char32_t Cp1252Character(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kCp1252HighCharacters[byte - 0x80] : byte;
}

// The byte of a character, or nothing when Windows-1252 cannot hold it.
constexpr std::optional<unsigned char> Cp1252Byte(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<unsigned char>(character);
    for (std::size_t i = 0; i < kCp1252HighCharacters.size(); ++i) {
        if (kCp1252HighCharacters[i] == character)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

// Windows-1252 text as UTF-8 (what iCalendar and the desktop carry), every byte one character.
std::string Cp1252ToUtf8(std::string_view bytes);

// The characters of UTF-8 text. Each byte that does not begin a well-formed sequence (a stray
// continuation byte, a cut sequence, an overlong form, a surrogate, a value past U+10FFFF)
// becomes one U+FFFD, and decoding goes on with the next byte.
std::u32string DecodeUtf8(std::string_view utf8);

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

} // namespace orvane
