#include "sim/sms/ValidityPeriod.h"

namespace {

enum Format { None = 0, Enhanced = 1, Relative = 2, Absolute = 3 };

Format FormatOf(uint8_t firstOctet)
{
    return static_cast<Format>(firstOctet >> 3 & 0x03);
}

// Enhanced format: a functionality indicator, further indicator octets while
// its bit 7 is set (their bits are reserved), then the period by the first
// octet's bits 2-0, all within the field's seven octets.
void DecodeEnhanced(const uint8_t* data, ValidityPeriod& period)
{
    size_t at = 1;
    while (at < SmsTimeLength && data[at - 1] & 0x80)
        ++at;
    const size_t left = SmsTimeLength - at;
    const uint8_t* value = data + at;
    period.singleShot = data[0] & 0x40;
    switch (data[0] & 0x07) {
    case 0: period.enhanced = EnhancedForm::None; break;
    case 1:
        period.enhanced = EnhancedForm::Relative;
        period.valid = left >= 1;
        if (period.valid)
            period.duration = RelativeValidity(value[0]);
        break;
    case 2:
        period.enhanced = EnhancedForm::Seconds;
        period.valid = left >= 1;
        if (period.valid)
            period.duration = {value[0], TimeUnit::Seconds};
        break;
    case 3:
        period.enhanced = EnhancedForm::Time;
        period.valid = left >= 3;
        for (size_t i = 0; period.valid && i < 3; ++i) {
            period.timeDigits[2 * i] = value[i] & 0x0F;
            period.timeDigits[2 * i + 1] = value[i] >> 4;
        }
        break;
    default: period.enhanced = EnhancedForm::Reserved; break;
    }
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
        period.format = ValidityFormat::Relative;
        period.duration = RelativeValidity(data[0]);
        break;
    case Enhanced:
        period.format = ValidityFormat::Enhanced;
        DecodeEnhanced(data, period);
        break;
    case Absolute:
        period.format = ValidityFormat::Absolute;
        period.valid = DecodeSmsTime(data, period.time);
        break;
    default:
        break;
    }
    return period;
}

Duration RelativeValidity(uint8_t value)
{
    if (value <= 143)
        return {(value + 1u) * 5, TimeUnit::Minutes};
    if (value <= 167)
        return {12 * 60 + (value - 143u) * 30, TimeUnit::Minutes};
    if (value <= 196)
        return {value - 166u, TimeUnit::Days};
    return {value - 192u, TimeUnit::Weeks};
}
