// The one UTF-8 / UTF-16 codec of the program. What is not well formed
// becomes U+FFFD by one rule, whichever way text goes:
// - UTF-8: each byte that does not begin a well-formed sequence (a byte that
//   cannot lead, a sequence cut short, an overlong form, an encoded
//   surrogate, a value above U+10FFFF) is one U+FFFD, and decoding goes on
//   with the next byte;
// - UTF-16: each unpaired surrogate is one U+FFFD;
// - a code point that is a surrogate or above U+10FFFF is U+FFFD.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

constexpr char32_t ReplacementCharacter = 0xFFFD;

// Appends one code point as UTF-8 or as UTF-16. An ASCII character, by far
// the most common in card text, is appended inline.
void AppendUtf8Sequence(std::string& out, char32_t codePoint);
inline void AppendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80)
        out += static_cast<char>(codePoint);
    else
        AppendUtf8Sequence(out, codePoint);
}
void AppendUtf16(std::u16string& out, char32_t codePoint);

// One character decoded from the text at a position: its code point and the
// number of code units it took, 0 when the unit there begins no well-formed
// character (the caller then counts one U+FFFD for that one unit).
struct DecodedChar {
    char32_t codePoint = ReplacementCharacter;
    size_t length = 0;
};
DecodedChar DecodeUtf8At(std::string_view text, size_t at);
DecodedChar DecodeUtf16At(std::u16string_view text, size_t at);

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
