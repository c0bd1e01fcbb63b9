// The GSM 7-bit default alphabet and its extension table (3GPP TS 23.038) to
// UTF-8.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The character of a default-alphabet code (0x00-0x7F); U+FFFD above.
char32_t GsmDefaultChar(uint8_t code);

// The character that escape (0x1B) followed by `code` stands for, or 0 when
// the extension table has none.
char32_t GsmExtensionChar(uint8_t code);

// `count` codes, one per byte (unpacked septets or the bytes of an alpha
// identifier), as UTF-8. Escape followed by a code of the extension table
// gives that character; followed by another escape, a space; followed by any
// other code, that code's default character (as TS 23.038 asks of a receiver
// that does not know the sequence). An escape with nothing after it is
// dropped. Bytes of 0x80 and above are no GSM codes and give U+FFFD.
std::string GsmCodesToUtf8(const uint8_t* codes, size_t count);
