#include "sim/provider/ServiceProviderName.h"

#include <algorithm>

namespace {

constexpr size_t NameLength = 16;

} // namespace

bool DecodeServiceProviderName(const uint8_t* data, size_t length, ServiceProviderName& spn)
{
    if (length == 0 || std::all_of(data, data + length, [](uint8_t b) { return b == 0xFF; }))
        return false;
    spn.displayCondition = data[0];
    spn.name = DecodeAlphaIdentifier(data + 1, std::min(length - 1, NameLength));
    return true;
}
