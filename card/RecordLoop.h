// Reading the records of a linear-fixed file one by one (READ RECORD,
// absolute mode); shared by the dialling-number and SMS readers.
#pragma once
#include <algorithm>
#include <array>
#include <cstdint>

#include "CardReader.h"
#include "ReceiveRoom.h"
#include "StatusWords.h"
#include "sim/DiallingNumbers.h"
#include "sim/ResultCodes.h"

namespace card_detail {

// Sends READ RECORD (A0 B2 RR 04 LL) for record `number` and passes the data
// of a response that ends 90 00 to onRecord(data, dataLength). dataLength is
// what the card actually sent (it may be shorter than the record). Returns
// the transport error, or SCARD_E_UNEXPECTED for any other status word.
template <typename OnRecord>
LONG ReadRecord(CCardReader& reader, uint8_t number, uint8_t recordLength, OnRecord&& onRecord)
{
    const uint8_t readRecord[] = {0xA0, 0xB2, number, 0x04, recordLength};
    const DWORD room = ReceiveRoom(recordLength);
    ResponseBuffer response{};
    DWORD received = room;
    const LONG result = reader.Transmit(readRecord, sizeof readRecord, response.data(), received);
    if (result != sc::Success)
        return result;
    if (received > room || !EndsWithOk(response.data(), received))
        return sc::Unexpected;
    onRecord(response.data(), static_cast<size_t>(received - 2));
    return sc::Success;
}

// The last record of a file of `recordCount` records that READ RECORD can
// name: at most 255, since the record number is one byte.
inline uint16_t LastReadableRecord(uint16_t recordCount)
{
    return std::min(recordCount, MaxRecordNumber);
}

// Reads records 1..LastReadableRecord(recordCount) and stops at the first
// failure (returned).
template <typename OnRecord>
LONG ReadRecords(CCardReader& reader, uint16_t recordCount, uint8_t recordLength, OnRecord onRecord)
{
    const uint16_t lastRecord = LastReadableRecord(recordCount);
    for (uint16_t number = 1; number <= lastRecord; ++number) {
        const LONG result = ReadRecord(reader, static_cast<uint8_t>(number), recordLength, onRecord);
        if (result != sc::Success)
            return result;
    }
    return sc::Success;
}

} // namespace card_detail
