// One message box as the logic decides it: text, caption and the Win32 type
// flags (mb:: in MainView.h). The window only shows it.
#pragma once
#include <string>

struct MessageBoxText {
    std::u16string text;
    std::u16string caption;
    unsigned type = 0;

    bool operator==(const MessageBoxText&) const = default;
};
