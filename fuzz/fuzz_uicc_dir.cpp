// An EF_DIR record, and the same bytes as a service table.
#include <cstddef>
#include <cstdint>

#include "FuzzUtf8.h"
#include "sim/uicc/ApplicationDirectory.h"
#include "sim/uicc/ServiceTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ApplicationRecord application = DecodeApplicationRecord(data, size);
    if (application.state == DirRecordState::Application &&
        (application.aid.empty() || application.aid.size() > 16 || !IsValidUtf8(application.label)))
        __builtin_trap();
    if (application.state != DirRecordState::Application && !application.aid.empty())
        __builtin_trap();
    IsUsimAid(application.aid);
    if (HasService(data, size, static_cast<unsigned>(size * 8 + 1)) || HasService(data, size, 0))
        __builtin_trap();
    return 0;
}
