#include "sim/sms/DataCoding.h"

namespace {

SmsAlphabet GeneralAlphabet(uint8_t scheme)
{
    switch (scheme >> 2 & 0x03) {
    case 1: return SmsAlphabet::EightBit;
    case 2: return SmsAlphabet::Ucs2;
    default: return SmsAlphabet::Gsm7; // 00, and the reserved 11
    }
}

// Groups 00xx and 01xx: compression, class meaning, alphabet, class.
DataCoding GeneralDataCoding(uint8_t scheme)
{
    DataCoding coding;
    coding.autoDelete = scheme & 0x40;
    coding.compressed = scheme & 0x20;
    coding.alphabet = GeneralAlphabet(scheme);
    if (scheme & 0x10)
        coding.messageClass = scheme & 0x03;
    return coding;
}

DataCoding MessageWaiting(uint8_t scheme)
{
    DataCoding coding;
    const unsigned group = scheme >> 4;
    coding.waiting = group == 0xC ? WaitingGroup::Discard : WaitingGroup::Store;
    coding.alphabet = group == 0xE ? SmsAlphabet::Ucs2 : SmsAlphabet::Gsm7;
    coding.waitingActive = scheme & 0x08;
    coding.waitingKind = static_cast<WaitingKind>(scheme & 0x03);
    return coding;
}

// Group 1111: bit 2 the alphabet (7-bit or 8-bit), bits 1-0 the class.
DataCoding DataCodingAndClass(uint8_t scheme)
{
    DataCoding coding;
    coding.alphabet = scheme & 0x04 ? SmsAlphabet::EightBit : SmsAlphabet::Gsm7;
    coding.messageClass = scheme & 0x03;
    return coding;
}

} // namespace

DataCoding DecodeDataCoding(uint8_t scheme)
{
    const unsigned group = scheme >> 4;
    if (group < 0x8)
        return GeneralDataCoding(scheme);
    if (group < 0xC)
        return DataCoding{};
    if (group < 0xF)
        return MessageWaiting(scheme);
    return DataCodingAndClass(scheme);
}
