// UTF-8 output for the full decoders: code points, Latin-1 and UTF-16BE input.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Appends one code point as UTF-8; surrogates and values above U+10FFFF
// become U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

// Latin-1 bytes (byte value = code point) to UTF-8.
std::string Latin1ToUtf8(const uint8_t* bytes, size_t count);

// Big-endian UTF-16 of `count` bytes to UTF-8: a surrogate pair becomes its
// one code point, a lone surrogate U+FFFD. A final odd byte is not text and
// is ignored.
std::string Utf16BeToUtf8(const uint8_t* bytes, size_t count);
