// POSIX: echo off through termios while a hidden line is typed; a line of
// a pipe or a file through getline.
#include "TerminalInput.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

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
    // C stdio rather than std::cin: no iostreams to set up at every start.
    char* buffer = nullptr;
    size_t room = 0;
    const ssize_t length = getline(&buffer, &room, stdin);
    const bool read = length >= 0;
    std::string line = read ? std::string(buffer, static_cast<size_t>(length)) : std::string();
    std::free(buffer);
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    // Piped answers are not echoed: end the prompt's line ourselves.
    if (!isatty(STDIN_FILENO))
        std::fputc('\n', stderr);
    if (!read)
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}
