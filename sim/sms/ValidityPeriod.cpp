#include "sim/sms/ValidityPeriod.h"

#include <cstdio>

#include "sim/sms/SmsTime.h"

namespace {

enum Format { None = 0, Enhanced = 1, Relative = 2, Absolute = 3 };

Format FormatOf(uint8_t firstOctet)
{
    return static_cast<Format>(firstOctet >> 3 & 0x03);
}

std::string Count(unsigned value, const char* unit)
{
    return std::to_string(value) + " " + unit + (value == 1 ? "" : "s");
}

std::string MinutesText(unsigned minutes)
{
    if (minutes < 60)
        return Count(minutes, "minute");
    std::string text = Count(minutes / 60, "hour");
    return minutes % 60 ? text + " " + Count(minutes % 60, "minute") : text;
}

std::string SemiOctetDigits(uint8_t octet)
{
    static const char hex[] = "0123456789ABCDEF";
    return {hex[octet & 0x0F], hex[octet >> 4]};
}

// Enhanced format: a functionality indicator, further indicator octets while
// its bit 7 is set (their bits are reserved), then the period by the first
// octet's bits 2-0, all within the field's seven octets.
std::string EnhancedText(const uint8_t* data)
{
    size_t at = 1;
    while (at < SmsTimeLength && data[at - 1] & 0x80)
        ++at;
    const size_t left = SmsTimeLength - at;
    const uint8_t* value = data + at;
    std::string text;
    switch (data[0] & 0x07) {
    case 0: text = "none"; break;
    case 1: text = left >= 1 ? RelativeValidityText(value[0]) : "invalid"; break;
    case 2: text = left >= 1 ? Count(value[0], "second") : "invalid"; break;
    case 3:
        text = left >= 3 ? SemiOctetDigits(value[0]) + ":" + SemiOctetDigits(value[1]) + ":" + SemiOctetDigits(value[2])
                         : "invalid";
        break;
    default: text = "reserved"; break;
    }
    return data[0] & 0x40 ? text + ", single shot" : text;
}

} // namespace

size_t ValidityPeriodLength(uint8_t firstOctet)
{
    switch (FormatOf(firstOctet)) {
    case Relative: return 1;
    case Enhanced:
    case Absolute: return SmsTimeLength;
    default: return 0;
    }
}

ValidityPeriod DecodeValidityPeriod(uint8_t firstOctet, const uint8_t* data)
{
    ValidityPeriod period;
    switch (FormatOf(firstOctet)) {
    case Relative:
        period = {"relative", RelativeValidityText(data[0])};
        break;
    case Enhanced:
        period = {"enhanced", EnhancedText(data)};
        break;
    case Absolute: {
        SmsTime time;
        period = {"absolute", DecodeSmsTime(data, time) ? IsoText(time) : "invalid"};
        break;
    }
    default:
        break;
    }
    return period;
}

std::string RelativeValidityText(uint8_t value)
{
    if (value <= 143)
        return MinutesText((value + 1u) * 5);
    if (value <= 167)
        return MinutesText(12 * 60 + (value - 143u) * 30);
    if (value <= 196)
        return Count(value - 166u, "day");
    return Count(value - 192u, "week");
}
