#include "BridgeConnection.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>
#include <mutex>

namespace bridge_connection {

namespace {

const char kPortVariable[] = "VELMORA_BRIDGE_PORT";

std::mutex g_mutex;
SOCKET g_socket = INVALID_SOCKET;
bool g_winsockStarted = false;

std::optional<uint16_t> PortFromEnvironment()
{
    const char* text = std::getenv(kPortVariable);
    if (!text || !*text)
        return std::nullopt;
    char* end = nullptr;
    unsigned long port = std::strtoul(text, &end, 10);
    if (*end != '\0' || port == 0 || port > 65535)
        return std::nullopt;
    return static_cast<uint16_t>(port);
}

bool Connect()
{
    if (!g_winsockStarted) {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
            return false;
        g_winsockStarted = true;
    }
    std::optional<uint16_t> port = PortFromEnvironment();
    if (!port)
        return false;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(*port);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        closesocket(s);
        return false;
    }
    BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    g_socket = s;
    return true;
}

void Drop()
{
    if (g_socket != INVALID_SOCKET)
        closesocket(g_socket);
    g_socket = INVALID_SOCKET;
}

bool SendAll(const std::vector<uint8_t>& data)
{
    size_t done = 0;
    while (done < data.size()) {
        int n = send(g_socket, reinterpret_cast<const char*>(data.data() + done), static_cast<int>(data.size() - done), 0);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool ReceiveExactly(uint8_t* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        int n = recv(g_socket, reinterpret_cast<char*>(data + done), static_cast<int>(size - done), 0);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

Exchange Send(const std::optional<std::vector<uint8_t>>& frame)
{
    Exchange exchange;
    if (!frame) {
        exchange.failure = bridge::kResultInvalidParameter; // a field beyond the wire's bounds
        return exchange;
    }
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_socket == INVALID_SOCKET && !Connect()) {
        exchange.failure = bridge::kResultNoService;
        return exchange;
    }
    uint8_t header[bridge::kFrameHeaderSize];
    if (!SendAll(*frame) || !ReceiveExactly(header, sizeof header)) {
        Drop();
        exchange.failure = bridge::kResultCommError;
        return exchange;
    }
    std::optional<size_t> size = bridge::DecodeFrameHeader(header);
    if (!size) {
        Drop();
        exchange.failure = bridge::kResultCommError;
        return exchange;
    }
    exchange.body.resize(*size);
    if (!ReceiveExactly(exchange.body.data(), exchange.body.size())) {
        Drop();
        exchange.body.clear();
        exchange.failure = bridge::kResultCommError;
    }
    return exchange;
}

} // namespace bridge_connection
