#include <gtest/gtest.h>

#include "TestBytes.h"
#include "tests/SimBytes.h"
#include "sim/PinStatus.h"

namespace {

struct SecondLengthCase {
    uint8_t gsmDataLength; // byte 12 of the first answer
    bool accepted;
    uint8_t length;
};

void PrintTo(const SecondLengthCase& c, std::ostream* os)
{
    *os << "GSM data length " << unsigned{c.gsmDataLength};
}

class SecondStatusLengthTest : public testing::TestWithParam<SecondLengthCase> {};

TEST_P(SecondStatusLengthTest, AddsGsmDataWithoutWrap)
{
    Bytes first(13, 0x00);
    first[12] = GetParam().gsmDataLength;
    uint8_t length = 0xAA;
    EXPECT_EQ(SecondStatusLength(first.data(), first.size(), length), GetParam().accepted);
    EXPECT_EQ(length, GetParam().accepted ? GetParam().length : 0xAA);
}

INSTANTIATE_TEST_SUITE_P(Lengths, SecondStatusLengthTest,
                         testing::Values(SecondLengthCase{0x09, true, 22}, SecondLengthCase{0x0A, true, 23},
                                         SecondLengthCase{0x06, true, 19},  // just holds CHV1 status
                                         SecondLengthCase{0x05, false, 0},  // cannot hold byte 18
                                         SecondLengthCase{0x00, false, 0},
                                         SecondLengthCase{0xF2, true, 255}, // largest P3
                                         SecondLengthCase{0xF3, false, 0},  // would wrap to 0
                                         SecondLengthCase{0xFF, false, 0})); // would wrap to 12

TEST(SecondStatusLength, RefusesAnswerWithoutByte12)
{
    const Bytes first(12, 0x09);
    uint8_t length = 0;
    EXPECT_FALSE(SecondStatusLength(first.data(), first.size(), length));
    EXPECT_FALSE(SecondStatusLength(nullptr, 0, length));
}

using sim_bytes::DirectoryStatus;

struct DecodeCase {
    Bytes data;
    bool decoded;
    PinStatus expected;
};

void PrintTo(const DecodeCase& c, std::ostream* os)
{
    *os << c.data.size() << " bytes";
}

class DecodePinStatusTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodePinStatusTest, ReadsChvBytes)
{
    PinStatus status{true, true, 9, 9};
    const PinStatus before = status;
    EXPECT_EQ(DecodePinStatus(GetParam().data.data(), GetParam().data.size(), status), GetParam().decoded);
    const PinStatus& want = GetParam().decoded ? GetParam().expected : before;
    EXPECT_EQ(status.pin1Enabled, want.pin1Enabled);
    EXPECT_EQ(status.pin2Known, want.pin2Known);
    EXPECT_EQ(status.pin1TriesLeft, want.pin1TriesLeft);
    EXPECT_EQ(status.pin2TriesLeft, want.pin2TriesLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Responses, DecodePinStatusTest,
    testing::Values(DecodeCase{DirectoryStatus(22, 0x01, 0x83, 0x8A), true, {true, true, 3, 10}},
                    DecodeCase{DirectoryStatus(22, 0x81, 0x83, 0x83), true, {false, true, 3, 3}}, // CHV1 disabled
                    DecodeCase{DirectoryStatus(23, 0x00, 0x80, 0x00), true, {true, true, 0, 0}},  // blocked
                    DecodeCase{DirectoryStatus(21, 0x00, 0x02, 0x03), true, {true, false, 2, 0}}, // no CHV2 data
                    DecodeCase{DirectoryStatus(19, 0x00, 0x01, 0x00), true, {true, false, 1, 0}},
                    DecodeCase{DirectoryStatus(18, 0x00, 0x00, 0x00), false, {}}, // no CHV1 status
                    DecodeCase{Bytes{}, false, {}}));

} // namespace
