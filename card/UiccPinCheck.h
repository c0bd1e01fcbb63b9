// The PINs of a USIM, read-only: whether each is enabled (from the PIN
// status template of the ADF's FCP), its tries left (VERIFY without data)
// and its unblocking key's (UNBLOCK without data), none of which spends a
// try. PIN1 is presented only as the user typed it: at most once per entry,
// and never when a single try is left, so that this reader never blocks a
// PIN by itself.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "UiccCommands.h"
#include "sim/content/UiccContent.h"
#include "sim/uicc/PinStatusTemplate.h"

// Where PIN1 may come from.
struct UiccPinSource {
    // The entry the dialog's read presented with class A0 and the card
    // accepted (8 bytes, as sent); empty when it verified none.
    std::optional<std::vector<uint8_t>> accepted;
    // Whether a card reset lost that verification: only then is the same
    // entry presented again, once.
    bool verificationLost = false;
    // Asks the user for PIN1 with the tries left (false: declined). Empty
    // when the user is not to be asked (the dialog's read asked already).
    std::function<bool(int triesLeft, std::u16string& pin)> ask;
    // After a wrong entry: whether the user wants to try again.
    std::function<bool()> retry;
};

// Fills content.pin1 and content.pin2 from the ADF's PIN status template
// (null: the FCP had none) and the card's counters, and presents PIN1 where
// the source allows it. Returns 0 or a transport error.
LONG CheckUiccPins(UiccCommands& commands, const PinStatusTemplate* pins, const UiccPinSource& source,
                   UiccContent& content);

// The 8 bytes VERIFY carries for a PIN typed as `pin`: its characters in the
// ANSI code page, padded with FF.
std::vector<uint8_t> PinBytes(const std::u16string& pin);
