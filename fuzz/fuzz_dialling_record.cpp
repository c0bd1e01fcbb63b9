// EF_ADN/EF_FDN: the file header and one record. The first byte chooses the
// alpha-identifier length, the rest is the record as received.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/DiallingNumbers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t alphaLength = data[0];
    const uint8_t* record = data + 1;
    const size_t length = size - 1;
    if (length >= 15) {
        DiallingNumberFile file;
        ParseDiallingFileHeader(std::vector<uint8_t>(record, record + 15), file);
    }
    PhoneBookEntry entry;
    DecodeDiallingRecord(record, length, alphaLength, entry);
    return 0;
}
