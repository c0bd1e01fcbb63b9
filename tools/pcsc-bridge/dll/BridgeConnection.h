// The DLL's one connection to the host, shared by all threads of the process
// (calls are serialised). The port comes from VELMORA_BRIDGE_PORT; the host
// is always 127.0.0.1. A broken connection is dropped and made again on the
// next call; the host has ended the old connection's contexts and cards by
// then, so old handles are simply invalid.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/pcsc-bridge/BridgeProtocol.h"

namespace bridge_connection {

// Sends one request frame and returns the reply body, or the PC/SC result
// that stands for the failure (no host: SCARD_E_NO_SERVICE; a broken or
// garbled exchange: SCARD_F_COMM_ERROR).
struct Exchange {
    uint32_t failure = 0;
    std::vector<uint8_t> body;
};
Exchange Send(const std::optional<std::vector<uint8_t>>& frame);

// Runs one call: the PC/SC result (the host's or a transport failure) and,
// on a decoded reply, its fields in `reply`.
template <class Request, class Reply> uint32_t Call(const Request& request, Reply& reply)
{
    Exchange exchange = Send(bridge::EncodeFrame(request));
    if (exchange.failure != 0)
        return exchange.failure;
    if (bridge::DecodeReply(exchange.body.data(), exchange.body.size(), reply) != bridge::DecodeStatus::Ok)
        return bridge::kResultCommError;
    return reply.result;
}

} // namespace bridge_connection
