// The wire format between the replacement winscard.dll and the host.
//
// Every call is one frame each way: a 4-byte little-endian body length, then
// the body: version (u16), call (u16), the call's fields. A reply carries the
// same call id, the PC/SC result (u32) and the reply's fields. A reply with
// call id `Call::Error` carries only a result: the host could not take the
// request (malformed, unknown call, other version).
//
// Every connection opens with a hand-shake in which each side proves that
// it holds the token of the bridge file (see BridgeFile.h and Handshake.h)
// without sending it: Hello (the client's challenge) is answered with the
// host's challenge and proof; the client goes on only if that proof checks
// out, and sends its own proof (Proof), which the host answers. The host
// serves nothing before it and closes a connection whose first frames are
// anything else; the client sends nothing to a host that fails its proof.
//
// Handles and result codes cross unchanged; reader names cross as UTF-8.
// The same code encodes and decodes on both sides, and every length read
// from the wire is checked against its bound and against the bytes present.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "Handshake.h"

namespace bridge {

constexpr uint16_t kVersion = 3;

// Bounds of everything that crosses the wire.
constexpr size_t kFrameHeaderSize = 4;
constexpr size_t kMaxBodySize = 16384;
constexpr size_t kMaxReaderNameSize = 255; // bytes of UTF-8, no NUL
constexpr size_t kMaxReaders = 16;         // names in one reader list
constexpr size_t kMaxReaderStates = 16;    // records in one status-change call
constexpr size_t kMaxAtrSize = 36;
constexpr size_t kMaxApduSize = 258 + 2;   // short APDU with data, plus room for a status word
constexpr size_t kTokenSize = 32;          // the secret of the bridge file
constexpr size_t kCancelKeySize = 16;      // the secret that lets a context's owner cancel its wait

// PC/SC result codes the bridge itself produces (the Windows values).
constexpr uint32_t kResultInvalidParameter = 0x80100004;
constexpr uint32_t kResultInvalidHandle = 0x80100003;
constexpr uint32_t kResultNoMemory = 0x80100006;
constexpr uint32_t kResultInsufficientBuffer = 0x80100008;
constexpr uint32_t kResultInternalError = 0x80100001;
constexpr uint32_t kResultCancelled = 0x80100002;
constexpr uint32_t kResultTimeout = 0x8010000A;
constexpr uint32_t kResultCommError = 0x80100013;
constexpr uint32_t kResultNoService = 0x8010001D;
constexpr uint32_t kResultUnsupportedFeature = 0x80100022;

enum class Call : uint16_t {
    Error = 0,
    EstablishContext = 1,
    ReleaseContext = 2,
    IsValidContext = 3,
    ListReaders = 4,
    GetStatusChange = 5,
    Connect = 6,
    Reconnect = 7,
    Disconnect = 8,
    BeginTransaction = 9,
    EndTransaction = 10,
    Transmit = 11,
    Status = 12,
    Hello = 13,
    Cancel = 14,
    Proof = 15,
};

// --- requests -------------------------------------------------------------

struct EstablishContextRequest {
    static constexpr Call kCall = Call::EstablishContext;
    uint32_t scope = 0;
    template <class F> void Fields(F& f) { f.U32(scope); }
};

struct ReleaseContextRequest {
    static constexpr Call kCall = Call::ReleaseContext;
    uint32_t context = 0;
    template <class F> void Fields(F& f) { f.U32(context); }
};

struct IsValidContextRequest {
    static constexpr Call kCall = Call::IsValidContext;
    uint32_t context = 0;
    template <class F> void Fields(F& f) { f.U32(context); }
};

struct ListReadersRequest {
    static constexpr Call kCall = Call::ListReaders;
    uint32_t context = 0;
    template <class F> void Fields(F& f) { f.U32(context); }
};

struct ReaderStateIn {
    std::string reader;
    uint32_t currentState = 0;
    template <class F> void Fields(F& f) { f.Name(reader); f.U32(currentState); }
};

struct GetStatusChangeRequest {
    static constexpr Call kCall = Call::GetStatusChange;
    uint32_t context = 0;
    uint32_t timeout = 0; // milliseconds; 0xFFFFFFFF waits for ever
    std::vector<ReaderStateIn> states;
    template <class F> void Fields(F& f) { f.U32(context); f.U32(timeout); f.List(states, kMaxReaderStates); }
};

struct ConnectRequest {
    static constexpr Call kCall = Call::Connect;
    uint32_t context = 0;
    std::string reader;
    uint32_t shareMode = 0;
    uint32_t preferredProtocols = 0;
    template <class F> void Fields(F& f) { f.U32(context); f.Name(reader); f.U32(shareMode); f.U32(preferredProtocols); }
};

struct ReconnectRequest {
    static constexpr Call kCall = Call::Reconnect;
    uint32_t card = 0;
    uint32_t shareMode = 0;
    uint32_t preferredProtocols = 0;
    uint32_t initialization = 0;
    template <class F> void Fields(F& f) { f.U32(card); f.U32(shareMode); f.U32(preferredProtocols); f.U32(initialization); }
};

struct DisconnectRequest {
    static constexpr Call kCall = Call::Disconnect;
    uint32_t card = 0;
    uint32_t disposition = 0;
    template <class F> void Fields(F& f) { f.U32(card); f.U32(disposition); }
};

struct BeginTransactionRequest {
    static constexpr Call kCall = Call::BeginTransaction;
    uint32_t card = 0;
    template <class F> void Fields(F& f) { f.U32(card); }
};

struct EndTransactionRequest {
    static constexpr Call kCall = Call::EndTransaction;
    uint32_t card = 0;
    uint32_t disposition = 0;
    template <class F> void Fields(F& f) { f.U32(card); f.U32(disposition); }
};

struct TransmitRequest {
    static constexpr Call kCall = Call::Transmit;
    uint32_t card = 0;
    uint32_t protocol = 0;        // of the send PCI
    std::vector<uint8_t> command;
    uint32_t receiveCapacity = 0; // room the caller has for the response
    template <class F> void Fields(F& f) { f.U32(card); f.U32(protocol); f.Bytes(command, kMaxApduSize); f.U32(receiveCapacity); }
};

struct StatusRequest {
    static constexpr Call kCall = Call::Status;
    uint32_t card = 0;
    template <class F> void Fields(F& f) { f.U32(card); }
};

// Ends a status-change wait on a context, from any authenticated connection
// (the one waiting is busy): `key` is the context's cancel key, which only
// the client that established the context was given.
struct CancelRequest {
    static constexpr Call kCall = Call::Cancel;
    uint32_t context = 0;
    std::vector<uint8_t> key;
    template <class F> void Fields(F& f) { f.U32(context); f.Bytes(key, kCancelKeySize); }
};

// The hand-shake's frames (not Requests: they are never executed). First the
// client's challenge...
struct HelloRequest {
    static constexpr Call kCall = Call::Hello;
    std::vector<uint8_t> challenge; // kChallengeSize bytes
    template <class F> void Fields(F& f) { f.Bytes(challenge, kChallengeSize); }
};

// ...then, once the host's proof checked out, the client's proof.
struct ProofRequest {
    static constexpr Call kCall = Call::Proof;
    std::vector<uint8_t> proof; // kProofSize bytes
    template <class F> void Fields(F& f) { f.Bytes(proof, kProofSize); }
};

using Request = std::variant<EstablishContextRequest, ReleaseContextRequest, IsValidContextRequest,
                             ListReadersRequest, GetStatusChangeRequest, ConnectRequest, ReconnectRequest,
                             DisconnectRequest, BeginTransactionRequest, EndTransactionRequest, TransmitRequest,
                             StatusRequest, CancelRequest>;

// --- replies --------------------------------------------------------------

// Replies whose only field is the result.
template <Call C> struct ResultReply {
    static constexpr Call kCall = C;
    uint32_t result = 0;
    template <class F> void Fields(F& f) { f.U32(result); }
};

using ErrorReply = ResultReply<Call::Error>;
using ReleaseContextReply = ResultReply<Call::ReleaseContext>;
using IsValidContextReply = ResultReply<Call::IsValidContext>;
using DisconnectReply = ResultReply<Call::Disconnect>;
using BeginTransactionReply = ResultReply<Call::BeginTransaction>;
using EndTransactionReply = ResultReply<Call::EndTransaction>;
using ProofReply = ResultReply<Call::Proof>;

// The host's answer to Hello: its own challenge and its proof.
struct HelloReply {
    static constexpr Call kCall = Call::Hello;
    uint32_t result = 0;
    std::vector<uint8_t> challenge; // kChallengeSize bytes
    std::vector<uint8_t> proof;     // kProofSize bytes
    template <class F> void Fields(F& f) { f.U32(result); f.Bytes(challenge, kChallengeSize); f.Bytes(proof, kProofSize); }
};

struct EstablishContextReply {
    static constexpr Call kCall = Call::EstablishContext;
    uint32_t result = 0;
    uint32_t context = 0;
    std::vector<uint8_t> cancelKey; // kCancelKeySize bytes on success
    template <class F> void Fields(F& f) { f.U32(result); f.U32(context); f.Bytes(cancelKey, kCancelKeySize); }
};

struct CancelReply {
    static constexpr Call kCall = Call::Cancel;
    uint32_t result = 0;
    uint32_t waitEnded = 0; // 1 when a wait was in progress and has been told to end
    template <class F> void Fields(F& f) { f.U32(result); f.U32(waitEnded); }
};

struct ListReadersReply {
    static constexpr Call kCall = Call::ListReaders;
    uint32_t result = 0;
    std::vector<std::string> readers;
    template <class F> void Fields(F& f) { f.U32(result); f.NameList(readers, kMaxReaders); }
};

struct ReaderStateOut {
    uint32_t eventState = 0;
    std::vector<uint8_t> atr;
    template <class F> void Fields(F& f) { f.U32(eventState); f.Bytes(atr, kMaxAtrSize); }
};

struct GetStatusChangeReply {
    static constexpr Call kCall = Call::GetStatusChange;
    uint32_t result = 0;
    std::vector<ReaderStateOut> states; // one per request record, in order
    template <class F> void Fields(F& f) { f.U32(result); f.List(states, kMaxReaderStates); }
};

struct ConnectReply {
    static constexpr Call kCall = Call::Connect;
    uint32_t result = 0;
    uint32_t card = 0;
    uint32_t activeProtocol = 0;
    template <class F> void Fields(F& f) { f.U32(result); f.U32(card); f.U32(activeProtocol); }
};

struct ReconnectReply {
    static constexpr Call kCall = Call::Reconnect;
    uint32_t result = 0;
    uint32_t activeProtocol = 0;
    template <class F> void Fields(F& f) { f.U32(result); f.U32(activeProtocol); }
};

struct TransmitReply {
    static constexpr Call kCall = Call::Transmit;
    uint32_t result = 0;
    std::vector<uint8_t> response;
    template <class F> void Fields(F& f) { f.U32(result); f.Bytes(response, kMaxApduSize); }
};

struct StatusReply {
    static constexpr Call kCall = Call::Status;
    uint32_t result = 0;
    std::vector<std::string> readers;
    uint32_t state = 0;
    uint32_t protocol = 0;
    std::vector<uint8_t> atr;
    template <class F> void Fields(F& f) { f.U32(result); f.NameList(readers, kMaxReaders); f.U32(state); f.U32(protocol); f.Bytes(atr, kMaxAtrSize); }
};

// --- encoding and decoding --------------------------------------------------

enum class DecodeStatus {
    Ok,
    Malformed,      // truncated, trailing bytes, a bound exceeded, a bad name
    WrongVersion,
    UnknownCall,
};

// Writes the fields of one message in wire order.
class Writer {
public:
    void U16(uint16_t value);
    void U32(uint32_t value);
    void Name(const std::string& name);
    void NameList(const std::vector<std::string>& names, size_t maxCount);
    void Bytes(const std::vector<uint8_t>& bytes, size_t maxSize);
    template <class T> void List(std::vector<T>& items, size_t maxCount)
    {
        Count(items.size(), maxCount);
        for (auto& item : items)
            item.Fields(*this);
    }
    // False when a field exceeded its bound (the message must not be sent).
    bool Ok() const { return m_ok; }
    std::vector<uint8_t>& Data() { return m_data; }

private:
    void Count(size_t count, size_t maxCount);
    std::vector<uint8_t> m_data;
    bool m_ok = true;
};

// Reads the fields of one message, checking every length against its bound
// and against the bytes that are left. After the first failure every field
// reads as empty and Ok() stays false.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    void U16(uint16_t& value);
    void U32(uint32_t& value);
    void Name(std::string& name);
    void NameList(std::vector<std::string>& names, size_t maxCount);
    void Bytes(std::vector<uint8_t>& bytes, size_t maxSize);
    template <class T> void List(std::vector<T>& items, size_t maxCount)
    {
        items.clear();
        size_t count = Count(maxCount);
        for (size_t i = 0; i < count && m_ok; ++i) {
            items.emplace_back();
            items.back().Fields(*this);
        }
    }

    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_offset == m_size; }

private:
    size_t Count(size_t maxCount);
    bool Take(size_t n, const uint8_t*& bytes);
    const uint8_t* m_data;
    size_t m_size;
    size_t m_offset = 0;
    bool m_ok = true;
};

// A whole frame (length prefix and body) for one message.
template <class Message> std::optional<std::vector<uint8_t>> EncodeFrame(Message message)
{
    Writer writer;
    writer.U32(0); // length, patched below
    writer.U16(kVersion);
    writer.U16(static_cast<uint16_t>(Message::kCall));
    message.Fields(writer);
    std::vector<uint8_t>& frame = writer.Data();
    size_t body = frame.size() - kFrameHeaderSize;
    if (!writer.Ok() || body > kMaxBodySize)
        return std::nullopt;
    for (size_t i = 0; i < 4; ++i)
        frame[i] = static_cast<uint8_t>(body >> (8 * i));
    return std::move(frame);
}

// The body length announced by a frame header; nullopt when it is below the
// smallest body or above kMaxBodySize.
std::optional<size_t> DecodeFrameHeader(const uint8_t header[kFrameHeaderSize]);

// The call id of a body, if the body is long enough to have one (used to
// answer a request that could not be decoded).
std::optional<Call> PeekCall(const uint8_t* body, size_t size);

// Decodes a request body (the bytes after the length prefix).
DecodeStatus DecodeRequest(const uint8_t* body, size_t size, Request& request);

// Reads a body's version and call id: Ok for this version, else Malformed or
// WrongVersion.
inline DecodeStatus DecodeHeader(Reader& reader, uint16_t& call)
{
    uint16_t version = 0;
    reader.U16(version);
    reader.U16(call);
    if (!reader.Ok())
        return DecodeStatus::Malformed;
    return version == kVersion ? DecodeStatus::Ok : DecodeStatus::WrongVersion;
}

// Decodes a hand-shake frame's body (HelloRequest or ProofRequest): Ok only
// for that frame of this version.
template <class Message> DecodeStatus DecodeHandshake(const uint8_t* body, size_t size, Message& message)
{
    Reader reader(body, size);
    uint16_t call = 0;
    if (const DecodeStatus header = DecodeHeader(reader, call); header != DecodeStatus::Ok)
        return header;
    if (call != static_cast<uint16_t>(Message::kCall))
        return DecodeStatus::UnknownCall;
    message.Fields(reader);
    return reader.Ok() && reader.AtEnd() ? DecodeStatus::Ok : DecodeStatus::Malformed;
}

// Decodes a reply body into `reply` when its call id is Message::kCall. An
// error reply (Call::Error) sets only `reply.result`. Anything else is
// Malformed.
template <class Message> DecodeStatus DecodeReply(const uint8_t* body, size_t size, Message& reply)
{
    Reader reader(body, size);
    uint16_t call = 0;
    if (const DecodeStatus header = DecodeHeader(reader, call); header != DecodeStatus::Ok)
        return header;
    if (call == static_cast<uint16_t>(Call::Error)) {
        ErrorReply error;
        error.Fields(reader);
        if (!reader.Ok() || !reader.AtEnd())
            return DecodeStatus::Malformed;
        reply = Message{};
        reply.result = error.result;
        return DecodeStatus::Ok;
    }
    if (call != static_cast<uint16_t>(Message::kCall))
        return DecodeStatus::Malformed;
    reply.Fields(reader);
    return reader.Ok() && reader.AtEnd() ? DecodeStatus::Ok : DecodeStatus::Malformed;
}

} // namespace bridge
