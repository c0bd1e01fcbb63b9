// The swapped-nibble BCD of dialling numbers with the extended digits of
// 3GPP TS 31.102 (EF_ADN): A "*", B "#", C "," (pause), D "?" (wild), E the
// expansion digit (shown as the marker below), F the end mark.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// BCD digit E has no character of its own; it is shown as this letter (no
// other letter can appear in a number, since A-D have their symbols).
constexpr char ExpansionDigitMarker = 'E';

// The digits of `count` bytes, low nibble first, up to the first F nibble.
std::string DecodeDiallingDigits(const uint8_t* bytes, size_t count);

// Whether a TON/NPI byte says "international number" (TON 001).
bool IsInternationalNumber(uint8_t tonNpi);

// The number as shown: "+" for an international number, then the digits;
// no lone "+" when there are no digits.
std::string DiallingNumberText(uint8_t tonNpi, const std::string& digits);
