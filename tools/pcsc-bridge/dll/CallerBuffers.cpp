#include "CallerBuffers.h"

#include <mutex>
#include <set>

#include "tools/pcsc-bridge/BridgeProtocol.h"

namespace caller_buffers {

namespace {

std::mutex g_mutex;
std::set<const void*> g_blocks;

} // namespace

void* AllocateBlock(size_t size)
{
    void* block = HeapAlloc(GetProcessHeap(), 0, size == 0 ? 1 : size);
    if (block) {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_blocks.insert(block);
    }
    return block;
}

bool FreeBlock(const void* block)
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (g_blocks.erase(block) == 0)
            return false;
    }
    HeapFree(GetProcessHeap(), 0, const_cast<void*>(block));
    return true;
}

uint32_t Deliver(const void* data, size_t count, size_t elementSize, void* out, DWORD* length)
{
    if (!length)
        return bridge::kResultInvalidParameter;
    const size_t bytes = count * elementSize;
    if (!out) {
        *length = static_cast<DWORD>(count);
        return 0;
    }
    if (*length == kAutoAllocate) {
        void* block = AllocateBlock(bytes);
        if (!block)
            return bridge::kResultNoMemory;
        if (bytes)
            std::memcpy(block, data, bytes);
        *static_cast<void**>(out) = block;
        *length = static_cast<DWORD>(count);
        return 0;
    }
    if (*length < count) {
        *length = static_cast<DWORD>(count);
        return bridge::kResultInsufficientBuffer;
    }
    if (bytes)
        std::memcpy(out, data, bytes);
    *length = static_cast<DWORD>(count);
    return 0;
}

} // namespace caller_buffers
