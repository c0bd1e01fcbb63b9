#include "BerTlv.h"

namespace {

constexpr uint8_t MoreTagBytes = 0x1F; // low five bits of a first tag byte
constexpr uint8_t TagContinues = 0x80;
constexpr size_t MaxTagBytes = 3;
constexpr uint8_t LongLength = 0x80;
constexpr size_t MaxLengthBytes = 3; // 81 LL, 82 LL LL, 83 LL LL LL

bool IsPadding(uint8_t byte)
{
    return byte == 0x00 || byte == 0xFF;
}

// Reads the tag at `pos`; false when it runs past the end or is too long.
bool ReadTag(const uint8_t* data, size_t size, size_t& pos, uint32_t& tag)
{
    tag = data[pos++];
    if ((tag & MoreTagBytes) != MoreTagBytes)
        return true;
    for (size_t n = 1; n < MaxTagBytes; ++n) {
        if (pos >= size)
            return false;
        const uint8_t byte = data[pos++];
        tag = tag << 8 | byte;
        if (!(byte & TagContinues))
            return true;
    }
    return false;
}

bool ReadLength(const uint8_t* data, size_t size, size_t& pos, size_t& length)
{
    if (pos >= size)
        return false;
    const uint8_t first = data[pos++];
    if (!(first & LongLength)) {
        length = first;
        return true;
    }
    const size_t count = first & 0x7Fu;
    if (count == 0 || count > MaxLengthBytes || count > size - pos)
        return false; // indefinite, too long for any file, or cut
    length = 0;
    for (size_t n = 0; n < count; ++n)
        length = length << 8 | data[pos++];
    return true;
}

} // namespace

TlvList ReadTlvs(const uint8_t* data, size_t size)
{
    TlvList list;
    size_t pos = 0;
    while (pos < size && !IsPadding(data[pos])) {
        Tlv tlv;
        size_t length = 0;
        if (!ReadTag(data, size, pos, tlv.tag) || !ReadLength(data, size, pos, length)) {
            list.malformed = true;
            break;
        }
        tlv.value = data + pos;
        tlv.cut = length > size - pos;
        tlv.length = tlv.cut ? size - pos : length;
        pos += tlv.length;
        list.items.push_back(tlv);
        if (tlv.cut) {
            list.malformed = true;
            break;
        }
    }
    return list;
}

const Tlv* FindTlv(const TlvList& list, uint32_t tag)
{
    for (const Tlv& tlv : list.items)
        if (tlv.tag == tag && !tlv.cut)
            return &tlv;
    return nullptr;
}
