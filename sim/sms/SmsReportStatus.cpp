#include "sim/sms/SmsReportStatus.h"

#include <cstddef>

namespace {

using enum ReportCause;

constexpr ReportCause Completed[] = {Received, ForwardedUnconfirmed, Replaced};

constexpr ReportCause TemporaryErrors[] = {Congestion,      RecipientBusy,
                                           NoResponse,      ServiceRejected,
                                           QualityOfServiceUnavailable, RecipientError};

constexpr ReportCause PermanentErrors[] = {RemoteProcedureError,  IncompatibleDestination,
                                           ConnectionRejected,    NotObtainable,
                                           QualityOfServiceUnavailable, NoInterworking,
                                           ValidityPeriodExpired, DeletedBySender,
                                           DeletedByAdministration, MessageDoesNotExist};

// Values 0x10-0x1F of each range are left to the centres.
template <size_t N>
ReportCause Cause(const ReportCause (&causes)[N], unsigned offset)
{
    if (offset >= 0x10)
        return CentreSpecific;
    return offset < N ? causes[offset] : Reserved;
}

} // namespace

SmsReportStatus DecodeReportStatus(uint8_t value)
{
    const unsigned offset = value & 0x1Fu;
    switch (value >> 5) {
    case 0: return {value, ReportCategory::Completed, Cause(Completed, offset)};
    case 1: return {value, ReportCategory::Trying, Cause(TemporaryErrors, offset)};
    case 2: return {value, ReportCategory::Failed, Cause(PermanentErrors, offset)};
    case 3: return {value, ReportCategory::Stopped, Cause(TemporaryErrors, offset)};
    default: return {value, ReportCategory::Reserved, Reserved};
    }
}
