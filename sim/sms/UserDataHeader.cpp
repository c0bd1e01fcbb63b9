#include "sim/sms/UserDataHeader.h"

namespace {

constexpr uint8_t ConcatenationEightBit = 0x00;
constexpr uint8_t ConcatenationSixteenBit = 0x08;

std::optional<ConcatenationPart> Concatenation(uint8_t id, const uint8_t* value, size_t length)
{
    ConcatenationPart part;
    if (id == ConcatenationEightBit && length == 3) {
        part.reference = value[0];
    } else if (id == ConcatenationSixteenBit && length == 4) {
        part.reference = static_cast<uint16_t>(value[0] << 8 | value[1]);
        part.sixteenBitReference = true;
        ++value;
    } else {
        return std::nullopt;
    }
    part.total = value[1];
    part.sequence = value[2];
    if (part.total == 0 || part.sequence == 0 || part.sequence > part.total)
        return std::nullopt;
    return part;
}

} // namespace

bool ParseUserDataHeader(const uint8_t* data, size_t length, UserDataHeader& header)
{
    header = UserDataHeader{};
    if (length < 1 || size_t{data[0]} + 1 > length)
        return false;
    header.length = size_t{data[0]} + 1;
    for (size_t at = 1; at < header.length;) {
        if (at + 2 > header.length || at + 2 + data[at + 1] > header.length)
            return false;
        const uint8_t id = data[at];
        const size_t elementLength = data[at + 1];
        if (auto part = Concatenation(id, data + at + 2, elementLength))
            header.concatenation = part;
        at += 2 + elementLength;
    }
    return true;
}
