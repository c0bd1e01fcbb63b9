// Reading whole elementary files for the full read, undecoded: READ RECORD
// for every record or READ BINARY of the whole (at most 255 bytes)
// transparent file, taking what an earlier read of the same connection
// already received and asking the card only for the rest.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "CardReader.h"
#include "ReceivedFiles.h"
#include "sim/content/RawCardFile.h"

// One walk through the card's directories: the MF is selected once, then
// each directory under it once (a directory beside the current one is
// selected directly), and the files as children of their directory.
class CardWalk {
public:
    explicit CardWalk(CCardReader& reader) : m_reader(reader) {}

    CCardReader& Reader() { return m_reader; }
    // Makes `directory` (the MF or a directory under it) the current one.
    // Returns 0, or what stopped it: the card's answer (SCARD_E_FILE_NOT_FOUND,
    // SCARD_E_UNEXPECTED, with the state it gives the files under it in
    // `stateOnFailure`) or a transport error. A directory that could not be
    // selected is not asked for again.
    LONG Enter(uint16_t directory, FileState& stateOnFailure);

private:
    LONG Select(uint16_t directory, FileState& stateOnFailure);

    CCardReader& m_reader;
    std::optional<uint16_t> m_current;
    std::map<uint16_t, std::pair<LONG, FileState>> m_failed;
};

// Reads the linear-fixed or cyclic file `fileId` under `directory` into
// `file`. The header and records in `received` (null: none) are taken as they
// are, and the records taken leave it; a record the card refused there since
// PIN1 was last verified ends the file as it ended that read. A record length
// below `minimumRecordLength` makes the file Unusable without reading it. The
// card's answers set file.state (Absent, Refused, Incomplete, Unusable or
// Read); the result is 0, or the transport error (card removed, reader gone)
// that stopped the read.
LONG ReadRawRecordFile(CardWalk& walk, uint16_t directory, uint16_t fileId, uint8_t minimumRecordLength,
                       ReceivedFile* received, RawCardFile& file);

// The same for a transparent file: its bytes (up to 255) in file.records[0].
LONG ReadRawTransparentFile(CardWalk& walk, uint16_t directory, uint16_t fileId, RawCardFile& file);
