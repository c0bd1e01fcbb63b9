// TP-ST of a status report, by its ranges in TS 23.040.
#pragma once
#include <cstdint>

// "completed" (0x00-0x1F), "trying" (0x20-0x3F: temporary error, the centre
// still trying), "failed" (0x40-0x5F: permanent error), "stopped"
// (0x60-0x7F: temporary error, the centre no longer trying), "reserved"
// (0x80 and above).
const char* ReportStatusName(uint8_t status);
