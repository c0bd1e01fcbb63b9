// TP-VP of an SMS-SUBMIT in each of its formats (TP-VPF, bits 4-3 of the
// first octet): none, relative, enhanced or absolute.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "sim/sms/SmsTime.h"

enum class ValidityFormat { None, Relative, Enhanced, Absolute };

// A length of time in the unit the period states it in.
enum class TimeUnit { Seconds, Minutes, Days, Weeks };

struct Duration {
    unsigned count = 0;
    TimeUnit unit = TimeUnit::Minutes;

    bool operator==(const Duration&) const = default;
};

// How an enhanced period states its length (bits 2-0 of its functionality
// indicator): not at all, as a relative octet, in seconds, as hh:mm:ss, or by
// a reserved value.
enum class EnhancedForm { None, Relative, Seconds, Time, Reserved };

struct ValidityPeriod {
    ValidityFormat format = ValidityFormat::None;
    // False for an absolute time that is no date, and for an enhanced length
    // that the indicator octets leave no room for in the field.
    bool valid = true;
    Duration duration;   // relative; enhanced Relative and Seconds
    SmsTime time;        // absolute
    EnhancedForm enhanced = EnhancedForm::None;
    // Enhanced Time: the semi-octets of hours, minutes and seconds in reading
    // order (each 0-15, as received: no check that they are decimal digits).
    std::array<uint8_t, 6> timeDigits{};
    bool singleShot = false; // enhanced
};

// Octets the period takes after the destination address, by the first octet.
size_t ValidityPeriodLength(uint8_t firstOctet);

// Decodes the ValidityPeriodLength(firstOctet) octets at `data`.
ValidityPeriod DecodeValidityPeriod(uint8_t firstOctet, const uint8_t* data);

// The relative format's one octet as a length: 5-minute steps up to 12
// hours, then half hours up to a day, days up to 30, weeks up to 63.
Duration RelativeValidity(uint8_t value);
