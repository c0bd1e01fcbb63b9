#include "Bcd.h"

namespace {

char HexDigit(unsigned nibble)
{
    return "0123456789ABCDEF"[nibble & 0x0F];
}

} // namespace

std::string BcdToString(const uint8_t* bytes, size_t count)
{
    while (count > 0 && bytes[count - 1] == 0xFF)
        --count;
    if (count == 0)
        return {};

    const bool endsWithFiller = (bytes[count - 1] & 0xF0) == 0xF0;
    std::string digits;
    digits.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        digits += HexDigit(bytes[i]);
        digits += HexDigit(bytes[i] >> 4);
    }
    if (endsWithFiller)
        digits.pop_back();
    return digits;
}
