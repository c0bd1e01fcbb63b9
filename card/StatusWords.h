// The status words the card layer acts on, for every part that reads a
// card's answers: the commands, the record loop, the observers of a read.
#pragma once
#include <cstddef>
#include <cstdint>

namespace card_detail {

// SW1 of a SELECT whose answer waits for GET RESPONSE (9F xx, xx its length).
constexpr uint8_t Sw1ResponseWaiting = 0x9F;

// Whether an answer of `length` bytes ends with 90 00 (normal ending).
constexpr bool EndsWithOk(const uint8_t* response, size_t length)
{
    return length >= 2 && response[length - 2] == 0x90 && response[length - 1] == 0x00;
}

} // namespace card_detail
