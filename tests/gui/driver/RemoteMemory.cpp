#include "RemoteMemory.h"

RemoteMemory::RemoteMemory(HWND window, size_t size) : m_size(size)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    m_process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (m_process != nullptr)
        m_address = ::VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteMemory::~RemoteMemory()
{
    if (m_address != nullptr)
        ::VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    if (m_process != nullptr)
        ::CloseHandle(m_process);
}

bool RemoteMemory::Write(size_t offset, const void* data, size_t length) const
{
    if (m_address == nullptr || offset > m_size || length > m_size - offset)
        return false;
    SIZE_T written = 0;
    return ::WriteProcessMemory(m_process, At(offset), data, length, &written) && written == length;
}

bool RemoteMemory::Read(size_t offset, void* data, size_t length) const
{
    if (m_address == nullptr || offset > m_size || length > m_size - offset)
        return false;
    SIZE_T read = 0;
    return ::ReadProcessMemory(m_process, At(offset), data, length, &read) && read == length;
}
