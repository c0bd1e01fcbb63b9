// Small text helpers of the dialog logic: the printf-style fields its
// messages use, written out for UTF-16.
#pragma once
#include <cstdint>
#include <string>

// ASCII text to UTF-16.
std::u16string AsciiToUtf16(const std::string& text);

// "%d"
std::u16string DecimalText(long long value);

// "%.8X": eight upper-case hexadecimal digits.
std::u16string Hex8Text(uint32_t value);
