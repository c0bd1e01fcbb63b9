// A main-dialog view for tests: records every call as one line of text and
// answers the PIN prompts and message boxes from queues set by the test.
#pragma once
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/logic/MainView.h"

namespace ui_test {

// UTF-16 to a readable ASCII line: "\n" for line feeds, "\u{XXXX}" above 0x7E.
std::string Printable(const std::u16string& text);

class RecordingView : public IMainView {
public:
    // Lines as recorded:
    //   "text 1002 8901..."        SetControlText
    //   "enable 1010 1"            EnableControl
    //   "reader NAME", "select 0"  the combo box
    //   "message CAPTION|TEXT|0x30" ShowMessage (type in hex)
    //   "pin 3"                    AskPin with the attempts left
    //   "wait +", "wait -"         the wait cursor
    std::vector<std::string> calls;

    // Answers for AskPin: a PIN, or nullopt for Cancel. Empty queue: Cancel.
    std::deque<std::optional<std::u16string>> pins;
    // Answers for ShowMessage. Empty queue: IDOK, or IDNO for a Yes/No box.
    std::deque<int> answers;

    int selectedReader = -1;
    int waitDepth = 0;

    // Only the lines that start with one of the prefixes.
    std::vector<std::string> Filtered(const std::vector<std::string>& prefixes) const;
    // The current text of a control (the last SetControlText), or "" .
    std::string Text(int controlId) const;

    void SetControlText(int controlId, const std::u16string& text) override;
    void EnableControl(int controlId, bool enable) override;
    void AddReaderName(const std::u16string& name) override;
    void SelectReader(int index) override;
    int GetSelectedReader() const override { return selectedReader; }
    int ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned type) override;
    bool AskPin(int triesLeft, std::u16string& pin) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
};

} // namespace ui_test
