// A private pcscd with the vpcd driver (two virtual readers on random
// ports below the kernel's ephemeral range), never meeting the system's
// pcscd, and the bridge host on it.
//
// pcscd always uses /run/pcscd, so it runs in its own mount namespace with a
// private directory bound over /run/pcscd; clients find it through
// PCSCLITE_CSOCK_NAME. Needs root (unshare, mount).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "tools/pcsc-bridge/BridgeFile.h"

class BridgeRig {
public:
    // How long the host gives a started frame (and the hand-shake) to arrive whole.
    static constexpr int kFrameTimeoutMs = 300;
    // How long the host waits for a client to take a reply.
    static constexpr int kSendTimeoutMs = 1000;

    BridgeRig();
    ~BridgeRig();

    // Empty when everything started; otherwise what failed.
    const std::string& Failure() const { return m_failure; }

    uint16_t VpcdPort(int reader) const { return static_cast<uint16_t>(m_vpcdPort + reader); }
    uint16_t HostPort() const { return m_hostPort; }
    // The host's secret, from its bridge file.
    const std::vector<uint8_t>& Token() const { return m_token; }
    // The bridge file the host printed.
    const std::string& BridgeFile() const { return m_bridgeFile; }
    std::string SocketPath() const { return m_directory + "/run/pcscd.comm"; }
    // The host's XDG_RUNTIME_DIR.
    std::string RuntimeDirectory() const { return m_directory + "/user"; }
    std::string ReaderName(int reader) const;
    // True once the host reports a card in `reader` (pcscd polls its readers).
    bool WaitForCard(int reader) const;

    // A bridge host on this rig's pcscd with the same runtime directory.
    struct Host {
        std::unique_ptr<ChildProcess> process;
        std::string file;                // the bridge file it printed
        bridge::BridgeEndpoint endpoint; // read from it; port 0 when it did not read
    };
    // Starts one more host with these options.
    Host StartHost(const std::vector<std::string>& options) const;

private:
    bool StartPcscd();
    bool StartPcscdLocked();

    std::string m_directory;
    uint16_t m_vpcdPort = 0;
    uint16_t m_hostPort = 0;
    std::vector<uint8_t> m_token;
    std::string m_bridgeFile;
    std::unique_ptr<ChildProcess> m_pcscd;
    std::unique_ptr<ChildProcess> m_host;
    std::string m_failure;
};
