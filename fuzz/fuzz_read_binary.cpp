// READ BINARY with the fuzzer's bytes as the card's answer: the first two
// bytes are the length asked for (any value, 0 and above 255 included), and
// the buffer is exactly that long so any overrun is caught.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "FakePcsc.h"
#include "FuzzCard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    FuzzCard card(data + 2, size - 2);
    CCardReader& reader = card.Reader();

    const unsigned length = (data[0] << 8 | data[1]) % 300;
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[length > 0 ? length : 1]);
    const LONG result = reader.ReadBinary(length, buffer.get());
    if (result == 0 && (length == 0 || length > 255))
        __builtin_trap();
    if ((length == 0 || length > 255) && !fake_pcsc::SentCommands().empty())
        __builtin_trap(); // refused lengths are never sent
    return 0;
}
