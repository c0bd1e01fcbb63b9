#include "VirtualCard.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "tools/posix/WriteAll.h"

const std::vector<uint8_t> VirtualCard::kAtr = {0x3B, 0x02, 0x14, 0x50};

namespace {

// Control messages of one byte: 0 power off, 1 power on, 2 reset (no answer
// for these), 4 ATR request.
constexpr uint8_t kGetAtr = 0x04;

int ConnectTo(uint16_t port)
{
    // The driver's port is open as soon as pcscd has loaded the reader.
    for (int attempt = 0; attempt < 100; ++attempt) {
        int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            int on = 1;
            setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            return s;
        }
        close(s);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
}

} // namespace

VirtualCard::VirtualCard(uint16_t vpcdPort)
{
    m_socket = ConnectTo(vpcdPort);
    if (m_socket >= 0)
        m_thread = std::thread([this] { Serve(); });
}

VirtualCard::~VirtualCard()
{
    if (m_socket >= 0)
        shutdown(m_socket, SHUT_RDWR);
    if (m_thread.joinable())
        m_thread.join();
    if (m_socket >= 0)
        close(m_socket);
}

std::vector<uint8_t> VirtualCard::Respond(const std::vector<uint8_t>& command)
{
    if (command.size() >= 2 && command[1] == 0xFF)
        return {0x6D, 0x00};
    if (command.size() == 5) {
        std::vector<uint8_t> response;
        unsigned length = command[4] == 0 ? 256 : command[4];
        for (unsigned i = 0; i < length; ++i)
            response.push_back(static_cast<uint8_t>(command[2] + i));
        response.insert(response.end(), {0x90, 0x00});
        return response;
    }
    return {0x90, 0x00};
}

void VirtualCard::Serve()
{
    for (;;) {
        uint8_t header[2];
        if (!Receive(header, sizeof header))
            return;
        std::vector<uint8_t> message(static_cast<size_t>(header[0] << 8 | header[1]));
        if (!Receive(message.data(), message.size()))
            return;
        if (message.size() == 1) {
            if (message[0] == kGetAtr && !Send(kAtr))
                return;
            continue;
        }
        if (!Send(Respond(message)))
            return;
    }
}

bool VirtualCard::Receive(uint8_t* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        int on = 1;
        setsockopt(m_socket, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
        ssize_t n = recv(m_socket, data + done, size - done, 0);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool VirtualCard::Send(const std::vector<uint8_t>& message)
{
    std::vector<uint8_t> frame = {static_cast<uint8_t>(message.size() >> 8), static_cast<uint8_t>(message.size())};
    frame.insert(frame.end(), message.begin(), message.end());
    return posix_io::SendAll(m_socket, frame);
}
