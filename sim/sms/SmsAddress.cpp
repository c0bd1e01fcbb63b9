#include "sim/sms/SmsAddress.h"

#include "sim/Bcd.h"
#include "sim/text/GsmText.h"
#include "sim/text/Septets.h"

namespace {

constexpr uint8_t TonMask = 0x70;
constexpr uint8_t TonInternational = 0x10;
constexpr uint8_t TonAlphanumeric = 0x50;

// Semi-octet values of an address: 0-9, then "*", "#" and the letters a to
// c; a filler F, past the table, ends the number.
constexpr BcdDigitTable AddressDigitTable = "0123456789*#abc";

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
    const std::string digits = SwappedBcdDigits(value, semiOctets, AddressDigitTable);
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
