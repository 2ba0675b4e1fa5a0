// Windows-1252 and UTF-8: the files keep 8-bit Windows-1252 text, iCalendar carries UTF-8. A
// small self-contained table and decoder, so that a shared Windows-1252 table can take their
// place without touching the callers.
//
//   Cp1252ToUtf8("Caf\xE9 \x80") == "Café €"
//   CodePointToCp1252(U'€') == '\x80';  CodePointToCp1252(U'→') is nothing
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The character a byte stands for. The five bytes Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) stand for the C1 control characters of the same value, as everywhere else in
// the program, so that no byte is lost.
char32_t Cp1252ToCodePoint(unsigned char byte);

// The byte of a character, or nothing when Windows-1252 cannot hold it.
std::optional<char> CodePointToCp1252(char32_t code_point);

std::string Cp1252ToUtf8(std::string_view bytes);

// The characters of UTF-8 text. Each byte that does not begin a well-formed sequence (a stray
// continuation byte, a cut sequence, an overlong form, a surrogate, a value past U+10FFFF)
// becomes one U+FFFD, and decoding goes on with the next byte.
std::u32string DecodeUtf8(std::string_view utf8);

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

} // namespace orvane
