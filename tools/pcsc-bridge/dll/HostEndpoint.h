// Where the host listens and its token: the bridge file named by the
// environment variable VELMORA_BRIDGE_FILE. Under Wine the host prints a
// Unix path; it is turned into the Windows path of the same file.
#pragma once
#include <optional>

#include "tools/pcsc-bridge/BridgeFile.h"

namespace host_endpoint {

// nullopt when the variable is unset or the file is missing or unreadable.
std::optional<bridge::BridgeEndpoint> Read();

} // namespace host_endpoint
