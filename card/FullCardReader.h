// The full read of velmora-cli --full: the phone books with the extension
// files their records refer to, and the service provider name. Read-only;
// runs inside its own transaction on a connected card, after the dialog's
// read (so PIN1, when the user gave it, is verified).
#pragma once
#include "CardReader.h"
#include "sim/full/FullCardContent.h"

// Fills `content`. Files the card lacks or refuses are marked so and skipped.
// Returns 0, or the transport error (card removed, reader gone) that stopped
// the read; what was read before stays in `content`.
LONG ReadFullCard(CCardReader& reader, FullCardContent& content);
