// Address fields of SMS records: the service-centre address and the TP
// addresses (originating, destination, recipient).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct SmsAddress {
    std::string text;           // UTF-8: digits, "+" first for an international number
    uint8_t typeOfAddress = 0;  // the type octet as received
    bool alphanumeric = false;  // type of number 101: packed 7-bit text
};

// A TP address at `data` (its first octet counts semi-octets). Returns the
// octets it takes, or 0 when they reach past `length`.
size_t DecodeTpAddress(const uint8_t* data, size_t length, SmsAddress& address);

// A service-centre address (its first octet counts octets, the type octet
// included; 0 or 0xFF for none). Returns the octets it takes, or 0 when they
// reach past `length`.
size_t DecodeServiceCentreAddress(const uint8_t* data, size_t length, SmsAddress& address);
