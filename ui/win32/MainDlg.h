// CMainDlg: the application's main window (template 129). It draws what
// MainDialogLogic decides: the logic calls back through IMainView.
#pragma once
#include <vector>

#include "framework/Controls.h"
#include "framework/DialogImpl.h"
#include "res/resource.h"
#include "ui/logic/MainDialogLogic.h"
#include "ui/logic/MainView.h"

class CMainDlg : public CDialogImpl<CMainDlg>, public IMainView {
public:
    enum { IDD = IDD_MAIN };

    CMainDlg();

    BEGIN_MSG_MAP(CMainDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(ID_APP_ABOUT, OnAbout)
        MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
        COMMAND_ID_HANDLER(IDOK, OnCloseCmd)
        COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
        COMMAND_HANDLER(IDC_CONNECT, BN_CLICKED, OnConnect)
        NOTIFY_HANDLER(IDC_LINK, NM_CLICK, OnLinkClick)
        COMMAND_HANDLER(IDC_VIEW_ADN, BN_CLICKED, OnViewAdn)
        COMMAND_HANDLER(IDC_VIEW_FDN, BN_CLICKED, OnViewFdn)
        COMMAND_HANDLER(IDC_VIEW_SMS, BN_CLICKED, OnViewSms)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAbout(WORD, WORD, HWND, BOOL&);
    LRESULT OnCtlColorStatic(UINT, WPARAM, LPARAM, BOOL& bHandled);
    LRESULT OnCloseCmd(WORD, WORD id, HWND, BOOL&);
    LRESULT OnConnect(WORD, WORD, HWND, BOOL&);
    LRESULT OnLinkClick(int, LPNMHDR, BOOL&);
    LRESULT OnViewAdn(WORD, WORD, HWND, BOOL&);
    LRESULT OnViewFdn(WORD, WORD, HWND, BOOL&);
    LRESULT OnViewSms(WORD, WORD, HWND, BOOL&);

    // IMainView
    void SetControlText(int controlId, const std::u16string& text) override;
    void EnableControl(int controlId, bool enable) override;
    void AddReaderName(const std::u16string& name) override;
    void SelectReader(int index) override;
    int GetSelectedReader() const override;
    int ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned type) override;
    bool AskPin(int triesLeft, std::u16string& pin) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

private:
    CComboBox m_cbReaders;
    CButton m_btnViewAdn;
    CButton m_btnViewFdn;
    CButton m_btnViewSms;
    // The reader list, the connection flags and the three lists.
    MainDialogLogic m_logic;
    // The cursor each BeginWaitCursor replaced, innermost last.
    std::vector<HCURSOR> m_waitCursors;
};
