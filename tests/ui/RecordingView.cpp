#include "RecordingView.h"

#include <cstdio>
#include <map>

namespace ui_test {

std::string Printable(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text) {
        if (c == u'\n') {
            out += "\\n";
        } else if (c >= 0x20 && c <= 0x7E) {
            out += static_cast<char>(c);
        } else {
            char code[16];
            std::snprintf(code, sizeof code, "\\u{%04X}", static_cast<unsigned>(c));
            out += code;
        }
    }
    return out;
}

std::vector<std::string> RecordingView::Filtered(const std::vector<std::string>& prefixes) const
{
    std::vector<std::string> lines;
    for (const std::string& line : calls) {
        for (const std::string& prefix : prefixes) {
            if (line.rfind(prefix, 0) == 0) {
                lines.push_back(line);
                break;
            }
        }
    }
    return lines;
}

std::string RecordingView::Text(int controlId) const
{
    const std::string prefix = "text " + std::to_string(controlId) + " ";
    std::string text;
    for (const std::string& line : calls) {
        if (line.rfind(prefix, 0) == 0)
            text = line.substr(prefix.size());
    }
    return text;
}

void RecordingView::SetControlText(int controlId, const std::u16string& text)
{
    calls.push_back("text " + std::to_string(controlId) + " " + Printable(text));
}

void RecordingView::EnableControl(int controlId, bool enable)
{
    calls.push_back("enable " + std::to_string(controlId) + (enable ? " 1" : " 0"));
}

void RecordingView::AddReaderName(const std::u16string& name)
{
    calls.push_back("reader " + Printable(name));
}

void RecordingView::SelectReader(int index)
{
    selectedReader = index;
    calls.push_back("select " + std::to_string(index));
}

int RecordingView::ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned type)
{
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%02X", type);
    calls.push_back("message " + Printable(caption) + "|" + Printable(text) + "|" + hex);
    if (answers.empty())
        return (type & 0xF) == mb::YesNo ? mb::IdNo : mb::IdOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

bool RecordingView::AskPin(int triesLeft, std::u16string& pin)
{
    calls.push_back("pin " + std::to_string(triesLeft));
    if (pins.empty() || !pins.front()) {
        if (!pins.empty())
            pins.pop_front();
        return false;
    }
    pin = *pins.front();
    pins.pop_front();
    return true;
}

void RecordingView::BeginWaitCursor()
{
    ++waitDepth;
    calls.push_back("wait +");
}

void RecordingView::EndWaitCursor()
{
    --waitDepth;
    calls.push_back("wait -");
}

} // namespace ui_test
