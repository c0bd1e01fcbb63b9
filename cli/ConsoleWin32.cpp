// Windows: the wide command line, WriteConsoleW for a console, UTF-8 bytes
// for a pipe or a file.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <algorithm>

#include "Console.h"
#include "Utf8.h"

namespace {

HANDLE HandleOf(std::FILE* stream) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))); }

bool IsConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

// Whether standard error took ENABLE_VIRTUAL_TERMINAL_PROCESSING (Windows 10
// and later consoles; older ones would show the escape sequences).
bool g_errorConsoleRedraws = false;

bool EnableEscapeSequences(HANDLE console)
{
    DWORD mode = 0;
    return GetConsoleMode(console, &mode) != 0 &&
           SetConsoleMode(console, mode | ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

void WriteConsoleText(HANDLE console, const std::string& text)
{
    const std::u16string wide = Utf8ToUtf16(text);
    // In pieces that older consoles take at once, never splitting a pair.
    constexpr size_t Piece = 8192;
    size_t done = 0;
    while (done < wide.size()) {
        size_t count = std::min(Piece, wide.size() - done);
        if (done + count < wide.size() && wide[done + count - 1] >= 0xD800 && wide[done + count - 1] < 0xDC00)
            --count;
        DWORD written = 0;
        if (!WriteConsoleW(console, wide.data() + done, static_cast<DWORD>(count), &written, nullptr) || written == 0)
            return;
        done += written;
    }
}

} // namespace

void SetUpConsole()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    const HANDLE error = HandleOf(stderr);
    g_errorConsoleRedraws = IsConsole(error) && EnableEscapeSequences(error);
}

std::vector<std::string> CommandLineArguments(int, char**)
{
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i)
        arguments.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide[i])));
    LocalFree(wide);
    return arguments;
}

bool IsRedrawableTerminal(std::FILE* stream) { return stream == stderr && g_errorConsoleRedraws; }

void WriteText(std::FILE* stream, const std::string& text)
{
    const HANDLE handle = HandleOf(stream);
    if (!IsConsole(handle)) {
        std::fwrite(text.data(), 1, text.size(), stream);
        return;
    }
    std::fflush(stream); // what the C library holds comes first
    WriteConsoleText(handle, text);
}
