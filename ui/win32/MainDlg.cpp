#include "MainDlg.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>

#include "AppIcon.h"
#include "PhoneBookDlg.h"
#include "PinDlg.h"
#include "WebAddress.h"
#include "WideText.h"
#include "framework/SimpleDialog.h"

namespace {

// The read-only fields (and the combo) are painted on the window colour,
// like ordinary white input fields.
constexpr int WhiteFieldIds[] = {IDC_READERS, IDC_ICCID, IDC_PIN1_STATE, IDC_PIN2_STATE, IDC_IMSI,
                                 IDC_ADN_COUNT, IDC_FDN_COUNT, IDC_SMS_COUNT};

} // namespace

CMainDlg::CMainDlg() : m_logic(*this) {}

LRESULT CMainDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CenterWindow();
    SetApplicationIcons(*this);
    m_cbReaders = GetDlgItem(IDC_READERS);
    m_btnViewAdn = GetDlgItem(IDC_VIEW_ADN);
    m_btnViewFdn = GetDlgItem(IDC_VIEW_FDN);
    m_btnViewSms = GetDlgItem(IDC_VIEW_SMS);
    m_logic.OnInitDialog();
    return TRUE; // default focus
}

LRESULT CMainDlg::OnAbout(WORD, WORD, HWND, BOOL&)
{
    CSimpleDialog<IDD_ABOUTBOX> about;
    about.DoModal(m_hWnd);
    return 0;
}

LRESULT CMainDlg::OnCtlColorStatic(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
    if (std::find(std::begin(WhiteFieldIds), std::end(WhiteFieldIds), id) == std::end(WhiteFieldIds)) {
        bHandled = FALSE;
        return 0;
    }
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
}

LRESULT CMainDlg::OnCloseCmd(WORD, WORD id, HWND, BOOL&)
{
    EndDialog(id);
    return 0;
}

LRESULT CMainDlg::OnConnect(WORD, WORD, HWND, BOOL&)
{
    m_logic.OnConnect();
    return 0;
}

LRESULT CMainDlg::OnLinkClick(int, LPNMHDR, BOOL&)
{
    ::ShellExecuteW(m_hWnd, L"open", VelmoraWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
    return 0;
}

LRESULT CMainDlg::OnViewAdn(WORD, WORD, HWND, BOOL&)
{
    CPhoneBookDlg dialog(m_logic.Adn(), ListModeAdn);
    dialog.DoModal(::GetActiveWindow());
    return 0;
}

LRESULT CMainDlg::OnViewFdn(WORD, WORD, HWND, BOOL&)
{
    CPhoneBookDlg dialog(m_logic.Fdn(), ListModeFdn);
    dialog.DoModal(::GetActiveWindow());
    return 0;
}

LRESULT CMainDlg::OnViewSms(WORD, WORD, HWND, BOOL&)
{
    CPhoneBookDlg dialog(m_logic.Sms());
    dialog.DoModal(::GetActiveWindow());
    return 0;
}

void CMainDlg::SetControlText(int controlId, const std::u16string& text)
{
    SetDlgItemText(controlId, ToWide(text).c_str());
}

void CMainDlg::EnableControl(int controlId, bool enable)
{
    ::EnableWindow(GetDlgItem(controlId), enable ? TRUE : FALSE);
}

void CMainDlg::AddReaderName(const std::u16string& name)
{
    m_cbReaders.AddString(ToWide(name).c_str());
}

void CMainDlg::SelectReader(int index)
{
    m_cbReaders.SetCurSel(index);
}

int CMainDlg::GetSelectedReader() const
{
    return m_cbReaders.GetCurSel(); // CB_ERR is -1
}

int CMainDlg::ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned type)
{
    return ::MessageBoxW(m_hWnd, ToWide(text).c_str(), ToWide(caption).c_str(), type);
}

bool CMainDlg::AskPin(int triesLeft, std::u16string& pin)
{
    CPinDlg dialog;
    dialog.m_nTriesLeft = triesLeft;
    if (dialog.DoModal(m_hWnd) != IDOK)
        return false;
    pin = FromWide(dialog.m_szPin);
    return true;
}

void CMainDlg::BeginWaitCursor()
{
    m_waitCursors.push_back(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)));
}

void CMainDlg::EndWaitCursor()
{
    if (m_waitCursors.empty())
        return;
    ::SetCursor(m_waitCursors.back());
    m_waitCursors.pop_back();
}
