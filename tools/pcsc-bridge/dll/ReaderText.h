// Reader names between the wire (UTF-8) and the caller (UTF-16 for the W
// functions, the ANSI code page for the A functions), and multi-strings
// (names each ended by NUL, then one more NUL).
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace reader_text {

std::wstring Utf8ToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
// nullopt when the text does not convert (invalid UTF-16 or ANSI).
std::optional<std::string> WideToUtf8(const wchar_t* text);
std::optional<std::string> AnsiToUtf8(const char* text);

template <class Char> std::basic_string<Char> MultiString(const std::vector<std::basic_string<Char>>& names)
{
    std::basic_string<Char> multi;
    for (const auto& name : names) {
        multi += name;
        multi += Char(0);
    }
    multi += Char(0);
    if (names.empty())
        multi += Char(0); // an empty list is still two NULs
    return multi;
}

std::vector<std::wstring> WideNames(const std::vector<std::string>& utf8Names);
std::vector<std::string> AnsiNames(const std::vector<std::string>& utf8Names);

} // namespace reader_text
