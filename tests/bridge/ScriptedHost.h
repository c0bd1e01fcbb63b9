// A stand-in for the bridge host inside a Windows test program, so that the
// replacement winscard.dll can be tested against a host that misbehaves.
//
// It listens on 127.0.0.1, writes a bridge file with a fresh token, points
// VELMORA_BRIDGE_FILE at it, and on every connection checks that the first
// frame is the token (closing the connection otherwise). Each request after
// it goes to the test's handler, whose frame is the reply; a handler that
// returns nullopt leaves the request unanswered (a stuck host). Handlers run
// on the connection's own thread, so one may block while another runs.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tools/pcsc-bridge/BridgeProtocol.h"

class ScriptedHost {
public:
    using Handler = std::function<std::optional<std::vector<uint8_t>>(const bridge::Request&)>;

    explicit ScriptedHost(Handler handler);
    ~ScriptedHost();
    ScriptedHost(const ScriptedHost&) = delete;
    ScriptedHost& operator=(const ScriptedHost&) = delete;

    bool Listening() const { return m_listener != kNoSocket; }
    const std::vector<uint8_t>& Token() const { return m_token; }
    const std::wstring& BridgeFile() const { return m_file; }
    // Rewrites the bridge file (for tests of unreadable ones).
    void WriteBridgeFile(const std::string& text) const;
    // Connections that presented the token.
    int Authenticated() const { return m_authenticated; }

    template <class Reply> static std::optional<std::vector<uint8_t>> Answer(const Reply& reply)
    {
        return bridge::EncodeFrame(reply);
    }

private:
    static constexpr uintptr_t kNoSocket = ~uintptr_t(0);
    void AcceptLoop();
    void Serve(uintptr_t socket);

    Handler m_handler;
    std::vector<uint8_t> m_token;
    std::wstring m_file;
    uintptr_t m_listener = kNoSocket;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_authenticated{0};
    std::mutex m_mutex;
    std::vector<uintptr_t> m_sockets;
    std::vector<std::thread> m_threads;
    std::thread m_acceptor;
};
