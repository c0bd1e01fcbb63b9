// Card text made safe to print on a terminal. Names and messages come from
// the card or from strangers (an SMS sender chooses every byte), and a
// terminal acts on control characters: C1 0x9B is CSI, bidirectional
// overrides make the shown text differ from the stored one.
#pragma once
#include <string>

// Tab, line feed and carriage return show as spaces, or stay as they are
// where `keepLineEnds` (a message's lines); every other C0 control, DEL, C1
// control (U+0080..U+009F), bidirectional embedding, override or isolate
// (U+202A..U+202E, U+2066..U+2069) and any byte that is not UTF-8 shows as
// U+FFFD.
std::string TerminalText(const std::string& utf8, bool keepLineEnds);
