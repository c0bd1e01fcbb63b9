// UTF-8 from the byte forms of SMS text: Latin-1 (8-bit data) and UTF-16BE
// (the UCS2 alphabet).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Latin-1 bytes (byte value = code point) to UTF-8.
std::string Latin1ToUtf8(const uint8_t* bytes, size_t count);

// Big-endian UTF-16 of `count` bytes to UTF-8: a surrogate pair becomes its
// one code point, a lone surrogate U+FFFD. A final odd byte is not text and
// is ignored.
std::string Utf16BeToUtf8(const uint8_t* bytes, size_t count);
