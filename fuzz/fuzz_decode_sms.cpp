// EF_SMS records: the file header, the used test and the DELIVER decoder.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/SmsRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size >= 15) {
        SmsFile file;
        ParseSmsFileHeader(std::vector<uint8_t>(data, data + 15), file);
    }
    SmsMessage message;
    if (IsSmsRecordUsed(data, size) && DecodeSms(message, data, size)) {
        SmsMessage copy = message;
        ReplaceLineBreaks(copy.text);
    }
    return 0;
}
