#include "sim/dialling/DiallingRecord.h"

#include <algorithm>

#include "sim/dialling/DiallingDigits.h"

namespace {

constexpr uint8_t MaxNumberLength = 11; // TON/NPI and ten BCD bytes

// The byte at `offset` of the record, or `fallback` when it was not received.
uint8_t ByteAt(const uint8_t* record, size_t length, size_t offset, uint8_t fallback)
{
    return offset < length ? record[offset] : fallback;
}

std::string NumberDigits(const uint8_t* record, size_t length, size_t alphaLength)
{
    const uint8_t numberLength = ByteAt(record, length, alphaLength, 0xFF);
    if (numberLength < 2 || numberLength > MaxNumberLength)
        return {}; // 0 and 1 hold no digit, FF is unused, above 11 is invalid
    const size_t digitsOffset = alphaLength + 2;
    if (length <= digitsOffset)
        return {};
    const size_t digitBytes = std::min<size_t>(numberLength - 1u, length - digitsOffset);
    return DecodeDiallingDigits(record + digitsOffset, digitBytes);
}

} // namespace

bool DecodeDiallingRecordFields(const uint8_t* record, size_t length, size_t alphaLength,
                                DiallingRecordFields& fields)
{
    fields = DiallingRecordFields{};
    fields.name = DecodeAlphaIdentifier(record, std::min(alphaLength, length));
    fields.digits = NumberDigits(record, length, alphaLength);
    fields.tonNpi = ByteAt(record, length, alphaLength + 1, 0xFF);
    fields.capabilityId = ByteAt(record, length, alphaLength + 12, NoRecordId);
    fields.extensionId = ExtensionIdOf(record, length, alphaLength);
    return !fields.name.text.empty() || !fields.digits.empty();
}

uint8_t ExtensionIdOf(const uint8_t* record, size_t length, size_t alphaLength)
{
    return ByteAt(record, length, alphaLength + 13, NoRecordId);
}
