#include "PhoneBookRecords.h"

#include <algorithm>

#include "sim/dialling/DiallingRecord.h"

namespace {

constexpr size_t BackPointerLength = 2;

uint8_t RecordNumber(uint8_t byte)
{
    return byte == 0xFF ? 0 : byte;
}

// Splits a type 2 record into its body and its back-pointer, when received.
size_t BodyLength(const uint8_t* record, size_t length, bool typeTwo, std::optional<AdnPointer>& adn)
{
    if (!typeTwo || length < BackPointerLength)
        return length;
    adn = AdnPointer{record[length - 2], record[length - 1]};
    return length - BackPointerLength;
}

} // namespace

AnrRecord DecodeAnrRecord(const uint8_t* record, size_t length, bool typeTwo)
{
    AnrRecord anr;
    if (length == 0)
        return anr;
    // The back-pointer follows the 15 bytes of the number, whatever the
    // record length.
    if (typeTwo && length >= AnrRecordLength + BackPointerLength)
        anr.adn = AdnPointer{record[AnrRecordLength], record[AnrRecordLength + 1]};
    anr.aasRecord = RecordNumber(record[0]);
    DiallingRecordFields fields;
    DecodeDiallingRecordFields(record + 1, std::min(length, AnrRecordLength) - 1, 0, fields);
    anr.used = length > 1 && record[1] != 0x00 && record[1] != 0xFF;
    anr.digits = std::move(fields.digits);
    anr.tonNpi = fields.tonNpi;
    anr.ccpRecord = fields.capabilityId;
    anr.extensionRecord = fields.extensionId;
    return anr;
}

TextRecord DecodeTextRecord(const uint8_t* record, size_t length, bool typeTwo)
{
    TextRecord text;
    const size_t body = BodyLength(record, length, typeTwo, text.adn);
    text.text = DecodeAlphaIdentifier(record, body);
    return text;
}

std::vector<uint8_t> DecodeIapRecord(const uint8_t* record, size_t length)
{
    std::vector<uint8_t> pointers;
    for (size_t i = 0; i < length; ++i)
        pointers.push_back(RecordNumber(record[i]));
    return pointers;
}

std::vector<uint8_t> DecodeGroupRecord(const uint8_t* record, size_t length)
{
    std::vector<uint8_t> groups;
    for (size_t i = 0; i < length; ++i)
        if (RecordNumber(record[i]) != 0)
            groups.push_back(record[i]);
    return groups;
}

std::optional<EntryControl> DecodeEntryControl(const uint8_t* record, size_t length)
{
    if (length < 2)
        return std::nullopt;
    return EntryControl{record[0], record[1]};
}
