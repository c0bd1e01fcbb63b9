// A GSM SIM, or a UICC with or without a GSM view, as the terminal sees
// it: command APDU in, response APDU out. No I/O: the vpcd link, the
// in-process PC/SC double and the tests all drive the same model.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "CardProfile.h"
#include "Chv.h"
#include "CommandCounts.h"
#include "SimFile.h"
#include "UiccCard.h"

namespace simcard {

class SimCard {
public:
    explicit SimCard(const CardProfile& profile);

    // One command APDU (header, then data for a command that sends data);
    // returns the response data followed by SW1 SW2. Never writes.
    std::vector<uint8_t> Transmit(const uint8_t* command, size_t length);
    std::vector<uint8_t> Transmit(const std::vector<uint8_t>& command);

    // Power-on or reset: back to the MF, verifications forgotten.
    void Reset();
    const std::vector<uint8_t>& Atr() const { return m_atr; }
    const CommandCounts& Counts() const { return m_counts; }

private:
    struct Command;
    std::vector<uint8_t> Dispatch(const Command& command);
    std::vector<uint8_t> Select(const Command& command);
    std::vector<uint8_t> GetResponse(const Command& command);
    std::vector<uint8_t> Status(const Command& command);
    std::vector<uint8_t> ReadBinary(const Command& command);
    std::vector<uint8_t> ReadRecord(const Command& command);
    std::vector<uint8_t> VerifyChv(const Command& command);

    const SimFile* FindSelectable(uint16_t id) const;
    bool ReadAllowed(const SimFile& file) const;
    std::vector<uint8_t> DirectoryResponseOf(const SimFile& directory) const;

    std::unique_ptr<SimFile> m_mf;
    std::vector<uint8_t> m_atr;
    Chv m_chv1;
    Chv m_chv2;
    std::optional<uint8_t> m_gsmDataLength;

    const SimFile* m_currentDirectory = nullptr;
    const SimFile* m_currentEf = nullptr;
    unsigned m_currentRecord = 0;              // 0: none; SELECT clears it
    std::vector<uint8_t> m_pendingResponse;    // for GET RESPONSE
    bool m_responsePending = false;
    CommandCounts m_counts;
    // A UICC: class 00/80 go here; class A0 to the GSM view above, or
    // refused with 6E 00 on a USIM-only card.
    std::unique_ptr<UiccCard> m_uicc;
    bool m_answersGsm = true;
};

// The answer to reset of a GSM SIM offering T=0 only.
std::vector<uint8_t> DefaultAtr();

} // namespace simcard
