// A block of memory inside another process, for window messages whose
// parameters are pointers (list view and header messages are not marshalled
// between processes).
#pragma once
#include <windows.h>

#include <cstddef>

class RemoteMemory {
public:
    // Allocates `size` bytes in the process that owns `window`.
    RemoteMemory(HWND window, size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool IsValid() const { return m_address != nullptr; }
    // Address as the other process sees it, `offset` bytes into the block.
    void* At(size_t offset) const { return static_cast<char*>(m_address) + offset; }
    bool Write(size_t offset, const void* data, size_t length) const;
    bool Read(size_t offset, void* data, size_t length) const;

private:
    HANDLE m_process = nullptr;
    void* m_address = nullptr;
    size_t m_size = 0;
};
