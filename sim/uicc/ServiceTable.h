// EF_UST and EF_EST: one bit a service, service n in bit (n - 1) % 8 (bit 1
// the lowest) of byte (n - 1) / 8.
#pragma once
#include <cstddef>
#include <cstdint>

// Whether `table` (`size` bytes as received) has service `service` (from 1).
// A service beyond the bytes received is not there.
bool HasService(const uint8_t* table, size_t size, unsigned service);
