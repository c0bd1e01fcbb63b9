// CCardReaderList: the PC/SC context and the readers it listed.
#include "CardReaderList.h"

#include "sim/ResultCodes.h"

CCardReaderList::~CCardReaderList()
{
    ReleaseAll();
}

LONG CCardReaderList::ListReaders()
{
    if (m_hContext != 0 && SCardIsValidContext(m_hContext) != sc::Success)
        ReleaseAll();
    // A valid context keeps the table it listed: readers are listed once.
    if (m_hContext != 0)
        return sc::Success;

    SCARDCONTEXT hContext = 0;
    const LONG result = SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &hContext);
    if (result != sc::Success)
        return result;
    m_hContext = hContext;

    pcsc::ReaderChar* names = nullptr;
    DWORD length = SCARD_AUTOALLOCATE;
    // With SCARD_AUTOALLOCATE the library stores a pointer to its own buffer.
    if (pcsc::ListReaders(m_hContext, reinterpret_cast<pcsc::ReaderChar*>(&names), &length) == sc::Success &&
        names != nullptr) {
        StoreReaders(names, length);
        SCardFreeMemory(m_hContext, names);
    }
    // A listing error (no reader attached, for one) leaves the table empty.
    return sc::Success;
}

void CCardReaderList::StoreReaders(const pcsc::ReaderChar* names, DWORD length)
{
    // Names separated by one NUL and ended by an empty name; never past the
    // length the library reported.
    size_t pos = 0;
    while (pos < length && names[pos] != 0) {
        size_t end = pos;
        while (end < length && names[end] != 0)
            ++end;
        if (end == length)
            break; // the last name is not terminated: not a name
        if (m_nReaders < MAX_READERS) {
            const pcsc::ReaderName name(names + pos, end - pos);
            m_rgReaders[m_nReaders] = std::make_unique<CCardReader>(m_hContext, name.c_str());
            ++m_nReaders;
        }
        pos = end + 1;
    }
}

void CCardReaderList::ReleaseAll()
{
    // Readers first: each disconnects its card while the context still exists.
    for (auto& reader : m_rgReaders)
        reader.reset();
    m_nReaders = 0;
    if (m_hContext != 0) {
        SCardReleaseContext(m_hContext);
        m_hContext = 0;
    }
}

CCardReader* CCardReaderList::GetReader(unsigned index) const
{
    return index < m_nReaders ? m_rgReaders[index].get() : nullptr;
}
