// Splits one line of a GUI test script into words. Words are separated by
// blanks; a word in double quotes may hold blanks and the escapes \n, \t,
// \" and \\. A line whose first non-blank character is # is a comment.
#pragma once
#include <string>
#include <vector>

struct ParsedStep {
    std::vector<std::string> words; // empty for a blank or comment line
    std::string error;              // set when the line is malformed
};

ParsedStep ParseStepLine(const std::string& line);
