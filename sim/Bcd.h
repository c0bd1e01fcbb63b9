// Swapped-nibble BCD fields (ICC ID, IMSI, dialling numbers, SMS addresses).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Digits of `count` bytes, low nibble first, as upper-case hex digits.
// Trailing 0xFF bytes are dropped, and a final high-nibble F filler is removed.
std::string BcdToString(const uint8_t* bytes, size_t count);
