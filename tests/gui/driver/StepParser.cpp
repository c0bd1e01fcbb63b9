#include "StepParser.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads a quoted word starting after the opening quote at `pos`; returns
// false when the closing quote is missing or an escape is unknown.
bool ReadQuoted(const std::string& line, size_t& pos, std::string& word, std::string& error)
{
    while (pos < line.size()) {
        char c = line[pos++];
        if (c == '"')
            return true;
        if (c != '\\') {
            word += c;
            continue;
        }
        if (pos >= line.size())
            break;
        char escaped = line[pos++];
        switch (escaped) {
        case 'n': word += '\n'; break;
        case 't': word += '\t'; break;
        case '"': word += '"'; break;
        case '\\': word += '\\'; break;
        default:
            error = std::string("unknown escape \\") + escaped;
            return false;
        }
    }
    error = "missing closing quote";
    return false;
}

} // namespace

ParsedStep ParseStepLine(const std::string& line)
{
    ParsedStep step;
    size_t pos = 0;
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    if (pos < line.size() && line[pos] == '#')
        return step;

    while (pos < line.size()) {
        if (IsBlank(line[pos])) {
            ++pos;
            continue;
        }
        std::string word;
        if (line[pos] == '"') {
            ++pos;
            if (!ReadQuoted(line, pos, word, step.error)) {
                step.words.clear();
                return step;
            }
            if (pos < line.size() && !IsBlank(line[pos])) {
                step.error = "text right after a closing quote";
                step.words.clear();
                return step;
            }
        } else {
            while (pos < line.size() && !IsBlank(line[pos]))
                word += line[pos++];
        }
        step.words.push_back(word);
    }
    return step;
}
