// The wire format: every message survives a round trip, and every kind of
// damaged or oversized body is refused without reading past it; the
// hand-shake's digests and proofs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/pcsc-bridge/BridgeFile.h"
#include "tools/pcsc-bridge/BridgeProtocol.h"
#include "tools/pcsc-bridge/HmacSha256.h"

using namespace bridge;

namespace {

template <class Message> std::vector<uint8_t> Frame(const Message& message)
{
    auto frame = EncodeFrame(message);
    EXPECT_TRUE(frame.has_value());
    return frame.value_or(std::vector<uint8_t>());
}

template <class Message> std::vector<uint8_t> Body(const Message& message)
{
    std::vector<uint8_t> frame = Frame(message);
    return std::vector<uint8_t>(frame.begin() + kFrameHeaderSize, frame.end());
}

std::vector<uint8_t> Header(uint16_t version, uint16_t call)
{
    return {static_cast<uint8_t>(version), static_cast<uint8_t>(version >> 8), static_cast<uint8_t>(call),
            static_cast<uint8_t>(call >> 8)};
}

void Append32(std::vector<uint8_t>& data, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        data.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void Append16(std::vector<uint8_t>& data, uint16_t value)
{
    data.push_back(static_cast<uint8_t>(value));
    data.push_back(static_cast<uint8_t>(value >> 8));
}

DecodeStatus Decode(const std::vector<uint8_t>& body)
{
    Request request;
    return DecodeRequest(body.data(), body.size(), request);
}

GetStatusChangeRequest TwoReaderStatusChange()
{
    GetStatusChangeRequest request;
    request.context = 0x12345678;
    request.timeout = 0xFFFFFFFF;
    request.states = {{"Virtual PCD 00 00", 0x10}, {"Lecteur \xc3\xa9", 0x22}};
    return request;
}

TransmitRequest SelectMasterFile()
{
    TransmitRequest request;
    request.card = 0xCAFEF00D;
    request.protocol = 1;
    request.command = {0xA0, 0xA4, 0x00, 0x00, 0x02, 0x3F, 0x00};
    request.receiveCapacity = 255;
    return request;
}

} // namespace

TEST(BridgeProtocolTest, RequestsSurviveARoundTrip)
{
    ConnectRequest connect;
    connect.context = 0x80000001;
    connect.reader = "Virtual PCD 00 01";
    connect.shareMode = 2;
    connect.preferredProtocols = 1;
    ReconnectRequest reconnect{0x7, 2, 1, 1};
    EndTransactionRequest end{0x99, 0};

    const std::vector<Request> requests = {
        EstablishContextRequest{2}, ReleaseContextRequest{0xFFFFFFFF}, IsValidContextRequest{1},
        ListReadersRequest{5}, TwoReaderStatusChange(), connect, reconnect, DisconnectRequest{3, 1},
        BeginTransactionRequest{4}, end, SelectMasterFile(), StatusRequest{0x42},
        CancelRequest{0x43, std::vector<uint8_t>(kCancelKeySize, 0xC5)},
    };
    for (const Request& request : requests) {
        std::vector<uint8_t> body = std::visit([](const auto& r) { return Body(r); }, request);
        Request decoded;
        ASSERT_EQ(DecodeRequest(body.data(), body.size(), decoded), DecodeStatus::Ok) << request.index();
        ASSERT_EQ(decoded.index(), request.index());
        // Encoding the decoded request gives the same bytes.
        EXPECT_EQ(std::visit([](const auto& r) { return Body(r); }, decoded), body) << request.index();
    }

    Request decoded;
    std::vector<uint8_t> body = Body(TwoReaderStatusChange());
    ASSERT_EQ(DecodeRequest(body.data(), body.size(), decoded), DecodeStatus::Ok);
    const auto& states = std::get<GetStatusChangeRequest>(decoded).states;
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[1].reader, "Lecteur \xc3\xa9");
    EXPECT_EQ(states[1].currentState, 0x22u);
}

TEST(BridgeProtocolTest, RepliesSurviveARoundTrip)
{
    StatusReply status;
    status.readers = {"Virtual PCD 00 00"};
    status.state = 6;
    status.protocol = 1;
    status.atr = {0x3B, 0x02, 0x14, 0x50};
    std::vector<uint8_t> body = Body(status);
    StatusReply decoded;
    ASSERT_EQ(DecodeReply(body.data(), body.size(), decoded), DecodeStatus::Ok);
    EXPECT_EQ(decoded.readers, status.readers);
    EXPECT_EQ(decoded.state, 6u);
    EXPECT_EQ(decoded.atr, status.atr);

    ListReadersReply list;
    list.readers = {"A", "B", "C"};
    body = Body(list);
    ListReadersReply decodedList;
    ASSERT_EQ(DecodeReply(body.data(), body.size(), decodedList), DecodeStatus::Ok);
    EXPECT_EQ(decodedList.readers, list.readers);
}

TEST(BridgeProtocolTest, ErrorReplyCarriesOnlyTheResult)
{
    ErrorReply error;
    error.result = kResultInvalidParameter;
    std::vector<uint8_t> body = Body(error);
    TransmitReply reply;
    reply.response = {1, 2, 3};
    ASSERT_EQ(DecodeReply(body.data(), body.size(), reply), DecodeStatus::Ok);
    EXPECT_EQ(reply.result, kResultInvalidParameter);
    EXPECT_TRUE(reply.response.empty());
}

TEST(BridgeProtocolTest, ReplyForAnotherCallIsRefused)
{
    std::vector<uint8_t> body = Body(ConnectReply{});
    TransmitReply reply;
    EXPECT_EQ(DecodeReply(body.data(), body.size(), reply), DecodeStatus::Malformed);
}

TEST(BridgeProtocolTest, EveryTruncationOfARequestIsMalformed)
{
    const std::vector<std::vector<uint8_t>> bodies = {Body(TwoReaderStatusChange()), Body(SelectMasterFile()),
                                                      Body(ConnectRequest{1, "Reader", 2, 1})};
    for (const auto& body : bodies) {
        for (size_t size = 0; size < body.size(); ++size) {
            // A copy of exactly `size` bytes, so that a read past it is caught by sanitizers.
            std::vector<uint8_t> cut(body.begin(), body.begin() + static_cast<long>(size));
            EXPECT_EQ(Decode(cut), DecodeStatus::Malformed) << "size " << size;
        }
    }
}

TEST(BridgeProtocolTest, DamagedBodiesAreRefused)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> body;
        DecodeStatus expected;
    };
    std::vector<Case> cases;

    auto withTrailer = Body(EstablishContextRequest{0});
    withTrailer.push_back(0);
    cases.push_back({"trailing byte", withTrailer, DecodeStatus::Malformed});

    auto otherVersion = Body(EstablishContextRequest{0});
    otherVersion[0] = kVersion + 1;
    cases.push_back({"other version", otherVersion, DecodeStatus::WrongVersion});

    auto unknown = Header(kVersion, 99);
    Append32(unknown, 0);
    cases.push_back({"unknown call", unknown, DecodeStatus::UnknownCall});
    cases.push_back({"error id as request", Header(kVersion, 0), DecodeStatus::UnknownCall});
    cases.push_back({"hello as a call", Body(HelloRequest{std::vector<uint8_t>(kChallengeSize, 1)}),
                     DecodeStatus::UnknownCall});
    cases.push_back({"proof as a call", Body(ProofRequest{std::vector<uint8_t>(kProofSize, 1)}),
                     DecodeStatus::UnknownCall});

    auto longApdu = Header(kVersion, static_cast<uint16_t>(Call::Transmit));
    Append32(longApdu, 1);
    Append32(longApdu, 1);
    Append16(longApdu, static_cast<uint16_t>(kMaxApduSize + 1));
    longApdu.insert(longApdu.end(), kMaxApduSize + 1, 0x00);
    Append32(longApdu, 255);
    cases.push_back({"APDU above the bound", longApdu, DecodeStatus::Malformed});

    auto hugeApdu = Header(kVersion, static_cast<uint16_t>(Call::Transmit));
    Append32(hugeApdu, 1);
    Append32(hugeApdu, 1);
    Append16(hugeApdu, 0xFFFF); // and nothing after it
    cases.push_back({"APDU length beyond the body", hugeApdu, DecodeStatus::Malformed});

    auto longName = Header(kVersion, static_cast<uint16_t>(Call::Connect));
    Append32(longName, 1);
    Append16(longName, static_cast<uint16_t>(kMaxReaderNameSize + 1));
    longName.insert(longName.end(), kMaxReaderNameSize + 1, 'R');
    Append32(longName, 2);
    Append32(longName, 1);
    cases.push_back({"reader name above the bound", longName, DecodeStatus::Malformed});

    auto nulName = Header(kVersion, static_cast<uint16_t>(Call::Connect));
    Append32(nulName, 1);
    Append16(nulName, 3);
    nulName.insert(nulName.end(), {'A', 0, 'B'});
    Append32(nulName, 2);
    Append32(nulName, 1);
    cases.push_back({"NUL inside a reader name", nulName, DecodeStatus::Malformed});

    auto manyStates = Header(kVersion, static_cast<uint16_t>(Call::GetStatusChange));
    Append32(manyStates, 1);
    Append32(manyStates, 0);
    Append16(manyStates, static_cast<uint16_t>(kMaxReaderStates + 1));
    for (size_t i = 0; i <= kMaxReaderStates; ++i) {
        Append16(manyStates, 1);
        manyStates.push_back('R');
        Append32(manyStates, 0);
    }
    cases.push_back({"reader states above the bound", manyStates, DecodeStatus::Malformed});

    auto countOnly = Header(kVersion, static_cast<uint16_t>(Call::GetStatusChange));
    Append32(countOnly, 1);
    Append32(countOnly, 0);
    Append16(countOnly, 16);
    cases.push_back({"state count without states", countOnly, DecodeStatus::Malformed});

    for (const Case& c : cases)
        EXPECT_EQ(Decode(c.body), c.expected) << c.what;
}

TEST(BridgeProtocolTest, ReplyNameListRefusesEmptyAndTooManyNames)
{
    struct Case {
        const char* what;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"empty name", {"A", ""}},
        {"too many names", std::vector<std::string>(kMaxReaders + 1, "R")},
    };
    for (const Case& c : cases) {
        ListReadersReply reply;
        reply.readers = c.names;
        EXPECT_FALSE(EncodeFrame(reply).has_value()) << c.what;

        // The same list written by hand is refused by the decoder.
        std::vector<uint8_t> body = Header(kVersion, static_cast<uint16_t>(Call::ListReaders));
        Append32(body, 0);
        Append16(body, static_cast<uint16_t>(c.names.size()));
        for (const std::string& name : c.names) {
            Append16(body, static_cast<uint16_t>(name.size()));
            body.insert(body.end(), name.begin(), name.end());
        }
        ListReadersReply decoded;
        EXPECT_EQ(DecodeReply(body.data(), body.size(), decoded), DecodeStatus::Malformed) << c.what;
        EXPECT_TRUE(decoded.readers.empty()) << c.what;
    }
}

TEST(BridgeProtocolTest, EncoderRefusesFieldsAboveTheirBounds)
{
    TransmitRequest transmit = SelectMasterFile();
    transmit.command.assign(kMaxApduSize + 1, 0);
    EXPECT_FALSE(EncodeFrame(transmit).has_value());
    transmit.command.assign(kMaxApduSize, 0);
    EXPECT_TRUE(EncodeFrame(transmit).has_value());

    ConnectRequest connect;
    connect.reader.assign(kMaxReaderNameSize + 1, 'R');
    EXPECT_FALSE(EncodeFrame(connect).has_value());
    connect.reader.assign(kMaxReaderNameSize, 'R');
    EXPECT_TRUE(EncodeFrame(connect).has_value());

    GetStatusChangeRequest change;
    change.states.assign(kMaxReaderStates + 1, ReaderStateIn{"R", 0});
    EXPECT_FALSE(EncodeFrame(change).has_value());
}

TEST(BridgeProtocolTest, FrameHeaderBounds)
{
    struct Case {
        uint32_t length;
        bool accepted;
    };
    const Case cases[] = {{0, false}, {3, false}, {4, true}, {kMaxBodySize, true}, {kMaxBodySize + 1, false},
                          {0xFFFFFFFF, false}};
    for (const Case& c : cases) {
        std::vector<uint8_t> header;
        Append32(header, c.length);
        EXPECT_EQ(DecodeFrameHeader(header.data()).has_value(), c.accepted) << c.length;
    }
}

TEST(BridgeProtocolTest, FrameLengthCountsTheBody)
{
    std::vector<uint8_t> frame = Frame(SelectMasterFile());
    auto size = DecodeFrameHeader(frame.data());
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(*size, frame.size() - kFrameHeaderSize);
}

TEST(BridgeProtocolTest, HandshakeFramesDecodeOnlyAsThemselves)
{
    const std::vector<uint8_t> challenge(kChallengeSize, 0x5A);
    HelloRequest hello;
    std::vector<uint8_t> body = Body(HelloRequest{challenge});
    ASSERT_EQ(DecodeHandshake(body.data(), body.size(), hello), DecodeStatus::Ok);
    EXPECT_EQ(hello.challenge, challenge);

    ProofRequest proof;
    const std::vector<uint8_t> others[] = {Body(EstablishContextRequest{0}), body};
    for (const auto& other : others)
        EXPECT_EQ(DecodeHandshake(other.data(), other.size(), proof), DecodeStatus::UnknownCall);
    EXPECT_FALSE(EncodeFrame(HelloRequest{std::vector<uint8_t>(kChallengeSize + 1, 1)}).has_value());
    EXPECT_FALSE(EncodeFrame(ProofRequest{std::vector<uint8_t>(kProofSize + 1, 1)}).has_value());
}

namespace {

std::string Hex(const Sha256Digest& digest)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (uint8_t byte : digest)
        text += {digits[byte >> 4], digits[byte & 0x0F]};
    return text;
}

std::vector<uint8_t> BytesOf(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

} // namespace

TEST(BridgeProtocolTest, Sha256AndHmacMatchThePublishedVectors)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> key; // empty: plain SHA-256
        std::vector<uint8_t> message;
        const char* digest;
    };
    const std::string twoBlocks = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    const Case cases[] = {
        // FIPS 180-2, appendix B, and the empty message.
        {"abc", {}, BytesOf("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"two blocks", {}, BytesOf(twoBlocks), "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"empty", {}, {}, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"a million a", {}, std::vector<uint8_t>(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        // RFC 4231, test cases 1, 2, 3 and 6 (a key longer than a block).
        {"hmac 1", std::vector<uint8_t>(20, 0x0b), BytesOf("Hi There"),
         "b0344c61d8db38535ca8afceaf0bf12b881dc200c9833da726e9376c2e32cff7"},
        {"hmac 2", BytesOf("Jefe"), BytesOf("what do ya want for nothing?"),
         "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843"},
        {"hmac 3", std::vector<uint8_t>(20, 0xaa), std::vector<uint8_t>(50, 0xdd),
         "773ea91e36800e46854db8ebd09181a72959098b3ef8c122d9635514ced565fe"},
        {"hmac 6", std::vector<uint8_t>(131, 0xaa), BytesOf("Test Using Larger Than Block-Size Key - Hash Key First"),
         "60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Hex(c.key.empty() ? Sha256(c.message) : HmacSha256(c.key, c.message)), c.digest) << c.what;
}

TEST(BridgeProtocolTest, HandshakeProofHoldsOnlyForItsProverTokenAndChallenges)
{
    const std::vector<uint8_t> token(kTokenSize, 0x11);
    const std::vector<uint8_t> client(kChallengeSize, 0x22);
    const std::vector<uint8_t> host(kChallengeSize, 0x33);
    const std::vector<uint8_t> proof = HandshakeProof(Prover::Host, token, client, host);
    ASSERT_EQ(proof.size(), kProofSize);
    EXPECT_TRUE(ProofValid(Prover::Host, token, client, host, proof));

    std::vector<uint8_t> otherToken = token;
    otherToken[31] ^= 1;
    std::vector<uint8_t> damaged = proof;
    damaged[0] ^= 0x80;
    struct Case {
        const char* what;
        Prover prover;
        const std::vector<uint8_t>& token;
        const std::vector<uint8_t>& client;
        const std::vector<uint8_t>& host;
        std::vector<uint8_t> proof;
    };
    const std::vector<uint8_t> shortChallenge(kChallengeSize - 1, 0x22);
    const Case refused[] = {
        {"the other side's proof", Prover::Client, token, client, host, proof},
        {"another token", Prover::Host, otherToken, client, host, proof},
        {"challenges swapped", Prover::Host, token, host, client, proof},
        {"a damaged proof", Prover::Host, token, client, host, damaged},
        {"no proof", Prover::Host, token, client, host, {}},
        {"a short challenge", Prover::Host, token, shortChallenge, host,
         HandshakeProof(Prover::Host, token, shortChallenge, host)},
    };
    for (const Case& c : refused)
        EXPECT_FALSE(ProofValid(c.prover, c.token, c.client, c.host, c.proof)) << c.what;
}

TEST(BridgeProtocolTest, BridgeFileReadsOnlyWhatTheHostWrites)
{
    std::vector<uint8_t> token(kTokenSize);
    for (size_t i = 0; i < token.size(); ++i)
        token[i] = static_cast<uint8_t>(i * 37 + 1);
    const std::string written = FormatBridgeFile({40123, token});
    auto read = ParseBridgeFile(written);
    ASSERT_TRUE(read.has_value()) << written;
    EXPECT_EQ(read->port, 40123);
    EXPECT_EQ(read->token, token);

    const std::string hex = written.substr(written.find('\n') + 1, 2 * kTokenSize);
    struct Case {
        const char* what;
        std::string text;
        bool readable;
    };
    const Case cases[] = {
        {"CR LF line ends", "40123\r\n" + hex + "\r\n", true},
        {"empty", "", false},
        {"port only", "40123\n", false},
        {"no final line end", "40123\n" + hex, false},
        {"port 0", "0\n" + hex + "\n", false},
        {"port above 65535", "65536\n" + hex + "\n", false},
        {"signed port", "+4012\n" + hex + "\n", false},
        {"token one digit short", "40123\n" + hex.substr(1) + "\n", false},
        {"token one byte long", "40123\n" + hex + "00\n", false},
        {"upper-case hex", "40123\nAB" + hex.substr(2) + "\n", false},
        {"a third line", "40123\n" + hex + "\n\n", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseBridgeFile(c.text).has_value(), c.readable) << c.what;
    EXPECT_EQ(FormatBridgeFile({40123, std::vector<uint8_t>(kTokenSize - 1)}), "");
    EXPECT_EQ(FormatBridgeFile({0, token}), "");
}
