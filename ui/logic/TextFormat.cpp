#include "TextFormat.h"

#include <string>

std::u16string AsciiToUtf16(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

std::u16string DecimalText(long long value)
{
    return AsciiToUtf16(std::to_string(value));
}

std::u16string Hex8Text(uint32_t value)
{
    static const char digits[] = "0123456789ABCDEF";
    std::u16string text(8, u'0');
    for (int i = 7; i >= 0; --i) {
        text[static_cast<size_t>(i)] = static_cast<char16_t>(digits[value & 0xF]);
        value >>= 4;
    }
    return text;
}
