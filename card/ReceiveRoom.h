// How much room SCardTransmit is given for a card's answer, by every caller:
// the card layer, and tools that send recorded commands.
#pragma once
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "PcscPlatform.h"

namespace card_detail {

// 255 bytes, or the expected data and SW1 SW2 when that is longer: a 254- or
// 255-byte read plus SW1 SW2 would not fit in 255.
constexpr DWORD ReceiveLength = 255;

constexpr DWORD ReceiveRoom(unsigned expectedData)
{
    return std::max<DWORD>(ReceiveLength, static_cast<DWORD>(expectedData) + 2);
}

// Holds the longest answer a one-byte Le can ask for (256 bytes, Le = 0)
// and SW1 SW2.
using ResponseBuffer = std::array<uint8_t, 258>;

// The room for the answer to a T=0 command: a command of header and P3 alone
// (READ BINARY, READ RECORD, GET RESPONSE, STATUS) expects P3 bytes, 0
// meaning 256; a command with data expects none.
constexpr DWORD ReceiveRoomFor(const uint8_t* command, size_t length)
{
    if (length != 5)
        return ReceiveLength;
    return ReceiveRoom(command[4] == 0 ? 256u : command[4]);
}

} // namespace card_detail
