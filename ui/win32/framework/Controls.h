// Thin wrappers of the combo box, button and edit controls.
#pragma once
#include <windows.h>

#include "Window.h"

class CComboBox : public CWindow {
public:
    using CWindow::CWindow;
    CComboBox& operator=(HWND hWnd)
    {
        m_hWnd = hWnd;
        return *this;
    }
    int AddString(const wchar_t* text) const
    {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); } // CB_ERR (-1) when none
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
};

class CButton : public CWindow {
public:
    using CWindow::CWindow;
    CButton& operator=(HWND hWnd)
    {
        m_hWnd = hWnd;
        return *this;
    }
    void Click() const { SendMessage(BM_CLICK); }
};

class CEdit : public CWindow {
public:
    using CWindow::CWindow;
    CEdit& operator=(HWND hWnd)
    {
        m_hWnd = hWnd;
        return *this;
    }
    void LimitText(int maxCharacters) const { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(maxCharacters)); }
};
