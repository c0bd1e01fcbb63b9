// UTF-16 text of the logic to UTF-8 for the terminal and JSON.
#pragma once
#include <filesystem>
#include <string>

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);

// UTF-8 input to UTF-16; bytes that are not valid UTF-8 become U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);

// A file name given as UTF-8 (the command line's encoding on every system
// here) as a path: wide on Windows, the same bytes elsewhere.
std::filesystem::path PathFromUtf8(const std::string& text);
