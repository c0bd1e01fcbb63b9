#include "BridgeProtocol.h"

#include <cstring>

namespace bridge {

namespace {

// Smallest body: version and call id.
constexpr size_t kMinBodySize = 4;

bool IsValidName(const std::string& name)
{
    return name.size() <= kMaxReaderNameSize && name.find('\0') == std::string::npos;
}

template <class Message> DecodeStatus DecodeFields(Reader& reader, Request& request)
{
    Message message;
    message.Fields(reader);
    if (!reader.Ok() || !reader.AtEnd())
        return DecodeStatus::Malformed;
    request = std::move(message);
    return DecodeStatus::Ok;
}

} // namespace

// --- Writer -----------------------------------------------------------------

void Writer::U16(uint16_t value)
{
    m_data.push_back(static_cast<uint8_t>(value));
    m_data.push_back(static_cast<uint8_t>(value >> 8));
}

void Writer::U32(uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        m_data.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void Writer::Count(size_t count, size_t maxCount)
{
    if (count > maxCount) {
        m_ok = false;
        count = 0;
    }
    U16(static_cast<uint16_t>(count));
}

void Writer::Name(const std::string& name)
{
    if (!IsValidName(name)) {
        m_ok = false;
        U16(0);
        return;
    }
    U16(static_cast<uint16_t>(name.size()));
    m_data.insert(m_data.end(), name.begin(), name.end());
}

void Writer::NameList(const std::vector<std::string>& names, size_t maxCount)
{
    Count(names.size(), maxCount);
    if (names.size() > maxCount)
        return;
    for (const std::string& name : names) {
        if (name.empty())
            m_ok = false;
        Name(name);
    }
}

void Writer::Bytes(const std::vector<uint8_t>& bytes, size_t maxSize)
{
    Count(bytes.size(), maxSize);
    if (bytes.size() <= maxSize)
        m_data.insert(m_data.end(), bytes.begin(), bytes.end());
}

// --- Reader -----------------------------------------------------------------

bool Reader::Take(size_t n, const uint8_t*& bytes)
{
    if (!m_ok || n > m_size - m_offset) {
        m_ok = false;
        return false;
    }
    bytes = m_data + m_offset;
    m_offset += n;
    return true;
}

void Reader::U16(uint16_t& value)
{
    const uint8_t* bytes = nullptr;
    value = 0;
    if (Take(2, bytes))
        value = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

void Reader::U32(uint32_t& value)
{
    const uint8_t* bytes = nullptr;
    value = 0;
    if (Take(4, bytes))
        value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

size_t Reader::Count(size_t maxCount)
{
    uint16_t count = 0;
    U16(count);
    if (count > maxCount) {
        m_ok = false;
        return 0;
    }
    return m_ok ? count : 0;
}

void Reader::Name(std::string& name)
{
    name.clear();
    size_t size = Count(kMaxReaderNameSize);
    const uint8_t* bytes = nullptr;
    if (!Take(size, bytes))
        return;
    name.assign(reinterpret_cast<const char*>(bytes), size);
    if (!IsValidName(name)) {
        m_ok = false;
        name.clear();
    }
}

void Reader::NameList(std::vector<std::string>& names, size_t maxCount)
{
    names.clear();
    size_t count = Count(maxCount);
    for (size_t i = 0; i < count && m_ok; ++i) {
        std::string name;
        Name(name);
        if (name.empty())
            m_ok = false; // a multi-string cannot hold an empty name
        else
            names.push_back(std::move(name));
    }
    if (!m_ok)
        names.clear();
}

void Reader::Bytes(std::vector<uint8_t>& bytes, size_t maxSize)
{
    bytes.clear();
    size_t size = Count(maxSize);
    const uint8_t* data = nullptr;
    if (Take(size, data))
        bytes.assign(data, data + size);
}

// --- frames -------------------------------------------------------------------

std::optional<size_t> DecodeFrameHeader(const uint8_t header[kFrameHeaderSize])
{
    uint32_t size = static_cast<uint32_t>(header[0]) | static_cast<uint32_t>(header[1]) << 8 |
                    static_cast<uint32_t>(header[2]) << 16 | static_cast<uint32_t>(header[3]) << 24;
    if (size < kMinBodySize || size > kMaxBodySize)
        return std::nullopt;
    return size;
}

std::optional<Call> PeekCall(const uint8_t* body, size_t size)
{
    if (size < kMinBodySize)
        return std::nullopt;
    return static_cast<Call>(body[2] | (body[3] << 8));
}

DecodeStatus DecodeRequest(const uint8_t* body, size_t size, Request& request)
{
    Reader reader(body, size);
    uint16_t call = 0;
    if (const DecodeStatus header = DecodeHeader(reader, call); header != DecodeStatus::Ok)
        return header;
    switch (static_cast<Call>(call)) {
    case Call::EstablishContext: return DecodeFields<EstablishContextRequest>(reader, request);
    case Call::ReleaseContext: return DecodeFields<ReleaseContextRequest>(reader, request);
    case Call::IsValidContext: return DecodeFields<IsValidContextRequest>(reader, request);
    case Call::ListReaders: return DecodeFields<ListReadersRequest>(reader, request);
    case Call::GetStatusChange: return DecodeFields<GetStatusChangeRequest>(reader, request);
    case Call::Connect: return DecodeFields<ConnectRequest>(reader, request);
    case Call::Reconnect: return DecodeFields<ReconnectRequest>(reader, request);
    case Call::Disconnect: return DecodeFields<DisconnectRequest>(reader, request);
    case Call::BeginTransaction: return DecodeFields<BeginTransactionRequest>(reader, request);
    case Call::EndTransaction: return DecodeFields<EndTransactionRequest>(reader, request);
    case Call::Transmit: return DecodeFields<TransmitRequest>(reader, request);
    case Call::Status: return DecodeFields<StatusRequest>(reader, request);
    case Call::Cancel: return DecodeFields<CancelRequest>(reader, request);
    case Call::Hello:
    case Call::Proof:
    case Call::Error: break;
    }
    return DecodeStatus::UnknownCall;
}

} // namespace bridge
