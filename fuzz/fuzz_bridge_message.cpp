// The host's message parser on arbitrary bytes: a frame header, then a
// request body. Whatever decodes must encode again to the same bytes, and
// the reply decoders must refuse what they cannot take without reading past
// the input.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "tools/pcsc-bridge/BridgeProtocol.h"

using namespace bridge;

namespace {

template <class Reply> void DecodeAsReply(const uint8_t* data, size_t size)
{
    Reply reply;
    if (DecodeReply(data, size, reply) == DecodeStatus::Ok && !EncodeFrame(reply))
        std::abort(); // decoded fields must be within the bounds the encoder enforces
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size >= kFrameHeaderSize)
        (void)DecodeFrameHeader(data);

    // An exact-size copy, so that a read past the body is a sanitizer finding.
    std::vector<uint8_t> body(data, data + size);
    Request request;
    if (DecodeRequest(body.data(), body.size(), request) == DecodeStatus::Ok) {
        auto frame = std::visit([](const auto& r) { return EncodeFrame(r); }, request);
        if (!frame || frame->size() != body.size() + kFrameHeaderSize ||
            !std::equal(body.begin(), body.end(), frame->begin() + kFrameHeaderSize))
            std::abort();
    }
    (void)PeekCall(body.data(), body.size());

    DecodeAsReply<GetStatusChangeReply>(body.data(), body.size());
    DecodeAsReply<ListReadersReply>(body.data(), body.size());
    DecodeAsReply<StatusReply>(body.data(), body.size());
    DecodeAsReply<TransmitReply>(body.data(), body.size());
    DecodeAsReply<ConnectReply>(body.data(), body.size());
    return 0;
}
