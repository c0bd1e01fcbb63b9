// A test client of the bridge host speaking the wire format directly, the
// way the replacement winscard.dll does.
#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/pcsc-bridge/BridgeProtocol.h"

class BridgeClient {
public:
    // Connects; with a token, also presents it (the hand-shake), after
    // which Connected() says whether the host accepted it. A non-zero
    // `receiveBuffer` sets the socket's receive buffer before it connects,
    // so that the window it offers is small from the start.
    explicit BridgeClient(uint16_t port, const std::vector<uint8_t>* token = nullptr, int receiveBuffer = 0);
    ~BridgeClient();
    BridgeClient(const BridgeClient&) = delete;
    BridgeClient& operator=(const BridgeClient&) = delete;

    bool Connected() const { return m_socket >= 0; }
    // The hand-shake, as the DLL runs it: true when the host proved it holds
    // `token` and accepted our proof.
    bool Authenticate(const std::vector<uint8_t>& token);
    // A fresh random hand-shake challenge.
    static std::vector<uint8_t> NewChallenge();
    // Bounds every later read, so that a test fails instead of hanging.
    void SetReceiveTimeout(int seconds);

    // One call; the reply's result, or 0xFFFFFFFF when the exchange failed.
    template <class Request, class Reply> uint32_t Call(const Request& request, Reply& reply)
    {
        auto frame = bridge::EncodeFrame(request);
        if (!frame || !SendRaw(*frame))
            return kExchangeFailed;
        auto body = ReceiveBody();
        if (!body || bridge::DecodeReply(body->data(), body->size(), reply) != bridge::DecodeStatus::Ok)
            return kExchangeFailed;
        return reply.result;
    }

    // Shorthands for the calls most tests need; 0 on failure of the call.
    uint32_t EstablishContext();
    uint32_t Connect(uint32_t context, const std::string& reader, uint32_t& card);
    uint32_t BeginTransaction(uint32_t card);
    uint32_t EndTransaction(uint32_t card);

    bool SendRaw(const std::vector<uint8_t>& bytes);
    // Sends `frame` again and again without reading a reply, until the host
    // has taken nothing for `quiet` (it stopped reading because this client
    // does not read) or the connection failed. Returns the frames sent. The
    // host's replies back up soon only on a client made with a small
    // receive buffer.
    size_t SendWithoutReading(const std::vector<uint8_t>& frame, std::chrono::milliseconds quiet);
    // The body of the next reply frame; nullopt when the connection ended or
    // the frame header was not acceptable.
    std::optional<std::vector<uint8_t>> ReceiveBody();
    // True when the host has closed the connection without sending anything
    // more (end of stream, or a reset).
    bool ClosedByHost();
    // The same without waiting: false while nothing has arrived.
    bool ClosedByHostYet();
    void Close();

    static constexpr uint32_t kExchangeFailed = 0xFFFFFFFF;

private:
    bool Receive(uint8_t* data, size_t size);
    int m_socket = -1;
};
