// What the integration tests know about the rig they run in (scripts/pcsc-rig
// exports it): the reader names, the profile in the card, the trigger file.
// Portable C++ only, so that the same tests run natively and, cross-built,
// under Wine through the PC/SC bridge.
#pragma once
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "card/CardReaderList.h"

namespace rig {

// The value of an environment variable, or empty.
std::string Env(const char* name);

// The reader the simulated card goes into ("Virtual PCD 00 00").
std::string CardReaderName();
// Its neighbour on the same vpcd entry, which stays empty.
std::string EmptyReaderName();

// The reader of `list` with that name (UTF-8), or null.
CCardReader* FindReader(const CCardReaderList& list, const std::string& name);

// Every reader name as the resource manager lists them, in order.
std::vector<std::string> ListedReaderNames();

// Polls `done` every 50 ms until it is true or `limit` has passed. The limit
// only bounds a failure; a passing test never waits for it.
bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(20));

} // namespace rig
