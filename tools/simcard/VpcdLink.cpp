#include "VpcdLink.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "tools/posix/WriteAll.h"

namespace simcard {
namespace {

// Interruptible pause; false when a signal arrived.
bool Pause(long milliseconds, const sigset_t& waitMask)
{
    const timespec delay{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    return ppoll(nullptr, 0, &delay, &waitMask) == 0;
}

} // namespace

VpcdLink::~VpcdLink()
{
    Close();
}

bool VpcdLink::Connect(uint16_t port, unsigned attempts, const sigset_t& waitMask, std::string& error)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (unsigned attempt = 0; attempt < attempts; ++attempt) {
        Close();
        m_socket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_socket < 0) {
            error = std::string("socket: ") + std::strerror(errno);
            return false;
        }
        if (connect(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            // vpcd sends length and payload in two writes: without these,
            // every command waits for a delayed acknowledgement.
            const int on = 1;
            setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            return true;
        }
        error = "connect to 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
        if (!Pause(100, waitMask)) {
            error = "interrupted";
            break;
        }
    }
    Close();
    return false;
}

bool VpcdLink::ReceiveExactly(uint8_t* buffer, size_t length, const sigset_t& waitMask, bool& interrupted)
{
    size_t received = 0;
    while (received < length) {
        pollfd wait{m_socket, POLLIN, 0};
        const int ready = ppoll(&wait, 1, nullptr, &waitMask);
        if (ready < 0) {
            if (errno == EINTR) {
                interrupted = true;
                return false;
            }
            return false;
        }
        const int on = 1; // Linux clears quick acknowledgement after each use
        setsockopt(m_socket, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
        const ssize_t n = recv(m_socket, buffer + received, length - received, 0);
        if (n <= 0) {
            if (n < 0 && errno == EINTR)
                continue;
            return false;
        }
        received += static_cast<size_t>(n);
    }
    return true;
}

bool VpcdLink::Receive(std::vector<uint8_t>& message, const sigset_t& waitMask, bool& interrupted)
{
    interrupted = false;
    if (m_socket < 0)
        return false;
    uint8_t header[2];
    if (!ReceiveExactly(header, sizeof header, waitMask, interrupted))
        return false;
    message.resize(size_t{header[0]} << 8 | header[1]);
    return message.empty() || ReceiveExactly(message.data(), message.size(), waitMask, interrupted);
}

bool VpcdLink::Send(const std::vector<uint8_t>& message)
{
    if (m_socket < 0 || message.size() > 0xFFFF)
        return false;
    std::vector<uint8_t> frame;
    frame.reserve(message.size() + 2);
    frame.push_back(static_cast<uint8_t>(message.size() >> 8));
    frame.push_back(static_cast<uint8_t>(message.size() & 0xFF));
    frame.insert(frame.end(), message.begin(), message.end());
    return posix_io::SendAll(m_socket, frame);
}

void VpcdLink::Abort()
{
    if (m_socket >= 0) {
        // A reset rather than an orderly end: vpcd then fails the exchange
        // in progress, where an end of stream would pass for an empty answer.
        const linger abort{1, 0};
        setsockopt(m_socket, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    }
    Close();
}

void VpcdLink::Close()
{
    if (m_socket >= 0) {
        close(m_socket);
        m_socket = -1;
    }
}

} // namespace simcard
