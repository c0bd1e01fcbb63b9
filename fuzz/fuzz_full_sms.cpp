// The full SMS decoders: a record decoded by its message type, and a run of
// records joined. The input is split into 176-octet records, the last one
// short, so that joining sees several parts.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "sim/sms/StoredSms.h"
#include "sim/sms/SmsJoin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr size_t RecordLength = 176;
    std::vector<SmsRecordEntry> entries;
    for (size_t at = 0; at < size; at += RecordLength) {
        // Each record in its own buffer, so that a read past it is caught.
        const std::vector<uint8_t> record(data + at, data + at + std::min(RecordLength, size - at));
        SmsRecordEntry entry;
        entry.record = static_cast<int>(entries.size() + 1);
        if (DecodeStoredSms(record.data(), record.size(), entry.sms))
            entries.push_back(entry);
    }
    for (const JoinedSms& joined : JoinConcatenatedSms(entries)) {
        if (joined.parts.empty() || joined.parts.size() + joined.missing.size() > 255)
            __builtin_trap();
    }
    return 0;
}
