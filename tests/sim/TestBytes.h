// Byte-building helpers shared by the decoder tests.
#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// "21 43 ff" or "2143FF" to bytes; spaces are ignored.
inline Bytes Hex(const std::string& text)
{
    Bytes bytes;
    int high = -1;
    for (char c : text) {
        if (c == ' ')
            continue;
        int value;
        if (c >= '0' && c <= '9')
            value = c - '0';
        else if (c >= 'a' && c <= 'f')
            value = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            value = c - 'A' + 10;
        else
            throw std::invalid_argument("not a hex digit in: " + text);
        if (high < 0) {
            high = value;
        } else {
            bytes.push_back(static_cast<uint8_t>(high * 16 + value));
            high = -1;
        }
    }
    if (high >= 0)
        throw std::invalid_argument("odd number of hex digits in: " + text);
    return bytes;
}

// Digits "4479" to swapped-nibble BCD (44 97), an odd count padded with F.
inline Bytes SwappedBcd(const std::string& digits)
{
    Bytes bytes;
    for (size_t i = 0; i < digits.size(); i += 2) {
        const int low = std::stoi(digits.substr(i, 1), nullptr, 16);
        const int high = i + 1 < digits.size() ? std::stoi(digits.substr(i + 1, 1), nullptr, 16) : 0xF;
        bytes.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return bytes;
}

inline Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// 8-bit text from bytes, for comparing decoder output that holds bytes >= 0x80.
inline std::string Narrow(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// A hex vector as a readable test-name part.
inline std::string HexName(const char* hex)
{
    return *hex ? std::string(hex) : std::string("empty");
}
