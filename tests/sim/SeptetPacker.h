// A packer for GSM 7-bit user data, written independently of the decoder:
// septet i occupies bits 7*i .. 7*i+6 of the octet stream, least significant
// bit first; the bits after the last septet are zero.
#pragma once
#include <cstdint>
#include <vector>

inline std::vector<uint8_t> PackSeptets(const std::vector<uint8_t>& septets)
{
    std::vector<uint8_t> octets((septets.size() * 7 + 7) / 8, 0);
    for (size_t i = 0; i < septets.size(); ++i) {
        for (unsigned bit = 0; bit < 7; ++bit) {
            if (septets[i] >> bit & 1) {
                const size_t position = i * 7 + bit;
                octets[position / 8] |= static_cast<uint8_t>(1u << (position % 8));
            }
        }
    }
    return octets;
}
