// The DLL's connections to the host. Each PC/SC context has a connection of
// its own, and a card handle uses the connection of the context it was
// connected on, so that a thread waiting in SCardGetStatusChange on one
// context never holds up calls on another (calls on one context are
// serialised, as PC/SC allows). The host is always 127.0.0.1; its port and
// token come from the bridge file named by VELMORA_BRIDGE_FILE (see
// BridgeFile.h). Every connection opens with the hand-shake of Handshake.h:
// the host proves first that it holds the token, and a listener that cannot
// (whoever took the port of a host that is gone) gets neither the token nor
// any call. When a connection breaks, the host ends its contexts and cards,
// and they are invalid here too.
//
// Every call has a deadline: a host that does not answer in time fails the
// call with SCARD_F_COMM_ERROR and the connection is dropped. A status-change
// wait without a time-out has none, but SCardCancel and SCardReleaseContext
// end it (CancelWait).
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "tools/pcsc-bridge/BridgeProtocol.h"

namespace bridge_connection {

// An ordinary call: the host answers at once.
constexpr uint64_t kCallDeadlineMs = 5000;
// Added to a status-change wait's own time-out.
constexpr uint64_t kWaitMarginMs = 5000;
// SCardBeginTransaction waits while another program holds the card.
constexpr uint64_t kTransactionDeadlineMs = 60000;
constexpr uint64_t kNoDeadline = ~uint64_t(0);

struct CallOptions {
    uint64_t deadlineMs = kCallDeadlineMs;
    bool cancellable = false; // a status-change wait, which CancelWait can end
};

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Connects to the host and runs the hand-shake; false when the bridge
    // file is missing or unreadable, the host cannot be reached, fails to
    // prove it holds the token or refuses our proof.
    bool Open();

    // Sends one request frame and returns the reply body in `body`, or the
    // PC/SC result that stands for the failure (SCARD_F_COMM_ERROR for a
    // broken, garbled or late exchange; a broken connection stays broken).
    uint32_t Exchange(const std::optional<std::vector<uint8_t>>& frame, std::vector<uint8_t>& body,
                      CallOptions options);

    template <class Request, class Reply> uint32_t Call(const Request& request, Reply& reply, CallOptions options = {})
    {
        std::vector<uint8_t> body;
        uint32_t failure = Exchange(bridge::EncodeFrame(request), body, options);
        if (failure != 0)
            return failure;
        if (bridge::DecodeReply(body.data(), body.size(), reply) != bridge::DecodeStatus::Ok)
            return bridge::kResultCommError;
        return reply.result;
    }

    // True while a cancellable call is in progress.
    bool Waiting() const { return m_waiting; }
    // Ends the call in progress from another thread: it fails with
    // SCARD_F_COMM_ERROR and the connection is dropped.
    void Abort();

private:
    bool Handshake(const std::vector<uint8_t>& token);
    bool SendAll(const std::vector<uint8_t>& data, uint64_t deadline);
    bool ReceiveExactly(uint8_t* data, size_t size, uint64_t deadline);
    bool WaitFor(bool write, uint64_t deadline);
    void Drop();

    std::mutex m_mutex;       // one call at a time
    std::mutex m_socketMutex; // Drop against Abort
    std::atomic<uintptr_t> m_socket{~uintptr_t(0)};
    std::atomic<bool> m_waiting{false};
};

using ConnectionPtr = std::shared_ptr<Connection>;

// The connections of the contexts and cards this process holds.
void AddContext(uint32_t context, ConnectionPtr connection, std::vector<uint8_t> cancelKey);
void AddCard(uint32_t card, uint32_t context);
// Forgets a context and the cards connected on it.
void RemoveContext(uint32_t context);
void RemoveCard(uint32_t card);
ConnectionPtr ForContext(uint32_t context);
ConnectionPtr ForCard(uint32_t card);

// Ends a status-change wait in progress on `context`, through a connection
// of its own (the waiting one is busy) that presents the context's cancel
// key. When the host cannot be reached the wait is aborted instead. 0, or
// SCARD_E_INVALID_HANDLE when this process holds no such context.
uint32_t CancelWait(uint32_t context);

// Runs a call on the connection of a context or a card; SCARD_E_INVALID_HANDLE
// when this process holds no such handle.
template <class Request, class Reply>
uint32_t CallOnContext(uint32_t context, const Request& request, Reply& reply, CallOptions options = {})
{
    ConnectionPtr connection = ForContext(context);
    return connection ? connection->Call(request, reply, options) : bridge::kResultInvalidHandle;
}

template <class Request, class Reply>
uint32_t CallOnCard(uint32_t card, const Request& request, Reply& reply, CallOptions options = {})
{
    ConnectionPtr connection = ForCard(card);
    return connection ? connection->Call(request, reply, options) : bridge::kResultInvalidHandle;
}

} // namespace bridge_connection
