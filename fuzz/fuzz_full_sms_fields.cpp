// The full SMS field decoders on their own: user data of every coding with
// and without a header, addresses, time stamps and validity periods.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/text/GsmText.h"
#include "sim/sms/SmsAddress.h"
#include "sim/sms/SmsTime.h"
#include "sim/sms/DataCoding.h"
#include "sim/sms/SmsUserData.h"
#include "sim/text/Unicode.h"
#include "sim/sms/ValidityPeriod.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const uint8_t scheme = data[0], userDataLength = data[1], flags = data[2];
    const std::vector<uint8_t> rest(data + 3, data + size);
    DecodeUserData(rest.data(), rest.size(), userDataLength, flags & 0x40, DecodeDataCoding(scheme));
    SmsAddress address;
    DecodeTpAddress(rest.data(), rest.size(), address);
    DecodeServiceCentreAddress(rest.data(), rest.size(), address);
    GsmCodesToUtf8(rest.data(), rest.size());
    Utf16BeToUtf8(rest.data(), rest.size());
    if (rest.size() >= ValidityPeriodLength(flags))
        DecodeValidityPeriod(flags, rest.data());
    SmsTime time;
    if (rest.size() >= SmsTimeLength)
        DecodeSmsTime(rest.data(), time);
    return 0;
}
