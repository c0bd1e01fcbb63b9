// CCardReader: presence, connect with reset, disconnect and transactions.
#include <string>
#include <vector>

#include "CardTest.h"
#include "sim/ResultCodes.h"

namespace card_test {
namespace {

const long NoSmartcard = static_cast<long>(0x8010000CUL);
const long RemovedCard = static_cast<long>(0x80100069UL);
const long NoService = static_cast<long>(0x8010001DUL);
const long Timeout = static_cast<long>(0x8010000AUL);

const std::string StatusChange =
    "SCardGetStatusChange(ctx#1, timeout=0, readers=[\"Reader 0\" current=0x0], count=1)";
const std::string ConnectT0 = "SCardConnect(ctx#1, reader=\"Reader 0\", share=2, protocols=1)";
const std::string ReconnectT0 = "SCardReconnect(card#1, share=2, protocols=1, init=1)";

// One listed reader "Reader 0" holding a card, not connected.
class ReaderTest : public CardTest {
protected:
    void SetUp() override
    {
        CardTest::SetUp();
        fake_pcsc::SetReaders({"Reader 0"});
        ASSERT_EQ(list.ListReaders(), 0);
        reader = list.GetReader(0);
        ASSERT_NE(reader, nullptr);
        fake_pcsc::ClearCalls();
    }

    CCardReaderList list;
    CCardReader* reader = nullptr;
};

struct PresenceCase {
    const char* name;
    void (*arrange)();
    bool present;
};
CARD_TEST_PRINTS_NAME(PresenceCase)

class PresenceTest : public ReaderTest, public ::testing::WithParamInterface<PresenceCase> {};

TEST_P(PresenceTest, IsTrueOnlyForAReportedCard)
{
    GetParam().arrange();
    EXPECT_EQ(reader->IsCardPresent(), GetParam().present);
    EXPECT_EQ(fake_pcsc::CallTexts(), std::vector<std::string>{StatusChange});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PresenceTest,
    ::testing::Values(PresenceCase{"card", [] {}, true},
                      PresenceCase{"empty", [] { fake_pcsc::SetCardPresent("Reader 0", false); }, false},
                      PresenceCase{"unplugged", [] { fake_pcsc::RemoveReader("Reader 0"); }, false},
                      PresenceCase{"no_service", [] { fake_pcsc::FailGetStatusChange(NoService); }, false},
                      PresenceCase{"timeout", [] { fake_pcsc::FailGetStatusChange(Timeout); }, false},
                      PresenceCase{"context_gone", [] { fake_pcsc::InvalidateContexts(); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReaderTest, ConnectsSharedAndResetsTheCard)
{
    EXPECT_EQ(reader->GetCardHandle(), 0u);
    EXPECT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0);
    EXPECT_NE(reader->GetCardHandle(), 0u);
    EXPECT_EQ(fake_pcsc::CallTexts(), (std::vector<std::string>{ConnectT0, ReconnectT0}));
}

TEST_F(ReaderTest, ReconnectUsesTheProtocolTheConnectReturned)
{
    fake_pcsc::SetActiveProtocol(SCARD_PROTOCOL_T1);
    EXPECT_EQ(reader->Connect(SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1), 0);
    EXPECT_EQ(fake_pcsc::CallTexts(),
              (std::vector<std::string>{"SCardConnect(ctx#1, reader=\"Reader 0\", share=2, protocols=3)",
                                        "SCardReconnect(card#1, share=2, protocols=2, init=1)"}));
}

TEST_F(ReaderTest, ConnectOnAConnectedReaderOnlyResets)
{
    ASSERT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0);
    const SCARDHANDLE first = reader->GetCardHandle();
    fake_pcsc::ClearCalls();

    EXPECT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0);

    EXPECT_EQ(reader->GetCardHandle(), first);
    EXPECT_EQ(fake_pcsc::CallTexts(), std::vector<std::string>{ReconnectT0});
    EXPECT_EQ(fake_pcsc::OpenCardCount(), 1u);
}

struct ConnectFailureCase {
    const char* name;
    void (*arrange)();
    long result;
    bool keepsHandle;
    std::vector<std::string> calls;
};
CARD_TEST_PRINTS_NAME(ConnectFailureCase)

class ConnectFailureTest : public ReaderTest, public ::testing::WithParamInterface<ConnectFailureCase> {};

TEST_P(ConnectFailureTest, ReturnsTheErrorAndKeepsTheHandleAsTheCallLeftIt)
{
    const ConnectFailureCase& c = GetParam();
    c.arrange();
    const long result = reader->Connect(SCARD_PROTOCOL_T0);
    EXPECT_EQ(result, c.result) << R(result);
    EXPECT_EQ(reader->GetCardHandle() != 0, c.keepsHandle);
    EXPECT_EQ(fake_pcsc::CallTexts(), c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConnectFailureTest,
    ::testing::Values(
        ConnectFailureCase{"no_card", [] { fake_pcsc::SetCardPresent("Reader 0", false); }, NoSmartcard, false,
                           {ConnectT0}},
        ConnectFailureCase{"connect_fails", [] { fake_pcsc::FailConnect(NoService); }, NoService, false,
                           {ConnectT0}},
        ConnectFailureCase{"protocol_mismatch", [] { fake_pcsc::SetActiveProtocol(SCARD_PROTOCOL_T1); },
                           sc::ProtoMismatch, false, {ConnectT0}},
        ConnectFailureCase{"reconnect_fails", [] { fake_pcsc::FailReconnect(RemovedCard); }, RemovedCard, true,
                           {ConnectT0, ReconnectT0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReaderTest, DisconnectResetsOnceAndForgetsTheHandle)
{
    ASSERT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0);
    fake_pcsc::ClearCalls();

    reader->Disconnect();
    reader->Disconnect(); // not connected any more: nothing sent

    EXPECT_EQ(reader->GetCardHandle(), 0u);
    EXPECT_EQ(fake_pcsc::CallTexts(), std::vector<std::string>{"SCardDisconnect(card#1, disposition=1)"});
}

TEST_F(ReaderTest, DisconnectIgnoresAnError)
{
    ASSERT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0);
    fake_pcsc::SetCardPresent("Reader 0", false);
    fake_pcsc::FailDisconnect(static_cast<long>(0x80100069UL)); // SCARD_W_REMOVED_CARD
    fake_pcsc::ClearCalls();
    reader->Disconnect();
    ASSERT_EQ(fake_pcsc::Calls().size(), 1u);
    EXPECT_EQ(fake_pcsc::Calls()[0].Text(), "SCardDisconnect(card#1, disposition=1)");
    EXPECT_EQ(fake_pcsc::Calls()[0].result, static_cast<long>(0x80100069UL));
    EXPECT_EQ(reader->GetCardHandle(), 0u);
    // A new connection after the card came back starts from scratch.
    fake_pcsc::FailDisconnect(0);
    fake_pcsc::SetCardPresent("Reader 0", true);
    fake_pcsc::ClearCalls();
    EXPECT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0);
    EXPECT_EQ(fake_pcsc::CallNames(), (std::vector<std::string>{"SCardConnect", "SCardReconnect"}));
}

TEST_F(ReaderTest, TransactionsUseTheCardHandleAndLeaveTheCard)
{
    ASSERT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0);
    fake_pcsc::ClearCalls();

    EXPECT_EQ(reader->BeginTransaction(), 0);
    EXPECT_EQ(reader->EndTransaction(), 0);

    EXPECT_EQ(fake_pcsc::CallTexts(), (std::vector<std::string>{"SCardBeginTransaction(card#1)",
                                                                "SCardEndTransaction(card#1, disposition=0)"}));
}

TEST_F(ReaderTest, TransactionErrorsPassUp)
{
    ASSERT_EQ(reader->Connect(SCARD_PROTOCOL_T0), 0);
    fake_pcsc::SetCardPresent("Reader 0", false);
    EXPECT_EQ(reader->BeginTransaction(), RemovedCard);
    EXPECT_EQ(reader->EndTransaction(), RemovedCard);
}

#ifdef _WIN32
#define READER_TEXT(text) L##text
#else
#define READER_TEXT(text) text
#endif

TEST_F(CardTest, DestroyingAConnectedReaderDisconnectsWithResetAndKeepsTheContext)
{
    fake_pcsc::SetReaders({"Reader 0"});
    SCARDCONTEXT context = 0;
    ASSERT_EQ(SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context), 0);
    {
        CCardReader reader(context, READER_TEXT("Reader 0"));
        ASSERT_EQ(reader.Connect(SCARD_PROTOCOL_T0), 0);
        fake_pcsc::ClearCalls();
    }
    EXPECT_EQ(fake_pcsc::CallTexts(), std::vector<std::string>{"SCardDisconnect(card#1, disposition=1)"});
    EXPECT_EQ(fake_pcsc::OpenContextCount(), 1u);
    EXPECT_EQ(SCardReleaseContext(context), 0);
}

} // namespace
} // namespace card_test
