// CPhoneBookDlg: the list window (template 202) over one of the main
// dialog's lists, with header sorting and Export. It only borrows the list.
#pragma once
#include <cstdint>
#include <vector>

#include "framework/DialogImpl.h"
#include "framework/ListViewCtrl.h"
#include "res/resource.h"
#include "ui/logic/ListModel.h"

class CPhoneBookDlg : public CDialogImpl<CPhoneBookDlg> {
public:
    enum { IDD = IDD_LIST };

    // The phone book (mode 0) or the fixed dialling numbers (mode 1).
    CPhoneBookDlg(const DiallingNumberFile& file, int32_t mode);
    // The SMS messages (mode 2).
    explicit CPhoneBookDlg(const SmsFile& smsFile);

    BEGIN_MSG_MAP(CPhoneBookDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        COMMAND_HANDLER(IDC_EXPORT, BN_CLICKED, OnExport)
        MESSAGE_HANDLER(WM_NOTIFY, OnHeaderItemClick)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnExport(WORD, WORD, HWND, BOOL&);
    LRESULT OnHeaderItemClick(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);

    // The LVM_SORTITEMS callback; `context` is the dialog.
    static int CALLBACK CompareRows(LPARAM itemData1, LPARAM itemData2, LPARAM context);

private:
    void InsertRows(const std::vector<ListRow>& rows);
    // Row `index` of the list view: its item data and the texts of its
    // columns (at most `maxLength` - 1 characters each).
    ListRow ReadRow(int index, int maxLength) const;
    int ColumnCount() const;

    const DiallingNumberFile* m_pDiallingFile = nullptr;
    const SmsFile* m_pSmsFile = nullptr;
    CListViewCtrl m_list;
    int32_t m_nMode = ListModeAdn;
    bool m_bSortAscending = true;
    int32_t m_nSortColumn = 0;
    int32_t m_nRowCount = 0;
};
