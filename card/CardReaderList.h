// The PC/SC context and the table of at most ten readers it listed.
#pragma once
#include <cstdint>
#include <memory>

#include "CardReader.h"

constexpr unsigned MAX_READERS = 10;

class CCardReaderList {
public:
    CCardReaderList() = default;
    ~CCardReaderList(); // ReleaseAll()
    CCardReaderList(const CCardReaderList&) = delete;
    CCardReaderList& operator=(const CCardReaderList&) = delete;

    // Establishes the context if there is no valid one and lists the readers.
    // Returns 0, or the error of SCardEstablishContext. A listing error (for
    // example no reader) is hidden: 0 with the count unchanged.
    LONG ListReaders();
    // Destroys every reader (disconnecting with reset) and releases the context.
    void ReleaseAll();
    unsigned GetReaderCount() const { return m_nReaders; }
    // The reader at `index`, or null when index >= GetReaderCount().
    CCardReader* GetReader(unsigned index) const;

private:
    // Creates a reader for each name of the multi-string, up to MAX_READERS.
    void StoreReaders(const pcsc::ReaderChar* names, DWORD length);

    SCARDCONTEXT m_hContext = 0;
    std::unique_ptr<CCardReader> m_rgReaders[MAX_READERS]; // owned; empty slots are null
    uint32_t m_nReaders = 0;
};
