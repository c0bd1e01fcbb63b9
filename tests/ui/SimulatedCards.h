// The simulated cards of the workflow tests, and builders for the records
// the tests put on them.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/simcard/CardProfile.h"
#include "tools/simcard/SimCard.h"

namespace ui_test {

using Bytes = std::vector<uint8_t>;

// An ADN/FDN record of `recordLength` bytes: the name in the GSM alphabet
// (ASCII letters, digits and space are the same), then the number. A number
// starting with "+" is international (TON/NPI 91), else 81; "" leaves the
// number field unused (FF).
Bytes DiallingRecord(const std::string& name, const std::string& number, uint8_t recordLength);

// A 7-octet service-centre time stamp (time zone 0).
std::array<uint8_t, 7> Stamp(int year, int month, int day, int hour, int minute, int second);

// An SMS-DELIVER record: status, service centre +447700900000, the sender
// (digits, optionally "+"), PID 0, DCS 0 with the text packed as GSM 7-bit
// (ASCII letters, digits, space), padded with FF to `recordLength`.
Bytes SmsRecord(uint8_t status, const std::string& sender, const std::array<uint8_t, 7>& stamp,
                const std::string& text, uint8_t recordLength = 176);

// A record file of `recordCount` records with the given ones first.
simcard::RecordFileProfile RecordFile(uint8_t recordLength, uint16_t recordCount, std::vector<Bytes> records,
                                      uint8_t readAccess);

// The card most tests use: ICC ID 89012345678901234567, IMSI 208102345678901
// (read with PIN1), PIN1 "1234" enabled with 3 attempts, PIN2 with 3; FDN
// with 2 entries, ADN with 3 and SMS with 2 messages, all read with PIN1.
simcard::CardProfile DemoProfile();

// The card model double (tests/simcard) for one test: cards go into readers
// of the PC/SC test double and answer from the simulator's model.
class SimulatedCards {
public:
    // Takes out every card; call after fake_pcsc::Reset().
    void Install();
    // Puts a card built from `profile` in `reader` (the reader must exist).
    void Insert(const std::string& reader, const simcard::CardProfile& profile);
    // The card leaves `reader` after answering `commands` more commands.
    void RemoveAfter(const std::string& reader, uint64_t commands);
    // The commands the card in `reader` has received.
    uint64_t CommandCount(const std::string& reader) const;
};

} // namespace ui_test
