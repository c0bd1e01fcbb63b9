#include "ClientConnection.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "ClientCalls.h"
#include "tools/pcsc-bridge/BridgeProtocol.h"

using namespace bridge;

namespace {

std::vector<uint8_t> ErrorFrame(uint32_t result)
{
    ErrorReply error;
    error.result = result;
    return *EncodeFrame(error);
}

} // namespace

ClientConnection::ClientConnection(int socket) : m_socket(socket) {}

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

void ClientConnection::Serve()
{
    ClientCalls calls([this] { return PeerGone(); });
    std::vector<uint8_t> body;
    for (;;) {
        uint8_t header[kFrameHeaderSize];
        if (!ReadExactly(header, sizeof header))
            break;
        std::optional<size_t> size = DecodeFrameHeader(header);
        if (!size) {
            WriteAll(ErrorFrame(kResultInvalidParameter));
            break;
        }
        body.resize(*size);
        if (!ReadExactly(body.data(), body.size()))
            break;
        if (!WriteAll(ReplyToBody(calls, body.data(), body.size())))
            break;
    }
    calls.EndAll();
}

bool ClientConnection::ReadExactly(uint8_t* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        ssize_t n = recv(m_socket, data + done, size - done, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool ClientConnection::WriteAll(const std::vector<uint8_t>& data)
{
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = send(m_socket, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool ClientConnection::PeerGone() const
{
    pollfd descriptor{m_socket, POLLRDHUP, 0};
    int n = poll(&descriptor, 1, 0);
    return n > 0 && (descriptor.revents & (POLLRDHUP | POLLHUP | POLLERR));
}
