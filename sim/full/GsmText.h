// The GSM 7-bit default alphabet with its extension table, to UTF-8.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// `count` GSM codes, one per byte, to UTF-8. 0x1B escapes the next code into
// the extension table (form feed, ^ { } \ [ ~ ] | and the euro sign); an
// escaped code the table lacks shows as its default-alphabet character, an
// escape with nothing after it as a space. Bytes of 0x80 and above are not
// GSM codes and become U+FFFD.
std::string GsmCodesToUtf8(const uint8_t* codes, size_t count);

// The character of one default-alphabet code 0x00-0x7F (0x1B, the escape,
// gives a space).
char32_t GsmDefaultCharacter(uint8_t code);
