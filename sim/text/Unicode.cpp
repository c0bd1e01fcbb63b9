#include "sim/text/Unicode.h"

#include "sim/text/UtfCodec.h"

std::string Latin1ToUtf8(const uint8_t* bytes, size_t count)
{
    std::string out;
    for (size_t i = 0; i < count; ++i)
        AppendUtf8(out, bytes[i]);
    return out;
}

std::string Utf16BeToUtf8(const uint8_t* bytes, size_t count)
{
    std::u16string units(count / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
    return Utf16ToUtf8(units);
}
