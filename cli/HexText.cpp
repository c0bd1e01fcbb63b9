#include "HexText.h"

namespace {

constexpr char Digits[] = "0123456789ABCDEF";

void AppendOctet(std::string& text, uint8_t octet)
{
    text += Digits[octet >> 4];
    text += Digits[octet & 0x0F];
}

} // namespace

std::string HexText(const std::vector<uint8_t>& octets)
{
    std::string text;
    text.reserve(octets.size() * 2);
    for (uint8_t octet : octets)
        AppendOctet(text, octet);
    return text;
}

std::string FileIdText(uint16_t fileId)
{
    std::string text;
    AppendOctet(text, static_cast<uint8_t>(fileId >> 8));
    AppendOctet(text, static_cast<uint8_t>(fileId & 0xFF));
    return text;
}
