#include "HostEndpoint.h"

#include <windows.h>

#include <string>

namespace host_endpoint {

namespace {

const wchar_t kFileVariable[] = L"VELMORA_BRIDGE_FILE";
// A bridge file is two short lines.
constexpr DWORD kMaxFileSize = 256;

std::optional<std::wstring> Variable()
{
    wchar_t value[1024];
    DWORD length = GetEnvironmentVariableW(kFileVariable, value, sizeof value / sizeof value[0]);
    if (length == 0 || length >= sizeof value / sizeof value[0])
        return std::nullopt;
    return std::wstring(value, length);
}

// Wine's conversion of a Unix path (kernel32's wine_get_dos_file_name); the
// path unchanged elsewhere.
std::wstring WindowsPath(const std::wstring& path)
{
    using ToDos = WCHAR*(CDECL*)(LPCSTR);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto toDos = kernel ? reinterpret_cast<ToDos>(reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_dos_file_name")))
                        : nullptr;
    if (path.empty() || path[0] != L'/' || !toDos)
        return path;
    int size = WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return path;
    std::string unixPath(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, unixPath.data(), size, nullptr, nullptr);
    WCHAR* dos = toDos(unixPath.c_str());
    if (!dos)
        return path;
    std::wstring converted(dos);
    HeapFree(GetProcessHeap(), 0, dos);
    return converted;
}

std::optional<std::string> ReadSmallFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    char buffer[kMaxFileSize + 1];
    DWORD total = 0;
    DWORD read = 0;
    while (total < sizeof buffer && ReadFile(file, buffer + total, sizeof buffer - total, &read, nullptr) && read > 0)
        total += read;
    CloseHandle(file);
    if (total > kMaxFileSize)
        return std::nullopt;
    return std::string(buffer, total);
}

} // namespace

std::optional<bridge::BridgeEndpoint> Read()
{
    std::optional<std::wstring> variable = Variable();
    if (!variable)
        return std::nullopt;
    std::optional<std::string> text = ReadSmallFile(WindowsPath(*variable));
    if (!text)
        return std::nullopt;
    return bridge::ParseBridgeFile(*text);
}

} // namespace host_endpoint
