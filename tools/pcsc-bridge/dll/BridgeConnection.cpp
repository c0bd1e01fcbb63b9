#include "BridgeConnection.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <bcrypt.h>

#include <map>

#include "HostEndpoint.h"

using namespace bridge;

namespace bridge_connection {

namespace {

bool StartWinsock()
{
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

// A fresh challenge from the system's random source; empty if it failed.
std::vector<uint8_t> RandomChallenge()
{
    std::vector<uint8_t> challenge(kChallengeSize);
    if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, challenge.data(), static_cast<ULONG>(challenge.size()),
                                        BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
        return {};
    return challenge;
}

uint64_t DeadlineAfter(uint64_t milliseconds)
{
    return milliseconds == kNoDeadline ? kNoDeadline : GetTickCount64() + milliseconds;
}

struct ContextEntry {
    ConnectionPtr connection;
    std::vector<uint8_t> cancelKey;
};

struct Registry {
    std::mutex mutex;
    std::map<uint32_t, ContextEntry> contexts;
    std::map<uint32_t, uint32_t> cards; // card → its context
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

std::optional<ContextEntry> EntryFor(uint32_t context)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.contexts.find(context);
    if (it == registry.contexts.end())
        return std::nullopt;
    return it->second;
}

} // namespace

// --- Connection ---------------------------------------------------------------

Connection::~Connection()
{
    Drop();
}

bool Connection::Open()
{
    std::optional<BridgeEndpoint> endpoint = host_endpoint::Read();
    if (!endpoint || !StartWinsock())
        return false;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(endpoint->port);
    u_long nonBlocking = 1;
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
        closesocket(s);
        return false;
    }
    BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    m_socket = s;
    return Handshake(endpoint->token);
}

bool Connection::Handshake(const std::vector<uint8_t>& token)
{
    HelloRequest hello{RandomChallenge()};
    HelloReply reply;
    if (hello.challenge.empty() || Call(hello, reply) != 0 ||
        !ProofValid(Prover::Host, token, hello.challenge, reply.challenge, reply.proof)) {
        Drop(); // not our host: it gets nothing more
        return false;
    }
    ProofReply accepted;
    if (Call(ProofRequest{HandshakeProof(Prover::Client, token, hello.challenge, reply.challenge)}, accepted) != 0) {
        Drop();
        return false;
    }
    return true;
}

void Connection::Drop()
{
    std::lock_guard<std::mutex> lock(m_socketMutex);
    if (m_socket != INVALID_SOCKET)
        closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

void Connection::Abort()
{
    std::lock_guard<std::mutex> lock(m_socketMutex);
    if (m_socket != INVALID_SOCKET)
        shutdown(m_socket, SD_BOTH);
}

bool Connection::WaitFor(bool write, uint64_t deadline)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(static_cast<SOCKET>(m_socket), &set);
    timeval timeout{};
    timeval* limit = nullptr;
    if (deadline != kNoDeadline) {
        uint64_t now = GetTickCount64();
        uint64_t left = deadline > now ? deadline - now : 0;
        timeout.tv_sec = static_cast<long>(left / 1000);
        timeout.tv_usec = static_cast<long>(left % 1000 * 1000);
        limit = &timeout;
    }
    int ready = select(0, write ? nullptr : &set, write ? &set : nullptr, nullptr, limit);
    return ready > 0;
}

bool Connection::SendAll(const std::vector<uint8_t>& data, uint64_t deadline)
{
    size_t done = 0;
    while (done < data.size()) {
        int n = send(m_socket, reinterpret_cast<const char*>(data.data() + done), static_cast<int>(data.size() - done), 0);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK && WaitFor(true, deadline))
            continue;
        return false;
    }
    return true;
}

bool Connection::ReceiveExactly(uint8_t* data, size_t size, uint64_t deadline)
{
    size_t done = 0;
    while (done < size) {
        int n = recv(m_socket, reinterpret_cast<char*>(data + done), static_cast<int>(size - done), 0);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK && WaitFor(false, deadline))
            continue;
        return false; // closed, failed, or the deadline passed
    }
    return true;
}

uint32_t Connection::Exchange(const std::optional<std::vector<uint8_t>>& frame, std::vector<uint8_t>& body,
                              CallOptions options)
{
    body.clear();
    if (!frame)
        return kResultInvalidParameter; // a field beyond the wire's bounds
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_socket == INVALID_SOCKET)
        return kResultCommError;
    const uint64_t deadline = DeadlineAfter(options.deadlineMs);
    m_waiting = options.cancellable;
    uint8_t header[kFrameHeaderSize];
    std::optional<size_t> size;
    if (SendAll(*frame, deadline) && ReceiveExactly(header, sizeof header, deadline))
        size = DecodeFrameHeader(header);
    bool received = false;
    if (size) {
        body.resize(*size);
        received = ReceiveExactly(body.data(), body.size(), deadline);
    }
    m_waiting = false;
    if (received)
        return 0;
    Drop();
    body.clear();
    return kResultCommError;
}

// --- registry -----------------------------------------------------------------

void AddContext(uint32_t context, ConnectionPtr connection, std::vector<uint8_t> cancelKey)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.contexts[context] = ContextEntry{std::move(connection), std::move(cancelKey)};
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
    std::optional<ContextEntry> entry = EntryFor(context);
    return entry ? entry->connection : nullptr;
}

ConnectionPtr ForCard(uint32_t card)
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.cards.find(card);
    if (it == registry.cards.end())
        return nullptr;
    auto context = registry.contexts.find(it->second);
    return context == registry.contexts.end() ? nullptr : context->second.connection;
}

uint32_t CancelWait(uint32_t context)
{
    std::optional<ContextEntry> entry = EntryFor(context);
    if (!entry)
        return kResultInvalidHandle;
    const uint64_t deadline = DeadlineAfter(kCallDeadlineMs);
    // The wait may not have reached the host yet: ask again until it ends.
    while (entry->connection->Waiting()) {
        Connection canceller;
        CancelReply reply;
        if (!canceller.Open() || canceller.Call(CancelRequest{context, entry->cancelKey}, reply) != 0 ||
            GetTickCount64() >= deadline) {
            entry->connection->Abort(); // nothing else would end it
            break;
        }
        if (reply.waitEnded)
            break;
        Sleep(10);
    }
    return 0;
}

} // namespace bridge_connection
