#include "Bcd.h"

std::string SwappedBcdDigits(const uint8_t* bytes, size_t semiOctets, BcdDigitTable table)
{
    std::string digits;
    digits.reserve(semiOctets);
    for (size_t i = 0; i < semiOctets; ++i) {
        const unsigned nibble = i % 2 ? bytes[i / 2] >> 4 : bytes[i / 2] & 0x0F;
        if (nibble >= table.size())
            break;
        digits += table[nibble];
    }
    return digits;
}

std::string BcdToString(const uint8_t* bytes, size_t count)
{
    while (count > 0 && bytes[count - 1] == 0xFF)
        --count;
    if (count == 0)
        return {};
    const bool endsWithFiller = (bytes[count - 1] & 0xF0) == 0xF0;
    return SwappedBcdDigits(bytes, 2 * count - (endsWithFiller ? 1 : 0), HexDigitTable);
}
