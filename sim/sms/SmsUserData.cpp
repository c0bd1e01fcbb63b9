#include "sim/sms/SmsUserData.h"

#include <algorithm>

#include "sim/text/GsmText.h"
#include "sim/text/Septets.h"
#include "sim/text/Unicode.h"

namespace {

// Octets TP-UDL announces.
size_t AnnouncedOctets(uint8_t userDataLength, const DataCoding& coding)
{
    return coding.alphabet == SmsAlphabet::Gsm7 && !coding.compressed ? PackedOctets(userDataLength)
                                                                      : userDataLength;
}

void DecodeSevenBit(const uint8_t* data, size_t octets, size_t headerOctets, uint8_t septets, SmsUserData& out)
{
    const size_t headerSeptets = (headerOctets * 8 + 6) / 7; // the header and its fill bits
    if (headerSeptets > septets) {
        out.headerBroken = true;
        return;
    }
    const auto codes = UnpackSeptetsAt(data, octets, headerSeptets, septets - headerSeptets);
    out.truncated = out.truncated || codes.size() < septets - headerSeptets;
    out.text = GsmCodesToUtf8(codes.data(), codes.size());
}

void DecodeOctets(const uint8_t* body, size_t count, const DataCoding& coding, SmsUserData& out)
{
    if (coding.alphabet == SmsAlphabet::Ucs2 && !coding.compressed) {
        out.text = Utf16BeToUtf8(body, count);
        return;
    }
    out.octets.assign(body, body + count);
    if (!coding.compressed)
        out.text = Latin1ToUtf8(body, count);
}

} // namespace

SmsUserData DecodeUserData(const uint8_t* data, size_t available, uint8_t userDataLength, bool hasHeader,
                           const DataCoding& coding)
{
    SmsUserData out;
    const size_t announced = AnnouncedOctets(userDataLength, coding);
    const size_t octets = std::min(announced, available);
    out.truncated = octets < announced;
    UserDataHeader header;
    if (hasHeader) {
        if (!ParseUserDataHeader(data, octets, header)) {
            out.headerBroken = true;
            return out;
        }
        out.concatenation = header.concatenation;
    }
    if (coding.alphabet == SmsAlphabet::Gsm7 && !coding.compressed)
        DecodeSevenBit(data, octets, header.length, userDataLength, out);
    else
        DecodeOctets(data + header.length, octets - header.length, coding, out);
    return out;
}
