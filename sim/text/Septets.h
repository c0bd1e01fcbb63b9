// Packed GSM 7-bit septets, read from any septet position.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Up to `count` septets starting at septet `first` of the `length` packed
// octets (septet i holds bits 7i .. 7i+6, least significant bit first). Only
// septets wholly inside the octets are returned.
std::vector<uint8_t> UnpackSeptetsAt(const uint8_t* data, size_t length, size_t first, size_t count);

// Octets that `septets` packed septets occupy.
size_t PackedOctets(size_t septets);
