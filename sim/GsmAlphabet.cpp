#include "GsmAlphabet.h"

#include <array>
#include <utility>

namespace {

// GSM default alphabet (below 0x80) to Latin-1. Characters without a Latin-1
// code keep their GSM value: the Greek capitals, escape, LF and CR.
constexpr std::array<uint8_t, 128> MakeLatin1Table()
{
    std::array<uint8_t, 128> table{};
    for (unsigned i = 0; i < table.size(); ++i)
        table[i] = static_cast<uint8_t>(i);
    constexpr std::pair<uint8_t, uint8_t> differing[] = {
        {0x00, 0x40}, {0x01, 0xA3}, {0x02, 0x24}, {0x03, 0xA5}, {0x04, 0xE8}, {0x05, 0xE9}, {0x06, 0xF9},
        {0x07, 0xEC}, {0x08, 0xF2}, {0x09, 0xC7}, {0x0B, 0xD8}, {0x0C, 0xF8}, {0x0E, 0xC5}, {0x0F, 0xE5},
        {0x11, 0x5F}, {0x1C, 0xC6}, {0x1D, 0xE6}, {0x1E, 0xDF}, {0x1F, 0xC9}, {0x24, 0xA4}, {0x40, 0xA1},
        {0x5B, 0xC4}, {0x5C, 0xD6}, {0x5D, 0xD1}, {0x5E, 0xDC}, {0x5F, 0xA7}, {0x60, 0xBF}, {0x7B, 0xE4},
        {0x7C, 0xF6}, {0x7D, 0xF1}, {0x7E, 0xFC}, {0x7F, 0xE0},
    };
    for (const auto& [gsm, latin1] : differing)
        table[gsm] = latin1;
    return table;
}

constexpr std::array<uint8_t, 128> Latin1Table = MakeLatin1Table();

} // namespace

uint8_t GsmToLatin1(uint8_t gsm)
{
    return gsm < Latin1Table.size() ? Latin1Table[gsm] : gsm;
}

std::string GsmAlphaToString(const uint8_t* bytes, size_t count)
{
    std::string text;
    for (size_t i = 0; i < count && bytes[i] != 0xFF; ++i)
        text += static_cast<char>(GsmToLatin1(bytes[i]));
    return text;
}
