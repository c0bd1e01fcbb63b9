// CFileDialog: the common open/save file dialog.
#pragma once
#include <windows.h>

#include <commdlg.h>

class CFileDialog {
public:
    // `filter` is a list of NUL-separated pairs ending in two NULs, or null.
    CFileDialog(bool openFileDialog, const wchar_t* defaultExtension = nullptr, const wchar_t* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const wchar_t* filter = nullptr,
                HWND parent = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK with the chosen path in m_szFileName, or IDCANCEL.
    INT_PTR DoModal(HWND parent = ::GetActiveWindow());

    OPENFILENAMEW m_ofn{};
    wchar_t m_szFileName[MAX_PATH]{};
    bool m_bOpenFileDialog;
};
