// Status words the simulated SIM answers with (GSM 11.11, class A0).
#pragma once
#include <cstdint>

namespace simcard::sw {

constexpr uint16_t Ok = 0x9000;
constexpr uint8_t ResponseLength = 0x9F;      // 9F xx: xx bytes wait for GET RESPONSE
constexpr uint16_t NoEfSelected = 0x9400;
constexpr uint16_t OutOfRange = 0x9402;        // record or offset beyond the file
constexpr uint16_t FileNotFound = 0x9404;
constexpr uint16_t FileInconsistent = 0x9408;  // command does not fit the file's structure
constexpr uint16_t NoChvInitialised = 0x9802;
constexpr uint16_t AccessDenied = 0x9804;      // also: wrong CHV, attempts left
constexpr uint16_t ChvStateContradiction = 0x9808;
constexpr uint16_t ChvBlocked = 0x9840;
constexpr uint8_t WrongLength = 0x67;          // 67 xx: xx the right P3, or 00
constexpr uint16_t WrongP1P2 = 0x6B00;
constexpr uint16_t UnknownInstruction = 0x6D00;
constexpr uint16_t WrongClass = 0x6E00;
constexpr uint16_t NoDiagnosis = 0x6F00;       // e.g. GET RESPONSE with nothing waiting

} // namespace simcard::sw
