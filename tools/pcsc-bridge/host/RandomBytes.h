// Secrets for the bridge: the token of the bridge file, the hand-shake's
// challenges and the cancel keys.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// `size` bytes from the kernel's random source (getrandom); empty if it failed.
std::vector<uint8_t> RandomBytes(size_t size);
