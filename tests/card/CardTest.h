// Shared set-up of the card tests: a fresh PC/SC test double for every test,
// its failures reported as test failures, and the whole script sent.
#pragma once
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "FakePcsc.h"
#include "card/CardReaderList.h"
#include "card/ResultText.h"
#include "tests/SimBytes.h"

// A table row prints as its name, so test names stay readable and stable.
#define CARD_TEST_PRINTS_NAME(Case)                                                                                    \
    [[maybe_unused]] void PrintTo(const Case& c, std::ostream* os)                                                     \
    {                                                                                                                  \
        *os << c.name;                                                                                                 \
    }

namespace card_test {

using fake_pcsc::Bytes;
using sim_bytes::Filled;
using sim_bytes::WithSw;

inline Bytes H(const std::string& hex)
{
    return fake_pcsc::FromHex(hex);
}

// A result as text in failure messages.
inline std::string R(long result)
{
    return PcscResultText(result);
}

class CardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake_pcsc::SetFailureHandler([](const std::string& message) { ADD_FAILURE() << message; });
        fake_pcsc::Reset();
    }

    void TearDown() override
    {
        fake_pcsc::ExpectScriptDone();
        fake_pcsc::SetFailureHandler({});
    }
};

// One reader "Reader 0" with a card, listed and connected with T=0; the call
// log is cleared so that a test sees only its own calls.
class ConnectedCardTest : public CardTest {
protected:
    void SetUp() override
    {
        CardTest::SetUp();
        fake_pcsc::SetReaders({"Reader 0"});
        ASSERT_EQ(list.ListReaders(), 0);
        reader = list.GetReader(0);
        ASSERT_NE(reader, nullptr);
        ASSERT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0);
        fake_pcsc::ClearCalls();
    }

    // "SCardTransmit(card#1, pci=T0, recvPci=null, recvLength=255, <command>)"
    static std::string TransmitText(const std::string& command)
    {
        return "SCardTransmit(card#1, pci=T0, recvPci=null, recvLength=255, " + command + ")";
    }

    CCardReaderList list;
    CCardReader* reader = nullptr;
};

} // namespace card_test
