// Swapped-nibble BCD fields (ICC ID, IMSI, dialling numbers, SMS addresses):
// one digit loop, and each field's digit table as data.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The characters of nibble values 0, 1, ... in order; a nibble beyond the
// end of the table ends the digits (F in a 15-character table).
using BcdDigitTable = std::string_view;

// Every nibble as an upper-case hex digit: the ICC ID and IMSI, and the
// dialog's dialling numbers and SMS addresses.
constexpr BcdDigitTable HexDigitTable = "0123456789ABCDEF";

// The first `semiOctets` nibbles of `bytes`, low nibble first, through
// `table`, up to the first nibble the table has no character for. `bytes`
// holds at least (semiOctets + 1) / 2 bytes.
std::string SwappedBcdDigits(const uint8_t* bytes, size_t semiOctets, BcdDigitTable table);

// Digits of `count` bytes, low nibble first, as upper-case hex digits.
// Trailing 0xFF bytes are dropped, and a final high-nibble F filler is removed.
std::string BcdToString(const uint8_t* bytes, size_t count);
