// Unpacking of GSM 7-bit packed user data into septet values.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Every septet that `octetCount` packed octets hold (8 for each 7 octets),
// as raw GSM codes 0x00-0x7F, the fill of the last octet included.
std::string UnpackSeptetCodes(const uint8_t* data, size_t octetCount);
