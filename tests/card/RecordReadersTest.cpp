// The record loops of EF_ADN/EF_FDN and EF_SMS: READ RECORD bytes, the bound
// of 255 records, stopping at the first failure and short answers.
#include <string>
#include <vector>

#include "CardTest.h"
#include "card/RawFileReader.h"
#include "card/SmsReader.h"
#include "sim/ResultCodes.h"

namespace card_test {
namespace {

using fake_pcsc::Exchange;

const long RemovedCard = static_cast<long>(0x80100069UL);

constexpr uint8_t AdnRecordLength = 28; // 14 bytes of name
constexpr uint8_t SmsRecordLength = 176;

Bytes ReadRecord(uint8_t number, uint8_t length)
{
    return {0xA0, 0xB2, number, 0x04, length};
}

// An ADN record: the name filled with FF to 14 bytes, then number length 7,
// TON/NPI 0x91 and the digits 44 79 12 34 56 7.
Bytes AdnRecord(const std::string& name, uint8_t firstDigits = 0x44)
{
    Bytes record(name.begin(), name.end());
    record.resize(14, 0xFF);
    const Bytes number = {0x07, 0x91, firstDigits, 0x97, 0x21, 0x43, 0x65, 0xF7, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    record.insert(record.end(), number.begin(), number.end());
    return record;
}

DiallingNumberFile AdnFile(uint16_t recordCount)
{
    DiallingNumberFile file;
    file.RecordCount = recordCount;
    file.RecordLength = AdnRecordLength;
    file.AlphaLength = AdnRecordLength - 14;
    file.Enabled = recordCount > 0;
    return file;
}

using Entries = std::map<std::string, std::string>;

struct AdnCase {
    const char* name;
    uint16_t recordCount;
    std::vector<Bytes> responses; // for records 1, 2, ...; error cases below
    long errorAtLast;             // non-zero: the last exchange fails with it
    long result;
    Entries entries;
};
CARD_TEST_PRINTS_NAME(AdnCase)

class AdnLoopTest : public ConnectedCardTest, public ::testing::WithParamInterface<AdnCase> {};

TEST_P(AdnLoopTest, ReadsRecordsInOrderUntilTheFirstFailure)
{
    const AdnCase& c = GetParam();
    std::vector<Exchange> script;
    std::vector<std::string> calls;
    for (size_t i = 0; i < c.responses.size(); ++i) {
        const Bytes command = ReadRecord(static_cast<uint8_t>(i + 1), AdnRecordLength);
        const bool fails = c.errorAtLast != 0 && i + 1 == c.responses.size();
        script.push_back({command, c.responses[i], fails ? c.errorAtLast : 0});
        calls.push_back(TransmitText(fake_pcsc::Hex(command)));
    }
    fake_pcsc::ExpectExchanges(script);
    DiallingNumberFile file = AdnFile(c.recordCount);

    const long result = reader->ReadDiallingNumbers(file);

    EXPECT_EQ(result, c.result) << R(result);
    EXPECT_EQ(file.Entries, c.entries);
    EXPECT_EQ(fake_pcsc::CallTexts(), calls);
}

const std::string Plus = "+44791234567";
const Bytes Empty = WithSw(Bytes(AdnRecordLength, 0xFF));

INSTANTIATE_TEST_SUITE_P(
    Cases, AdnLoopTest,
    ::testing::Values(
        AdnCase{"sorted_by_name",
                3,
                {WithSw(AdnRecord("Bob")), Empty, WithSw(AdnRecord("Alice"))},
                0,
                0,
                {{"Alice", Plus}, {"Bob", Plus}}},
        AdnCase{"first_of_a_name_wins",
                2,
                {WithSw(AdnRecord("Bob", 0x44)), WithSw(AdnRecord("Bob", 0x33))},
                0,
                0,
                {{"Bob", Plus}}},
        AdnCase{"name_blank_number_filled", 1, {WithSw(AdnRecord(""))}, 0, 0, {}},
        AdnCase{"no_records", 0, {}, 0, 0, {}},
        AdnCase{"wrong_status_at_five",
                8,
                {WithSw(AdnRecord("A")), WithSw(AdnRecord("B")), WithSw(AdnRecord("C")), WithSw(AdnRecord("D")),
                 WithSw(AdnRecord("E"), 0x6A83)},
                0,
                sc::Unexpected,
                {{"A", Plus}, {"B", Plus}, {"C", Plus}, {"D", Plus}}},
        AdnCase{"transport_error_at_two", 3, {WithSw(AdnRecord("A")), {}}, RemovedCard, RemovedCard, {{"A", Plus}}},
        AdnCase{"answer_shorter_than_sw", 2, {H("90")}, 0, sc::Unexpected, {}},
        AdnCase{"empty_answer", 2, {Bytes{}}, 0, sc::Unexpected, {}},
        // A short answer is decoded as far as it goes: nothing of the longer
        // record before it shows through.
        AdnCase{"short_answer", 2, {WithSw(AdnRecord("Alice")), WithSw(Bytes{'B', 'o', 'b'})}, 0, 0,
                {{"Alice", Plus}, {"Bob", ""}}}),
    [](const auto& info) { return std::string(info.param.name); });

// A SELECT the card does not answer 9F xx: only "no such file" makes the
// file absent; an error or a refusal is told apart.
TEST_F(ConnectedCardTest, RawFileStateByTheSelectAnswer)
{
    const std::pair<const char*, FileState> cases[] = {
        {"94 04", FileState::Absent}, {"6A 82", FileState::Absent}, {"92 40", FileState::Error},
        {"6F 00", FileState::Error},  {"65 81", FileState::Error},  {"6E 00", FileState::Refused},
        {"98 04", FileState::Refused}, {"90", FileState::Refused},
    };
    for (const auto& [sw, state] : cases) {
        fake_pcsc::ExpectExchanges({{H("A0 A4 00 00 02 3F 00"), H(sw)}});
        RawCardFile file;
        EXPECT_EQ(ReadRawTransparentFile(*reader, 0x7F20, 0x6F46, file), 0) << sw;
        EXPECT_EQ(file.state, state) << sw;
        fake_pcsc::ExpectScriptDone();
    }
}

TEST_F(ConnectedCardTest, DiallingNumbersStopAtRecord255)
{
    fake_pcsc::SetResponder([](const std::string&, const Bytes&, Bytes& response) {
        response = WithSw(Bytes(AdnRecordLength, 0xFF));
        return 0L;
    });
    DiallingNumberFile file = AdnFile(300);

    EXPECT_EQ(reader->ReadDiallingNumbers(file), 0);

    const std::vector<Bytes> sent = fake_pcsc::SentCommands();
    ASSERT_EQ(sent.size(), 255u);
    EXPECT_EQ(sent.front(), ReadRecord(1, AdnRecordLength));
    EXPECT_EQ(sent.back(), ReadRecord(255, AdnRecordLength));
}

TEST_F(ConnectedCardTest, DiallingNumbersKeepEntriesAlreadyThere)
{
    fake_pcsc::ExpectExchanges({{ReadRecord(1, AdnRecordLength), WithSw(AdnRecord("Bob", 0x33))}});
    DiallingNumberFile file = AdnFile(1);
    file.Entries["Bob"] = "1";
    file.Entries["Zoe"] = "2";

    EXPECT_EQ(reader->ReadDiallingNumbers(file), 0);

    EXPECT_EQ(file.Entries, (Entries{{"Bob", "1"}, {"Zoe", "2"}}));
}

// --- EF_SMS ----------------------------------------------------------------------

// An SMS-DELIVER record of 176 bytes: status, service centre +447912345678,
// sender `sender` (11 digits, international), 7-bit text "hello".
Bytes SmsRecord(uint8_t status, const Bytes& senderAddress = H("0B 91 44 97 21 43 65 F7"))
{
    Bytes record = {status, 0x07, 0x91, 0x44, 0x97, 0x21, 0x43, 0x65, 0x87, 0x04};
    record.insert(record.end(), senderAddress.begin(), senderAddress.end());
    const Bytes rest = H("00 00 99 20 11 51 04 33 00 05 E8 32 9B FD 06");
    record.insert(record.end(), rest.begin(), rest.end());
    record.resize(SmsRecordLength, 0xFF);
    return record;
}

// An unused record: status 00 and FF in byte 1.
Bytes FreeSmsRecord()
{
    Bytes record(SmsRecordLength, 0xFF);
    record[0] = 0x00;
    return record;
}

SmsFile SmsFileOf(uint16_t recordCount)
{
    SmsFile file;
    file.recordCount = recordCount;
    file.recordLength = SmsRecordLength;
    return file;
}

std::vector<std::string> Statuses(const SmsFile& file)
{
    std::vector<std::string> statuses;
    for (const SmsMessage& message : file.messages)
        statuses.push_back(message.status);
    return statuses;
}

struct SmsCase {
    const char* name;
    uint16_t recordCount;
    std::vector<Exchange> script;
    long result;
    std::vector<std::string> statuses; // of the listed messages, in record order
};
CARD_TEST_PRINTS_NAME(SmsCase)

class SmsLoopTest : public ConnectedCardTest, public ::testing::WithParamInterface<SmsCase> {};

TEST_P(SmsLoopTest, ListsUsedRecordsUntilTheFirstFailure)
{
    const SmsCase& c = GetParam();
    fake_pcsc::ExpectExchanges(c.script);
    SmsFile file = SmsFileOf(c.recordCount);

    const long result = ReadSmsMessages(*reader, file);

    EXPECT_EQ(result, c.result) << R(result);
    EXPECT_EQ(Statuses(file), c.statuses);
    for (const SmsMessage& message : file.messages) {
        EXPECT_EQ(message.sender, u"+44791234567");
        EXPECT_EQ(message.text, u"hello");
        EXPECT_EQ(message.rawRecord.size(), SmsRecordLength);
    }
    for (const std::string& text : fake_pcsc::CallTexts())
        EXPECT_NE(text.find("recvLength=255"), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SmsLoopTest,
    ::testing::Values(
        SmsCase{"used_free_deleted_unread",
                4,
                {{ReadRecord(1, SmsRecordLength), WithSw(SmsRecord(0x01))},
                 {ReadRecord(2, SmsRecordLength), WithSw(FreeSmsRecord())},
                 {ReadRecord(3, SmsRecordLength), WithSw(SmsRecord(0x00))},
                 {ReadRecord(4, SmsRecordLength), WithSw(SmsRecord(0x03))}},
                0,
                {"Read", "Deleted", "Unread"}},
        SmsCase{"alphanumeric_sender_not_listed",
                2,
                {{ReadRecord(1, SmsRecordLength), WithSw(SmsRecord(0x01, H("0A D0 C8 32 9B FD 0E")))},
                 {ReadRecord(2, SmsRecordLength), WithSw(SmsRecord(0x07))}},
                0,
                {"To be sent"}},
        SmsCase{"no_records", 0, {}, 0, {}},
        SmsCase{"wrong_status_at_three",
                5,
                {{ReadRecord(1, SmsRecordLength), WithSw(SmsRecord(0x01))},
                 {ReadRecord(2, SmsRecordLength), WithSw(SmsRecord(0x05))},
                 {ReadRecord(3, SmsRecordLength), WithSw(SmsRecord(0x01), 0x6281)}},
                sc::Unexpected,
                {"Read", "Unknown"}},
        SmsCase{"transport_error_at_two",
                5,
                {{ReadRecord(1, SmsRecordLength), WithSw(SmsRecord(0x01))},
                 {ReadRecord(2, SmsRecordLength), {}, RemovedCard}},
                RemovedCard,
                {"Read"}},
        SmsCase{"status_word_alone", 1, {{ReadRecord(1, SmsRecordLength), H("90 00")}}, 0, {}},
        SmsCase{"one_byte_answer", 1, {{ReadRecord(1, SmsRecordLength), H("00")}}, sc::Unexpected, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectedCardTest, SmsShortAnswerIsDecodedOnlyAsFarAsItGoes)
{
    Bytes cut = SmsRecord(0x01);
    // The user data (5 septets "hello" in bytes 28 to 32) is cut after its
    // third byte: the 24 bits received hold three whole septets.
    cut.resize(31);
    fake_pcsc::ExpectExchanges({{ReadRecord(1, SmsRecordLength), WithSw(SmsRecord(0x01))},
                                {ReadRecord(2, SmsRecordLength), WithSw(cut)}});
    SmsFile file = SmsFileOf(2);

    EXPECT_EQ(ReadSmsMessages(*reader, file), 0);

    ASSERT_EQ(file.messages.size(), 2u);
    EXPECT_EQ(file.messages[1].rawRecord, cut);
    EXPECT_EQ(file.messages[1].text, u"hel");
}

TEST_F(ConnectedCardTest, SmsStopAtRecord255)
{
    fake_pcsc::SetResponder([](const std::string&, const Bytes&, Bytes& response) {
        response = WithSw(FreeSmsRecord());
        return 0L;
    });
    SmsFile file = SmsFileOf(65535);

    EXPECT_EQ(ReadSmsMessages(*reader, file), 0);

    const std::vector<Bytes> sent = fake_pcsc::SentCommands();
    ASSERT_EQ(sent.size(), 255u);
    EXPECT_EQ(sent.back(), ReadRecord(255, SmsRecordLength));
    EXPECT_TRUE(file.messages.empty());
}

TEST_F(ConnectedCardTest, RecordOf255BytesFitsTheReceiveRoom)
{
    Bytes record = SmsRecord(0x01);
    record.resize(255, 0xFF);
    fake_pcsc::ExpectExchanges({{ReadRecord(1, 255), WithSw(record)}});
    SmsFile file = SmsFileOf(1);
    file.recordLength = 255;

    EXPECT_EQ(ReadSmsMessages(*reader, file), 0);

    ASSERT_EQ(file.messages.size(), 1u);
    EXPECT_EQ(file.messages[0].rawRecord.size(), 255u);
    EXPECT_EQ(fake_pcsc::CallTexts(),
              std::vector<std::string>{"SCardTransmit(card#1, pci=T0, recvPci=null, recvLength=257, " +
                                       fake_pcsc::Hex(ReadRecord(1, 255)) + ")"});
}

} // namespace
} // namespace card_test
