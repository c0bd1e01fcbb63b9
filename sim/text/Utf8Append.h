// Building UTF-8 text from code points and UTF-16 code units.
#pragma once
#include <cstddef>
#include <string>

// Appends one code point; surrogates and values above U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

// Appends UTF-16 code units: a high and a low surrogate in a row make one
// character, an unpaired surrogate becomes U+FFFD.
void AppendUtf16(std::string& out, const char16_t* units, size_t count);
