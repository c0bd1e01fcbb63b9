// The full read of velmora-cli --full: the phone books with the extension
// files their records refer to, the messages and the service provider name.
// Read-only; runs inside its own transaction on a connected card, after the
// dialog's read (so PIN1, when the user gave it, is verified), and asks the
// card only for what that read did not receive.
#pragma once
#include "CardReader.h"
#include "ReceivedFiles.h"
#include "sim/content/CardContent.h"

// Fills `content`, taking the headers and records in `received` (what the
// dialog's read got) as they are; the records taken leave `received`. Files
// the card lacks or refuses are marked so and skipped. Returns 0, or the
// transport error (card removed, reader gone) that stopped the read; what was
// read before stays in `content`.
LONG ReadCardContent(CCardReader& reader, ReceivedFiles& received, CardContent& content);
