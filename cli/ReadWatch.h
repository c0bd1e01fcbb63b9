// What velmora-cli watches while it reads the card: the --trace file, the
// progress line (when standard error is a terminal) and the last answer for
// the removal check. Nothing of it changes what is sent or printed.
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "ObserverList.h"
#include "ProgressLine.h"
#include "RemovalCheck.h"
#include "TraceFile.h"

class ReadWatch {
public:
    ReadWatch() = default;
    ReadWatch(const ReadWatch&) = delete; // the reader holds pointers into it
    ReadWatch& operator=(const ReadWatch&) = delete;

    // Opens the trace file when one is given; false with `error` set when it
    // cannot be created.
    bool Open(const std::optional<std::string>& traceFile, bool progressOnTerminal, std::string& error);
    // Watches `reader` from now on.
    void Attach(CCardReader& reader);
    // Erases the progress line if one is shown: when a read is over, and
    // before anything else is written to the terminal.
    void EraseProgress();
    // The PC/SC error that shows the card pulled during the read, or 0.
    LONG CardGone(CCardReader& reader) const;
    // Closes the trace; false with `error` set when it could not be written.
    bool Close(std::string& error);

private:
    ObserverList m_observers;
    EmptyAnswerWatch m_emptyAnswer;
    std::unique_ptr<TraceFile> m_trace;
    std::unique_ptr<ProgressLine> m_progress;
};
