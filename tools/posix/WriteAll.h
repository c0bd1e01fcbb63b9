// Writing a whole buffer to a POSIX descriptor. write(2) and send(2) may
// take fewer bytes than given, or be interrupted by a signal before taking
// any; this is the loop that finishes the job, for files and sockets alike.
#pragma once
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace posix_io {

// Calls `writeSome(bytes, count)`, which keeps write(2)'s contract, on what
// is left until every byte is taken. An interrupted call is repeated; a call
// that would block asks `waitWritable()`: true to try again, false to give
// up. Any other error, or a call that takes nothing, fails.
template <class WriteSome, class WaitWritable>
bool WriteAllWith(const void* data, size_t size, WriteSome writeSome, WaitWritable waitWritable)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = writeSome(bytes + done, size - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && waitWritable())
            continue;
        return false;
    }
    return true;
}

// All of `data` to a file or a pipe.
inline bool WriteAll(int descriptor, const void* data, size_t size)
{
    return WriteAllWith(
        data, size, [descriptor](const uint8_t* bytes, size_t count) { return ::write(descriptor, bytes, count); },
        [] { return false; });
}

// All of `data` to a socket. MSG_NOSIGNAL: a peer that has gone is an error
// here, not SIGPIPE for the whole process.
inline bool SendAll(int socket, const std::vector<uint8_t>& data)
{
    return WriteAllWith(
        data.data(), data.size(),
        [socket](const uint8_t* bytes, size_t count) { return ::send(socket, bytes, count, MSG_NOSIGNAL); },
        [] { return false; });
}

} // namespace posix_io
