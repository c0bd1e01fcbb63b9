// SELECT with GET RESPONSE and the file header, with the fuzzer's bytes as
// the card's answers: the first two bytes are the file id.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FakePcsc.h"
#include "FuzzCard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    FuzzCard card(data + 2, size - 2);
    CCardReader& reader = card.Reader();

    const uint16_t fileId = static_cast<uint16_t>(data[0] << 8 | data[1]);
    std::vector<uint8_t> header;
    bool isDirectory = false;
    const LONG result = reader.SelectFile(fileId, header, isDirectory);
    // A successful SELECT always yields a header of exactly 15 bytes.
    if (result == 0 && header.size() != 15)
        __builtin_trap();
    uint16_t fileSize = 0;
    int32_t readAccess = 0, updateAccess = 0;
    if (CCardReader::ParseFileHeader(header, fileSize, readAccess, updateAccess) == 0) {
        if (readAccess < 0 || readAccess > 3 || updateAccess < 0 || updateAccess > 3)
            __builtin_trap();
    }
    return 0;
}
