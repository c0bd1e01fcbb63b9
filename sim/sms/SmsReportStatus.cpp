#include "sim/sms/SmsReportStatus.h"

namespace {

// Temporary errors: the same causes whether the centre goes on trying or not.
const char* const TemporaryErrors[] = {"congestion",     "recipient busy",
                                       "no response from the recipient", "service rejected",
                                       "quality of service not available", "error in the recipient"};

const char* const PermanentErrors[] = {"remote procedure error",
                                       "incompatible destination",
                                       "connection rejected by the recipient",
                                       "not obtainable",
                                       "quality of service not available",
                                       "no interworking available",
                                       "validity period expired",
                                       "deleted by the sender",
                                       "deleted by the service centre administration",
                                       "message does not exist"};

const char* const Completed[] = {"received by the recipient",
                                 "forwarded to the recipient, delivery not confirmed",
                                 "replaced by the service centre"};

template <size_t N>
const char* Cause(const char* const (&causes)[N], unsigned offset)
{
    if (offset >= 0x10)
        return "specific to the service centre";
    return offset < N ? causes[offset] : "reserved";
}

} // namespace

std::string ReportStatusName(uint8_t status)
{
    const unsigned offset = status & 0x1Fu;
    switch (status >> 5) {
    case 0: return std::string("completed: ") + Cause(Completed, offset);
    case 1: return std::string("trying: ") + Cause(TemporaryErrors, offset);
    case 2: return std::string("failed: ") + Cause(PermanentErrors, offset);
    case 3: return std::string("stopped: ") + Cause(TemporaryErrors, offset);
    default: return "reserved";
    }
}
