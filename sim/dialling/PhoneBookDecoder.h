// Turns the raw records of a dialling-number file, and of its extension
// file, into a PhoneBook.
#pragma once
#include "sim/content/CardContent.h"
#include "sim/content/RawCardFile.h"

// Every used record of `file` in record order, each number continued through
// `extension` (may be null: the card has no such file, or it was not read).
PhoneBook DecodePhoneBook(const RawCardFile& file, const RawCardFile* extension);

// Whether any used record of `file` names an extension record, that is,
// whether its extension file needs reading.
bool NeedsExtension(const RawCardFile& file);
