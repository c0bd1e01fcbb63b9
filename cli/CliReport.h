// What velmora-cli prints: the main dialog's fields as text, or everything
// read as JSON.
#pragma once
#include <functional>
#include <string>

#include <nlohmann/json.hpp>

#include "TerminalView.h"
#include "ui/logic/MainDialogLogic.h"

// "ICC ID : ...", "PIN1 State : ..." and so on, one line each, in the order
// of the main dialog.
std::string FieldsText(const TerminalView& view);

struct RunSummary {
    std::string reader; // UTF-8
    ConnectOutcome outcome = ConnectOutcome::NoReader;
    int exitCode = 0;
    long interruption = 0; // the PC/SC error that stopped the read, or 0
};

// Writes further members into the report's outermost object (--full).
using JsonMembers = std::function<void(nlohmann::ordered_json&)>;

// The whole run as one JSON document (see --help); `more` adds its members last.
std::string JsonReport(const RunSummary& run, const TerminalView& view, const MainDialogLogic& logic,
                       const JsonMembers& more = {});

// The exit code of a connect: its outcome, or Interrupted when the card or
// reader went away during the read.
int ExitCodeFor(ConnectOutcome outcome, long interruption);
