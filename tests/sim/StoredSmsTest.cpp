// The EF_SMS record decoders, field by field, with cases from the standards' own
// tables (GSM 03.38 / TS 23.038 coding groups, TS 23.040 field layouts).
#include <gtest/gtest.h>

#include "SeptetPacker.h"
#include "TestBytes.h"
#include "sim/sms/DataCoding.h"
#include "sim/sms/SmsJoin.h"
#include "sim/sms/SmsTime.h"
#include "sim/sms/StoredSms.h"
#include "sim/text/Unicode.h"
#include "sim/sms/ValidityPeriod.h"

namespace {

struct CodingCase {
    uint8_t scheme;
    SmsAlphabet alphabet;
    int messageClass;
    bool compressed;
    WaitingGroup waiting;
    bool waitingActive;
    int waitingKind;
};

TEST(SmsDecoders, DataCodingGroups)
{
    using enum SmsAlphabet;
    using enum WaitingGroup;
    const CodingCase cases[] = {
        {0x00, Gsm7, -1, false, None, false, 0},  {0x04, EightBit, -1, false, None, false, 0},
        {0x08, Ucs2, -1, false, None, false, 0},  {0x0C, Gsm7, -1, false, None, false, 0}, // reserved alphabet
        {0x10, Gsm7, 0, false, None, false, 0},   {0x16, EightBit, 2, false, None, false, 0},
        {0x19, Ucs2, 1, false, None, false, 0},   {0x2A, Ucs2, -1, true, None, false, 0},
        {0x53, Gsm7, 3, false, None, false, 0},   {0x84, Gsm7, -1, false, None, false, 0}, // reserved group
        {0xC8, Gsm7, -1, false, Discard, true, 0}, {0xD1, Gsm7, -1, false, Store, false, 1},
        {0xEA, Ucs2, -1, false, Store, true, 2},  {0xF0, Gsm7, 0, false, None, false, 0},
        {0xF7, EightBit, 3, false, None, false, 0},
    };
    for (const CodingCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "DCS " << std::hex << unsigned{c.scheme});
        const DataCoding coding = DecodeDataCoding(c.scheme);
        EXPECT_EQ(coding.alphabet, c.alphabet);
        EXPECT_EQ(coding.messageClass, c.messageClass);
        EXPECT_EQ(coding.compressed, c.compressed);
        EXPECT_EQ(coding.waiting, c.waiting);
        EXPECT_EQ(coding.waitingActive, c.waitingActive);
        EXPECT_EQ(static_cast<int>(coding.waitingKind), c.waitingKind);
    }
    EXPECT_TRUE(DecodeDataCoding(0x40).autoDelete);
}

// A time stamp with a digit above 9 or a field out of its range is no date
// (the renderers' tests word the valid ones).
TEST(SmsDecoders, TimeStampsThatAreNoDate)
{
    for (const char* bad : {"20 31 62 91 73 14 48", "20 00 62 91 73 14 48", "20 80 23 91 73 14 48",
                            "20 80 62 42 73 14 48", "20 80 62 91 06 14 48", "2A 80 62 91 73 14 48",
                            "20 80 62 91 73 14 A0"}) {
        SmsTime time;
        EXPECT_FALSE(DecodeSmsTime(Hex(bad).data(), time)) << bad;
    }
}

TEST(SmsDecoders, Utf16)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0041 00E9 20AC", "Aé€"},
        {"0041 00", "A"},                       // a final odd byte
    };
    for (const auto& [hex, text] : cases) {
        const Bytes bytes = Hex(hex);
        EXPECT_EQ(Utf16BeToUtf8(bytes.data(), bytes.size()), text) << hex;
    }
}

// 7-bit user data: the header's octets, then the text from the next septet
// boundary, as a sender packs it.
Bytes SevenBitUserData(const Bytes& header, const std::string& text)
{
    const size_t headerSeptets = (header.size() * 8 + 6) / 7;
    Bytes septets(headerSeptets, 0);
    septets.insert(septets.end(), text.begin(), text.end());
    Bytes packed = PackSeptets(septets);
    std::copy(header.begin(), header.end(), packed.begin());
    packed.insert(packed.begin(), static_cast<uint8_t>(septets.size()));
    return packed;
}

// An EF_SMS record: status, then the hex of the rest, FF up to 176 octets.
Bytes Record(uint8_t status, const Bytes& rest)
{
    Bytes record = Concat({Bytes{status}, rest});
    record.resize(176, 0xFF);
    return record;
}

const Bytes Centre = Hex("07 91 44 77 00 09 90 99");
const Bytes Stamp = Hex("20 80 62 91 73 14 48");

Bytes Deliver(const Bytes& sender, const Bytes& userData, uint8_t firstOctet = 0x04, uint8_t scheme = 0x00)
{
    return Concat({Centre, Bytes{firstOctet}, sender, Bytes{0x00, scheme}, Stamp, userData});
}

Bytes Submit(uint8_t firstOctet, const Bytes& period)
{
    return Concat({Centre, Bytes{firstOctet, 0x2A}, Hex("0B 91 44 97 21 43 65 F7 00 00"), period,
                   SevenBitUserData({}, "Hi")});
}

struct RecordCase {
    const char* name;
    Bytes record;
    bool listed;
    SmsType type;
    std::string address;
    std::string text;
    ValidityFormat validity;
    std::optional<SmsField> stoppedAt;
    bool deleted = false;
};

void PrintTo(const RecordCase& c, std::ostream* os)
{
    *os << c.name;
}

class StoredSmsRecordTest : public testing::TestWithParam<RecordCase> {};

TEST_P(StoredSmsRecordTest, Decodes)
{
    const RecordCase& c = GetParam();
    StoredSms sms;
    ASSERT_EQ(DecodeStoredSms(c.record.data(), c.record.size(), sms), c.listed);
    if (!c.listed)
        return;
    EXPECT_EQ(sms.type, c.type);
    EXPECT_EQ(sms.address.text, c.address);
    EXPECT_EQ(sms.userData.text, c.text);
    EXPECT_EQ(sms.validity.format, c.validity);
    EXPECT_EQ(sms.stoppedAt, c.stoppedAt);
    EXPECT_EQ(sms.deleted, c.deleted);
}

const Bytes Sender = Hex("0B 91 44 97 21 43 65 F7");
const Bytes Discharge = Hex("20 80 62 91 73 25 48"); // 52 seconds where Stamp has 41

// A status report keeps the centre's time and the discharge time apart, and
// its TP-ST is read by its range.
TEST(SmsDecoders, StatusReportTimesAndStatus)
{
    const Bytes record = Record(0x03, Concat({Centre, Hex("06 2A"), Sender, Stamp, Discharge, Hex("41")}));
    StoredSms sms;
    ASSERT_TRUE(DecodeStoredSms(record.data(), record.size(), sms));
    ASSERT_TRUE(sms.timestampValid && sms.dischargeTimeValid);
    EXPECT_EQ(sms.timestamp.second, 41);
    EXPECT_EQ(sms.dischargeTime.second, 52);
    ASSERT_TRUE(sms.reportStatus);
    EXPECT_EQ(sms.reportStatus->value, 0x41);
    EXPECT_EQ(sms.reportStatus->category, ReportCategory::Failed);
    EXPECT_EQ(sms.reportStatus->cause, ReportCause::IncompatibleDestination);
}

// The status byte of a record holding a message: a free one is listed as
// deleted.
TEST(SmsDecoders, RecordStatus)
{
    const std::pair<uint8_t, SmsStatus> statuses[] = {{0x00, SmsStatus::Free},   {0x01, SmsStatus::Read},
                                                      {0x03, SmsStatus::Unread}, {0x05, SmsStatus::Sent},
                                                      {0x07, SmsStatus::Unsent}, {0x06, SmsStatus::Free}};
    for (const auto& [value, status] : statuses) {
        const Bytes record = Record(value, Deliver(Sender, SevenBitUserData({}, "Hi")));
        StoredSms sms;
        ASSERT_TRUE(DecodeStoredSms(record.data(), record.size(), sms)) << unsigned{value};
        EXPECT_EQ(sms.status, status) << unsigned{value};
    }
}
// An alphanumeric address (type 0xD0): its length counts the semi-octets
// the septets fill (4 bits each, the last one rounded up), odd for 5 septets.
Bytes AlphanumericAddress(const std::string& text)
{
    const Bytes packed = PackSeptets(Bytes(text.begin(), text.end()));
    return Concat({Bytes{static_cast<uint8_t>((text.size() * 7 + 3) / 4), 0xD0}, packed});
}

INSTANTIATE_TEST_SUITE_P(Records, StoredSmsRecordTest, testing::Values(
    RecordCase{"deliver", Record(0x01, Deliver(Sender, SevenBitUserData({}, "Hello"))), true, SmsType::Deliver,
               "+44791234567", "Hello", ValidityFormat::None, std::nullopt},
    RecordCase{"alphanumeric sender", Record(0x03, Deliver(AlphanumericAddress("Vodafone"), SevenBitUserData({}, "Top up"))), true,
               SmsType::Deliver, "Vodafone", "Top up", ValidityFormat::None, std::nullopt},
    RecordCase{"alphanumeric sender, odd semi-octet count",
               Record(0x03, Deliver(AlphanumericAddress("Hello"), SevenBitUserData({}, "Hi"))), true,
               SmsType::Deliver, "Hello", "Hi", ValidityFormat::None, std::nullopt},
    RecordCase{"extension table", Record(0x01, Deliver(Sender, SevenBitUserData({}, "\x1B\x65\x1B\x3C\x1B\x28\x1B\x14\x1B"))),
               true, SmsType::Deliver, "+44791234567", "€[{^", ValidityFormat::None, std::nullopt}, // a final escape extends nothing
    RecordCase{"7-bit after a header, with fill bits",
               Record(0x01, Deliver(Sender, SevenBitUserData(Hex("05 00 03 2A 02 01"), "after"), 0x44)), true,
               SmsType::Deliver, "+44791234567", "after", ValidityFormat::None, std::nullopt},
    RecordCase{"ucs2", Record(0x01, Deliver(Sender, Hex("04 00 41 04 10"), 0x04, 0x08)), true, SmsType::Deliver,
               "+44791234567", "AА", ValidityFormat::None, std::nullopt},
    RecordCase{"submit, no validity period", Record(0x07, Submit(0x01, {})), true, SmsType::Submit, "+44791234567",
               "Hi", ValidityFormat::None, std::nullopt},
    RecordCase{"submit, relative", Record(0x05, Submit(0x11, Hex("A7"))), true, SmsType::Submit, "+44791234567",
               "Hi", ValidityFormat::Relative, std::nullopt},
    RecordCase{"submit, enhanced", Record(0x05, Submit(0x09, Hex("43 00 30 00 00 00 00"))), true, SmsType::Submit,
               "+44791234567", "Hi", ValidityFormat::Enhanced, std::nullopt},
    RecordCase{"submit, enhanced with a further indicator octet", Record(0x05, Submit(0x09, Hex("81 00 A7 00 00 00 00"))),
               true, SmsType::Submit, "+44791234567", "Hi", ValidityFormat::Enhanced, std::nullopt},
    RecordCase{"submit, enhanced, indicators fill the field", Record(0x05, Submit(0x09, Hex("81 80 80 80 80 80 80"))),
               true, SmsType::Submit, "+44791234567", "Hi", ValidityFormat::Enhanced, std::nullopt},
    RecordCase{"submit, absolute", Record(0x07, Submit(0x19, Stamp)), true, SmsType::Submit, "+44791234567", "Hi",
               ValidityFormat::Absolute, std::nullopt},
    RecordCase{"status report", Record(0x01, Concat({Centre, Hex("06 2A"), Sender, Stamp, Discharge, Hex("00")})), true,
               SmsType::StatusReport, "+44791234567", "", ValidityFormat::None, std::nullopt},
    RecordCase{"command on a sent record", Record(0x05, Concat({Centre, Hex("02 2A 00 01 07"), Sender})), true,
               SmsType::Command, "+44791234567", "", ValidityFormat::None, std::nullopt},
    RecordCase{"deleted, still holding a message", Record(0x00, Deliver(Sender, SevenBitUserData({}, "old"))), true,
               SmsType::Deliver, "+44791234567", "old", ValidityFormat::None, std::nullopt, true},
    RecordCase{"free and blank", Record(0x00, {}), false, SmsType::Deliver, "", "", ValidityFormat::None, std::nullopt},
    RecordCase{"free and zeroed", Bytes(176, 0x00), false, SmsType::Deliver, "", "", ValidityFormat::None, std::nullopt},
    RecordCase{"erased: status FF, blank", Bytes(176, 0xFF), false, SmsType::Deliver, "", "", ValidityFormat::None, std::nullopt},
    RecordCase{"free with a broken message", Concat({Bytes{0x00}, Deliver(Sender, {})}), false, SmsType::Deliver,
               "", "", ValidityFormat::None, std::nullopt},
    RecordCase{"used, cut in the time stamp", Concat({Bytes{0x01}, Centre, Hex("04"), Sender, Hex("00 00 20 80")}),
               true, SmsType::Deliver, "+44791234567", "", ValidityFormat::None, SmsField::TimeStamp},
    RecordCase{"used, text longer than the record", Concat({Bytes{0x01}, Deliver(Sender, Hex("A0 C8 32"))}), true,
               SmsType::Deliver, "+44791234567", "He", ValidityFormat::None, SmsField::UserData},
    RecordCase{"header longer than the user data",
               Record(0x01, Deliver(Sender, Hex("04 09 05 00 03"), 0x44, 0x04)), true, SmsType::Deliver,
               "+44791234567", "", ValidityFormat::None, SmsField::UserDataHeader},
    RecordCase{"service centre past the end", Hex("01 0C 91 44"), true, SmsType::Deliver, "", "", ValidityFormat::None, SmsField::ServiceCentreAddress},
    RecordCase{"reserved message type", Record(0x01, Concat({Centre, Hex("03")})), true, SmsType::Reserved, "", "",
               ValidityFormat::None, SmsField::MessageType}));

struct OptionalFieldsCase {
    const char* name;
    uint8_t status; // 0x05 (sent) makes message type 10 a command
    Bytes tpdu;     // after the service centre
    std::optional<uint8_t> protocolId, dataCodingScheme, commandType, messageNumber;
    bool carriesUserData;
    std::string text;
};

// What a status report's TP-PI announces, and what a command carries: a field
// the message does not hold stays absent.
TEST(SmsDecoders, StatusReportAndCommandFields)
{
    const Bytes report = Concat({Hex("06 2A"), Sender, Stamp, Stamp, Hex("00")});
    const std::nullopt_t none = std::nullopt;
    const OptionalFieldsCase cases[] = {
        {"no indicator, FF padding", 0x01, report, none, none, none, none, false, ""},
        {"protocol only", 0x01, Concat({report, Hex("01 7F")}), 0x7F, none, none, none, false, ""},
        {"reserved bits ignored", 0x01, Concat({report, Hex("79 3F")}), 0x3F, none, none, none, false, ""},
        {"a further indicator octet", 0x01, Concat({report, Hex("81 00 7F")}), 0x7F, none, none, none, false, ""},
        {"scheme and text", 0x01, Concat({report, Hex("06 00 02 C8 34")}), none, 0x00, none, none, true, "Hi"},
        {"text without a scheme: default alphabet", 0x01, Concat({report, Hex("04 02 C8 34")}), none, none, none,
         none, true, "Hi"},
        {"command", 0x05, Concat({Hex("02 2A 00 01 07"), Sender}), 0x00, none, 0x01, 0x07, false, ""},
    };
    for (const OptionalFieldsCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes record = Record(c.status, Concat({Centre, c.tpdu}));
        StoredSms sms;
        ASSERT_TRUE(DecodeStoredSms(record.data(), record.size(), sms));
        EXPECT_EQ(sms.protocolId, c.protocolId);
        EXPECT_EQ(sms.dataCodingScheme, c.dataCodingScheme);
        EXPECT_EQ(sms.commandType ? std::optional<uint8_t>(sms.commandType->value) : std::nullopt, c.commandType);
        EXPECT_EQ(sms.messageNumber, c.messageNumber);
        EXPECT_EQ(sms.carriesUserData, c.carriesUserData);
        EXPECT_EQ(sms.userData.text, c.text);
        EXPECT_FALSE(sms.stoppedAt);
    }
}

// A record of a concatenated part: sender, 8-bit reference 0x2A or a 16-bit one.
StoredSms Part(const char* sender, uint16_t reference, bool sixteenBit, uint8_t total, uint8_t sequence,
             const char* text, bool deleted = false)
{
    StoredSms sms;
    sms.address.text = sender;
    sms.deleted = deleted;
    sms.userData.text = text;
    sms.userData.concatenation = ConcatenationPart{reference, sixteenBit, total, sequence};
    return sms;
}

StoredSms Single(const char* text)
{
    StoredSms sms;
    sms.userData.text = text;
    return sms;
}

// `sms` with 8-bit data, cut short at `stoppedAt` when one is given.
StoredSms WithData(StoredSms sms, std::vector<uint8_t> octets, std::optional<SmsField> stoppedAt = std::nullopt)
{
    sms.userData.octets = std::move(octets);
    sms.stoppedAt = stoppedAt;
    return sms;
}

struct JoinCase {
    const char* name;
    std::vector<StoredSms> records;
    std::vector<std::vector<size_t>> parts; // per message
    std::vector<std::string> texts;
    std::vector<std::vector<int>> missing;
    std::vector<std::vector<uint8_t>> octets = {}; // per message, when the case gives them
    std::vector<std::optional<SmsField>> stoppedAt = {};
};

TEST(SmsDecoders, JoinsConcatenatedParts)
{
    const JoinCase cases[] = {
        {"three parts, the second missing, stored out of order; data and stops in part order",
         {WithData(Part("+44", 7, false, 3, 3, "C"), {0xC0}, SmsField::UserData), Single("x"),
          WithData(Part("+44", 7, false, 3, 1, "A"), {0xA0, 0xA1})},
         {{2, 0}, {1}},
         {"AC", "x"},
         {{2}, {}},
         {{0xA0, 0xA1, 0xC0}, {}},
         {SmsField::UserData, std::nullopt}},
        {"16-bit reference",
         {Part("+44", 0x1234, true, 2, 2, "B"), Part("+44", 0x1234, true, 2, 1, "A")},
         {{1, 0}},
         {"AB"},
         {{}}},
        {"sender, reference size, count and deleted flag keep messages apart",
         {Part("+44", 7, false, 2, 1, "A"), Part("+33", 7, false, 2, 2, "B"), Part("+44", 7, true, 2, 2, "C"),
          Part("+44", 7, false, 3, 2, "D"), Part("+44", 7, false, 2, 2, "E", true)},
         {{0}, {1}, {2}, {3}, {4}},
         {"A", "B", "C", "D", "E"},
         {{2}, {1}, {1}, {1, 3}, {1}}},
        {"a part number met twice starts another message",
         {Part("+44", 7, false, 2, 1, "A"), Part("+44", 7, false, 2, 1, "a"), Part("+44", 7, false, 2, 2, "b")},
         {{0}, {1, 2}},
         {"A", "ab"},
         {{2}, {}}},
    };
    for (const JoinCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<SmsRecordEntry> entries;
        for (size_t i = 0; i < c.records.size(); ++i)
            entries.push_back({static_cast<int>(i + 1), c.records[i]});
        const std::vector<JoinedSms> joined = JoinConcatenatedSms(entries);
        ASSERT_EQ(joined.size(), c.parts.size());
        for (size_t i = 0; i < joined.size(); ++i) {
            EXPECT_EQ(joined[i].parts, c.parts[i]);
            EXPECT_EQ(joined[i].text, c.texts[i]);
            EXPECT_EQ(joined[i].missing, c.missing[i]);
            std::vector<int> records; // entry k is record k + 1
            for (size_t part : c.parts[i])
                records.push_back(static_cast<int>(part + 1));
            EXPECT_EQ(joined[i].records, records);
            if (!c.octets.empty()) {
                EXPECT_EQ(joined[i].octets, c.octets[i]);
                EXPECT_EQ(joined[i].stoppedAt, c.stoppedAt[i]);
            }
        }
    }
}

} // namespace
