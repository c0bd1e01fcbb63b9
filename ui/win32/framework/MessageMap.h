// Message maps in the ATL manner. A map is a list of entries tested in the
// order they are declared; the first entry whose condition matches calls its
// handler, and a handler that leaves bHandled TRUE ends the dispatch.
//
// Handler signatures:
//   LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
//   LRESULT OnCommand(WORD notifyCode, WORD id, HWND control, BOOL& bHandled)
//   LRESULT OnNotify(int idCtrl, LPNMHDR header, BOOL& bHandled)
#pragma once
#include <windows.h>

#include <commctrl.h>

#define BEGIN_MSG_MAP(theClass)                                                                          \
public:                                                                                                  \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)     \
    {                                                                                                    \
        BOOL bHandled = TRUE;                                                                            \
        (void)hWnd;                                                                                      \
        (void)bHandled;

#define MESSAGE_HANDLER(msg, func)                                                                       \
    if (uMsg == (msg)) {                                                                                 \
        bHandled = TRUE;                                                                                 \
        lResult = func(uMsg, wParam, lParam, bHandled);                                                  \
        if (bHandled)                                                                                    \
            return TRUE;                                                                                 \
    }

#define COMMAND_HANDLER(id, cd, func)                                                                  \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (cd)) {                      \
        bHandled = TRUE;                                                                                 \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled);        \
        if (bHandled)                                                                                    \
            return TRUE;                                                                                 \
    }

#define COMMAND_ID_HANDLER(id, func)                                                                     \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id)) {                                                  \
        bHandled = TRUE;                                                                                 \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled);        \
        if (bHandled)                                                                                    \
            return TRUE;                                                                                 \
    }

#define NOTIFY_HANDLER(id, cd, func)                                                                   \
    if (uMsg == WM_NOTIFY && reinterpret_cast<LPNMHDR>(lParam)->idFrom == static_cast<UINT_PTR>(id)      \
        && reinterpret_cast<LPNMHDR>(lParam)->code == static_cast<UINT>(cd)) {                         \
        bHandled = TRUE;                                                                                 \
        lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled);           \
        if (bHandled)                                                                                    \
            return TRUE;                                                                                 \
    }

#define NOTIFY_CODE_HANDLER(cd, func)                                                                  \
    if (uMsg == WM_NOTIFY && reinterpret_cast<LPNMHDR>(lParam)->code == static_cast<UINT>(cd)) {       \
        bHandled = TRUE;                                                                                 \
        lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled);           \
        if (bHandled)                                                                                    \
            return TRUE;                                                                                 \
    }

#define END_MSG_MAP()                                                                                    \
    return FALSE;                                                                                        \
    }
