// A PC/SC resource manager for tests, linked in place of the real library.
//
// The library velmora_fake_pcsc defines the SCard... functions (pcsc-lite's
// names natively, WinSCard's ...W names in the Windows build). Tests set up
// readers and cards through the functions below, run the code under test and
// then inspect the recorded calls.
//
// Card commands are answered either from a script of expected exchanges (each
// command APDU is compared byte for byte; a mismatch or a command beyond the
// script is reported as a failure with a hex diff) or, when a responder is
// set, by that function (a card model, or a fuzzer's bytes).
//
// Failures are collected in Failures() and passed to the failure handler, so
// a GoogleTest fixture can turn them into ADD_FAILURE().
//
// Everything is single-threaded and global, like the resource manager it
// stands for; call Reset() at the start of every test.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fake_pcsc {

using Bytes = std::vector<uint8_t>;

// One scripted card exchange.
struct Exchange {
    Bytes command;  // the command APDU the code must send, byte for byte
    Bytes response; // what the card answers: data and status word
    long error = 0; // non-zero: SCardTransmit fails with this code instead
};

// One recorded call. Handles are shown as "ctx#N" and "card#N" (N counts from
// 1 since Reset()), reader names in UTF-8, numbers in decimal except states.
struct Call {
    std::string function;  // without the W suffix: "SCardConnect"
    std::string arguments; // "ctx#1, reader=\"R\", share=2, protocols=1"
    Bytes command;         // SCardTransmit only: the command APDU sent
    long result = 0;       // what the fake returned
    Bytes response;        // SCardTransmit only: the card's answer when it succeeded

    // "SCardConnect(ctx#1, reader=\"R\", share=2, protocols=1)"
    std::string Text() const;
};

// Answers one command for the card in `reader`: fills `response` (data and
// status word) and returns 0, or returns a transport error.
using Responder = std::function<long(const std::string& reader, const Bytes& command, Bytes& response)>;
// Told when the card in `reader` is reset (SCardReconnect or SCardDisconnect
// or SCardEndTransaction with SCARD_RESET_CARD or SCARD_UNPOWER_CARD) and
// when a first connection powers it up.
using ResetHandler = std::function<void(const std::string& reader)>;
using FailureHandler = std::function<void(const std::string& message)>;

// Back to a fresh resource manager: no readers, no contexts, no failures
// configured, no script, no responder, no reset handler, an empty call log.
// The failure handler stays.
void Reset();

// --- readers and cards ---------------------------------------------------------

// Replaces the reader list; every reader holds a card.
void SetReaders(const std::vector<std::string>& names);
// Attaches one more reader (with a card) after the existing ones.
void AddReader(const std::string& name);
// Unplugs a reader: it is no longer listed, and its name is unknown.
void RemoveReader(const std::string& name);
// Inserts or removes the card of a reader. A removed card fails SCardTransmit
// and SCardReconnect with SCARD_W_REMOVED_CARD and SCardConnect with
// SCARD_E_NO_SMARTCARD.
void SetCardPresent(const std::string& reader, bool present);
// The protocol SCardConnect and SCardReconnect report (default T=0, 1).
void SetActiveProtocol(unsigned long protocol);

// --- injected failures (0 clears; each stays until cleared) ---------------------

void FailEstablishContext(long error);
void FailListReaders(long error);
void FailGetStatusChange(long error);
void FailConnect(long error);
void FailReconnect(long error);
// SCardDisconnect returns `error`; the handle is released all the same, as
// the resource manager does for a card or reader that has gone.
void FailDisconnect(long error);
// Every context established so far becomes invalid (as after the resource
// manager restarted): SCardIsValidContext and all calls with it then fail
// with SCARD_E_INVALID_HANDLE.
void InvalidateContexts();

// --- the card ------------------------------------------------------------------

// Appends exchanges to the script.
void ExpectExchanges(const std::vector<Exchange>& exchanges);
// Exchanges of the script not yet sent.
size_t PendingExchangeCount();
// Reports every exchange of the script that was not sent as a failure.
void ExpectScriptDone();
// Answers every command with `responder` instead of the script (empty: back
// to the script).
void SetResponder(Responder responder);
void SetResetHandler(ResetHandler handler);

// A responder that plays the card's answers from one byte string, as a fuzzer
// gives it. Each answer is a length byte and that many bytes; the length byte
// 0xFE is followed by k and means 254 + k bytes; 0xFF makes that exchange fail
// with SCARD_F_COMM_ERROR. When the bytes run out (or an answer is cut short)
// every further command fails with SCARD_W_REMOVED_CARD.
Responder ResponsesFromBytes(const uint8_t* data, size_t size);

// --- what happened ----------------------------------------------------------------

const std::vector<Call>& Calls();
// Call::Text() of every call, in order.
std::vector<std::string> CallTexts();
// The function names of every call, in order.
std::vector<std::string> CallNames();
// The command APDUs of every SCardTransmit, in order.
std::vector<Bytes> SentCommands();
void ClearCalls();

const std::vector<std::string>& Failures();
// Called with each failure as it happens (besides recording it).
void SetFailureHandler(FailureHandler handler);

// Contexts established and not released, connections not disconnected, and
// auto-allocated buffers not freed.
size_t OpenContextCount();
size_t OpenCardCount();
size_t UnfreedBufferCount();

// --- helpers ----------------------------------------------------------------------

// "A0 A4 00 00 02"
std::string Hex(const Bytes& bytes);
// Parses "A0A4 00 00" (spaces optional) into bytes; an odd digit count or a
// non-hex character is a failure and yields the bytes parsed so far.
Bytes FromHex(const std::string& text);

} // namespace fake_pcsc
