// Windows: a console line through ReadConsoleW (UTF-16, echo off for the
// PIN); a line of a pipe or a file byte by byte, as UTF-8.
#include <windows.h>

#include <cstdio>

#include "TerminalInput.h"
#include "Utf8.h"

namespace {

constexpr wchar_t EndOfInputKey = 0x1A; // Ctrl+Z, then Enter, at the start of a line

// The console's input mode while echo is off, put back also when Ctrl+C or
// closing the window ends the process during the prompt: the console keeps
// a mode after its process is gone.
HANDLE g_console = INVALID_HANDLE_VALUE;
DWORD g_savedMode = 0;

BOOL WINAPI RestoreEcho(DWORD)
{
    if (g_console != INVALID_HANDLE_VALUE)
        SetConsoleMode(g_console, g_savedMode);
    return FALSE; // and on to the default handler, which ends the process
}

class EchoOff {
public:
    EchoOff(HANDLE console, DWORD mode)
    {
        g_console = console;
        g_savedMode = mode;
        SetConsoleCtrlHandler(RestoreEcho, TRUE);
        m_active = SetConsoleMode(console, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) != 0;
    }
    ~EchoOff()
    {
        RestoreEcho(0);
        SetConsoleCtrlHandler(RestoreEcho, FALSE);
        g_console = INVALID_HANDLE_VALUE;
        if (m_active)
            std::fputc('\n', stderr); // the Enter key was not echoed either
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    bool m_active = false;
};

std::optional<std::string> ReadConsoleLine(HANDLE console)
{
    std::u16string line;
    for (;;) {
        wchar_t buffer[256];
        DWORD count = 0;
        if (!ReadConsoleW(console, buffer, static_cast<DWORD>(std::size(buffer)), &count, nullptr) || count == 0)
            break;
        line.append(reinterpret_cast<const char16_t*>(buffer), count);
        if (line.back() == u'\n')
            break;
    }
    if (line.empty() || line.front() == EndOfInputKey)
        return std::nullopt;
    while (!line.empty() && (line.back() == u'\n' || line.back() == u'\r'))
        line.pop_back();
    return Utf16ToUtf8(line);
}

std::optional<std::string> ReadStreamLine()
{
    std::string line;
    int c = EOF;
    while ((c = std::getc(stdin)) != EOF && c != '\n')
        line += static_cast<char>(c);
    // Piped answers are not echoed: end the prompt's line ourselves.
    std::fputc('\n', stderr);
    if (c == EOF && line.empty())
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace

std::optional<std::string> ReadAnswerLine(bool hidden)
{
    std::fflush(stderr);
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (input == INVALID_HANDLE_VALUE || input == nullptr || !GetConsoleMode(input, &mode))
        return ReadStreamLine();
    std::optional<EchoOff> echoOff;
    if (hidden)
        echoOff.emplace(input, mode);
    return ReadConsoleLine(input);
}
