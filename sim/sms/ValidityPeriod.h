// TP-VP of an SMS-SUBMIT in each of its formats (TP-VPF, bits 4-3 of the
// first octet): none, relative, enhanced or absolute.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct ValidityPeriod {
    std::string format = "none"; // "none", "relative", "enhanced", "absolute"
    std::string text;            // for example "3 days", "00:30:00", an ISO 8601 time
};

// Octets the period takes after the destination address, by the first octet.
size_t ValidityPeriodLength(uint8_t firstOctet);

// Decodes the ValidityPeriodLength(firstOctet) octets at `data`.
ValidityPeriod DecodeValidityPeriod(uint8_t firstOctet, const uint8_t* data);

// The relative format's one octet as a duration: 5-minute steps up to 12
// hours, then half hours up to a day, days up to 30, weeks up to 63.
std::string RelativeValidityText(uint8_t value);
