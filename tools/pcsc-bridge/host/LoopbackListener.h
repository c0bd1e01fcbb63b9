// A TCP listener on 127.0.0.1 that hands out connections from loopback peers only.
#pragma once
#include <cstdint>

class LoopbackListener {
public:
    LoopbackListener() = default;
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    // Listens on 127.0.0.1:port (0 = a port the system chooses). False on error.
    bool Listen(uint16_t port);
    uint16_t Port() const { return m_port; }

    // The next connection from a 127.0.0.0/8 peer (others are closed at
    // once), or -1 when the listener failed.
    int Accept();

private:
    int m_socket = -1;
    uint16_t m_port = 0;
};
