#include "PinDlg.h"

#include <cwchar>

#include "AppIcon.h"
#include "WideText.h"
#include "ui/logic/PinEntry.h"

LRESULT CPinDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CenterWindow(GetParent(m_hWnd));
    SetApplicationIcons(*this);
    m_edtPin = GetDlgItem(IDC_PIN_EDIT);
    m_edtPin.LimitText(static_cast<int>(PinMaxLength));
    SetDlgItemText(IDC_PIN_TRIES, ToWide(PinTriesLeftText(m_nTriesLeft)).c_str());
    std::wmemset(m_szPin, L'\0', sizeof m_szPin / sizeof m_szPin[0]);
    return TRUE; // the system sets the focus
}

LRESULT CPinDlg::OnOK(WORD, WORD, HWND, BOOL&)
{
    constexpr int capacity = sizeof m_szPin / sizeof m_szPin[0];
    ::GetDlgItemTextW(m_hWnd, IDC_PIN_EDIT, m_szPin, capacity);
    m_szPin[capacity - 1] = L'\0';

    std::optional<MessageBoxText> problem = ValidatePinEntry(FromWide(m_szPin));
    if (problem) {
        ::MessageBoxW(m_hWnd, ToWide(problem->text).c_str(), ToWide(problem->caption).c_str(), problem->type);
        return 0; // the dialog stays open
    }
    EndDialog(IDOK);
    return 0;
}

LRESULT CPinDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}
