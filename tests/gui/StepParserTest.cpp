// The GUI test scripts' line syntax.
#include <gtest/gtest.h>

#include "driver/StepParser.h"

namespace {

struct StepCase {
    const char* line;
    std::vector<std::string> words;
    bool malformed;
};

const StepCase kCases[] = {
    {"", {}, false},
    {"   \t", {}, false},
    {"# a comment \"with quotes", {}, false},
    {"   # indented comment", {}, false},
    {"click 1001", {"click", "1001"}, false},
    {"  text\t1002   \"\"  ", {"text", "1002", ""}, false},
    {"window \"Velmora - SIM card reader\"", {"window", "Velmora - SIM card reader"}, false},
    {"message \"PIN short\" \"PIN too short!\\nMust contain at least 4 digits.\" ok",
     {"message", "PIN short", "PIN too short!\nMust contain at least 4 digits.", "ok"}, false},
    {"type 1 \"a\\tb\\\"c\\\\d\"", {"type", "1", "a\tb\"c\\d"}, false},
    {"rows 1000 2\r", {"rows", "1000", "2"}, false},
    {"  \"Åsa Lindqvist\" \"+46700000861\"", {"Åsa Lindqvist", "+46700000861"}, false},
    {"text 1002 \"unterminated", {}, true},
    {"text 1002 \"bad \\x escape\"", {}, true},
    {"text 1002 \"ends with backslash\\", {}, true},
    {"text 1002 \"glued\"word", {}, true},
};

TEST(StepParser, SplitsLinesIntoWords)
{
    for (const StepCase& c : kCases) {
        ParsedStep step = ParseStepLine(c.line);
        EXPECT_EQ(step.words, c.words) << c.line;
        EXPECT_EQ(!step.error.empty(), c.malformed) << c.line << ": " << step.error;
    }
}

} // namespace
