// The words for what the card content model holds: the names the JSON
// document and the CSV give states, codings and message types, and the
// phrases the text view builds from them. The decoders return values; every
// renderer words them through here.
#pragma once
#include <cstdint>
#include <string>

#include "sim/content/RawCardFile.h"
#include "sim/dialling/ExtensionChain.h"
#include "sim/sms/DataCoding.h"
#include "sim/sms/StoredSms.h"
#include "sim/text/AlphaIdentifier.h"

// "not-read", "read", "absent", "refused", "incomplete", "unusable", "error".
const char* FileStateName(FileState state);

// "gsm7", "ucs2-80", "ucs2-81", "ucs2-82".
const char* AlphaCodingName(AlphaCoding coding);

// "none", "complete", "missing", "loop", "too-long", "invalid".
const char* ExtensionStateName(ExtensionState state);

// "deliver", "submit", "status-report", "command" or "reserved".
const char* SmsTypeName(SmsType type);

// "gsm7", "8bit" or "ucs2".
const char* AlphabetName(SmsAlphabet alphabet);
