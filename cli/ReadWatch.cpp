#include "ReadWatch.h"

#include <cstdio>

bool ReadWatch::Open(const std::optional<std::string>& traceFile, bool progressOnTerminal, std::string& error)
{
    m_observers.Add(m_emptyAnswer);
    if (traceFile) {
        m_trace = std::make_unique<TraceFile>();
        if (!m_trace->Open(*traceFile, error))
            return false;
        m_observers.Add(*m_trace);
    }
    if (progressOnTerminal) {
        m_progress = std::make_unique<ProgressLine>(stderr);
        m_observers.Add(*m_progress);
    }
    return true;
}

void ReadWatch::Attach(CCardReader& reader)
{
    if (m_trace)
        m_trace->Note("reader " + pcsc::ReaderNameToUtf8(reader.GetName()));
    reader.SetObserver(&m_observers);
}

void ReadWatch::EraseProgress()
{
    if (m_progress)
        m_progress->Clear();
}

LONG ReadWatch::CardGone(CCardReader& reader) const
{
    return CardGoneAfterRead(reader, m_emptyAnswer.LastAnswerWasEmpty());
}

bool ReadWatch::Close(std::string& error)
{
    return !m_trace || m_trace->Close(error);
}
