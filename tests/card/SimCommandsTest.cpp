// The SIM commands byte for byte: SELECT with GET RESPONSE, the file header,
// READ BINARY, STATUS and VERIFY CHV1.
#include <optional>
#include <string>
#include <vector>

#include "CardTest.h"
#include "card/ReceiveRoom.h"
#include "sim/ResultCodes.h"

namespace card_test {
namespace {

using fake_pcsc::Exchange;

const long CommDataLost = static_cast<long>(0x8010002FUL);
const long RemovedCard = static_cast<long>(0x80100069UL);

// 15 header bytes 00 01 02 .. 0E.
Bytes CountingHeader()
{
    Bytes header;
    for (uint8_t i = 0; i < 15; ++i)
        header.push_back(i);
    return header;
}

// --- SELECT ----------------------------------------------------------------------

struct SelectCase {
    const char* name;
    std::vector<Exchange> script;
    long result;
    bool isDirectory; // the value after the call; the test starts with true
    bool headerWritten;
};
CARD_TEST_PRINTS_NAME(SelectCase)

const Bytes SelectAdn = H("A0 A4 00 00 02 6F 3A");
const Bytes GetResponse = H("A0 C0 00 00 0F");

// Records what an observer of the reader is shown.
struct RecordingObserver : IApduObserver {
    std::vector<Exchange> seen;
    void OnCommand(const uint8_t* command, size_t length) override { seen.push_back({Bytes(command, command + length), {}}); }
    void OnResponse(LONG result, const uint8_t* response, size_t length) override
    {
        seen.back().response.assign(response, response + length);
        seen.back().error = result;
    }
};

class SelectTest : public ConnectedCardTest, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(SelectTest, FollowsTheStatusWords)
{
    const SelectCase& c = GetParam();
    fake_pcsc::ExpectExchanges(c.script);
    std::vector<uint8_t> header{0xEE};
    bool isDirectory = true;
    RecordingObserver observer;
    reader->SetObserver(&observer);

    const long result = reader->SelectFile(0x6F3A, header, isDirectory);

    EXPECT_EQ(result, c.result) << R(result);
    EXPECT_EQ(isDirectory, c.isDirectory);
    EXPECT_EQ(header, c.headerWritten ? CountingHeader() : Bytes{0xEE});
    // The observer sees every exchange as it happened.
    ASSERT_EQ(observer.seen.size(), c.script.size());
    for (size_t i = 0; i < c.script.size(); ++i) {
        EXPECT_EQ(observer.seen[i].command, c.script[i].command) << i;
        EXPECT_EQ(observer.seen[i].response, c.script[i].response) << i;
        EXPECT_EQ(observer.seen[i].error, c.script[i].error) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectTest,
    ::testing::Values(
        SelectCase{"elementary_file", {{SelectAdn, H("9F 0F")}, {GetResponse, WithSw(CountingHeader())}}, 0, false,
                   true},
        // A directory announces more, but only 15 bytes are asked for.
        SelectCase{"directory", {{SelectAdn, H("9F 22")}, {GetResponse, WithSw(CountingHeader())}}, 0, true, true},
        SelectCase{"not_found", {{SelectAdn, H("94 04")}}, sc::FileNotFound, true, false},
        SelectCase{"other_sw1", {{SelectAdn, H("90 00")}}, sc::FileNotFound, true, false},
        SelectCase{"select_too_long", {{SelectAdn, H("00 9F 0F")}}, sc::Unexpected, true, false},
        SelectCase{"select_too_short", {{SelectAdn, H("9F")}}, sc::Unexpected, true, false},
        SelectCase{"select_empty", {{SelectAdn, {}}}, sc::Unexpected, true, false},
        SelectCase{"select_error", {{SelectAdn, {}, RemovedCard}}, RemovedCard, true, false},
        SelectCase{"response_16_bytes",
                   {{SelectAdn, H("9F 0F")}, {GetResponse, WithSw(Bytes(16, 0x00))}},
                   sc::Unexpected, false, false},
        SelectCase{"response_14_bytes",
                   {{SelectAdn, H("9F 0F")}, {GetResponse, WithSw(Bytes(14, 0x00))}},
                   sc::Unexpected, false, false},
        SelectCase{"response_6F00", {{SelectAdn, H("9F 0F")}, {GetResponse, Filled(15, 0, 0x6F00)}},
                   sc::Unexpected, false, false},
        SelectCase{"response_error", {{SelectAdn, H("9F 0F")}, {GetResponse, {}, CommDataLost}}, CommDataLost,
                   false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectedCardTest, SelectSendsTheFileIdHighByteFirstOverT0)
{
    fake_pcsc::ExpectExchanges({{H("A0 A4 00 00 02 3F 00"), H("9F 16")}, {GetResponse, WithSw(CountingHeader())}});
    EXPECT_EQ(reader->SelectFile(0x3F00), 0);
    EXPECT_EQ(fake_pcsc::CallTexts(), (std::vector<std::string>{TransmitText("A0 A4 00 00 02 3F 00"),
                                                                TransmitText("A0 C0 00 00 0F")}));
}

TEST_F(ConnectedCardTest, SelectWithHeaderOnlyReturnsTheHeader)
{
    fake_pcsc::ExpectExchanges({{H("A0 A4 00 00 02 7F 10"), H("9F 22")}, {GetResponse, WithSw(CountingHeader())}});
    std::vector<uint8_t> header;
    EXPECT_EQ(reader->SelectFile(0x7F10, header), 0);
    EXPECT_EQ(header, CountingHeader());
}

// --- the file header -------------------------------------------------------------

struct HeaderCase {
    uint8_t sizeHigh, sizeLow, access;
    uint16_t fileSize;
    int32_t readAccess, updateAccess;
};

void PrintTo(const HeaderCase& c, std::ostream* os)
{
    *os << "access byte " << static_cast<unsigned>(c.access);
}

class FileHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(FileHeaderTest, GivesSizeAndAccessLevels)
{
    const HeaderCase& c = GetParam();
    std::vector<uint8_t> header(15, 0x00);
    header[2] = c.sizeHigh;
    header[3] = c.sizeLow;
    header[8] = c.access;
    uint16_t fileSize = 0;
    int32_t readAccess = -1, updateAccess = -1;

    EXPECT_EQ(CCardReader::ParseFileHeader(header, fileSize, readAccess, updateAccess), 0);

    EXPECT_EQ(fileSize, c.fileSize);
    EXPECT_EQ(readAccess, c.readAccess);
    EXPECT_EQ(updateAccess, c.updateAccess);
}

INSTANTIATE_TEST_SUITE_P(Cases, FileHeaderTest,
                         ::testing::Values(HeaderCase{0x00, 0x0A, 0x14, 10, 1, 3},
                                           HeaderCase{0x00, 0xFA, 0x00, 250, 0, 0},
                                           HeaderCase{0x01, 0x2C, 0xF4, 300, 3, 3},
                                           HeaderCase{0xFF, 0xFF, 0x12, 65535, 1, 2},
                                           HeaderCase{0x00, 0x00, 0x21, 0, 2, 1},
                                           HeaderCase{0x00, 0x09, 0x4F, 9, 3, 3},
                                           HeaderCase{0x00, 0x09, 0x01, 9, 0, 1}));

TEST(FileHeader, OfAnotherLengthIsRefusedWithOutputsUntouched)
{
    for (size_t length : {0u, 9u, 14u, 16u, 255u}) {
        std::vector<uint8_t> header(length, 0x11);
        uint16_t fileSize = 7;
        int32_t readAccess = 8, updateAccess = 9;
        EXPECT_EQ(CCardReader::ParseFileHeader(header, fileSize, readAccess, updateAccess), sc::Unexpected)
            << length;
        EXPECT_EQ(fileSize, 7);
        EXPECT_EQ(readAccess, 8);
        EXPECT_EQ(updateAccess, 9);
    }
}

// --- READ BINARY -----------------------------------------------------------------

struct ReadBinaryCase {
    const char* name;
    unsigned length;
    std::vector<Exchange> script; // empty: nothing may be sent
    long result;
};
CARD_TEST_PRINTS_NAME(ReadBinaryCase)

class ReadBinaryTest : public ConnectedCardTest, public ::testing::WithParamInterface<ReadBinaryCase> {};

TEST_P(ReadBinaryTest, CopiesExactlyTheBytesAskedFor)
{
    const ReadBinaryCase& c = GetParam();
    fake_pcsc::ExpectExchanges(c.script);
    std::vector<uint8_t> buffer(300, 0xEE);

    const long result = reader->ReadBinary(c.length, buffer.data());

    EXPECT_EQ(result, c.result) << R(result);
    std::vector<uint8_t> expected(300, 0xEE);
    if (result == 0)
        std::fill(expected.begin(), expected.begin() + c.length, 0x5A);
    EXPECT_EQ(buffer, expected);
    EXPECT_EQ(fake_pcsc::SentCommands().size(), c.script.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadBinaryTest,
    ::testing::Values(
        ReadBinaryCase{"iccid", 10, {{H("A0 B0 00 00 0A"), Filled(10, 0x5A)}}, 0},
        ReadBinaryCase{"one", 1, {{H("A0 B0 00 00 01"), Filled(1, 0x5A)}}, 0},
        ReadBinaryCase{"longest", 255, {{H("A0 B0 00 00 FF"), Filled(255, 0x5A)}}, 0},
        ReadBinaryCase{"short_answer", 10, {{H("A0 B0 00 00 0A"), Filled(9, 0x5A)}}, sc::Unexpected},
        ReadBinaryCase{"long_answer", 10, {{H("A0 B0 00 00 0A"), Filled(11, 0x5A)}}, sc::Unexpected},
        ReadBinaryCase{"status_only", 10, {{H("A0 B0 00 00 0A"), H("90 00")}}, sc::Unexpected},
        ReadBinaryCase{"wrong_status", 10, {{H("A0 B0 00 00 0A"), Filled(10, 0x5A, 0x9804)}}, sc::Unexpected},
        ReadBinaryCase{"transport_error", 10, {{H("A0 B0 00 00 0A"), {}, RemovedCard}}, RemovedCard},
        ReadBinaryCase{"zero_length", 0, {}, sc::Unexpected},
        ReadBinaryCase{"too_long", 256, {}, sc::Unexpected}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectedCardTest, ReadBinaryAsksFor255BytesOfRoomForShortReads)
{
    fake_pcsc::ExpectExchanges({{H("A0 B0 00 00 0A"), Filled(10, 0x5A)}});
    uint8_t buffer[10];
    EXPECT_EQ(reader->ReadBinary(10, buffer), 0);
    EXPECT_EQ(fake_pcsc::CallTexts(), std::vector<std::string>{TransmitText("A0 B0 00 00 0A")});
}

// The room every sender of recorded commands gives an answer (the replay
// benchmark): a read of 254 or 255 bytes and SW1 SW2 must fit.
TEST(ReceiveRoomFor, FitsTheAnswerAT0CommandAsksFor)
{
    struct Case {
        const char* command;
        DWORD room;
    };
    const Case cases[] = {
        {"A0 B0 00 00 0A", 255}, {"A0 B0 00 00 FD", 255}, {"A0 B2 01 04 FE", 256}, {"A0 C0 00 00 FF", 257},
        {"A0 B0 00 00 00", 258}, // Le 0 asks for 256 bytes
        {"A0 A4 00 00 02 6F 3A", 255}, {"A0 20 00 01 08 31 32 33 34 FF FF FF FF", 255}, {"A0 F2 00", 255},
    };
    for (const Case& c : cases) {
        const Bytes command = H(c.command);
        EXPECT_EQ(card_detail::ReceiveRoomFor(command.data(), command.size()), c.room) << c.command;
    }
}

// --- STATUS ----------------------------------------------------------------------

// The 13 bytes of the first STATUS answer with `gsmLength` in byte 12.
Bytes FirstStatus(uint8_t gsmLength)
{
    Bytes data(13, 0x00);
    data[12] = gsmLength;
    return WithSw(data);
}

// Second STATUS answer: `length` bytes of directory data and the status word.
Bytes SecondStatus(size_t length, uint8_t characteristics, uint8_t chv1, uint8_t chv2, uint16_t sw = 0x9000)
{
    return WithSw(sim_bytes::DirectoryStatus(length, characteristics, chv1, chv2), sw);
}

Bytes StatusCommand(uint8_t length)
{
    return {0xA0, 0xF2, 0x00, 0x00, length};
}

struct StatusCase {
    const char* name;
    std::vector<Exchange> script;
    std::optional<PinStatus> result; // empty: GetStatus is false
};
CARD_TEST_PRINTS_NAME(StatusCase)

const Bytes FirstStatusCommand = H("A0 F2 00 00 0D");

PinStatus Pins(bool pin1Enabled, bool pin2Known, int32_t pin1Tries, int32_t pin2Tries)
{
    PinStatus status;
    status.pin1Enabled = pin1Enabled;
    status.pin2Known = pin2Known;
    status.pin1TriesLeft = pin1Tries;
    status.pin2TriesLeft = pin2Tries;
    return status;
}

class StatusTest : public ConnectedCardTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(StatusTest, FillsTheRecordOnlyFromACompleteAnswer)
{
    const StatusCase& c = GetParam();
    fake_pcsc::ExpectExchanges(c.script);
    const PinStatus before = Pins(false, true, 7, 9);
    PinStatus status = before;

    const bool filled = reader->GetStatus(status);

    EXPECT_EQ(filled, c.result.has_value());
    const PinStatus expected = c.result.value_or(before);
    EXPECT_EQ(status.pin1Enabled, expected.pin1Enabled);
    EXPECT_EQ(status.pin2Known, expected.pin2Known);
    EXPECT_EQ(status.pin1TriesLeft, expected.pin1TriesLeft);
    EXPECT_EQ(status.pin2TriesLeft, expected.pin2TriesLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StatusTest,
    ::testing::Values(
        StatusCase{"with_chv2",
                   {{FirstStatusCommand, FirstStatus(9)}, {StatusCommand(22), SecondStatus(22, 0x00, 0x83, 0x8A)}},
                   Pins(true, true, 3, 10)},
        StatusCase{"data_of_21_bytes",
                   {{FirstStatusCommand, FirstStatus(8)}, {StatusCommand(21), SecondStatus(21, 0x00, 0x82, 0)}},
                   Pins(true, false, 2, 0)},
        StatusCase{"pin1_disabled",
                   {{FirstStatusCommand, FirstStatus(9)}, {StatusCommand(22), SecondStatus(22, 0x80, 0x03, 0x00)}},
                   Pins(false, true, 3, 0)},
        StatusCase{"shortest_usable",
                   {{FirstStatusCommand, FirstStatus(6)}, {StatusCommand(19), SecondStatus(19, 0x00, 0x81, 0)}},
                   Pins(true, false, 1, 0)},
        StatusCase{"longest_usable",
                   {{FirstStatusCommand, FirstStatus(242)},
                    {StatusCommand(255), SecondStatus(255, 0x00, 0x8F, 0x84)}},
                   Pins(true, true, 15, 4)},
        StatusCase{"first_too_short", {{FirstStatusCommand, WithSw(Bytes(12, 0))}}, std::nullopt},
        StatusCase{"first_too_long", {{FirstStatusCommand, WithSw(Bytes(14, 0))}}, std::nullopt},
        StatusCase{"first_wrong_status", {{FirstStatusCommand, Filled(13, 0x09, 0x6F00)}}, std::nullopt},
        StatusCase{"first_error", {{FirstStatusCommand, {}, RemovedCard}}, std::nullopt},
        // Lengths the second STATUS cannot ask for are not sent at all.
        StatusCase{"second_would_be_256", {{FirstStatusCommand, FirstStatus(243)}}, std::nullopt},
        StatusCase{"second_beyond_p3", {{FirstStatusCommand, FirstStatus(255)}}, std::nullopt},
        StatusCase{"second_without_chv1", {{FirstStatusCommand, FirstStatus(5)}}, std::nullopt},
        StatusCase{"second_short",
                   {{FirstStatusCommand, FirstStatus(9)}, {StatusCommand(22), SecondStatus(21, 0, 0x83, 0)}},
                   std::nullopt},
        StatusCase{"second_long",
                   {{FirstStatusCommand, FirstStatus(9)}, {StatusCommand(22), SecondStatus(23, 0, 0x83, 0)}},
                   std::nullopt},
        StatusCase{"second_wrong_status",
                   {{FirstStatusCommand, FirstStatus(9)},
                    {StatusCommand(22), SecondStatus(22, 0, 0x83, 0x8A, 0x6700)}},
                   std::nullopt},
        StatusCase{"second_error", {{FirstStatusCommand, FirstStatus(9)}, {StatusCommand(22), {}, CommDataLost}},
                   std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// --- VERIFY CHV1 -----------------------------------------------------------------

struct VerifyBytesCase {
    const char* name;
    std::u16string pin;
    const char* command;
};
CARD_TEST_PRINTS_NAME(VerifyBytesCase)

class VerifyBytesTest : public ConnectedCardTest, public ::testing::WithParamInterface<VerifyBytesCase> {};

TEST_P(VerifyBytesTest, PadsThePinWithFF)
{
    fake_pcsc::ExpectExchanges({{H(GetParam().command), H("90 00")}});
    EXPECT_EQ(reader->VerifyPin1(GetParam().pin), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VerifyBytesTest,
    ::testing::Values(VerifyBytesCase{"four_digits", u"1234", "A0 20 00 01 08 31 32 33 34 FF FF FF FF"},
                      VerifyBytesCase{"eight_digits", u"12345678", "A0 20 00 01 08 31 32 33 34 35 36 37 38"},
                      VerifyBytesCase{"nine_characters_cut", u"987654321", "A0 20 00 01 08 39 38 37 36 35 34 33 32"},
                      VerifyBytesCase{"empty", u"", "A0 20 00 01 08 FF FF FF FF FF FF FF FF"},
                      VerifyBytesCase{"latin1", u"12\u00E9", "A0 20 00 01 08 31 32 E9 FF FF FF FF FF"}),
    [](const auto& info) { return std::string(info.param.name); });

struct VerifyAnswerCase {
    const char* name;
    Exchange answer; // command filled in by the test
    long result;
};
CARD_TEST_PRINTS_NAME(VerifyAnswerCase)

class VerifyAnswerTest : public ConnectedCardTest, public ::testing::WithParamInterface<VerifyAnswerCase> {};

TEST_P(VerifyAnswerTest, MapsTheStatusWord)
{
    Exchange exchange = GetParam().answer;
    exchange.command = H("A0 20 00 01 08 31 32 33 34 FF FF FF FF");
    fake_pcsc::ExpectExchanges({exchange});
    const long result = reader->VerifyPin1(u"1234");
    EXPECT_EQ(result, GetParam().result) << R(result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VerifyAnswerTest,
    ::testing::Values(VerifyAnswerCase{"ok", {{}, H("90 00")}, 0},
                      VerifyAnswerCase{"wrong_pin", {{}, H("98 04")}, sc::WrongChv},
                      VerifyAnswerCase{"blocked", {{}, H("98 40")}, sc::ChvBlocked},
                      VerifyAnswerCase{"contradiction", {{}, H("98 08")}, sc::Unexpected},
                      VerifyAnswerCase{"iso_blocked", {{}, H("69 83")}, sc::Unexpected},
                      VerifyAnswerCase{"too_long", {{}, H("90 00 00")}, sc::Unexpected},
                      VerifyAnswerCase{"too_short", {{}, H("90")}, sc::Unexpected},
                      VerifyAnswerCase{"transport_error", {{}, {}, RemovedCard}, RemovedCard}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace card_test
