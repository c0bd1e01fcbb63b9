// What the connect workflow needs from its window. The Win32 main dialog,
// the terminal front end and the tests implement it.
#pragma once
#include <string>

// Message box types and answers, with the Win32 values.
namespace mb {
constexpr unsigned Ok = 0x0;
constexpr unsigned YesNo = 0x4;
constexpr unsigned IconStop = 0x10; // MB_ICONHAND / MB_ICONERROR
constexpr unsigned IconExclamation = 0x30; // MB_ICONWARNING
constexpr int IdOk = 1;
constexpr int IdCancel = 2;
constexpr int IdYes = 6;
constexpr int IdNo = 7;
} // namespace mb

class IMainView {
public:
    virtual ~IMainView() = default;

    // Control texts and states, by the control IDs of res/resource.h.
    virtual void SetControlText(int controlId, const std::u16string& text) = 0;
    virtual void EnableControl(int controlId, bool enable) = 0;

    // The reader combo box.
    virtual void AddReaderName(const std::u16string& name) = 0;
    virtual void SelectReader(int index) = 0;
    virtual int GetSelectedReader() const = 0; // -1 when none

    // A modal message box owned by the window; returns the button pressed.
    virtual int ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned type) = 0;

    // The modal PIN dialog. Returns false when the user cancelled; on true,
    // `pin` holds an entry that passed ValidatePinEntry.
    virtual bool AskPin(int triesLeft, std::u16string& pin) = 0;

    // The wait cursor; BeginWaitCursor calls nest, each ended by one EndWaitCursor.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};
