#include "FileDialog.h"

#include <cwchar>

CFileDialog::CFileDialog(bool openFileDialog, const wchar_t* defaultExtension, const wchar_t* fileName,
                         DWORD flags, const wchar_t* filter, HWND parent)
    : m_bOpenFileDialog(openFileDialog)
{
    if (fileName != nullptr)
        std::wcsncpy(m_szFileName, fileName, MAX_PATH - 1); // stays terminated: the last char is never written
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = parent;
    m_ofn.lpstrFilter = filter;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrDefExt = defaultExtension;
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal(HWND parent)
{
    if (m_ofn.hwndOwner == nullptr)
        m_ofn.hwndOwner = parent;
    BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}
