// Reading a USIM phone book (a DF_PHONEBOOK, already selected): EF_PBR,
// then every file its sets name, each once even when several sets share it,
// linked into entries by AssemblePhoneBook. Without EF_PBR, the global book
// falls back to DF_TELECOM's EF_ADN and EF_EXT1.
#pragma once
#include "UiccFileReader.h"
#include "sim/content/UiccContent.h"

// Reads the phone book of the current DF into `book`. Returns 0 or the
// transport error that stopped it; what was read before stays.
LONG ReadUsimPhoneBook(UiccCommands& commands, UsimPhoneBookContent& book, UiccWalkLog& log);

// DF_TELECOM's EF_ADN with EF_EXT1, for a card whose global phone book has
// no EF_PBR: DF_TELECOM is selected by its path from the MF.
LONG ReadTelecomPhoneBook(UiccCommands& commands, UsimPhoneBookContent& book, UiccWalkLog& log);
