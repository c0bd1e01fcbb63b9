// The UICC command set a read-only reader needs (ETSI TS 102 221): SELECT
// with the FCP, READ BINARY and READ RECORD, VERIFY and UNBLOCK without
// data, class 00 on the basic channel. Every command goes through
// Exchange, which follows 61 xx with GET RESPONSE (T=0), resends once with
// the length a 6C xx names, and takes 91 xx and 92 xx as success without
// ever fetching the proactive command they announce.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "CardReader.h"

struct UiccAnswer {
    LONG result = 0;              // a transport error, or 0 when the card answered
    uint16_t statusWord = 0;      // the card's final status word
    std::vector<uint8_t> data;    // the data received, GET RESPONSE parts joined

    // 90 00, or 91 xx / 92 xx (success with something pending).
    bool Ok() const;
};

class UiccCommands {
public:
    explicit UiccCommands(CCardReader& reader) : m_reader(reader) {}

    // One command (header, data, Le as the card expects them).
    UiccAnswer Exchange(const std::vector<uint8_t>& command);

    // SELECT (P2 04: the FCP comes back) by file id, by path from the MF
    // (without 3F00) or by AID.
    UiccAnswer SelectById(uint16_t fileId);
    UiccAnswer SelectByPath(const std::vector<uint16_t>& path);
    UiccAnswer SelectByAid(const std::vector<uint8_t>& aid);

    // READ BINARY of `length` (1..256) bytes at `offset` of the selected EF.
    UiccAnswer ReadBinary(uint16_t offset, unsigned length);
    // READ RECORD `number` (absolute) of `length` (1..256) bytes.
    UiccAnswer ReadRecord(uint8_t number, unsigned length);

    // VERIFY and UNBLOCK without data: 63 CX tells the tries left.
    UiccAnswer VerifyStatus(uint8_t keyReference);
    UiccAnswer UnblockStatus(uint8_t keyReference);
    // VERIFY with the 8 bytes of a PIN the user typed.
    UiccAnswer Verify(uint8_t keyReference, const std::vector<uint8_t>& pin);

    CCardReader& Reader() { return m_reader; }

private:
    UiccAnswer Transmit(const std::vector<uint8_t>& command);

    CCardReader& m_reader;
};

// The tries a 63 CX answer reports; 0 for 69 83 (blocked); empty otherwise.
std::optional<uint8_t> TriesLeft(const UiccAnswer& answer);
