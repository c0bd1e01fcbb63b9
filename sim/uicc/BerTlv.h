// BER-TLV data objects as UICC files and answers hold them (the FCP template,
// EF_DIR and EF_PBR records, the PIN status template): a tag of one or more
// bytes, a length of one to four bytes, the value.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct Tlv {
    uint32_t tag = 0;
    const uint8_t* value = nullptr; // into the bytes read
    size_t length = 0;              // bytes of the value present
    // The length field asks for more bytes than there are: `value` holds what
    // is there. A primitive object cut this way is not to be used.
    bool cut = false;
};

struct TlvList {
    std::vector<Tlv> items; // in the order of the data
    // A tag or length field could not be read, or the last item is cut. The
    // items before it are whole.
    bool malformed = false;
};

// The objects of `size` bytes, up to the end or to a padding byte (00 or FF)
// where a tag would start. Reading stops at the first malformed object.
TlvList ReadTlvs(const uint8_t* data, size_t size);

// The first whole (not cut) object with `tag`, or null.
const Tlv* FindTlv(const TlvList& list, uint32_t tag);
