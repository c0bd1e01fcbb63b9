// Words for what a UICC read reports: the card's kind and the files and
// problems of a USIM phone book, for the text view and for JSON.
#pragma once
#include <string>

#include "sim/content/UiccContent.h"

// "uicc", "uicc-with-gsm" or "gsm".
const char* CardKindName(CardKind kind);

// "EF_ANR" for the text view; a tag no kind has as "the file of tag CD".
std::string PhoneBookFileText(PhoneBookFileKind kind);

// "anr" for JSON; a tag no kind has as "tag-CD".
std::string PhoneBookFileName(PhoneBookFileKind kind);

// "missing-record", "unused-record", "extension-chain", "back-pointer".
const char* EntryProblemName(EntryProblemKind kind);

// "no-adn", "file-not-read", "no-iap".
const char* SetProblemName(SetProblemKind kind);
