// Service-centre time stamps (TP-SCTS, TP-DT and the absolute validity
// period): seven swapped semi-octet fields, the last one the time zone.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t SmsTimeLength = 7;

struct SmsTime {
    int year = 0; // four digits: 70-99 as 19xx, 00-69 as 20xx
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int offsetQuarters = 0; // the card's offset from UTC in quarter hours, signed
};

// Decodes the 7 octets at `stamp`. Fails for a digit above 9 or a field out
// of its range (month 1-12, day 1-31, hour 0-23, minute and second 0-59).
bool DecodeSmsTime(const uint8_t* stamp, SmsTime& time);
