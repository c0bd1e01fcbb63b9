// What the card already answered during a read, kept per elementary file so
// that a later read of the same connection need not ask again: the header of
// each file selected, and every record received with 90 00, of the GSM
// commands (class A0) alone. It watches the exchanges as an observer and
// sends nothing itself.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "ApduObserver.h"

// One elementary file as the watched read received it.
struct ReceivedFile {
    uint16_t failedSelectStatus = 0; // the error status its SELECT was answered with (0: none)
    std::vector<uint8_t> header; // the 15 bytes after SELECT (empty: none received)
    // READ RECORD answers ending 90 00, by record number: the length asked
    // for (P3) and the data as received.
    std::map<unsigned, std::pair<uint8_t, std::vector<uint8_t>>> records;
    // The first record the card refused (an error status) since PIN1 was
    // last verified; 0 when none was.
    unsigned refusedRecord = 0;
};

class ReceivedFiles : public IApduObserver {
public:
    void OnCommand(const uint8_t* command, size_t length) override;
    void OnResponse(LONG result, const uint8_t* response, size_t length) override;

    // The file `fileId` selected under the directory `directory` (a child of
    // the MF, or the MF itself), or null when the read did not select it.
    const ReceivedFile* Find(uint16_t directory, uint16_t fileId) const;
    ReceivedFile* Find(uint16_t directory, uint16_t fileId);

    // The 8 bytes of the last VERIFY CHV1 (class A0) the card accepted:
    // the PIN the user typed, for a read that must present it again after a
    // reset. Empty when none was accepted.
    const std::optional<std::vector<uint8_t>>& AcceptedPin1() const { return m_acceptedPin1; }

private:
    enum class Pending { None, Select, GetResponse, ReadRecord, Verify };
    using FileKey = std::pair<uint16_t, uint16_t>;

    void SelectAnswered(const uint8_t* response, size_t length);

    std::map<FileKey, ReceivedFile> m_files;
    Pending m_pending = Pending::None;
    uint16_t m_selecting = 0;                 // the identifier of the SELECT sent
    uint8_t m_recordNumber = 0;               // the READ RECORD sent: record and length
    uint8_t m_recordLength = 0;
    size_t m_commandRoom = 0;                 // the room the card layer gives its answer
    std::optional<uint16_t> m_directory;      // the current directory, as the card confirmed it
    std::optional<FileKey> m_selectedFile;    // the current elementary file
    std::optional<FileKey> m_headerFor;       // the file whose header GET RESPONSE brings
    std::vector<uint8_t> m_verifying;         // the PIN of the VERIFY CHV1 sent
    std::optional<std::vector<uint8_t>> m_acceptedPin1;
};
