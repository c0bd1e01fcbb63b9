#include "BridgeConnection.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>
#include <map>

namespace bridge_connection {

namespace {

const char kPortVariable[] = "VELMORA_BRIDGE_PORT";

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

bool StartWinsock()
{
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

struct Registry {
    std::mutex mutex;
    std::map<uint32_t, ConnectionPtr> contexts;
    std::map<uint32_t, uint32_t> cards; // card → its context
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

} // namespace

// --- Connection ---------------------------------------------------------------

Connection::~Connection()
{
    Drop();
}

bool Connection::Open()
{
    std::optional<uint16_t> port = PortFromEnvironment();
    if (!port || !StartWinsock())
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
    m_socket = s;
    return true;
}

void Connection::Drop()
{
    if (m_socket != INVALID_SOCKET)
        closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

bool Connection::SendAll(const std::vector<uint8_t>& data)
{
    size_t done = 0;
    while (done < data.size()) {
        int n = send(m_socket, reinterpret_cast<const char*>(data.data() + done), static_cast<int>(data.size() - done), 0);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool Connection::ReceiveExactly(uint8_t* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        int n = recv(m_socket, reinterpret_cast<char*>(data + done), static_cast<int>(size - done), 0);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

uint32_t Connection::Exchange(const std::optional<std::vector<uint8_t>>& frame, std::vector<uint8_t>& body)
{
    body.clear();
    if (!frame)
        return bridge::kResultInvalidParameter; // a field beyond the wire's bounds
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_socket == INVALID_SOCKET)
        return bridge::kResultCommError;
    uint8_t header[bridge::kFrameHeaderSize];
    std::optional<size_t> size;
    if (SendAll(*frame) && ReceiveExactly(header, sizeof header))
        size = bridge::DecodeFrameHeader(header);
    if (size) {
        body.resize(*size);
        if (ReceiveExactly(body.data(), body.size()))
            return 0;
    }
    Drop();
    body.clear();
    return bridge::kResultCommError;
}

// --- registry -----------------------------------------------------------------

void AddContext(uint32_t context, ConnectionPtr connection)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.contexts[context] = std::move(connection);
}

void AddCard(uint32_t card, uint32_t context)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.cards[card] = context;
}

void RemoveContext(uint32_t context)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.contexts.erase(context);
    std::erase_if(registry.cards, [&](const auto& entry) { return entry.second == context; });
}

void RemoveCard(uint32_t card)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.cards.erase(card);
}

ConnectionPtr ForContext(uint32_t context)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.contexts.find(context);
    return it == registry.contexts.end() ? nullptr : it->second;
}

ConnectionPtr ForCard(uint32_t card)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.cards.find(card);
    if (it == registry.cards.end())
        return nullptr;
    auto context = registry.contexts.find(it->second);
    return context == registry.contexts.end() ? nullptr : context->second;
}

} // namespace bridge_connection
