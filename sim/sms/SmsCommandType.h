// TP-CT of an SMS-COMMAND (3GPP TS 23.040 TP-Command-Type).
#pragma once
#include <cstdint>

// What the command asks of the service centre about a submitted message:
// an enquiry, cancelling or enabling its status report request, deleting
// it; 0xE0 and above are left to each centre, any other value is reserved.
enum class SmsCommandKind { Enquiry, CancelReportRequest, Delete, EnableReportRequest, CentreSpecific, Reserved };

struct SmsCommandType {
    uint8_t value = 0; // as received
    SmsCommandKind kind = SmsCommandKind::Enquiry;
};

SmsCommandType DecodeCommandType(uint8_t value);
