// POSIX: UTF-8 arguments and bytes as they are.
#include <unistd.h>

#include <cstdlib>

#include "Console.h"

// With TZ unset the C library looks at /etc/localtime again on every
// conversion of a local time (a file system call for each message's time
// stamp, twice per message with --full). Naming that same file keeps the
// zone and has it read once.
void SetUpConsole()
{
    setenv("TZ", ":/etc/localtime", 0); // 0: a TZ the user set stays
}

std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

bool IsRedrawableTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

void WriteText(std::FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }
