// TP-CT of an SMS-COMMAND, in words (3GPP TS 23.040 TP-Command-Type).
#pragma once
#include <cstdint>

// "enquiry about a submitted message", "cancel its status report request",
// "delete a submitted message", "enable its status report request";
// 0xE0 and above "specific to the service centre"; any other "reserved".
const char* CommandTypeName(uint8_t type);
