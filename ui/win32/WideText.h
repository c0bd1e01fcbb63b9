// UTF-16 text between the portable logic (std::u16string) and Win32
// (wchar_t, 16 bits on Windows): the code units are copied as they are.
#pragma once
#include <string>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide text is UTF-16");

inline std::wstring ToWide(const std::u16string& text)
{
    return std::wstring(text.begin(), text.end());
}

inline std::u16string FromWide(const std::wstring& text)
{
    return std::u16string(text.begin(), text.end());
}
