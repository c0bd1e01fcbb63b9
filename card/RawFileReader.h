// Reading whole elementary files for the full read, undecoded: SELECT from
// the MF through a directory to the file, then READ RECORD for every record
// or READ BINARY of the whole (at most 255 bytes) transparent file.
#pragma once
#include <cstdint>

#include "CardReader.h"
#include "sim/full/RawCardFile.h"

// Reads the linear-fixed or cyclic file `fileId` under `directory` into
// `file`. A record length below `minimumRecordLength` makes the file
// Unusable without reading it. The card's answers set file.state (Absent,
// Refused, Incomplete, Unusable or Read); the result is 0, or the transport
// error (card removed, reader gone) that stopped the read.
LONG ReadRawRecordFile(CCardReader& reader, uint16_t directory, uint16_t fileId, uint8_t minimumRecordLength,
                       RawCardFile& file);

// The same for a transparent file: its bytes (up to 255) in file.records[0].
LONG ReadRawTransparentFile(CCardReader& reader, uint16_t directory, uint16_t fileId, RawCardFile& file);
