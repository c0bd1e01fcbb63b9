// GSM default alphabet, one character per byte, to Latin-1 bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The Latin-1 code of a GSM character; characters without one (the Greek
// capitals, escape) and bytes of 0x80 and above are returned unchanged.
uint8_t GsmToLatin1(uint8_t gsm);

// Maps up to `count` bytes through GsmToLatin1, stopping at the first 0xFF.
std::string GsmAlphaToString(const uint8_t* bytes, size_t count);
