// The process's command line and its text on standard output and standard
// error, the same on every system: arguments and text are UTF-8, lines end
// in "\n". A Windows console is written in UTF-16, whatever its code page.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

// Call first in main(). On Windows: the standard streams in binary mode (no
// "\r\n", no end of file at Ctrl+Z in a pipe) and a console that understands
// the escape sequences the progress line uses, where it can. Elsewhere: the
// local time zone, when TZ does not name one, read once.
void SetUpConsole();

// argv[1..] as UTF-8 (on Windows from the wide command line).
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Whether `stream` is a terminal on which a line can be redrawn in place.
bool IsRedrawableTerminal(std::FILE* stream);

// Writes UTF-8 `text` to `stream` (standard output or standard error).
void WriteText(std::FILE* stream, const std::string& text);
