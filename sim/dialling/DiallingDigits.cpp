#include "sim/dialling/DiallingDigits.h"

namespace {

constexpr uint8_t EndMark = 0xF;
constexpr char ExtendedDigits[] = {'*', '#', ',', '?', ExpansionDigitMarker}; // A-E

char DigitChar(uint8_t nibble)
{
    return nibble < 10 ? static_cast<char>('0' + nibble) : ExtendedDigits[nibble - 10];
}

} // namespace

std::string DecodeDiallingDigits(const uint8_t* bytes, size_t count)
{
    std::string digits;
    for (size_t i = 0; i < count; ++i) {
        for (uint8_t nibble : {static_cast<uint8_t>(bytes[i] & 0x0F), static_cast<uint8_t>(bytes[i] >> 4)}) {
            if (nibble == EndMark)
                return digits;
            digits += DigitChar(nibble);
        }
    }
    return digits;
}

bool IsInternationalNumber(uint8_t tonNpi)
{
    return (tonNpi & 0x70) == 0x10;
}

std::string DiallingNumberText(uint8_t tonNpi, const std::string& digits)
{
    if (digits.empty())
        return digits;
    return IsInternationalNumber(tonNpi) ? "+" + digits : digits;
}
