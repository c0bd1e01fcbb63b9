#include <gtest/gtest.h>

#include "TestBytes.h"
#include "tests/SimBytes.h"
#include "sim/DiallingNumbers.h"
#include "sim/ResultCodes.h"

namespace {

using sim_bytes::EfHeader;

DiallingNumberFile Geometry(uint16_t count, uint8_t length, bool enabled)
{
    DiallingNumberFile file;
    file.RecordCount = count;
    file.RecordLength = length;
    file.AlphaLength = static_cast<uint8_t>(length - 14);
    file.Enabled = enabled;
    return file;
}

// A geometry left from an earlier parse shows what a parse leaves alone.
const DiallingNumberFile Earlier = Geometry(3, 30, true);

struct HeaderCase {
    Bytes header;
    long result;
    DiallingNumberFile before;
    DiallingNumberFile after;
};

void PrintTo(const HeaderCase& c, std::ostream* os)
{
    *os << c.header.size() << " bytes record length " << (c.header.size() > 14 ? c.header[14] : 0);
}

class DiallingHeaderTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(DiallingHeaderTest, GivesGeometry)
{
    DiallingNumberFile file = GetParam().before;
    EXPECT_EQ(ParseDiallingFileHeader(GetParam().header, file), GetParam().result);
    EXPECT_EQ(file.RecordCount, GetParam().after.RecordCount);
    EXPECT_EQ(file.RecordLength, GetParam().after.RecordLength);
    EXPECT_EQ(file.AlphaLength, GetParam().after.AlphaLength);
    EXPECT_EQ(file.Enabled, GetParam().after.Enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, DiallingHeaderTest,
    testing::Values(HeaderCase{EfHeader(0x00FA, 28), 0, {}, Geometry(8, 28, true)}, // remainder dropped
                    HeaderCase{EfHeader(0x000E, 15), 0, {}, Geometry(0, 15, false)}, // smaller than one record
                    HeaderCase{EfHeader(0xFFFF, 15), 0, {}, Geometry(4369, 15, true)},
                    HeaderCase{EfHeader(0x00FF, 255), 0, {}, Geometry(1, 255, true)},
                    HeaderCase{EfHeader(0x00FA, 14), 0, {}, {}}, // unusable record length
                    HeaderCase{EfHeader(0x00FA, 0), 0, Earlier, Earlier},
                    HeaderCase{EfHeader(0x00FA, 28, 14), sc::Unexpected, Earlier, Earlier}, // wrong header length
                    HeaderCase{EfHeader(0x00FA, 28, 16), sc::Unexpected, Earlier, Earlier},
                    HeaderCase{Bytes{}, sc::Unexpected, {}, {}}));

// A 28-byte record: 14 bytes of alpha identifier, then the number fields.
Bytes Record(const std::string& alphaHex, const std::string& numberHex, size_t alphaLength = 14)
{
    Bytes record = Hex(alphaHex);
    record.resize(alphaLength, 0xFF);
    Bytes number = Hex(numberHex);
    number.resize(14, 0xFF);
    return Concat({record, number});
}

struct RecordCase {
    const char* what;
    Bytes record;
    size_t received; // bytes passed to the decoder
    uint8_t alphaLength;
    bool used;
    Bytes name;
    std::string number;
};

void PrintTo(const RecordCase& c, std::ostream* os)
{
    *os << c.what;
}

class DiallingRecordTest : public testing::TestWithParam<RecordCase> {};

TEST_P(DiallingRecordTest, DecodesNameAndNumber)
{
    const RecordCase& c = GetParam();
    ASSERT_LE(c.received, c.record.size());
    PhoneBookEntry entry{"old", "0"};
    EXPECT_EQ(DecodeDiallingRecord(c.record.data(), c.received, c.alphaLength, entry), c.used);
    if (c.used) {
        EXPECT_EQ(entry.first, Narrow(c.name));
        EXPECT_EQ(entry.second, c.number);
    }
}

const Bytes Abc = {'A', 'B', 'C'};
const std::string Digits = "07 91 44 97 21 43 65 F7";

INSTANTIATE_TEST_SUITE_P(
    Records, DiallingRecordTest,
    testing::Values(
        RecordCase{"international", Record("414243", Digits), 28, 14, true, Abc, "+44791234567"},
        RecordCase{"unknown_type", Record("414243", "07 81 44 97 21 43 65 F7"), 28, 14, true, Abc, "44791234567"},
        RecordCase{"empty_record_with_number", Record("FF4142", Digits), 28, 14, false, {}, ""},
        RecordCase{"no_bytes", Record("414243", Digits), 0, 14, false, {}, ""},
        RecordCase{"length_0", Record("414243", "00 91 44 97"), 28, 14, true, Abc, ""},
        RecordCase{"length_FF", Record("414243", "FF 91 44 97"), 28, 14, true, Abc, ""},
        RecordCase{"length_12", Record("414243", "0C 91 44 97"), 28, 14, true, Abc, ""},
        RecordCase{"length_11", Record("414243", "0B 81 21 43 65 87 09 21 43 65 87 09"), 28, 14, true, Abc,
                   "12345678901234567890"},
        RecordCase{"length_1_type_only", Record("414243", "01 91 44 97"), 28, 14, true, Abc, "+"},
        RecordCase{"name_end_marker", Record("4142202009 0D 80", Digits), 28, 14, true, {'A', 'B', 0x20, 0x20, 0xC7},
                   "+44791234567"}, // 0x09 is C cedilla in GSM, not a tab
        RecordCase{"name_end_marker_spaces", Record("41 42 20 0A 0D 20 80", Digits), 28, 14, true, {'A', 'B'},
                   "+44791234567"},
        RecordCase{"marker_not_last", Record("80 41 42", Digits), 28, 14, true, {0x80, 'A', 'B'}, "+44791234567"},
        RecordCase{"gsm_letters", Record("00 7B 5D 1E 41", Digits), 28, 14, true, {0x40, 0xE4, 0xD1, 0xDF, 'A'},
                   "+44791234567"},
        RecordCase{"no_alpha", Record("", "03 91 21 43", 0), 14, 0, true, {}, "+1234"},
        RecordCase{"short_in_digits", Record("414243", Digits), 17, 14, true, Abc, "+44"},
        RecordCase{"short_before_type", Record("414243", Digits), 15, 14, true, Abc, ""},
        RecordCase{"short_alpha_only", Record("414243", Digits), 14, 14, true, Abc, ""},
        RecordCase{"short_in_alpha", Record("41424344", Digits), 2, 14, true, {'A', 'B'}, ""}));

} // namespace
