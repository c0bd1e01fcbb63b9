// A stand-in for the bridge host inside a Windows test program, so that the
// replacement winscard.dll can be tested against a host that misbehaves.
//
// It listens on 127.0.0.1, writes a bridge file with a fresh token, points
// VELMORA_BRIDGE_FILE at it, and runs the host's side of the hand-shake on
// every connection (closing it when the client's proof is wrong). Each
// request after it goes to the test's handler, whose frame is the reply; a
// handler that returns nullopt leaves the request unanswered (a stuck host).
// Handlers run on the connection's own thread, so one may block while
// another runs.
//
// An impostor takes the port of a host that is gone, whose bridge file
// stayed: it knows the port, not the token, so its proof is made with a
// token of its own; it accepts any proof and serves whatever it is sent.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tools/pcsc-bridge/BridgeFile.h"
#include "tools/pcsc-bridge/BridgeProtocol.h"

class ScriptedHost {
public:
    using Handler = std::function<std::optional<std::vector<uint8_t>>(const bridge::Request&)>;

    explicit ScriptedHost(Handler handler);
    // An impostor on the port of `gone`, whose bridge file it writes again.
    ScriptedHost(Handler handler, const bridge::BridgeEndpoint& gone);
    ~ScriptedHost();
    ScriptedHost(const ScriptedHost&) = delete;
    ScriptedHost& operator=(const ScriptedHost&) = delete;

    bool Listening() const { return m_listener != kNoSocket; }
    const std::vector<uint8_t>& Token() const { return m_token; }
    uint16_t Port() const { return m_port; }
    const std::wstring& BridgeFile() const { return m_file; }
    // Rewrites the bridge file (for tests of unreadable ones).
    void WriteBridgeFile(const std::string& text) const;
    // Connections that completed the hand-shake.
    int Authenticated() const { return m_authenticated; }
    // Connections accepted.
    int Connections() const { return m_connections; }
    // Requests passed to the handler.
    int Requests() const { return m_requests; }
    // True when `bytes` occur in what any connection sent.
    bool Received(const std::vector<uint8_t>& bytes);

    template <class Reply> static std::optional<std::vector<uint8_t>> Answer(const Reply& reply)
    {
        return bridge::EncodeFrame(reply);
    }

private:
    static constexpr uintptr_t kNoSocket = ~uintptr_t(0);
    void Start(uint16_t port, const std::vector<uint8_t>& fileToken);
    void AcceptLoop();
    bool Handshake(uintptr_t socket);
    void Serve(uintptr_t socket);
    std::optional<std::vector<uint8_t>> ReceiveBody(uintptr_t socket);

    Handler m_handler;
    std::vector<uint8_t> m_token; // the one its proofs are made with
    bool m_impostor = false;
    uint16_t m_port = 0;
    std::atomic<int> m_requests{0};
    std::atomic<int> m_connections{0};
    std::vector<uint8_t> m_received;
    std::wstring m_file;
    uintptr_t m_listener = kNoSocket;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_authenticated{0};
    std::mutex m_mutex;
    std::vector<uintptr_t> m_sockets;
    std::vector<std::thread> m_threads;
    std::thread m_acceptor;
};
