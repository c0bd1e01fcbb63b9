#include "sim/dialling/DiallingDigits.h"

#include "sim/Bcd.h"

namespace {

// 0-9, then A-E; F, past the table, is the end mark.
constexpr char DiallingDigitChars[] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9',
                                       '*', '#', ',', '?', ExpansionDigitMarker};
constexpr BcdDigitTable DiallingDigitTable(DiallingDigitChars, sizeof DiallingDigitChars);

} // namespace

std::string DecodeDiallingDigits(const uint8_t* bytes, size_t count)
{
    return SwappedBcdDigits(bytes, 2 * count, DiallingDigitTable);
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
