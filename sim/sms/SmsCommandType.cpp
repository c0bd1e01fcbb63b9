#include "sim/sms/SmsCommandType.h"

const char* CommandTypeName(uint8_t type)
{
    switch (type) {
    case 0x00: return "enquiry about a submitted message";
    case 0x01: return "cancel its status report request";
    case 0x02: return "delete a submitted message";
    case 0x03: return "enable its status report request";
    default: return type >= 0xE0 ? "specific to the service centre" : "reserved";
    }
}
