// CDialogImpl<T>: a modal dialog from template T::IDD whose messages go
// through T's message map (see MessageMap.h).
#pragma once
#include <windows.h>

#include "AppModule.h"
#include "MessageMap.h"
#include "Window.h"

// Messages whose result is the dialog procedure's return value itself rather
// than DWLP_MSGRESULT.
inline bool IsDirectResultMessage(UINT message)
{
    switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

template <class T>
class CDialogImpl : public CWindow {
public:
    // Runs the dialog modally; returns the EndDialog result, or -1 when the
    // template could not be loaded.
    INT_PTR DoModal(HWND parent = ::GetActiveWindow())
    {
        return ::DialogBoxParamW(g_Module.GetResourceInstance(), MAKEINTRESOURCEW(T::IDD), parent, DialogProc,
                                 reinterpret_cast<LPARAM>(static_cast<T*>(this)));
    }

    BOOL EndDialog(int result) { return ::EndDialog(m_hWnd, result); }

    // The dialog object behind a dialog window of this class, once it has
    // received WM_INITDIALOG.
    static T* FromHandle(HWND hWnd) { return reinterpret_cast<T*>(::GetWindowLongPtrW(hWnd, DWLP_USER)); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        T* self = nullptr;
        if (message == WM_INITDIALOG) {
            self = reinterpret_cast<T*>(lParam);
            ::SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
            self->m_hWnd = hWnd;
        } else {
            self = FromHandle(hWnd);
        }
        if (self == nullptr) // messages before WM_INITDIALOG
            return FALSE;

        LRESULT result = 0;
        BOOL handled = self->ProcessWindowMessage(hWnd, message, wParam, lParam, result);
        if (message == WM_NCDESTROY)
            self->m_hWnd = nullptr;
        if (!handled)
            return FALSE;
        if (IsDirectResultMessage(message))
            return static_cast<INT_PTR>(result);
        ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
};
