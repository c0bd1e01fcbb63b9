#include "RandomBytes.h"

#include <sys/random.h>

#include <cerrno>

std::vector<uint8_t> RandomBytes(size_t size)
{
    std::vector<uint8_t> bytes(size);
    size_t done = 0;
    while (done < size) {
        ssize_t n = getrandom(bytes.data() + done, size - done, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return {};
        done += static_cast<size_t>(n);
    }
    return bytes;
}
