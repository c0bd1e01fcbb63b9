// POSIX: UTF-8 arguments and bytes as they are.
#include <unistd.h>

#include "Console.h"

void SetUpConsole() {}

std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

bool IsRedrawableTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

void WriteText(std::FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }
