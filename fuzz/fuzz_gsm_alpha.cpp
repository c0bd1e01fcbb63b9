// GSM default alphabet text, one character per byte, and its conversion to
// UTF-16 and back through the ANSI code page.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/AnsiText.h"
#include "sim/GsmAlphabet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = GsmAlphaToString(data, size);
    if (text.size() > size)
        __builtin_trap();
    const std::u16string wide = AnsiToWide(text);
    WideToAnsi(wide);
    AnsiBytesToWide(data, size);
    return 0;
}
