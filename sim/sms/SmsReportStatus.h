// TP-ST of a status report (3GPP TS 23.040 TP-Status): its range and what
// the value says within it.
#pragma once
#include <cstdint>

// The range of the value: delivered (or done), the centre still trying after
// a temporary error, failed for good, or no longer trying after a temporary
// error; 0x80 and above are reserved.
enum class ReportCategory { Completed, Trying, Failed, Stopped, Reserved };

// What the value says. The temporary errors are the same causes whether the
// centre goes on trying or not; a value the standard leaves unassigned is
// Reserved, one left to each centre CentreSpecific.
enum class ReportCause {
    Received,                    // completed
    ForwardedUnconfirmed,
    Replaced,
    Congestion,                  // temporary
    RecipientBusy,
    NoResponse,
    ServiceRejected,
    QualityOfServiceUnavailable, // temporary and permanent
    RecipientError,
    RemoteProcedureError,        // permanent
    IncompatibleDestination,
    ConnectionRejected,
    NotObtainable,
    NoInterworking,
    ValidityPeriodExpired,
    DeletedBySender,
    DeletedByAdministration,
    MessageDoesNotExist,
    Reserved,
    CentreSpecific,
};

struct SmsReportStatus {
    uint8_t value = 0; // as received
    ReportCategory category = ReportCategory::Completed;
    ReportCause cause = ReportCause::Received; // Reserved when the category is
};

SmsReportStatus DecodeReportStatus(uint8_t value);
