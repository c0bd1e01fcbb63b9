#include "ClientConnection.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "ClientCalls.h"
#include "RandomBytes.h"
#include "tools/pcsc-bridge/BridgeProtocol.h"
#include "tools/posix/WriteAll.h"

using namespace bridge;

namespace {

std::vector<uint8_t> ErrorFrame(uint32_t result)
{
    ErrorReply error;
    error.result = result;
    return *EncodeFrame(error);
}

} // namespace

ClientConnection::ClientConnection(int socket, const Settings& settings) : m_socket(socket), m_settings(settings) {}

ClientConnection::~ClientConnection()
{
    close(m_socket);
}

std::vector<uint8_t> ClientConnection::ReplyToBody(ClientCalls& calls, const uint8_t* body, size_t size)
{
    Request request;
    switch (DecodeRequest(body, size, request)) {
    case DecodeStatus::Ok: return calls.Execute(request);
    case DecodeStatus::Malformed: return ErrorFrame(kResultInvalidParameter);
    case DecodeStatus::WrongVersion:
    case DecodeStatus::UnknownCall: break;
    }
    return ErrorFrame(kResultUnsupportedFeature);
}

std::optional<std::vector<uint8_t>> ClientConnection::ReadHandshakeFrame(TimePoint deadline)
{
    uint8_t header[kFrameHeaderSize];
    if (ReadExactly(header, sizeof header, deadline) != ReadResult::Ok)
        return std::nullopt;
    std::optional<size_t> size = DecodeFrameHeader(header);
    if (!size)
        return std::nullopt;
    std::vector<uint8_t> body(*size);
    if (ReadExactly(body.data(), body.size(), deadline) != ReadResult::Ok)
        return std::nullopt;
    return body;
}

bool ClientConnection::Authenticate()
{
    const auto deadline = std::chrono::steady_clock::now() + m_settings.frameTimeout;
    auto helloBody = ReadHandshakeFrame(deadline);
    HelloRequest hello;
    if (!helloBody || DecodeHandshake(helloBody->data(), helloBody->size(), hello) != DecodeStatus::Ok ||
        hello.challenge.size() != kChallengeSize)
        return false;
    HelloReply reply;
    reply.challenge = RandomBytes(kChallengeSize);
    reply.proof = HandshakeProof(Prover::Host, m_settings.token, hello.challenge, reply.challenge);
    if (reply.proof.empty() || !WriteAll(*EncodeFrame(reply)))
        return false;
    auto proofBody = ReadHandshakeFrame(deadline);
    ProofRequest proof;
    if (!proofBody || DecodeHandshake(proofBody->data(), proofBody->size(), proof) != DecodeStatus::Ok ||
        !ProofValid(Prover::Client, m_settings.token, hello.challenge, reply.challenge, proof.proof))
        return false;
    return WriteAll(*EncodeFrame(ProofReply{}));
}

void ClientConnection::Abandon()
{
    shutdown(m_socket, SHUT_RDWR);
}

void ClientConnection::Serve()
{
    ClientCalls calls([this] { return PeerGone(); });
    std::vector<uint8_t> body;
    for (;;) {
        uint8_t header[kFrameHeaderSize];
        // Between frames a client may stay idle for as long as it likes.
        if (ReadExactly(header, 1, std::nullopt) != ReadResult::Ok)
            break;
        const auto deadline = std::chrono::steady_clock::now() + m_settings.frameTimeout;
        ReadResult read = ReadExactly(header + 1, sizeof header - 1, deadline);
        std::optional<size_t> size;
        if (read == ReadResult::Ok) {
            size = DecodeFrameHeader(header);
            if (!size) {
                WriteAll(ErrorFrame(kResultInvalidParameter));
                break;
            }
            body.resize(*size);
            read = ReadExactly(body.data(), body.size(), deadline);
        }
        if (read == ReadResult::TimedOut)
            WriteAll(ErrorFrame(kResultInvalidParameter));
        if (read != ReadResult::Ok)
            break;
        if (!WriteAll(ReplyToBody(calls, body.data(), body.size())))
            break;
    }
    calls.EndAll();
}

bool ClientConnection::WaitFor(short events, TimePoint deadline)
{
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd descriptor{m_socket, events, 0};
        int ready = left.count() > 0 ? poll(&descriptor, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR)
            continue;
        // An error or hang-up shows as ready: the next call on the socket reports it.
        return ready != 0;
    }
}

ClientConnection::ReadResult ClientConnection::ReadExactly(uint8_t* data, size_t size,
                                                           std::optional<TimePoint> deadline)
{
    size_t done = 0;
    while (done < size) {
        if (deadline && !WaitFor(POLLIN, *deadline))
            return ReadResult::TimedOut;
        ssize_t n = recv(m_socket, data + done, size - done, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return ReadResult::Closed;
        done += static_cast<size_t>(n);
    }
    return ReadResult::Ok;
}

bool ClientConnection::WriteAll(const std::vector<uint8_t>& data)
{
    // Without blocking: a client that does not read gives up the reply at
    // the deadline instead of holding the host.
    const auto deadline = std::chrono::steady_clock::now() + m_settings.sendTimeout;
    return posix_io::WriteAllWith(
        data.data(), data.size(),
        [this](const uint8_t* bytes, size_t count) {
            return send(m_socket, bytes, count, MSG_NOSIGNAL | MSG_DONTWAIT);
        },
        [this, deadline] { return WaitFor(POLLOUT, deadline); });
}

bool ClientConnection::PeerGone() const
{
    pollfd descriptor{m_socket, POLLRDHUP, 0};
    int n = poll(&descriptor, 1, 0);
    return n > 0 && (descriptor.revents & (POLLRDHUP | POLLHUP | POLLERR));
}
