// Reading whole elementary files of a UICC, undecoded: the EF is selected
// by its file id in the current directory, its FCP tells its structure,
// record length and count or size, and every record (READ RECORD) or the
// whole body (READ BINARY, in parts of at most 255 bytes) is read.
#pragma once
#include <cstdint>
#include <vector>

#include "UiccCommands.h"
#include "sim/content/RawCardFile.h"
#include "sim/content/UiccContent.h"

// What the walk met on its way, beside the files' contents: the files the
// card refused, with its status word.
struct UiccWalkLog {
    std::vector<UiccRefusedFile> refused;
};

// The state of a file whose SELECT or first read the card answered with
// `statusWord`: 6A 82 absent; 65 xx, 6F 00 an error; anything else refused
// (69 82 the access condition, 69 84 deactivated).
FileState StateOfUiccAnswer(uint16_t statusWord);

// Selects `fileId` and reads it into `file`: every record of a linear-fixed
// or cyclic file (at most 255, each of 1..256 bytes), or the body of a
// transparent one (at most 32767 bytes). A record length below
// `minimumRecordLength` makes the file Unusable without reading it.
// file.state tells how it went; a refusal is added to `log`. Returns 0, or
// the transport error that stopped it.
LONG ReadUiccFile(UiccCommands& commands, uint16_t fileId, unsigned minimumRecordLength, RawCardFile& file,
                  UiccWalkLog& log);
