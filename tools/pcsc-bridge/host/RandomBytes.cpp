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

bool SecretsEqual(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    if (a.size() != b.size())
        return false;
    uint8_t difference = 0;
    for (size_t i = 0; i < a.size(); ++i)
        difference |= static_cast<uint8_t>(a[i] ^ b[i]);
    return difference == 0;
}
