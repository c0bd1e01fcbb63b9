#include "DiallingNumbers.h"

#include <algorithm>

#include "Bcd.h"
#include "GsmAlphabet.h"
#include "ResultCodes.h"
#include "SimFiles.h"

namespace {

// Bytes of a record besides its alpha identifier: number length, TON/NPI,
// ten BCD bytes, capability and extension identifiers.
constexpr unsigned RecordTailLength = 14;
constexpr uint8_t MaxNumberLength = 11; // TON/NPI byte and ten BCD bytes
constexpr uint8_t InternationalIsdn = 0x91;
constexpr uint8_t EmptyByte = 0xFF;
constexpr char NameEndMarker = '\x80';

bool IsTrailingSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string DecodeName(const uint8_t* record, size_t length, uint8_t alphaLength)
{
    std::string name = GsmAlphaToString(record, std::min<size_t>(alphaLength, length));
    if (!name.empty() && name.back() == NameEndMarker) {
        name.pop_back();
        while (!name.empty() && IsTrailingSpace(name.back()))
            name.pop_back();
    }
    return name;
}

std::string DecodeNumber(const uint8_t* record, size_t length, uint8_t alphaLength)
{
    const size_t lengthOffset = alphaLength;
    const size_t typeOffset = lengthOffset + 1;
    const size_t digitsOffset = lengthOffset + 2;
    if (length <= lengthOffset)
        return {};
    const uint8_t numberLength = record[lengthOffset];
    if (numberLength < 1 || numberLength > MaxNumberLength)
        return {};

    std::string number;
    if (length > typeOffset && record[typeOffset] == InternationalIsdn)
        number = "+";
    // A record shorter than its number field gives the digits it holds.
    const size_t received = length > digitsOffset ? length - digitsOffset : 0;
    const size_t digitBytes = std::min<size_t>(numberLength - 1u, received);
    if (digitBytes > 0)
        number += BcdToString(record + digitsOffset, digitBytes);
    return number;
}

} // namespace

long ParseDiallingFileHeader(const std::vector<uint8_t>& header, DiallingNumberFile& file)
{
    if (header.size() != simfile::HeaderLength)
        return sc::Unexpected;
    const unsigned fileSize = header[2] * 256u + header[3];
    const uint8_t recordLength = header[14];
    if (recordLength <= RecordTailLength)
        return sc::Success;

    file.RecordLength = recordLength;
    file.AlphaLength = static_cast<uint8_t>(recordLength - RecordTailLength);
    file.RecordCount = static_cast<uint16_t>(fileSize / recordLength);
    if (file.RecordCount > 0)
        file.Enabled = true;
    return sc::Success;
}

bool DecodeDiallingRecord(const uint8_t* record, size_t length, uint8_t alphaLength, PhoneBookEntry& entry)
{
    if (length == 0 || record[0] == EmptyByte)
        return false;
    entry.first = DecodeName(record, length, alphaLength);
    entry.second = DecodeNumber(record, length, alphaLength);
    return true;
}
