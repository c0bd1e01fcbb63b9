// Result codes as text, for every front end and for test failure messages.
#pragma once
#include <string>

// "SCARD_E_NO_SMARTCARD (0x8010000C)" and the like; unknown codes as hex.
std::string PcscResultText(long result);
