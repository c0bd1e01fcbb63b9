// CPinDlg: the modal PIN1 entry dialog (template 201).
#pragma once
#include <cstdint>

#include "framework/Controls.h"
#include "framework/DialogImpl.h"
#include "res/resource.h"

class CPinDlg : public CDialogImpl<CPinDlg> {
public:
    enum { IDD = IDD_PIN };

    wchar_t m_szPin[16]{}; // valid after the dialog ended with IDOK
    CEdit m_edtPin;
    int32_t m_nTriesLeft = 0; // set before DoModal

    BEGIN_MSG_MAP(CPinDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDOK, OnOK)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
};
