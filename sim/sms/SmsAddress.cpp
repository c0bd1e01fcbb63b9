#include "sim/sms/SmsAddress.h"

#include "sim/text/GsmText.h"
#include "sim/text/Septets.h"

namespace {

constexpr uint8_t TonMask = 0x70;
constexpr uint8_t TonInternational = 0x10;
constexpr uint8_t TonAlphanumeric = 0x50;

// Semi-octet values 10 to 14 of an address: "*", "#" and the letters a to c.
constexpr char ExtendedDigits[] = "*#abc";

// `semiOctets` digits, low nibble first; a filler F ends the number.
std::string Digits(const uint8_t* data, size_t semiOctets)
{
    std::string digits;
    for (size_t i = 0; i < semiOctets; ++i) {
        const unsigned nibble = i % 2 ? data[i / 2] >> 4 : data[i / 2] & 0x0F;
        if (nibble == 0x0F)
            break;
        digits += nibble < 10 ? static_cast<char>('0' + nibble) : ExtendedDigits[nibble - 10];
    }
    return digits;
}

// The value of `octets` octets after the type octet, by the type of number.
void DecodeValue(uint8_t type, const uint8_t* value, size_t octets, size_t semiOctets, SmsAddress& address)
{
    address.typeOfAddress = type;
    address.alphanumeric = (type & TonMask) == TonAlphanumeric;
    if (address.alphanumeric) {
        const auto codes = UnpackSeptetsAt(value, octets, 0, semiOctets * 4 / 7);
        address.text = GsmCodesToUtf8(codes.data(), codes.size());
        return;
    }
    const std::string digits = Digits(value, semiOctets);
    address.text = (type & TonMask) == TonInternational ? '+' + digits : digits;
}

} // namespace

size_t DecodeTpAddress(const uint8_t* data, size_t length, SmsAddress& address)
{
    address = SmsAddress{};
    if (length < 2)
        return 0;
    const size_t semiOctets = data[0];
    const size_t octets = (semiOctets + 1) / 2;
    if (2 + octets > length)
        return 0;
    DecodeValue(data[1], data + 2, octets, semiOctets, address);
    return 2 + octets;
}

size_t DecodeServiceCentreAddress(const uint8_t* data, size_t length, SmsAddress& address)
{
    address = SmsAddress{};
    if (length < 1)
        return 0;
    if (data[0] == 0 || data[0] == 0xFF)
        return 1;
    const size_t octets = data[0];
    if (1 + octets > length)
        return 0;
    DecodeValue(data[1], data + 2, octets - 1, 2 * (octets - 1), address);
    return 1 + octets;
}
