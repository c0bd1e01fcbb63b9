// The PC/SC values that WinSCard and pcsc-lite encode differently.
#include <gtest/gtest.h>

#include "tools/pcsc-bridge/host/WindowsValues.h"

using namespace windows_values;

TEST(WindowsValuesTest, ProtocolMasks)
{
    struct Case {
        uint32_t windows;
        uint32_t pcscLite;
    };
    const Case cases[] = {
        {0x0, 0x0}, {0x1, 0x1}, {0x2, 0x2}, {0x3, 0x3}, {0x10000, 0x4}, {0x10001, 0x5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProtocolsToPcscLite(c.windows), c.pcscLite) << c.windows;
        EXPECT_EQ(ProtocolsFromPcscLite(c.pcscLite), c.windows) << c.pcscLite;
    }
}

TEST(WindowsValuesTest, CardStateBecomesTheMostAdvancedOrdinal)
{
    struct Case {
        uint32_t pcscLite;
        uint32_t windows;
    };
    const Case cases[] = {
        {0x0000, 0}, {0x0001, 0}, {0x0002, 1}, {0x0004, 2}, {0x000C, 3},
        {0x0014, 4}, {0x0034, 5}, {0x0074, 6}, {0x0054, 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CardStateFromPcscLite(c.pcscLite), c.windows) << c.pcscLite;
}
