#include "AnsiText.h"

#include <climits>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

#ifdef _WIN32

namespace {

// Sized by a first call, converted by a second, both in the ANSI code page.
std::u16string MultiByteToUtf16(const char* bytes, size_t count)
{
    if (count == 0 || count > INT_MAX)
        return {};
    const int length = static_cast<int>(count);
    const int needed = MultiByteToWideChar(CP_ACP, 0, bytes, length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    const int written = MultiByteToWideChar(CP_ACP, 0, bytes, length, wide.data(), needed);
    if (written <= 0)
        return {};
    return std::u16string(wide.begin(), wide.begin() + written);
}

} // namespace

std::u16string AnsiToWide(const std::string& text)
{
    return MultiByteToUtf16(text.c_str(), std::strlen(text.c_str()));
}

std::u16string AnsiBytesToWide(const uint8_t* bytes, size_t count)
{
    return MultiByteToUtf16(reinterpret_cast<const char*>(bytes), count);
}

std::string WideToAnsi(const std::u16string& text)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const std::wstring wide(text.begin(), text.end());
    const int length = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string narrow(static_cast<size_t>(needed), '\0');
    const int written =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), length, narrow.data(), needed, nullptr, nullptr);
    if (written <= 0)
        return {};
    narrow.resize(static_cast<size_t>(written));
    return narrow;
}

#else

// Latin-1: each byte value is its code point.
std::u16string AnsiToWide(const std::string& text)
{
    const char* bytes = text.c_str();
    return AnsiBytesToWide(reinterpret_cast<const uint8_t*>(bytes), std::strlen(bytes));
}

std::u16string AnsiBytesToWide(const uint8_t* bytes, size_t count)
{
    std::u16string wide;
    wide.reserve(count);
    for (size_t i = 0; i < count; ++i)
        wide += static_cast<char16_t>(bytes[i]);
    return wide;
}

std::string WideToAnsi(const std::u16string& text)
{
    std::string narrow;
    narrow.reserve(text.size());
    for (char16_t unit : text)
        narrow += unit <= 0xFF ? static_cast<char>(unit) : '?';
    return narrow;
}

#endif
