// The DLL's connections to the host. Each PC/SC context has a connection of
// its own, and a card handle uses the connection of the context it was
// connected on, so that a thread waiting in SCardGetStatusChange on one
// context never holds up calls on another (calls on one context are
// serialised, as PC/SC allows). The port comes from VELMORA_BRIDGE_PORT; the
// host is always 127.0.0.1. When a connection breaks, the host ends its
// contexts and cards, and they are invalid here too.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "tools/pcsc-bridge/BridgeProtocol.h"

namespace bridge_connection {

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Connects to the host; false when it cannot be reached.
    bool Open();

    // Sends one request frame and returns the reply body in `body`, or the
    // PC/SC result that stands for the failure (SCARD_F_COMM_ERROR for a
    // broken or garbled exchange; a broken connection stays broken).
    uint32_t Exchange(const std::optional<std::vector<uint8_t>>& frame, std::vector<uint8_t>& body);

    template <class Request, class Reply> uint32_t Call(const Request& request, Reply& reply)
    {
        std::vector<uint8_t> body;
        uint32_t failure = Exchange(bridge::EncodeFrame(request), body);
        if (failure != 0)
            return failure;
        if (bridge::DecodeReply(body.data(), body.size(), reply) != bridge::DecodeStatus::Ok)
            return bridge::kResultCommError;
        return reply.result;
    }

private:
    bool SendAll(const std::vector<uint8_t>& data);
    bool ReceiveExactly(uint8_t* data, size_t size);
    void Drop();

    std::mutex m_mutex;
    uintptr_t m_socket = ~uintptr_t(0);
};

using ConnectionPtr = std::shared_ptr<Connection>;

// The connections of the contexts and cards this process holds.
void AddContext(uint32_t context, ConnectionPtr connection);
void AddCard(uint32_t card, uint32_t context);
// Forgets a context and the cards connected on it.
void RemoveContext(uint32_t context);
void RemoveCard(uint32_t card);
ConnectionPtr ForContext(uint32_t context);
ConnectionPtr ForCard(uint32_t card);

// Runs a call on the connection of a context or a card; SCARD_E_INVALID_HANDLE
// when this process holds no such handle.
template <class Request, class Reply> uint32_t CallOnContext(uint32_t context, const Request& request, Reply& reply)
{
    ConnectionPtr connection = ForContext(context);
    return connection ? connection->Call(request, reply) : bridge::kResultInvalidHandle;
}

template <class Request, class Reply> uint32_t CallOnCard(uint32_t card, const Request& request, Reply& reply)
{
    ConnectionPtr connection = ForCard(card);
    return connection ? connection->Call(request, reply) : bridge::kResultInvalidHandle;
}

} // namespace bridge_connection
