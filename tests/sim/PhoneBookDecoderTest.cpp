// The phone-book decoders: record fields, extension chains, whole
// files, the service provider name.
#include <gtest/gtest.h>

#include <vector>

#include "TestBytes.h"
#include "sim/dialling/DiallingRecord.h"
#include "sim/dialling/ExtensionChain.h"
#include "sim/dialling/PhoneBookDecoder.h"
#include "sim/provider/ServiceProviderName.h"

namespace {

struct FieldsCase {
    const char* hex;
    size_t alphaLength;
    bool used;
    const char* name;
    const char* digits;
    uint8_t tonNpi;
    uint8_t extensionId;
};

void PrintTo(const FieldsCase& c, std::ostream* os)
{
    *os << HexName(c.hex) << " alpha " << c.alphaLength;
}

class DiallingRecordFieldsTest : public testing::TestWithParam<FieldsCase> {};

TEST_P(DiallingRecordFieldsTest, DecodesWhatWasReceived)
{
    const FieldsCase& c = GetParam();
    const Bytes record = Hex(c.hex);
    DiallingRecordFields fields;
    EXPECT_EQ(DecodeDiallingRecordFields(record.data(), record.size(), c.alphaLength, fields), c.used);
    EXPECT_EQ(fields.name.text, c.name);
    EXPECT_EQ(fields.digits, c.digits);
    EXPECT_EQ(fields.tonNpi, c.tonNpi);
    EXPECT_EQ(fields.extensionId, c.extensionId);
}

INSTANTIATE_TEST_SUITE_P(
    Records, DiallingRecordFieldsTest,
    testing::Values(
        FieldsCase{"4142FF 0391 2143FFFFFFFFFFFFFFFF FF 07", 3, true, "AB", "1234", 0x91, 0x07},
        FieldsCase{"FFFFFF 0381 2143FFFFFFFFFFFFFFFF FF FF", 3, true, "", "1234", 0x81, 0xFF}, // number only
        FieldsCase{"41 0B91 2143", 1, true, "A", "1234", 0x91, 0xFF},     // cut after two digit bytes
        FieldsCase{"4142", 4, true, "AB", "", 0xFF, 0xFF},                // cut inside the name
        FieldsCase{"41 0191 21", 1, true, "A", "", 0x91, 0xFF},           // length 1: no digit byte
        FieldsCase{"41 0C91 2143", 1, true, "A", "", 0x91, 0xFF},         // length above 11
        FieldsCase{"FF FF FF 21 43", 1, false, "", "", 0xFF, 0xFF},       // unused
        FieldsCase{"0391 2143FFFFFFFFFFFFFFFF FF 02", 0, true, "", "1234", 0x91, 0x02}, // no alpha field
        FieldsCase{"", 0, false, "", "", 0xFF, 0xFF}));

// An additional-data extension record: digits, then the next record (FF: none).
Bytes Additional(const char* digits, uint8_t next = 0xFF)
{
    Bytes data = SwappedBcd(digits);
    Bytes record = Concat({Bytes{0x02, static_cast<uint8_t>(data.size())}, data});
    record.resize(12, 0xFF);
    record.push_back(next);
    return record;
}

struct ChainCase {
    const char* what;
    std::vector<Bytes> records;
    uint8_t first;
    const char* digits;
    ExtensionState state;
    std::vector<unsigned> followed;
    unsigned stoppedAt;
};

void PrintTo(const ChainCase& c, std::ostream* os)
{
    *os << c.what;
}

class ExtensionChainTest : public testing::TestWithParam<ChainCase> {};

TEST_P(ExtensionChainTest, FollowsTheChain)
{
    const ChainCase& c = GetParam();
    const ExtensionResult result = FollowExtensionChain(c.first, c.records);
    EXPECT_EQ(result.digits, c.digits);
    EXPECT_EQ(result.state, c.state);
    EXPECT_EQ(result.records, c.followed);
    EXPECT_EQ(result.stoppedAt, c.stoppedAt);
}

std::vector<Bytes> LongChain(unsigned length)
{
    std::vector<Bytes> records;
    for (unsigned i = 1; i <= length; ++i)
        records.push_back(Additional("1", static_cast<uint8_t>(i < length ? i + 1 : 0xFF)));
    return records;
}

INSTANTIATE_TEST_SUITE_P(
    Chains, ExtensionChainTest,
    testing::Values(
        ChainCase{"none", {Additional("12")}, 0xFF, "", ExtensionState::None, {}, 0},
        ChainCase{"one", {Additional("1234")}, 1, "1234", ExtensionState::Complete, {1}, 0},
        ChainCase{"two", {Additional("12", 3), {}, Additional("345")}, 1, "12345", ExtensionState::Complete, {1, 3}, 0},
        ChainCase{"loop", {Additional("1", 2), Additional("2", 1)}, 1, "12", ExtensionState::Loop, {1, 2}, 1},
        ChainCase{"self", {Additional("1", 1)}, 1, "1", ExtensionState::Loop, {1}, 1},
        ChainCase{"beyond the file", {Additional("1", 3), Additional("2")}, 1, "1", ExtensionState::Missing, {1}, 3},
        ChainCase{"record 0", {Additional("1")}, 0, "", ExtensionState::Missing, {}, 0},
        ChainCase{"no file", {}, 4, "", ExtensionState::Missing, {}, 4},
        ChainCase{"subaddress", {Hex("0102A012FFFFFFFFFFFFFFFF02"), Additional("9")}, 1, "9",
                  ExtensionState::Complete, {1, 2}, 0},
        ChainCase{"unused record", {Bytes(13, 0xFF)}, 1, "", ExtensionState::Invalid, {}, 1},
        ChainCase{"too short", {Bytes{0x02}}, 1, "", ExtensionState::Invalid, {}, 1},
        ChainCase{"lying length", {Hex("020F2143")}, 1, "1234", ExtensionState::Complete, {1}, 0},
        ChainCase{"longest", LongChain(MaxExtensionChain), 1, "1111111111", ExtensionState::Complete,
                  {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0},
        ChainCase{"too long", LongChain(MaxExtensionChain + 1), 1, "1111111111", ExtensionState::TooLong,
                  {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 11}));

TEST(DecodePhoneBook, KeepsEveryUsedRecordInOrderAndContinuesNumbers)
{
    RawCardFile file;
    file.fileId = 0x6F3A;
    file.state = FileState::Read;
    file.recordLength = 16; // two bytes of name
    file.recordCount = 6;
    file.records = {
        Hex("4142 0391 2143FFFFFFFFFFFFFFFF FF FF"), // 1: AB +1234
        Hex("FFFF FFFF FFFFFFFFFFFFFFFFFFFF FF 01"), // 2: empty, though its extension byte is set
        Hex("4142 0381 2143FFFFFFFFFFFFFFFF FF FF"), // 3: AB again, no "+"
        Hex("FFFF 0B91 21436587092143658709 FF 01"), // 4: number only, twenty digits and an extension
        Hex("43FF FFFF FFFFFFFFFFFFFFFFFFFF FF FF"), // 5: name only
        Hex("44FF 0B91 2143"),                       // 6: cut short
    };
    RawCardFile extension;
    extension.records = {Additional("55")};

    const PhoneBook book = DecodePhoneBook(file, &extension);
    EXPECT_EQ(book.fileId, 0x6F3A);
    EXPECT_EQ(book.state, FileState::Read);
    struct Want {
        unsigned record;
        const char* name;
        const char* number;
        ExtensionState extension;
    };
    const std::vector<Want> want = {{1, "AB", "+1234", ExtensionState::None},
                                    {3, "AB", "1234", ExtensionState::None},
                                    {4, "", "+1234567890123456789055", ExtensionState::Complete},
                                    {5, "C", "", ExtensionState::None},
                                    {6, "D", "+1234", ExtensionState::None}};
    ASSERT_EQ(book.records.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(book.records[i].record, want[i].record);
        EXPECT_EQ(book.records[i].name, want[i].name);
        EXPECT_EQ(book.records[i].number, want[i].number);
        EXPECT_EQ(book.records[i].extension.state, want[i].extension);
    }
    EXPECT_TRUE(NeedsExtension(file));
    EXPECT_EQ(DecodePhoneBook(file, nullptr).records[2].number, "+12345678901234567890"); // no extension file
    EXPECT_EQ(DecodePhoneBook(file, nullptr).records[2].extension.state, ExtensionState::Missing);
    file.records.erase(file.records.begin() + 3);
    EXPECT_FALSE(NeedsExtension(file));
}

struct SpnCase {
    const char* hex;
    bool decoded;
    uint8_t condition;
    const char* name;
    bool networkNameAtHome;
    bool providerNameWhenRoaming;
};

void PrintTo(const SpnCase& c, std::ostream* os)
{
    *os << HexName(c.hex);
}

class ServiceProviderNameTest : public testing::TestWithParam<SpnCase> {};

TEST_P(ServiceProviderNameTest, Decodes)
{
    const SpnCase& c = GetParam();
    const Bytes data = Hex(c.hex);
    ServiceProviderName spn;
    ASSERT_EQ(DecodeServiceProviderName(data.data(), data.size(), spn), c.decoded);
    if (!c.decoded)
        return;
    EXPECT_EQ(spn.displayCondition, c.condition);
    EXPECT_EQ(spn.name.text, c.name);
    EXPECT_EQ(spn.NetworkNameAtHome(), c.networkNameAtHome);
    EXPECT_EQ(spn.ProviderNameWhenRoaming(), c.providerNameWhenRoaming);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ServiceProviderNameTest,
    testing::Values(SpnCase{"0147534d2d52204348ffffffffffffffff", true, 0x01, "GSM-R CH", true, true},
                    SpnCase{"02800041FFFF", true, 0x02, "A", false, false},
                    // Sixteen bytes of name at most: the seventeenth is not part of it.
                    SpnCase{"004141414141414141414141414141414142", true, 0x00, "AAAAAAAAAAAAAAAA", false, true},
                    SpnCase{"00", true, 0x00, "", false, true},
                    SpnCase{"FFFFFF", false, 0, "", false, false},
                    SpnCase{"", false, 0, "", false, false}));

} // namespace
