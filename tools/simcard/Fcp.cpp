#include "Fcp.h"

namespace simcard {
namespace {

constexpr uint8_t FcpTag = 0x62;
constexpr uint8_t LifeCycleActive = 0x05;
constexpr uint8_t LifeCycleDeactivated = 0x04;
// PS_DO key references of the MF and of an application, in this order.
constexpr uint8_t KeyPin1 = 0x01, KeyPin2 = 0x81, KeyAdm1 = 0x0A, KeyAdm2 = 0x0B;

uint8_t High(unsigned value) { return static_cast<uint8_t>(value >> 8 & 0xFF); }
uint8_t Low(unsigned value) { return static_cast<uint8_t>(value & 0xFF); }

void Append(std::vector<uint8_t>& out, uint8_t tag, const std::vector<uint8_t>& value)
{
    out.push_back(tag);
    if (value.size() > 0x7F)
        out.push_back(0x81);
    out.push_back(static_cast<uint8_t>(value.size()));
    out.insert(out.end(), value.begin(), value.end());
}

uint8_t DescriptorByte(UiccFileType type)
{
    switch (type) {
    case UiccFileType::Directory:
    case UiccFileType::Application:
        return 0x78; // shareable DF
    case UiccFileType::LinearFixed:
        return 0x42;
    case UiccFileType::Cyclic:
        return 0x46;
    case UiccFileType::BerTlv:
        return 0x39;
    case UiccFileType::Transparent:
        break;
    }
    return 0x41;
}

bool IsRecordFile(UiccFileType type) { return type == UiccFileType::LinearFixed || type == UiccFileType::Cyclic; }

// The security attributes: a reference to a rule of EF_ARR (2F06 for the
// MF's files, 6F06 elsewhere), one rule per read condition.
std::vector<uint8_t> ArrReference(const UiccFileProfile& file)
{
    const uint16_t arr = file.path.size() <= 2 ? 0x2F06 : 0x6F06;
    return {High(arr), Low(arr), static_cast<uint8_t>(1 + static_cast<unsigned>(file.read))};
}

std::vector<uint8_t> PinStatusTemplate(bool isMf, const PinStates& pins)
{
    std::vector<uint8_t> keys = isMf ? std::vector<uint8_t>{KeyPin1, KeyAdm1, KeyAdm2}
                                     : std::vector<uint8_t>{KeyPin1, KeyPin2, KeyAdm1, KeyAdm2};
    uint8_t psDo = 0;
    for (size_t i = 0; i < keys.size(); ++i) {
        const bool enabled = keys[i] == KeyPin1 ? pins.pin1Enabled : keys[i] == KeyPin2 ? pins.pin2Enabled : true;
        if (enabled)
            psDo |= static_cast<uint8_t>(0x80 >> i);
    }
    std::vector<uint8_t> content = {0x90, 0x01, psDo};
    for (uint8_t key : keys)
        content.insert(content.end(), {0x83, 0x01, key});
    return content;
}

// A BER-TLV length at `at`; advances past it. Nothing when it runs out.
std::optional<size_t> Length(const std::vector<uint8_t>& bytes, size_t& at, size_t end)
{
    if (at >= end)
        return std::nullopt;
    const uint8_t first = bytes[at++];
    if (first < 0x80)
        return first;
    const size_t octets = first & 0x7F;
    if (octets == 0 || octets > 2 || end - at < octets)
        return std::nullopt;
    size_t length = 0;
    for (size_t i = 0; i < octets; ++i)
        length = length << 8 | bytes[at++];
    return length;
}

std::optional<UiccFileType> TypeOfDescriptor(uint8_t descriptor)
{
    if ((descriptor & 0x3F) == 0x39)
        return UiccFileType::BerTlv; // looks like a DF to a plain bit test
    if ((descriptor >> 3 & 0x07) == 0x07)
        return UiccFileType::Directory;
    switch (descriptor & 0x07) {
    case 0x01:
        return UiccFileType::Transparent;
    case 0x02:
        return UiccFileType::LinearFixed;
    case 0x06:
        return UiccFileType::Cyclic;
    default:
        return std::nullopt;
    }
}

void TakeTag(FcpFacts& facts, uint8_t tag, const uint8_t* value, size_t length)
{
    switch (tag) {
    case 0x82:
        if (length >= 1)
            facts.type = TypeOfDescriptor(value[0]);
        if (length >= 5) {
            facts.recordLength = static_cast<uint16_t>(value[2] << 8 | value[3]);
            facts.recordCount = value[4];
        }
        break;
    case 0x83:
        if (length == 2)
            facts.fid = static_cast<uint16_t>(value[0] << 8 | value[1]);
        break;
    case 0x84:
        if (length >= 1 && length <= 16)
            facts.aid.assign(value, value + length);
        break;
    case 0x80:
        if (length >= 1 && length <= 2)
            facts.size = static_cast<uint16_t>(length == 2 ? value[0] << 8 | value[1] : value[0]);
        break;
    case 0x88:
        facts.sfiTagPresent = true;
        if (length == 1 && (value[0] >> 3) != 0)
            facts.sfi = static_cast<uint8_t>(value[0] >> 3);
        break;
    case 0x8A:
        if (length == 1)
            facts.deactivated = value[0] == 0x04 || value[0] == 0x06;
        break;
    default:
        break;
    }
}

} // namespace

std::vector<uint8_t> BuildFcp(const UiccFileProfile& file, bool isMf, const PinStates& pins)
{
    std::vector<uint8_t> body;
    std::vector<uint8_t> descriptor = {DescriptorByte(file.type), 0x21};
    if (IsRecordFile(file.type))
        descriptor.insert(descriptor.end(), {High(file.recordLength), Low(file.recordLength), Low(file.recordCount)});
    Append(body, 0x82, descriptor);
    if (file.fid)
        Append(body, 0x83, {High(*file.fid), Low(*file.fid)});
    if (file.type == UiccFileType::Application)
        Append(body, 0x84, file.aid);
    Append(body, 0x8A, {file.deactivated ? LifeCycleDeactivated : LifeCycleActive});
    Append(body, 0x8B, ArrReference(file));
    const bool directory = file.type == UiccFileType::Directory || file.type == UiccFileType::Application;
    if (isMf || file.type == UiccFileType::Application)
        Append(body, 0xC6, PinStatusTemplate(isMf, pins));
    if (!directory) {
        const unsigned size = IsRecordFile(file.type) ? unsigned{file.recordLength} * file.recordCount
                                                      : static_cast<unsigned>(file.data.size());
        Append(body, 0x80, {High(size), Low(size)});
        Append(body, 0x88, file.sfi ? std::vector<uint8_t>{static_cast<uint8_t>(*file.sfi << 3)}
                                    : std::vector<uint8_t>{});
    }
    std::vector<uint8_t> fcp;
    Append(fcp, FcpTag, body);
    return fcp;
}

std::optional<FcpFacts> ParseFcp(const std::vector<uint8_t>& fcp)
{
    size_t at = 0;
    if (fcp.empty() || fcp[at++] != FcpTag)
        return std::nullopt;
    const std::optional<size_t> total = Length(fcp, at, fcp.size());
    if (!total || *total > fcp.size() - at)
        return std::nullopt;
    const size_t end = at + *total;
    FcpFacts facts;
    while (at < end) {
        const uint8_t tag = fcp[at++];
        if ((tag & 0x1F) == 0x1F) { // a tag of several bytes: none of ours
            while (at < end && (fcp[at] & 0x80))
                ++at;
            ++at;
        }
        const std::optional<size_t> length = Length(fcp, at, end);
        if (!length || *length > end - at)
            return std::nullopt;
        TakeTag(facts, tag, fcp.data() + at, *length);
        at += *length;
    }
    return facts;
}

} // namespace simcard
