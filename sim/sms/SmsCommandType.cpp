#include "sim/sms/SmsCommandType.h"

SmsCommandType DecodeCommandType(uint8_t value)
{
    switch (value) {
    case 0x00: return {value, SmsCommandKind::Enquiry};
    case 0x01: return {value, SmsCommandKind::CancelReportRequest};
    case 0x02: return {value, SmsCommandKind::Delete};
    case 0x03: return {value, SmsCommandKind::EnableReportRequest};
    default: return {value, value >= 0xE0 ? SmsCommandKind::CentreSpecific : SmsCommandKind::Reserved};
    }
}
