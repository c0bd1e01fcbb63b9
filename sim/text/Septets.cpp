#include "sim/text/Septets.h"

#include <algorithm>

std::vector<uint8_t> UnpackSeptetsAt(const uint8_t* data, size_t length, size_t first, size_t count)
{
    const size_t available = length * 8 / 7;
    if (first >= available)
        return {};
    count = std::min(count, available - first);
    std::vector<uint8_t> septets(count);
    for (size_t i = 0; i < count; ++i) {
        const size_t bit = (first + i) * 7;
        const size_t octet = bit / 8;
        const unsigned shift = bit % 8;
        unsigned value = data[octet] >> shift;
        if (shift > 1) // the septet continues in the next octet
            value |= static_cast<unsigned>(data[octet + 1]) << (8 - shift);
        septets[i] = static_cast<uint8_t>(value & 0x7F);
    }
    return septets;
}

size_t PackedOctets(size_t septets)
{
    return (septets * 7 + 7) / 8;
}
