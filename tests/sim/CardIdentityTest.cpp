#include <gtest/gtest.h>

#include "TestBytes.h"
#include "sim/CardIdentity.h"
#include "sim/SimFiles.h"

namespace {

TEST(IccIdText, ShowsAllDigitsOrDropsFiller)
{
    const Bytes full = Hex("98103254769810325476");
    EXPECT_EQ(IccIdText(full.data(), full.size()), "89012345678901234567");
    const Bytes filler = Hex("988812010000400310F0");
    EXPECT_EQ(IccIdText(filler.data(), filler.size()), "8988211000000430010");
}

struct ReadLengthCase {
    uint16_t fileSize;
    unsigned readLength;
};

void PrintTo(const ReadLengthCase& c, std::ostream* os)
{
    *os << "size " << c.fileSize;
}

class ImsiReadLengthTest : public testing::TestWithParam<ReadLengthCase> {};

TEST_P(ImsiReadLengthTest, UsesLowByteButNeverZero)
{
    EXPECT_EQ(ImsiReadLength(GetParam().fileSize), GetParam().readLength);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ImsiReadLengthTest,
                         testing::Values(ReadLengthCase{0, 0}, ReadLengthCase{1, 0}, ReadLengthCase{2, 2},
                                         ReadLengthCase{9, 9}, ReadLengthCase{255, 255},
                                         ReadLengthCase{256, 0}, // low byte 0: nothing to read
                                         ReadLengthCase{512, 0}, ReadLengthCase{265, 9},
                                         ReadLengthCase{0xFFFF, 255}));

struct ImsiCase {
    const char* hex;
    size_t count; // bytes actually read
    const char* imsi;
};

void PrintTo(const ImsiCase& c, std::ostream* os)
{
    *os << c.hex << " read " << c.count;
}

class ImsiTextTest : public testing::TestWithParam<ImsiCase> {};

TEST_P(ImsiTextTest, SkipsLengthAndParityDigit)
{
    const Bytes bytes = Hex(GetParam().hex);
    EXPECT_EQ(ImsiText(bytes.data(), GetParam().count), GetParam().imsi);
}

INSTANTIATE_TEST_SUITE_P(Files, ImsiTextTest,
                         testing::Values(ImsiCase{"082926101160845740", 9, "262011106487504"},
                                         ImsiCase{"082926101160845740", 3, "262"}, // short read: those bytes only
                                         ImsiCase{"08F9FFFFFFFFFFFFFF", 9, ""},     // only the parity digit
                                         ImsiCase{"0829", 1, ""}, ImsiCase{"08", 0, ""}));

struct PinTextCase {
    PinStatus status;
    const char* pin1;
    const char* pin2;
};

void PrintTo(const PinTextCase& c, std::ostream* os)
{
    *os << c.pin1 << " / " << c.pin2;
}

class PinTextTest : public testing::TestWithParam<PinTextCase> {};

TEST_P(PinTextTest, ShowsStateAndTries)
{
    EXPECT_EQ(Pin1StateText(GetParam().status), GetParam().pin1);
    EXPECT_EQ(Pin2StateText(GetParam().status), GetParam().pin2);
}

INSTANTIATE_TEST_SUITE_P(
    States, PinTextTest,
    testing::Values(PinTextCase{{true, true, 3, 10}, "Enabled and 3 tries left.", "Enabled and 10 tries left."},
                    PinTextCase{{false, false, 3, 3}, "Disabled", "Disabled"}, // PIN2 data absent
                    PinTextCase{{true, true, 0, 0}, "Enabled and 0 tries left.", "Enabled and 0 tries left."}));

struct PinNeedCase {
    PinStatus status;
    int32_t readAccess;
    bool needs;
    bool blocked;
};

void PrintTo(const PinNeedCase& c, std::ostream* os)
{
    *os << "enabled " << c.status.pin1Enabled << " tries " << c.status.pin1TriesLeft << " access "
        << c.readAccess;
}

class PinNeedTest : public testing::TestWithParam<PinNeedCase> {};

TEST_P(PinNeedTest, NeedsPin1OnlyForChv1Files)
{
    EXPECT_EQ(NeedsPin1(GetParam().status, GetParam().readAccess), GetParam().needs);
    EXPECT_EQ(IsPin1Blocked(GetParam().status, GetParam().readAccess), GetParam().blocked);
}

INSTANTIATE_TEST_SUITE_P(Rules, PinNeedTest,
                         testing::Values(PinNeedCase{{true, false, 3, 0}, simfile::AccessPin1, true, false},
                                         PinNeedCase{{true, false, 0, 0}, simfile::AccessPin1, true, true},
                                         PinNeedCase{{false, false, 0, 0}, simfile::AccessPin1, false, false},
                                         PinNeedCase{{true, false, 0, 0}, simfile::AccessAlways, false, false},
                                         PinNeedCase{{true, false, 0, 0}, simfile::AccessPin2, false, false},
                                         PinNeedCase{{true, false, 0, 0}, simfile::AccessOther, false, false}));

} // namespace
