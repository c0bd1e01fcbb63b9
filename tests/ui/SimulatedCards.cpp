#include "SimulatedCards.h"

#include "ModelDouble.h"

namespace ui_test {

namespace {

// Swapped-nibble digits, F-filled.
Bytes Bcd(const std::string& digits)
{
    Bytes bytes;
    for (size_t i = 0; i < digits.size(); i += 2) {
        const uint8_t low = static_cast<uint8_t>(digits[i] - '0');
        const uint8_t high = i + 1 < digits.size() ? static_cast<uint8_t>(digits[i + 1] - '0') : 0xF;
        bytes.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return bytes;
}

uint8_t SwappedBcd(int value)
{
    return static_cast<uint8_t>((value % 10) << 4 | (value / 10) % 10);
}

Bytes PackSeptets(const std::string& text)
{
    Bytes packed;
    unsigned accumulator = 0;
    int bits = 0;
    for (char c : text) {
        accumulator |= static_cast<unsigned>(c & 0x7F) << bits;
        bits += 7;
        while (bits >= 8) {
            packed.push_back(static_cast<uint8_t>(accumulator & 0xFF));
            accumulator >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0)
        packed.push_back(static_cast<uint8_t>(accumulator & 0xFF));
    return packed;
}

} // namespace

Bytes DiallingRecord(const std::string& name, const std::string& number, uint8_t recordLength)
{
    const size_t alphaLength = recordLength - 14u;
    Bytes record(recordLength, 0xFF);
    for (size_t i = 0; i < name.size() && i < alphaLength; ++i)
        record[i] = static_cast<uint8_t>(name[i]);
    if (number.empty())
        return record;
    const bool international = number[0] == '+';
    const Bytes digits = Bcd(international ? number.substr(1) : number);
    record[alphaLength] = static_cast<uint8_t>(digits.size() + 1);
    record[alphaLength + 1] = international ? 0x91 : 0x81;
    for (size_t i = 0; i < digits.size() && i < 10; ++i)
        record[alphaLength + 2 + i] = digits[i];
    return record;
}

std::array<uint8_t, 7> Stamp(int year, int month, int day, int hour, int minute, int second)
{
    return {SwappedBcd(year % 100), SwappedBcd(month), SwappedBcd(day), SwappedBcd(hour),
            SwappedBcd(minute),     SwappedBcd(second), 0x00};
}

Bytes SmsRecord(uint8_t status, const std::string& sender, const std::array<uint8_t, 7>& stamp,
                const std::string& text, uint8_t recordLength)
{
    Bytes record = {status, 0x07, 0x91};
    const Bytes centre = Bcd("447700900000");
    record.insert(record.end(), centre.begin(), centre.end());
    record.push_back(0x04); // SMS-DELIVER, no more messages
    const bool international = !sender.empty() && sender[0] == '+';
    const std::string digits = international ? sender.substr(1) : sender;
    record.push_back(static_cast<uint8_t>(digits.size()));
    record.push_back(international ? 0x91 : 0x81);
    const Bytes address = Bcd(digits);
    record.insert(record.end(), address.begin(), address.end());
    record.push_back(0x00); // PID
    record.push_back(0x00); // DCS: GSM 7-bit
    record.insert(record.end(), stamp.begin(), stamp.end());
    record.push_back(static_cast<uint8_t>(text.size()));
    const Bytes packed = PackSeptets(text);
    record.insert(record.end(), packed.begin(), packed.end());
    record.resize(recordLength, 0xFF);
    return record;
}

simcard::RecordFileProfile RecordFile(uint8_t recordLength, uint16_t recordCount, std::vector<Bytes> records,
                                      uint8_t readAccess)
{
    simcard::RecordFileProfile file;
    file.recordLength = recordLength;
    file.recordCount = recordCount;
    file.records = std::move(records);
    file.access.read = readAccess;
    return file;
}

simcard::CardProfile DemoProfile()
{
    using namespace simcard;
    CardProfile profile;
    profile.iccid = TransparentFileProfile{{0x98, 0x10, 0x32, 0x54, 0x76, 0x98, 0x10, 0x32, 0x54, 0x76}, {}, {}};
    TransparentFileProfile imsi{{0x08, 0x29, 0x80, 0x01, 0x32, 0x54, 0x76, 0x98, 0x10}, {}, {}};
    imsi.access.read = access::Chv1;
    profile.imsi = imsi;
    profile.fdn = RecordFile(28, 4,
                             {DiallingRecord("Voicemail", "+447700900123", 28), Bytes(28, 0xFF),
                              DiallingRecord("Home", "0123456789", 28)},
                             access::Chv1);
    profile.adn = RecordFile(28, 6,
                             {DiallingRecord("Mum", "+447700900001", 28), DiallingRecord("Bob", "07700900002", 28),
                              Bytes(28, 0xFF), DiallingRecord("alice", "+33123456789", 28)},
                             access::Chv1);
    profile.sms = RecordFile(176, 4,
                             {SmsRecord(0x01, "+447700900555", Stamp(2024, 3, 5, 14, 30, 0), "Hello there"),
                              Bytes(176, 0xFF),
                              SmsRecord(0x03, "447700900777", Stamp(1999, 12, 31, 23, 59, 58), "Party tonight")},
                             access::Chv1);
    profile.chv1.value = "1234";
    profile.chv1.attemptsLeft = 3;
    profile.chv2.value = "5678";
    profile.chv2.attemptsLeft = 3;
    return profile;
}

void SimulatedCards::Install()
{
    model_double::RemoveAll();
}

void SimulatedCards::Insert(const std::string& reader, const simcard::CardProfile& profile)
{
    model_double::InsertCard(reader, profile);
}

void SimulatedCards::RemoveAfter(const std::string& reader, uint64_t commands)
{
    model_double::RemoveCardAfter(reader, commands);
}

uint64_t SimulatedCards::CommandCount(const std::string& reader) const
{
    const simcard::SimCard* card = model_double::CardIn(reader);
    return card ? card->Counts().commands : 0;
}

} // namespace ui_test
