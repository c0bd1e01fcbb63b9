// The messages section of the --full text view.
#pragma once
#include <string>

#include "sim/sms/SmsMessages.h"

// "Messages (EF_SMS) : N messages in R of C records" (or why there are
// none), then per message a line with its record(s), status, type, address
// and time, a line of details, and its text (when it has one) indented by
// four spaces, one line of the text per line.
std::string SmsText(const SmsMessages& messages);
// The same, appended to `out`.
void AppendSmsText(std::string& out, const SmsMessages& messages);
