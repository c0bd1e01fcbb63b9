// TP-ST of a status report, in words (3GPP TS 23.040 TP-Status).
#pragma once
#include <cstdint>
#include <string>

// The range, then what the value says: "completed: received by the
// recipient", "trying: congestion" (temporary error, the centre still
// trying), "failed: validity period expired" (permanent error), "stopped:
// recipient busy" (temporary error, the centre no longer trying). Values
// the standard leaves unassigned read "<range>: reserved", those left to
// each centre "<range>: specific to the service centre"; 0x80 and above
// read "reserved".
std::string ReportStatusName(uint8_t status);
