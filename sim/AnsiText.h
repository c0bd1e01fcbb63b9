// Conversions between 8-bit text and UTF-16 in the system ANSI code page:
// CP_ACP on Windows (1252 under an English locale), Latin-1 elsewhere.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The text up to its first NUL byte, converted to UTF-16.
std::u16string AnsiToWide(const std::string& text);

// Exactly `count` bytes converted to UTF-16 (NUL bytes included).
std::u16string AnsiBytesToWide(const uint8_t* bytes, size_t count);

// UTF-16 to 8-bit text; characters the code page lacks become '?'.
std::string WideToAnsi(const std::u16string& text);
