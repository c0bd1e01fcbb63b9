#include "sim/sms/SmsTime.h"

namespace {

constexpr uint8_t ZoneSign = 0x08; // bit 3 of the time zone octet: west of UTC

// The two digits of a swapped semi-octet, or -1 when one is not a digit.
int SwappedValue(uint8_t octet)
{
    const int low = octet & 0x0F, high = octet >> 4;
    return low > 9 || high > 9 ? -1 : low * 10 + high;
}

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

} // namespace

bool DecodeSmsTime(const uint8_t* stamp, SmsTime& time)
{
    const int year = SwappedValue(stamp[0]);
    time.month = SwappedValue(stamp[1]);
    time.day = SwappedValue(stamp[2]);
    time.hour = SwappedValue(stamp[3]);
    time.minute = SwappedValue(stamp[4]);
    time.second = SwappedValue(stamp[5]);
    const int quarters = SwappedValue(static_cast<uint8_t>(stamp[6] & ~ZoneSign));
    time.year = year < 70 ? 2000 + year : 1900 + year;
    time.offsetQuarters = stamp[6] & ZoneSign ? -quarters : quarters;
    return year >= 0 && quarters >= 0 && InRange(time.month, 1, 12) && InRange(time.day, 1, 31) &&
           InRange(time.hour, 0, 23) && InRange(time.minute, 0, 59) && InRange(time.second, 0, 59);
}
