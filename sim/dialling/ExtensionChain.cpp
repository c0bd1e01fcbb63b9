#include "sim/dialling/ExtensionChain.h"

#include <algorithm>

#include "sim/dialling/DiallingDigits.h"
#include "sim/dialling/DiallingRecord.h"

namespace {

constexpr uint8_t CalledPartySubaddress = 0x01;
constexpr uint8_t AdditionalData = 0x02;
constexpr size_t DataOffset = 2;
constexpr size_t MaxDataLength = 10;
constexpr size_t NextIdOffset = 12;

// Appends the digits of one additional-data record; a subaddress holds none.
bool TakeRecord(const std::vector<uint8_t>& record, std::string& digits)
{
    if (record.size() < DataOffset)
        return false;
    const uint8_t type = record[0];
    if (type == CalledPartySubaddress)
        return true;
    if (type != AdditionalData)
        return false;
    const size_t length = std::min<size_t>({record[1], MaxDataLength, record.size() - DataOffset});
    digits += DecodeDiallingDigits(record.data() + DataOffset, length);
    return true;
}

} // namespace

ExtensionResult FollowExtensionChain(uint8_t first, const std::vector<std::vector<uint8_t>>& records)
{
    ExtensionResult result;
    uint8_t next = first;
    while (next != NoRecordId) {
        result.stoppedAt = next;
        if (std::find(result.records.begin(), result.records.end(), next) != result.records.end()) {
            result.state = ExtensionState::Loop;
            return result;
        }
        if (result.records.size() == MaxExtensionChain) {
            result.state = ExtensionState::TooLong;
            return result;
        }
        if (next == 0 || next > records.size()) {
            result.state = ExtensionState::Missing;
            return result;
        }
        const std::vector<uint8_t>& record = records[next - 1u];
        if (!TakeRecord(record, result.digits)) {
            result.state = ExtensionState::Invalid;
            return result;
        }
        result.records.push_back(next);
        next = record.size() > NextIdOffset ? record[NextIdOffset] : NoRecordId;
    }
    result.stoppedAt = 0;
    result.state = result.records.empty() ? ExtensionState::None : ExtensionState::Complete;
    return result;
}
