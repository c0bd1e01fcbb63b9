// Helpers shared by the card-model tests: hex in, hex out.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/simcard/ProfileLoader.h"
#include "tools/simcard/SimCard.h"

namespace model_test {

inline std::vector<uint8_t> H(const std::string& hex)
{
    return simcard::HexToBytes(hex);
}

inline std::string Hex(const std::vector<uint8_t>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t byte : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return text;
}

// Sends a command given in hex and returns the response in hex.
inline std::string Send(simcard::SimCard& card, const std::string& command)
{
    return Hex(card.Transmit(H(command)));
}

// The last two bytes (status word) of a response in hex.
inline std::string StatusWord(const std::string& response)
{
    return response.size() >= 5 ? response.substr(response.size() - 5) : response;
}

} // namespace model_test
