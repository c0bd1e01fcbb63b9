// GSM 7-bit unpacking, UCS2 text and the service-centre time stamp.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/SmsRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint8_t octets = static_cast<uint8_t>(size > 255 ? 255 : size);
    const std::string text = UnpackSeptets(data, octets);
    // Each 7 octets hold 8 septets.
    if (text.size() > octets + octets / 7u)
        __builtin_trap();
    Ucs2BeToWide(data, size);
    if (size >= 7) {
        SmsMessage message;
        ScTimestampToDate(message, data);
    }
    return 0;
}
