// The PC/SC output-buffer convention of the functions that return a string
// or bytes: with no buffer only the length is returned; with a length of
// SCARD_AUTOALLOCATE the buffer argument receives a block that this DLL
// allocates and SCardFreeMemory frees; otherwise the caller's length is the
// room it has, and too little room is SCARD_E_INSUFFICIENT_BUFFER with the
// needed length.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace caller_buffers {

constexpr DWORD kAutoAllocate = 0xFFFFFFFF;

// A block for the caller, freed by FreeBlock; null when out of memory.
void* AllocateBlock(size_t size);
// True when `block` came from AllocateBlock and has now been freed.
bool FreeBlock(const void* block);

// Delivers `count` elements of `data` into the caller's buffer `out`
// (or, on auto-allocation, into the pointer `out` points to) and sets
// `*length` to the element count. Returns the PC/SC result.
uint32_t Deliver(const void* data, size_t count, size_t elementSize, void* out, DWORD* length);

template <class Char> uint32_t DeliverString(const std::basic_string<Char>& text, Char* out, DWORD* length)
{
    return Deliver(text.data(), text.size(), sizeof(Char), out, length);
}

} // namespace caller_buffers
