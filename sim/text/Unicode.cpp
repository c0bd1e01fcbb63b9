#include "sim/text/Unicode.h"

#include <vector>

#include "sim/text/Utf8Append.h"

std::string Latin1ToUtf8(const uint8_t* bytes, size_t count)
{
    std::string out;
    for (size_t i = 0; i < count; ++i)
        AppendUtf8(out, bytes[i]);
    return out;
}

std::string Utf16BeToUtf8(const uint8_t* bytes, size_t count)
{
    std::vector<char16_t> units(count / 2);
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
    std::string out;
    AppendUtf16(out, units.data(), units.size());
    return out;
}
