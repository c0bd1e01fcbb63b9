// The UICC side of a simulated card: class 00 (and 80 for STATUS) commands
// on a file tree with applications, answered as a T=0 card does (61 xx and
// GET RESPONSE after SELECT). Read-only: every writing command is refused
// and counted. The PINs are the GSM view's CHV objects, so both views share
// their counters.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CardProfile.h"
#include "Chv.h"
#include "CommandCounts.h"
#include "UiccFile.h"

namespace simcard {

class UiccCard {
public:
    UiccCard(const UiccProfile& profile, Chv& pin1, Chv& pin2, CommandCounts& counts);

    // One command APDU of class 0X or 8X; the response data and SW1 SW2.
    std::vector<uint8_t> Transmit(const uint8_t* command, size_t length);
    // Power-on or reset: the MF is current, no application, nothing waits.
    void Reset();

private:
    struct Apdu;
    std::vector<uint8_t> Dispatch(const Apdu& apdu);
    std::vector<uint8_t> Select(const Apdu& apdu);
    std::vector<uint8_t> GetResponse(const Apdu& apdu);
    std::vector<uint8_t> Status(const Apdu& apdu);
    std::vector<uint8_t> ReadBinary(const Apdu& apdu);
    std::vector<uint8_t> ReadRecord(const Apdu& apdu);
    std::vector<uint8_t> Verify(const Apdu& apdu);
    std::vector<uint8_t> UnblockStatus(const Apdu& apdu);

    const UiccFile* SelectById(uint16_t fid) const;
    const UiccFile* SelectByPath(const std::vector<uint8_t>& path, const UiccFile* start) const;
    const UiccFile* ApplicationByAid(const std::vector<uint8_t>& aid) const;
    void MakeCurrent(const UiccFile& file);
    std::vector<uint8_t> Respond(const std::vector<uint8_t>& data);
    bool ReadAllowed(const UiccFile& file) const;
    uint16_t ReadRefusal(const UiccFile& file) const;
    Chv* PinOf(uint8_t keyReference);

    std::unique_ptr<UiccFile> m_mf;
    std::vector<const UiccFile*> m_applications;
    Chv& m_pin1;
    Chv& m_pin2;
    uint8_t m_puk1AttemptsLeft;
    uint8_t m_puk2AttemptsLeft;
    CommandCounts& m_counts;

    const UiccFile* m_currentDirectory = nullptr;
    const UiccFile* m_currentEf = nullptr;
    const UiccFile* m_currentApplication = nullptr;
    unsigned m_currentRecord = 0;
    std::vector<uint8_t> m_pendingResponse; // for GET RESPONSE
};

} // namespace simcard
