#include "UiccPinCheck.h"

#include "sim/AnsiText.h"
#include "sim/ResultCodes.h"

namespace {

constexpr size_t PinLength = 8;
constexpr uint8_t PinFiller = 0xFF;
constexpr uint8_t DefaultPin1 = key_reference::FirstApplicationPin;
constexpr uint8_t DefaultPin2 = key_reference::FirstSecondPin;

// Reads the key's state and counters into `pin`.
LONG ReadPinState(UiccCommands& commands, const PinStatusTemplate* pins, uint8_t keyReference, UiccPin& pin)
{
    pin.keyReference = keyReference;
    if (const KeyStatus* key = pins ? FindKey(*pins, keyReference) : nullptr)
        pin.enabled = key->enabled;
    const UiccAnswer tries = commands.VerifyStatus(keyReference);
    if (tries.result != sc::Success)
        return tries.result;
    pin.triesLeft = TriesLeft(tries);
    // 90 00: nothing to verify (disabled, or verified in this session).
    pin.verified = tries.Ok() || pin.enabled == false;
    const UiccAnswer unblock = commands.UnblockStatus(keyReference);
    if (unblock.result != sc::Success)
        return unblock.result;
    pin.unblockTriesLeft = TriesLeft(unblock);
    return sc::Success;
}

// Presents `entry` once when more than one try is left. Returns 0 or a
// transport error; `accepted` tells whether the card took it.
LONG Present(UiccCommands& commands, const std::vector<uint8_t>& entry, UiccPin& pin, bool& accepted)
{
    accepted = false;
    if (!pin.triesLeft || *pin.triesLeft <= 1)
        return sc::Success;
    const UiccAnswer answer = commands.Verify(pin.keyReference, entry);
    if (answer.result != sc::Success)
        return answer.result;
    accepted = answer.Ok();
    pin.verified = accepted;
    if (!accepted) {
        pin.triesLeft = TriesLeft(answer);
        return sc::Success;
    }
    // A right PIN restores the counter: the card tells to what.
    const UiccAnswer tries = commands.VerifyStatus(pin.keyReference);
    if (tries.result != sc::Success)
        return tries.result;
    if (const auto left = TriesLeft(tries))
        pin.triesLeft = left;
    return sc::Success;
}

LONG VerifyPin1(UiccCommands& commands, const UiccPinSource& source, UiccPin& pin)
{
    // A template that does not list the key leaves it to the counter: a card
    // that answers 63 CX wants the PIN.
    if (pin.verified || pin.enabled == false)
        return sc::Success;
    bool accepted = false;
    if (source.accepted) {
        // The entry the card accepted moments ago, lost only by the reset:
        // it is presented once, and never typed in again.
        if (source.verificationLost)
            return Present(commands, *source.accepted, pin, accepted);
        pin.verified = true;
        return sc::Success;
    }
    if (!source.ask)
        return sc::Success;
    for (;;) {
        std::u16string typed;
        if (!pin.triesLeft || *pin.triesLeft <= 1 || !source.ask(*pin.triesLeft, typed))
            return sc::Success;
        const LONG result = Present(commands, PinBytes(typed), pin, accepted);
        if (result != sc::Success || accepted || !pin.triesLeft || *pin.triesLeft <= 1 || !source.retry ||
            !source.retry())
            return result;
    }
}

} // namespace

std::vector<uint8_t> PinBytes(const std::u16string& pin)
{
    std::vector<uint8_t> bytes(PinLength, PinFiller);
    const std::string ansi = WideToAnsi(pin);
    std::copy(ansi.begin(), ansi.begin() + static_cast<std::ptrdiff_t>(std::min(ansi.size(), PinLength)),
              bytes.begin());
    return bytes;
}

LONG CheckUiccPins(UiccCommands& commands, const PinStatusTemplate* pins, const UiccPinSource& source,
                   UiccContent& content)
{
    const uint8_t pin1Key = pins ? ApplicationPinKey(*pins).value_or(DefaultPin1) : DefaultPin1;
    const uint8_t pin2Key = pins ? SecondPinKey(*pins).value_or(DefaultPin2) : DefaultPin2;
    LONG result = ReadPinState(commands, pins, pin1Key, content.pin1);
    if (result == sc::Success)
        result = VerifyPin1(commands, source, content.pin1);
    if (result == sc::Success)
        result = ReadPinState(commands, pins, pin2Key, content.pin2);
    return result;
}
