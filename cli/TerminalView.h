// The main dialog's view on a terminal: keeps the fields for printing,
// prints message boxes as "Caption: text" on standard error and asks the
// PIN and the retry question there.
#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/logic/MainView.h"
#include "ui/logic/MessageBoxText.h"

class TerminalView : public IMainView {
public:
    // Reads one answer line; nullopt at the end of input. Replaceable for tests.
    using LineReader = std::function<std::optional<std::string>(bool hidden)>;

    explicit TerminalView(LineReader readLine);

    // Called before every message or prompt is written (the progress line
    // must go first).
    void SetBeforeOutput(std::function<void()> hook) { m_beforeOutput = std::move(hook); }
    // The reader the next connect uses.
    void Select(int index) { m_selected = index; }
    const std::vector<std::u16string>& ReaderNames() const { return m_readerNames; }
    // The last text of a control; empty when it was never set.
    std::u16string Field(int controlId) const;
    // Every message box shown, in order.
    const std::vector<MessageBoxText>& Messages() const { return m_messages; }

    void SetControlText(int controlId, const std::u16string& text) override;
    void EnableControl(int controlId, bool enable) override;
    void AddReaderName(const std::u16string& name) override;
    void SelectReader(int index) override;
    int GetSelectedReader() const override { return m_selected; }
    int ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned type) override;
    bool AskPin(int triesLeft, std::u16string& pin) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

private:
    LineReader m_readLine;
    std::function<void()> m_beforeOutput;
    std::map<int, std::u16string> m_fields;
    std::vector<std::u16string> m_readerNames;
    std::vector<MessageBoxText> m_messages;
    int m_selected = -1;
};
