// STATUS twice and the PIN states, with the fuzzer's bytes as the card's
// answers.
#include <cstddef>
#include <cstdint>

#include "FakePcsc.h"
#include "FuzzCard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzCard card(data, size);
    CCardReader& reader = card.Reader();

    PinStatus status;
    status.pin1TriesLeft = 99;
    if (reader.GetStatus(status)) {
        if (status.pin1TriesLeft < 0 || status.pin1TriesLeft > 15 || status.pin2TriesLeft < 0 ||
            status.pin2TriesLeft > 15)
            __builtin_trap();
    } else if (status.pin1TriesLeft != 99) {
        __builtin_trap(); // a failed STATUS must leave the record alone
    }
    // A second STATUS is never longer than P3 can ask for.
    for (const fake_pcsc::Bytes& command : fake_pcsc::SentCommands()) {
        if (command.size() != 5)
            __builtin_trap();
    }
    return 0;
}
