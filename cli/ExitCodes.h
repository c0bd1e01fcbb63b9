// The exit codes of velmora-cli, as --help documents them.
#pragma once

namespace exit_code {

constexpr int CardRead = 0;          // the card was read (the user may have declined the PIN)
constexpr int Usage = 1;             // bad command line
constexpr int NoReader = 2;          // no PC/SC service, no reader, or the named reader is not listed
constexpr int NoCard = 3;            // "Empty reader": no card in the reader
constexpr int ProtocolMismatch = 4;  // "Insupported Protocol": the card does not offer T=0
constexpr int PcscError = 5;         // "PC/SC Error" while connecting
constexpr int IncompatibleCard = 6;  // "Incompatible card": not a GSM SIM
constexpr int Interrupted = 7;       // a PC/SC error (card removed, reader gone, transport) stopped the read
constexpr int ExportFailed = 8;      // an export file could not be written

} // namespace exit_code
