// Checks for the --full fuzz targets: decoded text must be valid UTF-8.
#pragma once
#include <string>

// Well-formed UTF-8: shortest forms, no surrogates, nothing above U+10FFFF.
inline bool IsValidUtf8(const std::string& text)
{
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = c << 6 | (next & 0x3F);
        }
        const char32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < shortest[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

// A dialling number as --full shows it: "+" first at most, then 0-9 * # , ? E.
inline bool IsDiallingNumber(const std::string& number)
{
    for (size_t i = 0; i < number.size(); ++i) {
        const char c = number[i];
        if (!((c >= '0' && c <= '9') || c == '*' || c == '#' || c == ',' || c == '?' || c == 'E' ||
              (c == '+' && i == 0 && number.size() > 1)))
            return false;
    }
    return true;
}
