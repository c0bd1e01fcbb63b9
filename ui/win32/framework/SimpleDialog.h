// CSimpleDialog<ID>: a modal dialog on template ID with no code of its own;
// it is centred on its owner and any of the buttons IDOK..IDNO ends it.
#pragma once
#include <windows.h>

#include "AppModule.h"
#include "Window.h"

template <WORD t_wDlgTemplateID, bool t_bCenter = true>
class CSimpleDialog : public CWindow {
public:
    INT_PTR DoModal(HWND parent = ::GetActiveWindow())
    {
        return ::DialogBoxParamW(g_Module.GetResourceInstance(), MAKEINTRESOURCEW(t_wDlgTemplateID), parent,
                                 DialogProc, reinterpret_cast<LPARAM>(this));
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
        case WM_INITDIALOG:
            reinterpret_cast<CSimpleDialog*>(lParam)->m_hWnd = hWnd;
            if (t_bCenter)
                CWindow(hWnd).CenterWindow();
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) >= IDOK && LOWORD(wParam) <= IDNO) {
                ::EndDialog(hWnd, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
        }
    }
};
