#include "TerminalView.h"

#include <cstdio>

#include "Console.h"
#include "Utf8.h"
#include "ui/logic/PinEntry.h"

namespace {

void PrintToStderr(const std::string& text)
{
    WriteText(stderr, text);
}

bool IsYes(const std::string& answer)
{
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes" || answer == "YES";
}

} // namespace

TerminalView::TerminalView(LineReader readLine) : m_readLine(std::move(readLine)) {}

std::u16string TerminalView::Field(int controlId) const
{
    const auto field = m_fields.find(controlId);
    return field == m_fields.end() ? std::u16string() : field->second;
}

void TerminalView::SetControlText(int controlId, const std::u16string& text)
{
    m_fields[controlId] = text;
}

void TerminalView::EnableControl(int, bool) {}

void TerminalView::AddReaderName(const std::u16string& name)
{
    m_readerNames.push_back(name);
}

void TerminalView::SelectReader(int index)
{
    m_selected = index;
}

int TerminalView::ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned type)
{
    m_messages.push_back(MessageBoxText{text, caption, type});
    if (m_beforeOutput)
        m_beforeOutput();
    PrintToStderr(Utf16ToUtf8(caption) + ": " + Utf16ToUtf8(text));
    if ((type & 0xF) != mb::YesNo) {
        PrintToStderr("\n");
        return mb::IdOk;
    }
    PrintToStderr(" [y/n] ");
    const std::optional<std::string> answer = m_readLine(false);
    return answer && IsYes(*answer) ? mb::IdYes : mb::IdNo;
}

bool TerminalView::AskPin(int triesLeft, std::u16string& pin)
{
    // As the dialog does: it stays open until an acceptable entry or Cancel.
    for (;;) {
        if (m_beforeOutput)
            m_beforeOutput();
        PrintToStderr(Utf16ToUtf8(PinTriesLeftText(triesLeft)) + "\nPIN1 : ");
        const std::optional<std::string> line = m_readLine(true);
        if (!line)
            return false;
        const std::u16string entry = Utf8ToUtf16(*line);
        const std::optional<MessageBoxText> problem = ValidatePinEntry(entry);
        if (!problem) {
            pin = entry;
            return true;
        }
        ShowMessage(problem->text, problem->caption, problem->type);
    }
}
