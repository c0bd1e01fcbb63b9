// The bridge host's dispatch of decoded requests over the fake PC/SC
// library: the input is a sequence of request bodies, each run through the
// same ClientCalls as a client's would be, so handles made by one request
// are used by the next. Every reply must be a frame the client can decode,
// and the client's state is ended at the end as when it goes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "FakePcsc.h"
#include "tools/pcsc-bridge/BridgeProtocol.h"
#include "tools/pcsc-bridge/host/ClientCalls.h"
#include "tools/pcsc-bridge/host/ClientConnection.h"

using namespace bridge;

namespace {

// Bodies follow each other, each after a 2-byte little-endian length.
std::vector<std::vector<uint8_t>> SplitBodies(const uint8_t* data, size_t size)
{
    std::vector<std::vector<uint8_t>> bodies;
    size_t offset = 0;
    while (size - offset >= 2 && bodies.size() < 64) {
        size_t length = data[offset] | data[offset + 1] << 8;
        offset += 2;
        length = std::min(length, size - offset);
        bodies.emplace_back(data + offset, data + offset + length);
        offset += length;
    }
    return bodies;
}

void CheckReply(const std::vector<uint8_t>& frame)
{
    if (frame.size() < kFrameHeaderSize)
        std::abort();
    auto size = DecodeFrameHeader(frame.data());
    if (!size || *size != frame.size() - kFrameHeaderSize)
        std::abort(); // the client could not follow the stream
    if (!PeekCall(frame.data() + kFrameHeaderSize, *size))
        std::abort();
}

// A card in the first reader answers every command with its data and 90 00.
long Answer(const std::string&, const fake_pcsc::Bytes& command, fake_pcsc::Bytes& response)
{
    response.assign(command.size() > 5 ? command.begin() + 5 : command.end(), command.end());
    response.push_back(0x90);
    response.push_back(0x00);
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fake_pcsc::Reset();
    fake_pcsc::SetReaders({"Virtual PCD 00 00", "Virtual PCD 00 01"});
    fake_pcsc::SetCardPresent("Virtual PCD 00 01", false);
    fake_pcsc::SetResponder(Answer);
    {
        // The fake never waits, so a status-change wait would spin for its
        // whole time-out: the client counts as gone after the first slice.
        ClientCalls calls([] { return true; });
        for (const std::vector<uint8_t>& body : SplitBodies(data, size))
            CheckReply(ClientConnection::ReplyToBody(calls, body.data(), body.size()));
    }
    return 0;
}
