#include <string>

#include "GsmAlphabet.h"
#include "SeptetCodes.h"
#include "SmsRecords.h"

std::string UnpackSeptetCodes(const uint8_t* data, size_t octetCount)
{
    std::string codes;
    codes.reserve(octetCount + octetCount / 7);
    unsigned shift = 0;
    unsigned mask = 0x7F;
    unsigned previous = 0;
    for (size_t i = 0; i < octetCount; ++i) {
        const unsigned octet = data[i];
        codes += static_cast<char>((((octet & mask) << shift) + (previous >> (8 - shift))) & 0xFF);
        ++shift;
        mask >>= 1;
        previous = octet;
        if (shift == 7) {
            codes += static_cast<char>(previous >> 1);
            shift = 0;
            mask = 0x7F;
            previous = 0;
        }
    }
    return codes;
}

std::string UnpackSeptets(const uint8_t* data, uint8_t octetCount)
{
    std::string codes = UnpackSeptetCodes(data, octetCount);
    // Without a septet count a final code 0 is taken for the fill of the last
    // octet, even when it is a real "@".
    if (!codes.empty() && codes.back() == '\0')
        codes.pop_back();
    return GsmAlphaToString(reinterpret_cast<const uint8_t*>(codes.data()), codes.size());
}

std::u16string Ucs2BeToWide(const uint8_t* data, size_t length)
{
    std::u16string text;
    // Whole code units only: a trailing odd byte has no partner and is ignored.
    for (size_t i = 0; i + 1 < length; i += 2) {
        const char16_t unit = static_cast<char16_t>((data[i] << 8) | data[i + 1]);
        if (unit == 0)
            break;
        text += unit;
    }
    return text;
}

void ReplaceLineBreaks(std::u16string& text)
{
    for (char16_t& unit : text) {
        if (unit == u'\r' || unit == u'\n')
            unit = u' ';
    }
}
