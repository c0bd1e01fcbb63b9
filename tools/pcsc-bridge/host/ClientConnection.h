// Serves one client on its connected socket until it goes: reads frames,
// answers each one, and ends the client's PC/SC state at the end.
//
// A request that cannot be decoded is answered with an error reply and the
// connection stays usable. A frame header announcing an impossible length
// is answered with an error reply and the connection is closed, since the
// stream can no longer be followed.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

class ClientConnection {
public:
    explicit ClientConnection(int socket); // takes ownership of the socket
    ~ClientConnection();
    ClientConnection(const ClientConnection&) = delete;
    ClientConnection& operator=(const ClientConnection&) = delete;

    void Serve();

    // The reply to one request body (used by Serve and by the fuzz target).
    static std::vector<uint8_t> ReplyToBody(class ClientCalls& calls, const uint8_t* body, size_t size);

private:
    bool ReadExactly(uint8_t* data, size_t size);
    bool WriteAll(const std::vector<uint8_t>& data);
    bool PeerGone() const;

    int m_socket;
};
