// What the PIN dialog accepts, and what it shows while it asks.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

#include "MessageBoxText.h"

// The PIN edit field takes at most this many characters.
constexpr size_t PinMaxLength = 8;
// An accepted PIN has at least this many digits.
constexpr size_t PinMinLength = 4;

// Checks an entry when the user presses OK: empty, shorter than 4, longer
// than 8, or anything but the digits 0-9 gives the message to show (the
// dialog then stays open); an acceptable PIN gives no message.
std::optional<MessageBoxText> ValidatePinEntry(const std::u16string& pin);

// The question after a PIN the card refused: Yes retries, any other answer
// gives up.
MessageBoxText WrongPinQuestion();

// "PIN1 Tries left = %d", the line the PIN dialog shows under the field.
std::u16string PinTriesLeftText(int triesLeft);
