// The one place where WinSCard (Windows) and pcsc-lite differ for us.
//
// Windows: wide reader names (the ...W functions, SCARD_READERSTATEW).
// pcsc-lite: UTF-8 reader names, unsigned long handles, no ...W functions.
// Everything else in card/ is the same source on both.
#pragma once

#ifdef _WIN32
#include <windows.h>
// Reference the T=0 protocol header directly; the linker resolves the import.
#ifndef WINSCARDDATA
#define WINSCARDDATA
#endif
#include <winscard.h>
#else
#include <PCSC/winscard.h>
#include <PCSC/wintypes.h>
#endif

#include <string>

namespace pcsc {

#ifdef _WIN32
using ReaderChar = wchar_t;
using ReaderState = SCARD_READERSTATEW;

inline LONG ListReaders(SCARDCONTEXT context, ReaderChar* names, DWORD* length)
{
    return SCardListReadersW(context, nullptr, names, length);
}

inline LONG GetStatusChange(SCARDCONTEXT context, DWORD timeout, ReaderState* states, DWORD count)
{
    return SCardGetStatusChangeW(context, timeout, states, count);
}

inline LONG Connect(SCARDCONTEXT context, const ReaderChar* reader, DWORD shareMode, DWORD protocols,
                    SCARDHANDLE* card, DWORD* activeProtocol)
{
    return SCardConnectW(context, reader, shareMode, protocols, card, activeProtocol);
}
#else
using ReaderChar = char;
using ReaderState = SCARD_READERSTATE;

inline LONG ListReaders(SCARDCONTEXT context, ReaderChar* names, DWORD* length)
{
    return SCardListReaders(context, nullptr, names, length);
}

inline LONG GetStatusChange(SCARDCONTEXT context, DWORD timeout, ReaderState* states, DWORD count)
{
    return SCardGetStatusChange(context, timeout, states, count);
}

inline LONG Connect(SCARDCONTEXT context, const ReaderChar* reader, DWORD shareMode, DWORD protocols,
                    SCARDHANDLE* card, DWORD* activeProtocol)
{
    return SCardConnect(context, reader, shareMode, protocols, card, activeProtocol);
}
#endif

// A reader name as the platform's PC/SC library spells it.
using ReaderName = std::basic_string<ReaderChar>;

// The reader name as UTF-16 for display (UTF-8 decoded on pcsc-lite).
std::u16string ReaderNameToUtf16(const ReaderName& name);

// The reader name as UTF-8 for terminals and logs.
std::string ReaderNameToUtf8(const ReaderName& name);

} // namespace pcsc
