// The text view of what --full read from a UICC through its USIM.
#pragma once
#include <string>

#include "sim/content/UiccContent.h"

// "Card : UICC (...)\n": what kind of card answered.
std::string CardKindText(CardKind kind);

// A USIM phone book: a heading "TITLE : N entries in M sets" (or why there
// is nothing), the problems of its sets, then per entry a line "  ENTRY\tNAME\tNUMBER"
// and, indented by four spaces, a line for each additional number (its label
// or "number"), e-mail address, the second name, the groups, the hidden flag
// and each problem the entry carries. Card text shows as OneLine has it.
std::string UsimPhoneBookText(const char* title, const UsimPhoneBookContent& book);

// The applications EF_DIR lists, the ICCID, and the USIM's identity, PINs,
// files, messages and phone books.
std::string UiccText(const UiccContent& uicc);
