// The in-process PC/SC double backed by the card model: the fake resource
// manager of tests/fake_pcsc answers card commands from simulated SIMs, so a
// whole reading workflow runs in-process against any profile.
//
//   fake_pcsc::Reset();
//   fake_pcsc::SetReaders({"Reader 0"});
//   simcard::SimCard& card = model_double::InsertCard("Reader 0", model_double::ProfilePath("demo"));
//   ... run the code under test (CCardReaderList, the connect workflow) ...
//   EXPECT_EQ(card.Counts().writes, 0u);
//
// Connect, Reconnect and Disconnect with a reset reset the model, as a real
// reader would. Each InsertCard installs the double's responder and reset
// handler again (fake_pcsc::Reset() removes them); the cards live until
// RemoveAll() or the next InsertCard into the same reader.
#pragma once
#include <cstdint>
#include <string>

#include "tools/simcard/CardProfile.h"
#include "tools/simcard/SimCard.h"

namespace model_double {

// Puts a card made from `profile` into `reader` (a reader the fake lists).
simcard::SimCard& InsertCard(const std::string& reader, const simcard::CardProfile& profile);
// The same from a profile file; throws simcard::ProfileError when it cannot be read.
simcard::SimCard& InsertCard(const std::string& reader, const std::string& profilePath);

// The card in `reader`, or null.
simcard::SimCard* CardIn(const std::string& reader);

// The card leaves `reader` after answering `commands` more commands: the next
// SCardTransmit fails with SCARD_W_REMOVED_CARD and the fake reports the
// reader empty from then on, as when a user pulls the card mid-read.
void RemoveCardAfter(const std::string& reader, uint64_t commands);

// Takes every card out and forgets them.
void RemoveAll();

// The path of a shipped profile: ProfilePath("demo") is profiles/demo.json.
std::string ProfilePath(const std::string& name);

} // namespace model_double
