#include "SmsReportStatus.h"

const char* ReportStatusName(uint8_t status)
{
    static const char* const ranges[] = {"completed", "trying", "failed", "stopped"};
    return status < 0x80 ? ranges[status >> 5] : "reserved";
}
