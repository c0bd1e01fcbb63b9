// Bytes of SIM answers, shared by the card-layer and decoder tests: status
// words, elementary-file headers and the STATUS data of a directory.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim_bytes {

using Bytes = std::vector<uint8_t>;

// `data` followed by the status word SW1 SW2.
inline Bytes WithSw(Bytes data, uint16_t sw = 0x9000)
{
    data.push_back(static_cast<uint8_t>(sw >> 8));
    data.push_back(static_cast<uint8_t>(sw & 0xFF));
    return data;
}

// `count` bytes of `value` followed by the status word.
inline Bytes Filled(size_t count, uint8_t value, uint16_t sw = 0x9000)
{
    return WithSw(Bytes(count, value), sw);
}

// The GET RESPONSE data of an elementary file, `length` bytes (15 on a real
// card; other lengths test the parsers): the file size in bytes 2-3, the
// record length in byte 14, zeros elsewhere.
inline Bytes EfHeader(uint16_t fileSize, uint8_t recordLength, size_t length = 15)
{
    Bytes header(length, 0x00);
    if (length > 3) {
        header[2] = static_cast<uint8_t>(fileSize >> 8);
        header[3] = static_cast<uint8_t>(fileSize & 0xFF);
    }
    if (length > 14)
        header[14] = recordLength;
    return header;
}

// STATUS data of a directory, `length` bytes: the length of the GSM data
// (length - 13) in byte 12, the file characteristics in byte 13, the CHV1
// status in byte 18 and the CHV2 status in byte 20, where there is room.
inline Bytes DirectoryStatus(size_t length, uint8_t characteristics, uint8_t chv1, uint8_t chv2)
{
    Bytes data(length, 0x00);
    if (length > 12)
        data[12] = static_cast<uint8_t>(length - 13);
    if (length > 13)
        data[13] = characteristics;
    if (length > 18)
        data[18] = chv1;
    if (length > 20)
        data[20] = chv2;
    return data;
}

} // namespace sim_bytes
