// The simulator's card model behind the PC/SC test double: every command a
// test's code sends to a reader is answered by a simcard::SimCard, and resets
// reach the model. Also builders for the records the tests put on cards.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FakePcsc.h"
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

class SimulatedCards {
public:
    // Installs the responder and the reset handler in the test double; call
    // after fake_pcsc::Reset().
    void Install();
    // Puts a card built from `profile` in `reader` (the reader must exist).
    void Insert(const std::string& reader, const simcard::CardProfile& profile);
    simcard::SimCard& Card(const std::string& reader);

    // Asked before the model: return true after filling `response` to answer
    // a command instead of the card.
    std::function<bool(const Bytes& command, Bytes& response)> intercept;
    // From the command after `commands` more have been answered, every
    // transmit fails with SCARD_W_REMOVED_CARD and the card is gone.
    void RemoveAfter(size_t commands);
    size_t CommandCount() const { return m_commands; }

private:
    long Answer(const std::string& reader, const Bytes& command, Bytes& response);

    std::map<std::string, std::unique_ptr<simcard::SimCard>> m_cards;
    size_t m_commands = 0;
    size_t m_removeAfter = SIZE_MAX;
};

} // namespace ui_test
