// Runs one client's requests against pcsc-lite.
//
// Contexts and card handles cross the wire as their low 32 bits, unchanged.
// The calls keep the ones this client made: a handle the client does not own
// is SCARD_E_INVALID_HANDLE and never reaches pcsc-lite, and when the client
// goes, EndAll() disconnects its cards (with a reset, so that a verified PIN
// does not outlive the program that entered it) and releases its contexts.
// Each context gets a cancel key (see CancelRegistry), with which the client
// can cancel the context's wait from another connection.
#pragma once
#include <PCSC/winscard.h>
#include <PCSC/wintypes.h>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "tools/pcsc-bridge/BridgeProtocol.h"

class ClientCalls {
public:
    // `peerGone` tells a long status-change wait that nobody waits for it any more.
    explicit ClientCalls(std::function<bool()> peerGone);
    ~ClientCalls();
    ClientCalls(const ClientCalls&) = delete;
    ClientCalls& operator=(const ClientCalls&) = delete;

    // Executes one request and returns the reply frame.
    std::vector<uint8_t> Execute(const bridge::Request& request);

    void EndAll();

    static constexpr size_t kMaxContexts = 16;
    static constexpr size_t kMaxCards = 32;

private:
    std::vector<uint8_t> Run(const bridge::EstablishContextRequest& request);
    std::vector<uint8_t> Run(const bridge::ReleaseContextRequest& request);
    std::vector<uint8_t> Run(const bridge::IsValidContextRequest& request);
    std::vector<uint8_t> Run(const bridge::ListReadersRequest& request);
    std::vector<uint8_t> Run(const bridge::GetStatusChangeRequest& request);
    std::vector<uint8_t> Run(const bridge::ConnectRequest& request);
    std::vector<uint8_t> Run(const bridge::ReconnectRequest& request);
    std::vector<uint8_t> Run(const bridge::DisconnectRequest& request);
    std::vector<uint8_t> Run(const bridge::BeginTransactionRequest& request);
    std::vector<uint8_t> Run(const bridge::EndTransactionRequest& request);
    std::vector<uint8_t> Run(const bridge::TransmitRequest& request);
    std::vector<uint8_t> Run(const bridge::StatusRequest& request);
    std::vector<uint8_t> Run(const bridge::CancelRequest& request);
    LONG ReleaseContext(uint32_t wire, SCARDCONTEXT context);

    LONG WaitForStatusChange(uint32_t wire, SCARDCONTEXT context, uint32_t timeout,
                             std::vector<SCARD_READERSTATE>& states);

    struct Card {
        SCARDHANDLE handle;
        uint32_t context; // wire value of the context it was connected on
    };

    std::function<bool()> m_peerGone;
    std::map<uint32_t, SCARDCONTEXT> m_contexts;
    std::map<uint32_t, Card> m_cards;
};

// The reply frame for a message, or an internal-error reply when the reply
// cannot be encoded within the bounds.
template <class Message> std::vector<uint8_t> ReplyFrame(const Message& reply)
{
    if (auto frame = bridge::EncodeFrame(reply))
        return std::move(*frame);
    bridge::ErrorReply error;
    error.result = bridge::kResultInternalError;
    return *bridge::EncodeFrame(error);
}
