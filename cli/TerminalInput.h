// Reading the answers to prompts: one line of standard input each.
#pragma once
#include <optional>
#include <string>

// One line without its line end, or nullopt at the end of input. With
// `hidden` and a terminal on standard input, the typed characters are not
// echoed (for the PIN).
std::optional<std::string> ReadAnswerLine(bool hidden);
