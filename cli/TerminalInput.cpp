// POSIX: echo off through termios while a hidden line is typed.
#include "TerminalInput.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

namespace {

// Turns echo off for its lifetime when standard input is a terminal.
class EchoOff {
public:
    EchoOff()
    {
        if (isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &m_saved) == 0) {
            termios quiet = m_saved;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            m_active = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        }
    }
    ~EchoOff()
    {
        if (m_active) {
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
            std::fputc('\n', stderr); // the Enter key was not echoed either
        }
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios m_saved{};
    bool m_active = false;
};

} // namespace

std::optional<std::string> ReadAnswerLine(bool hidden)
{
    std::fflush(stderr);
    std::optional<EchoOff> echoOff;
    if (hidden)
        echoOff.emplace();
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    // Piped answers are not echoed: end the prompt's line ourselves.
    if (!isatty(STDIN_FILENO))
        std::fputc('\n', stderr);
    if (!read)
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}
