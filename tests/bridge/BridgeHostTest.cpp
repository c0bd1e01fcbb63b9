// The bridge host against a private pcscd with two virtual readers: the
// token hand-shake, real calls, damaged and oversized frames, clients that
// vanish or stop reading, clients that compete for one card, and cancels.
#include <gtest/gtest.h>

#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "BridgeClient.h"
#include "BridgeRig.h"
#include "VirtualCard.h"

using namespace bridge;
using namespace std::chrono_literals;

namespace {

constexpr uint32_t kStatePresent = 0x20;
constexpr uint32_t kStateEmpty = 0x10;
constexpr uint32_t kProtocolT0 = 1;
constexpr uint32_t kResultResetCard = 0x80100068; // SCARD_W_RESET_CARD
constexpr uint32_t kLeaveCard = 0;
// Hang guard for waits that must end; never what a test measures.
constexpr auto kHangGuard = 10s;

class BridgeHostTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_rig = new BridgeRig();
        if (s_rig->Failure().empty())
            s_card = new VirtualCard(s_rig->VpcdPort(0));
    }

    static void TearDownTestSuite()
    {
        delete s_card;
        delete s_rig;
        s_card = nullptr;
        s_rig = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_rig->Failure().empty()) << s_rig->Failure();
        ASSERT_TRUE(s_card->Inserted());
        ASSERT_TRUE(s_rig->WaitForCard(0)) << "the virtual card never showed as present";
    }

    // A client that has presented the host's token.
    static std::unique_ptr<BridgeClient> NewClient(int receiveBuffer = 0)
    {
        auto client = std::make_unique<BridgeClient>(s_rig->HostPort(), &s_rig->Token(), receiveBuffer);
        EXPECT_TRUE(client->Connected()) << "the host refused its own token";
        return client;
    }

    // A connection that has not presented the token (yet).
    static std::unique_ptr<BridgeClient> NewStranger()
    {
        auto client = std::make_unique<BridgeClient>(s_rig->HostPort());
        EXPECT_TRUE(client->Connected());
        client->SetReceiveTimeout(10); // hang guard, far above the host's hand-shake time
        return client;
    }

    static uint32_t ReaderState(BridgeClient& client, uint32_t context, const std::string& reader)
    {
        GetStatusChangeRequest request;
        request.context = context;
        request.timeout = 0;
        request.states = {{reader, 0}};
        GetStatusChangeReply reply;
        if (client.Call(request, reply) != 0 || reply.states.size() != 1)
            return 0;
        return reply.states[0].eventState;
    }

    static BridgeRig* s_rig;
    static VirtualCard* s_card;
};

BridgeRig* BridgeHostTest::s_rig = nullptr;
VirtualCard* BridgeHostTest::s_card = nullptr;

std::vector<uint8_t> BodyWithHeader(uint16_t version, Call call, const std::vector<uint8_t>& fields)
{
    const uint16_t id = static_cast<uint16_t>(call);
    std::vector<uint8_t> body;
    body.push_back(static_cast<uint8_t>(version));
    body.push_back(static_cast<uint8_t>(version >> 8));
    body.push_back(static_cast<uint8_t>(id));
    body.push_back(static_cast<uint8_t>(id >> 8));
    for (uint8_t byte : fields)
        body.push_back(byte);
    return body;
}

std::vector<uint8_t> FrameOf(const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> frame;
    for (int i = 0; i < 4; ++i)
        frame.push_back(static_cast<uint8_t>(body.size() >> (8 * i)));
    frame.insert(frame.end(), body.begin(), body.end());
    return frame;
}

// After a client lost its card (connection gone or dropped), the card was
// reset: the waiting client learns of the reset, reconnects and gets it.
void ExpectCardTakenOver(BridgeClient& client, uint32_t card, std::future<uint32_t>& waiting)
{
    ASSERT_EQ(waiting.wait_for(kHangGuard), std::future_status::ready) << "the card was never released";
    uint32_t result = waiting.get();
    ASSERT_TRUE(result == 0 || result == kResultResetCard) << std::hex << result;
    if (result == kResultResetCard) {
        ReconnectReply reconnect;
        ASSERT_EQ(client.Call(ReconnectRequest{card, 2, kProtocolT0, kLeaveCard}, reconnect), 0u);
        ASSERT_EQ(client.BeginTransaction(card), 0u);
    }
    EXPECT_EQ(client.EndTransaction(card), 0u);
}

uint32_t ErrorResult(const std::optional<std::vector<uint8_t>>& body)
{
    if (!body)
        return 0;
    // Any reply type takes an error reply's result; a Transmit reply is never sent here.
    TransmitReply reply;
    if (DecodeReply(body->data(), body->size(), reply) != DecodeStatus::Ok)
        return 0;
    return reply.result;
}

} // namespace

TEST_F(BridgeHostTest, ListsReadersConnectsAndExchangesCommands)
{
    auto client = NewClient();
    uint32_t context = client->EstablishContext();
    ASSERT_NE(context, 0u);

    IsValidContextReply valid;
    EXPECT_EQ(client->Call(IsValidContextRequest{context}, valid), 0u);

    ListReadersReply list;
    ASSERT_EQ(client->Call(ListReadersRequest{context}, list), 0u);
    EXPECT_EQ(list.readers, (std::vector<std::string>{s_rig->ReaderName(0), s_rig->ReaderName(1)}));

    uint32_t card = 0;
    ASSERT_EQ(client->Connect(context, s_rig->ReaderName(0), card), 0u);
    ReconnectReply reconnect;
    ASSERT_EQ(client->Call(ReconnectRequest{card, 2, kProtocolT0, 1}, reconnect), 0u);
    EXPECT_EQ(reconnect.activeProtocol, kProtocolT0);
    ASSERT_EQ(client->BeginTransaction(card), 0u);

    struct Exchange {
        std::vector<uint8_t> command;
        uint32_t receiveCapacity;
        uint32_t expectedResult;
    };
    const std::vector<uint8_t> readTwo = {0xA0, 0xB0, 0x07, 0x00, 0x02};
    const std::vector<uint8_t> readFull = {0xA0, 0xB0, 0x00, 0x00, 0x00};
    const Exchange exchanges[] = {
        {{0xA0, 0xA4, 0x00, 0x00, 0x02, 0x3F, 0x00}, 255, 0},
        {readTwo, 255, 0},
        {readFull, kMaxApduSize, 0}, // 256 data bytes and the status word
        {{0xA0, 0xFF, 0x00, 0x00, 0x00}, 255, 0},
        {readTwo, 3, 0x80100008}, // too little room: SCARD_E_INSUFFICIENT_BUFFER
    };
    for (const Exchange& e : exchanges) {
        TransmitRequest request;
        request.card = card;
        request.protocol = kProtocolT0;
        request.command = e.command;
        request.receiveCapacity = e.receiveCapacity;
        TransmitReply reply;
        ASSERT_EQ(client->Call(request, reply), e.expectedResult);
        if (e.expectedResult == 0)
            EXPECT_EQ(reply.response, VirtualCard::Respond(e.command));
        else
            EXPECT_TRUE(reply.response.empty());
    }

    StatusReply status;
    ASSERT_EQ(client->Call(StatusRequest{card}, status), 0u);
    EXPECT_EQ(status.readers, std::vector<std::string>{s_rig->ReaderName(0)});
    EXPECT_EQ(status.atr, VirtualCard::kAtr);
    EXPECT_EQ(status.protocol, kProtocolT0);
    // The Windows ordinal of a powered card: negotiable (5) or specific (6).
    EXPECT_TRUE(status.state == 5u || status.state == 6u) << status.state;

    EXPECT_EQ(client->EndTransaction(card), 0u);
    DisconnectReply disconnect;
    EXPECT_EQ(client->Call(DisconnectRequest{card, 1}, disconnect), 0u);
    ReleaseContextReply release;
    EXPECT_EQ(client->Call(ReleaseContextRequest{context}, release), 0u);
    EXPECT_NE(client->Call(IsValidContextRequest{context}, valid), 0u);
}

TEST_F(BridgeHostTest, StatusChangeReportsAtrAndEmptyReader)
{
    auto client = NewClient();
    uint32_t context = client->EstablishContext();
    GetStatusChangeRequest request;
    request.context = context;
    request.timeout = 0;
    request.states = {{s_rig->ReaderName(0), 0}, {s_rig->ReaderName(1), 0}};
    GetStatusChangeReply reply;
    ASSERT_EQ(client->Call(request, reply), 0u);
    ASSERT_EQ(reply.states.size(), 2u);
    EXPECT_TRUE(reply.states[0].eventState & kStatePresent);
    EXPECT_EQ(reply.states[0].atr, VirtualCard::kAtr);
    EXPECT_TRUE(reply.states[1].eventState & kStateEmpty);
    EXPECT_FALSE(reply.states[1].eventState & kStatePresent);

    // Nothing changes on the empty reader: a short wait times out.
    request.states = {{s_rig->ReaderName(1), reply.states[1].eventState}};
    request.timeout = 50;
    EXPECT_EQ(client->Call(request, reply), kResultTimeout);
}

TEST_F(BridgeHostTest, DamagedRequestsGetAnErrorAndTheConnectionStaysUsable)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> body;
        uint32_t expected;
    };
    std::vector<uint8_t> longApdu = {1, 0, 0, 0, 1, 0, 0, 0, 0x05, 0x01}; // card, protocol, length 261
    longApdu.insert(longApdu.end(), 261, 0);
    longApdu.insert(longApdu.end(), {255, 0, 0, 0});
    std::vector<uint8_t> manyStates = {1, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF}; // 65535 reader states
    const Case cases[] = {
        {"truncated field", BodyWithHeader(kVersion, Call::EstablishContext, {0, 0}), kResultInvalidParameter},
        {"trailing bytes", BodyWithHeader(kVersion, Call::EstablishContext, {0, 0, 0, 0, 9}), kResultInvalidParameter},
        {"unknown call", BodyWithHeader(kVersion, static_cast<Call>(77), {}), kResultUnsupportedFeature},
        {"other version", BodyWithHeader(kVersion + 1, Call::EstablishContext, {0, 0, 0, 0}),
         kResultUnsupportedFeature},
        {"APDU above the bound", BodyWithHeader(kVersion, Call::Transmit, longApdu), kResultInvalidParameter},
        {"reader states above the bound", BodyWithHeader(kVersion, Call::GetStatusChange, manyStates),
         kResultInvalidParameter},
        {"name length beyond the body", BodyWithHeader(kVersion, Call::Connect, {1, 0, 0, 0, 0xFF, 0x00, 'R'}),
         kResultInvalidParameter},
    };
    auto client = NewClient();
    for (const Case& c : cases) {
        ASSERT_TRUE(client->SendRaw(FrameOf(c.body))) << c.what;
        EXPECT_EQ(ErrorResult(client->ReceiveBody()), c.expected) << c.what;
    }
    EXPECT_NE(client->EstablishContext(), 0u) << "the connection must still serve calls";
}

TEST_F(BridgeHostTest, ImpossibleFrameLengthIsRefusedAndTheConnectionClosed)
{
    const uint32_t lengths[] = {0, 3, kMaxBodySize + 1, 0xFFFFFFFF};
    for (uint32_t length : lengths) {
        auto client = NewClient();
        std::vector<uint8_t> header;
        for (int i = 0; i < 4; ++i)
            header.push_back(static_cast<uint8_t>(length >> (8 * i)));
        ASSERT_TRUE(client->SendRaw(header));
        EXPECT_EQ(ErrorResult(client->ReceiveBody()), kResultInvalidParameter) << length;
        EXPECT_TRUE(client->ClosedByHost()) << length;
    }
    // The host itself is unharmed.
    auto client = NewClient();
    EXPECT_NE(client->EstablishContext(), 0u);
}

TEST_F(BridgeHostTest, ClientGoneInTheMiddleOfAFrameIsForgotten)
{
    {
        auto client = NewClient();
        std::vector<uint8_t> frame = *EncodeFrame(EstablishContextRequest{0});
        frame.resize(frame.size() - 2);
        ASSERT_TRUE(client->SendRaw(frame));
    }
    auto client = NewClient();
    EXPECT_NE(client->EstablishContext(), 0u);
}

TEST_F(BridgeHostTest, FrameThatStopsHalfWayGetsAnErrorAndTheConnectionClosed)
{
    const std::vector<uint8_t> frame = *EncodeFrame(EstablishContextRequest{0});
    const size_t cuts[] = {1, kFrameHeaderSize - 1, kFrameHeaderSize, frame.size() - 1};
    for (size_t cut : cuts) {
        auto client = NewClient();
        client->SetReceiveTimeout(10); // hang guard, far above the host's frame time-out
        ASSERT_TRUE(client->SendRaw(std::vector<uint8_t>(frame.begin(), frame.begin() + static_cast<long>(cut))));
        EXPECT_EQ(ErrorResult(client->ReceiveBody()), kResultInvalidParameter) << "cut at " << cut;
        EXPECT_TRUE(client->ClosedByHost()) << "cut at " << cut;
    }
    // An idle client that has presented its token is not dropped.
    auto idle = NewClient();
    std::this_thread::sleep_for(std::chrono::milliseconds(2 * BridgeRig::kFrameTimeoutMs));
    EXPECT_NE(idle->EstablishContext(), 0u);
}

TEST_F(BridgeHostTest, HandlesOfAnotherClientAreRefused)
{
    auto owner = NewClient();
    auto other = NewClient();
    uint32_t context = owner->EstablishContext();
    uint32_t card = 0;
    ASSERT_EQ(owner->Connect(context, s_rig->ReaderName(0), card), 0u);

    IsValidContextReply valid;
    EXPECT_EQ(other->Call(IsValidContextRequest{context}, valid), kResultInvalidHandle);
    uint32_t stolen = 0;
    EXPECT_EQ(other->Connect(context, s_rig->ReaderName(0), stolen), kResultInvalidHandle);
    EXPECT_EQ(other->BeginTransaction(card), kResultInvalidHandle);
    TransmitRequest transmit;
    transmit.card = card;
    transmit.protocol = kProtocolT0;
    transmit.command = {0xA0, 0xF2, 0x00, 0x00, 0x0D};
    transmit.receiveCapacity = 255;
    TransmitReply reply;
    EXPECT_EQ(other->Call(transmit, reply), kResultInvalidHandle);
    ReleaseContextReply release;
    EXPECT_EQ(other->Call(ReleaseContextRequest{context}, release), kResultInvalidHandle);

    // The owner's handles still work.
    EXPECT_EQ(owner->Call(transmit, reply), 0u);
}

TEST_F(BridgeHostTest, TransactionExcludesTheSecondClientUntilTheFirstEndsIt)
{
    auto first = NewClient();
    auto second = NewClient();
    uint32_t firstCard = 0;
    uint32_t secondCard = 0;
    ASSERT_EQ(first->Connect(first->EstablishContext(), s_rig->ReaderName(0), firstCard), 0u);
    ASSERT_EQ(second->Connect(second->EstablishContext(), s_rig->ReaderName(0), secondCard), 0u);
    ASSERT_EQ(first->BeginTransaction(firstCard), 0u);

    std::mutex mutex;
    std::vector<std::string> events;
    auto record = [&](const char* event) {
        std::lock_guard<std::mutex> lock(mutex);
        events.push_back(event);
    };
    auto waiting = std::async(std::launch::async, [&] {
        uint32_t result = second->BeginTransaction(secondCard);
        record("second has the card");
        return result;
    });
    // The first client keeps working with the card while the second waits.
    for (int i = 0; i < 5; ++i) {
        TransmitRequest transmit{firstCard, kProtocolT0, {0xA0, 0xB0, 0x00, 0x00, 0x01}, 255};
        TransmitReply reply;
        EXPECT_EQ(first->Call(transmit, reply), 0u);
        std::this_thread::sleep_for(40ms);
    }
    record("first ends");
    ASSERT_EQ(first->EndTransaction(firstCard), 0u);
    ASSERT_EQ(waiting.wait_for(kHangGuard), std::future_status::ready);
    EXPECT_EQ(waiting.get(), 0u);
    EXPECT_EQ(events, (std::vector<std::string>{"first ends", "second has the card"}));
    EXPECT_EQ(second->EndTransaction(secondCard), 0u);
}

TEST_F(BridgeHostTest, ClientGoneInTheMiddleOfATransactionReleasesTheCard)
{
    auto first = NewClient();
    auto second = NewClient();
    uint32_t firstCard = 0;
    uint32_t secondCard = 0;
    ASSERT_EQ(first->Connect(first->EstablishContext(), s_rig->ReaderName(0), firstCard), 0u);
    ASSERT_EQ(second->Connect(second->EstablishContext(), s_rig->ReaderName(0), secondCard), 0u);
    ASSERT_EQ(first->BeginTransaction(firstCard), 0u);

    auto waiting = std::async(std::launch::async, [&] { return second->BeginTransaction(secondCard); });
    std::this_thread::sleep_for(100ms);
    first->Close(); // the application is gone, its transaction never ended
    // The host resets the card of a vanished client (no PIN state survives it).
    ExpectCardTakenOver(*second, secondCard, waiting);
}

TEST_F(BridgeHostTest, ClientThatStopsReadingIsDroppedAndItsTransactionEnds)
{
    auto stalled = NewClient(4096); // small, so that the host's replies back up soon
    auto second = NewClient();
    second->SetReceiveTimeout(30); // a failure ends the waiting call instead of hanging
    uint32_t stalledContext = stalled->EstablishContext();
    uint32_t stalledCard = 0;
    uint32_t secondCard = 0;
    ASSERT_EQ(stalled->Connect(stalledContext, s_rig->ReaderName(0), stalledCard), 0u);
    ASSERT_EQ(second->Connect(second->EstablishContext(), s_rig->ReaderName(0), secondCard), 0u);
    ASSERT_EQ(stalled->BeginTransaction(stalledCard), 0u);

    auto waiting = std::async(std::launch::async, [&] { return second->BeginTransaction(secondCard); });
    // Requests with long replies, none of them read: the host's sends back up.
    GetStatusChangeRequest request;
    request.context = stalledContext;
    request.states.assign(kMaxReaderStates, ReaderStateIn{s_rig->ReaderName(0), 0});
    EXPECT_GT(stalled->SendWithoutReading(*EncodeFrame(request), 500ms), 0u);
    ExpectCardTakenOver(*second, secondCard, waiting);
}

TEST_F(BridgeHostTest, BlockingStatusChangeDoesNotStallOtherClients)
{
    auto waiter = NewClient();
    uint32_t waiterContext = waiter->EstablishContext();
    uint32_t emptyState = ReaderState(*waiter, waiterContext, s_rig->ReaderName(1));
    ASSERT_TRUE(emptyState & kStateEmpty);

    auto waiting = std::async(std::launch::async, [&] {
        GetStatusChangeRequest request;
        request.context = waiterContext;
        request.timeout = 0xFFFFFFFF;
        request.states = {{s_rig->ReaderName(1), emptyState}};
        GetStatusChangeReply reply;
        uint32_t result = waiter->Call(request, reply);
        return std::make_pair(result, reply.states.empty() ? 0u : reply.states[0].eventState);
    });

    // Another client is served while the first waits for ever.
    auto other = NewClient();
    uint32_t context = other->EstablishContext();
    ASSERT_NE(context, 0u);
    ListReadersReply list;
    EXPECT_EQ(other->Call(ListReadersRequest{context}, list), 0u);
    uint32_t card = 0;
    EXPECT_EQ(other->Connect(context, s_rig->ReaderName(0), card), 0u);
    EXPECT_EQ(waiting.wait_for(0ms), std::future_status::timeout) << "the wait ended without a change";

    // A card inserted into the second reader ends the wait.
    VirtualCard inserted(s_rig->VpcdPort(1));
    ASSERT_TRUE(inserted.Inserted());
    ASSERT_EQ(waiting.wait_for(kHangGuard), std::future_status::ready);
    auto [result, eventState] = waiting.get();
    EXPECT_EQ(result, 0u);
    EXPECT_TRUE(eventState & kStatePresent);
}

TEST_F(BridgeHostTest, BridgeFileIsOnlyItsOwnersToRead)
{
    const std::string file = s_rig->BridgeFile();
    const std::string directory = file.substr(0, file.rfind('/'));
    EXPECT_EQ(directory.rfind(s_rig->RuntimeDirectory() + "/", 0), 0u) << file << " is not under XDG_RUNTIME_DIR";
    struct stat info;
    ASSERT_EQ(lstat(directory.c_str(), &info), 0) << directory;
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    EXPECT_EQ(info.st_uid, geteuid());
    ASSERT_EQ(lstat(file.c_str(), &info), 0) << file;
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(info.st_uid, geteuid());
}

TEST_F(BridgeHostTest, ConnectionsWithoutTheTokenGetNothingAndAreDropped)
{
    const std::vector<uint8_t> challenge = BridgeClient::NewChallenge();
    std::vector<uint8_t> otherVersion = *EncodeFrame(HelloRequest{challenge});
    otherVersion[4] ^= 0x10;
    std::vector<uint8_t> wrongToken = s_rig->Token();
    wrongToken[7] ^= 0x01;
    // What a stranger sends after the host's answer to its hello.
    using Second = std::function<std::vector<uint8_t>(const HelloReply&)>;
    const Second proofUnder = [&](const HelloReply& hello) {
        return *EncodeFrame(ProofRequest{HandshakeProof(Prover::Client, wrongToken, challenge, hello.challenge)});
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> firstBytes;
        Second second; // null: the first bytes get no answer
    };
    const Case cases[] = {
        {"silence", {}, nullptr},
        {"a call instead of the hello", *EncodeFrame(EstablishContextRequest{0}), nullptr},
        {"a short challenge", *EncodeFrame(HelloRequest{std::vector<uint8_t>(kChallengeSize - 1, 7)}), nullptr},
        {"the hello under another version", otherVersion, nullptr},
        {"half the hello's frame", std::vector<uint8_t>(otherVersion.begin(), otherVersion.begin() + 20), nullptr},
        {"a call instead of the proof", *EncodeFrame(HelloRequest{challenge}),
         [](const HelloReply&) { return *EncodeFrame(EstablishContextRequest{0}); }},
        {"a proof under another token", *EncodeFrame(HelloRequest{challenge}), proofUnder},
        {"the host's proof sent back", *EncodeFrame(HelloRequest{challenge}),
         [](const HelloReply& hello) { return *EncodeFrame(ProofRequest{hello.proof}); }},
        {"no proof", *EncodeFrame(HelloRequest{challenge}),
         [](const HelloReply&) { return *EncodeFrame(ProofRequest{}); }},
    };
    auto owner = NewClient(); // the token's holder is connected meanwhile
    for (const Case& c : cases) {
        auto stranger = NewStranger();
        if (!c.firstBytes.empty()) {
            ASSERT_TRUE(stranger->SendRaw(c.firstBytes)) << c.what;
        }
        if (c.second) {
            auto body = stranger->ReceiveBody();
            HelloReply hello;
            ASSERT_TRUE(body && DecodeReply(body->data(), body->size(), hello) == DecodeStatus::Ok) << c.what;
            // The host proves the token without giving it away.
            EXPECT_TRUE(ProofValid(Prover::Host, s_rig->Token(), challenge, hello.challenge, hello.proof)) << c.what;
            ASSERT_TRUE(stranger->SendRaw(c.second(hello))) << c.what;
        }
        if (!c.firstBytes.empty())
            stranger->SendRaw(*EncodeFrame(EstablishContextRequest{0})); // a call after it is not served either
        EXPECT_TRUE(stranger->ClosedByHost()) << c.what << ": the host answered or kept the connection";
    }
    EXPECT_NE(owner->EstablishContext(), 0u);
}

TEST_F(BridgeHostTest, IdleConnectionsWithoutTheTokenDoNotLockOutItsHolder)
{
    std::vector<std::unique_ptr<BridgeClient>> idle;
    for (int i = 0; i < 40; ++i)
        idle.push_back(NewStranger());
    auto owner = NewClient();
    EXPECT_NE(owner->EstablishContext(), 0u);
    // And their hand-shake time runs out.
    for (auto& stranger : idle)
        EXPECT_TRUE(stranger->ClosedByHost());
}

TEST_F(BridgeHostTest, ConnectionsBeyondTheHandshakeBoundEndTheOldest)
{
    // A host whose hand-shake time never runs out during the test: only the
    // bound ends a stranger's connection.
    constexpr size_t kBound = 4;
    constexpr size_t kExtra = 3;
    BridgeRig::Host host = s_rig->StartHost({"--frame-timeout-ms", "600000", "--max-handshakes", std::to_string(kBound)});
    ASSERT_NE(host.endpoint.port, 0) << "the host did not start";
    std::vector<std::unique_ptr<BridgeClient>> strangers;
    for (size_t i = 0; i < kBound + kExtra; ++i)
        strangers.push_back(std::make_unique<BridgeClient>(host.endpoint.port));
    size_t closed = 0;
    for (auto end = std::chrono::steady_clock::now() + kHangGuard;
         closed < kExtra && std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(20ms))
        closed = static_cast<size_t>(std::count_if(strangers.begin(), strangers.end(),
                                                   [](auto& stranger) { return stranger->ClosedByHostYet(); }));
    EXPECT_EQ(closed, kExtra);
    BridgeClient owner(host.endpoint.port, &host.endpoint.token);
    EXPECT_TRUE(owner.Connected()) << "the token's holder was kept out";
}

TEST_F(BridgeHostTest, HostStartingRemovesTheBridgeFilesOfHostsThatAreGone)
{
    BridgeRig::Host killed = s_rig->StartHost({});
    ASSERT_NE(killed.endpoint.port, 0) << "the host did not start";
    killed.process->Stop(SIGKILL);
    // Not a host's: another name, or not only its user's to enter.
    const std::string otherName = s_rig->RuntimeDirectory() + "/velmora-bridgeX";
    const std::string openToAll = s_rig->RuntimeDirectory() + "/velmora-bridge.open";
    for (const std::string& path : {otherName, openToAll}) {
        ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
        std::ofstream(path + "/bridge") << "keep\n";
    }
    chmod(openToAll.c_str(), 0755);

    BridgeRig::Host next = s_rig->StartHost({});
    ASSERT_NE(next.endpoint.port, 0) << "the host did not start";
    struct stat info;
    EXPECT_NE(lstat(killed.file.c_str(), &info), 0) << "the killed host's file stayed";
    EXPECT_NE(lstat(killed.file.substr(0, killed.file.rfind('/')).c_str(), &info), 0) << "its directory stayed";
    // Live hosts' files and what is not a host's stay.
    for (const std::string& path : {s_rig->BridgeFile(), next.file, otherName + "/bridge", openToAll + "/bridge"})
        EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    std::filesystem::remove_all(otherName);
    std::filesystem::remove_all(openToAll);
}

TEST_F(BridgeHostTest, ContextsWaitIsCancelledOnlyWithItsKey)
{
    auto waiter = NewClient();
    EstablishContextReply established;
    ASSERT_EQ(waiter->Call(EstablishContextRequest{0}, established), 0u);
    ASSERT_EQ(established.cancelKey.size(), kCancelKeySize);
    uint32_t emptyState = ReaderState(*waiter, established.context, s_rig->ReaderName(1));
    auto waiting = std::async(std::launch::async, [&] {
        GetStatusChangeRequest request;
        request.context = established.context;
        request.timeout = 0xFFFFFFFF;
        request.states = {{s_rig->ReaderName(1), emptyState}};
        GetStatusChangeReply reply;
        return waiter->Call(request, reply);
    });

    auto canceller = NewClient();
    EstablishContextReply own;
    ASSERT_EQ(canceller->Call(EstablishContextRequest{0}, own), 0u);
    std::vector<uint8_t> wrongKey = established.cancelKey;
    wrongKey[0] ^= 0x80;
    const CancelRequest refused[] = {
        {established.context, wrongKey},
        {established.context, own.cancelKey}, // a key of another context
        {established.context, {}},
    };
    for (const CancelRequest& request : refused) {
        CancelReply reply;
        EXPECT_EQ(canceller->Call(request, reply), kResultInvalidHandle);
    }
    EXPECT_EQ(waiting.wait_for(300ms), std::future_status::timeout) << "a refused cancel ended the wait";

    // The key's holder, on a connection of its own, ends the wait (trying
    // again until the wait has begun on the host).
    CancelReply cancelled;
    for (auto end = std::chrono::steady_clock::now() + kHangGuard;
         cancelled.waitEnded == 0 && std::chrono::steady_clock::now() < end;)
        ASSERT_EQ(canceller->Call(CancelRequest{established.context, established.cancelKey}, cancelled), 0u);
    ASSERT_EQ(waiting.wait_for(kHangGuard), std::future_status::ready);
    EXPECT_EQ(waiting.get(), kResultCancelled);
    // The context is still usable, and a cancel with no wait has no effect.
    EXPECT_EQ(canceller->Call(CancelRequest{established.context, established.cancelKey}, cancelled), 0u);
    EXPECT_EQ(cancelled.waitEnded, 0u);
    EXPECT_EQ(ReaderState(*waiter, established.context, s_rig->ReaderName(1)), emptyState);
}

TEST_F(BridgeHostTest, ListensOnLoopbackOnly)
{
    ifaddrs* addresses = nullptr;
    ASSERT_EQ(getifaddrs(&addresses), 0);
    int tried = 0;
    for (ifaddrs* a = addresses; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET)
            continue;
        sockaddr_in address = *reinterpret_cast<sockaddr_in*>(a->ifa_addr);
        if ((ntohl(address.sin_addr.s_addr) >> 24) == 127)
            continue;
        address.sin_port = htons(s_rig->HostPort());
        int s = socket(AF_INET, SOCK_STREAM, 0);
        EXPECT_NE(connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << a->ifa_name;
        close(s);
        ++tried;
    }
    freeifaddrs(addresses);
    RecordProperty("addresses_tried", std::to_string(tried));
}
