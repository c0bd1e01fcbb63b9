#include "BridgeClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "tools/posix/WriteAll.h"

using namespace bridge;

BridgeClient::BridgeClient(uint16_t port, const std::vector<uint8_t>* token, int receiveBuffer)
{
    m_socket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    // Shrinking the buffer of a connected socket can drop data inside the
    // window it already offered, and the peer then backs off for minutes.
    if (receiveBuffer > 0)
        setsockopt(m_socket, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(m_socket);
        m_socket = -1;
        return;
    }
    int on = 1;
    setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (token && !Authenticate(*token))
        Close();
}

std::vector<uint8_t> BridgeClient::NewChallenge()
{
    std::random_device random;
    std::vector<uint8_t> challenge(kChallengeSize);
    for (uint8_t& byte : challenge)
        byte = static_cast<uint8_t>(random());
    return challenge;
}

bool BridgeClient::Authenticate(const std::vector<uint8_t>& token)
{
    const std::vector<uint8_t> challenge = NewChallenge();
    HelloReply hello;
    if (Call(HelloRequest{challenge}, hello) != 0 ||
        !ProofValid(Prover::Host, token, challenge, hello.challenge, hello.proof))
        return false;
    ProofReply accepted;
    return Call(ProofRequest{HandshakeProof(Prover::Client, token, challenge, hello.challenge)}, accepted) == 0;
}

BridgeClient::~BridgeClient()
{
    Close();
}

void BridgeClient::Close()
{
    if (m_socket >= 0)
        close(m_socket);
    m_socket = -1;
}

uint32_t BridgeClient::EstablishContext()
{
    EstablishContextReply reply;
    return Call(EstablishContextRequest{0}, reply) == 0 ? reply.context : 0;
}

uint32_t BridgeClient::Connect(uint32_t context, const std::string& reader, uint32_t& card)
{
    ConnectRequest request;
    request.context = context;
    request.reader = reader;
    request.shareMode = 2;         // shared
    request.preferredProtocols = 1; // T=0
    ConnectReply reply;
    uint32_t result = Call(request, reply);
    card = reply.card;
    return result;
}

uint32_t BridgeClient::BeginTransaction(uint32_t card)
{
    BeginTransactionReply reply;
    return Call(BeginTransactionRequest{card}, reply);
}

uint32_t BridgeClient::EndTransaction(uint32_t card)
{
    EndTransactionReply reply;
    return Call(EndTransactionRequest{card, 0}, reply);
}

void BridgeClient::SetReceiveTimeout(int seconds)
{
    timeval timeout{seconds, 0};
    setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
}

bool BridgeClient::SendRaw(const std::vector<uint8_t>& bytes)
{
    return m_socket >= 0 && posix_io::SendAll(m_socket, bytes);
}

size_t BridgeClient::SendWithoutReading(const std::vector<uint8_t>& frame, std::chrono::milliseconds quiet)
{
    size_t frames = 0;
    size_t offset = 0;
    for (;;) {
        ssize_t n = send(m_socket, frame.data() + offset, frame.size() - offset, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            offset += static_cast<size_t>(n);
            if (offset == frame.size()) {
                offset = 0;
                ++frames;
            }
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return frames;
        pollfd descriptor{m_socket, POLLOUT, 0};
        if (poll(&descriptor, 1, static_cast<int>(quiet.count())) == 0)
            return frames;
    }
}

bool BridgeClient::Receive(uint8_t* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        ssize_t n = recv(m_socket, data + done, size - done, 0);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::optional<std::vector<uint8_t>> BridgeClient::ReceiveBody()
{
    uint8_t header[kFrameHeaderSize];
    if (m_socket < 0 || !Receive(header, sizeof header))
        return std::nullopt;
    auto size = DecodeFrameHeader(header);
    if (!size)
        return std::nullopt;
    std::vector<uint8_t> body(*size);
    if (!Receive(body.data(), body.size()))
        return std::nullopt;
    return body;
}

bool BridgeClient::ClosedByHostYet()
{
    pollfd descriptor{m_socket, POLLIN, 0};
    return m_socket >= 0 && poll(&descriptor, 1, 0) > 0 && ClosedByHost();
}

bool BridgeClient::ClosedByHost()
{
    uint8_t byte = 0;
    if (m_socket < 0)
        return false;
    ssize_t n = recv(m_socket, &byte, 1, 0);
    // A host that closes with bytes of ours unread resets the connection.
    return n == 0 || (n < 0 && errno == ECONNRESET);
}
