#include "PhoneBookDlg.h"

#include <commctrl.h>

#include <optional>

#include "AppIcon.h"
#include "WideText.h"
#include "framework/FileDialog.h"
#include "framework/WaitCursor.h"
#include "ui/logic/ExportWriter.h"

namespace {

constexpr int CompareTextCapacity = 512;
constexpr int ExportTextCapacity = 1024;

} // namespace

CPhoneBookDlg::CPhoneBookDlg(const DiallingNumberFile& file, int32_t mode) : m_pDiallingFile(&file), m_nMode(mode) {}

CPhoneBookDlg::CPhoneBookDlg(const SmsFile& smsFile) : m_pSmsFile(&smsFile), m_nMode(ListModeSms) {}

LRESULT CPhoneBookDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CenterWindow(GetParent(m_hWnd));
    SetApplicationIcons(*this);
    m_list = GetDlgItem(IDC_LIST);
    SetWindowText(ToWide(ListCaption(m_nMode)).c_str());
    m_nRowCount = 0;

    std::vector<std::u16string> titles = ListColumnTitles(m_nMode);
    for (size_t column = 0; column < titles.size(); ++column)
        m_list.InsertColumn(static_cast<int>(column), ToWide(titles[column]).c_str());

    if (m_nMode == ListModeSms && m_pSmsFile != nullptr)
        InsertRows(SmsRows(*m_pSmsFile));
    else if (m_pDiallingFile != nullptr)
        InsertRows(PhoneBookRows(*m_pDiallingFile));

    for (size_t column = 0; column < titles.size(); ++column)
        m_list.SetColumnWidth(static_cast<int>(column), LVSCW_AUTOSIZE_USEHEADER);
    return TRUE;
}

void CPhoneBookDlg::InsertRows(const std::vector<ListRow>& rows)
{
    for (const ListRow& row : rows) {
        if (row.texts.empty())
            continue;
        // The list places the row by its first-column text (LVS_SORTASCENDING).
        int index = m_list.InsertItem(m_nRowCount, ToWide(row.texts[0]).c_str(), m_nRowCount);
        ++m_nRowCount;
        if (index < 0)
            continue;
        for (size_t column = 1; column < row.texts.size(); ++column)
            m_list.SetItemText(index, static_cast<int>(column), ToWide(row.texts[column]).c_str());
        // SMS rows then keep their time stamp as item data, which the date
        // column sorts by; phone-book rows keep their insertion index.
        if (m_nMode == ListModeSms)
            m_list.SetItemData(index, static_cast<LPARAM>(row.itemData));
    }
}

LRESULT CPhoneBookDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT CPhoneBookDlg::OnHeaderItemClick(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    auto* notify = reinterpret_cast<NMHEADERW*>(lParam);
    if (notify->hdr.code != HDN_ITEMCLICKW) {
        bHandled = FALSE;
        return 0;
    }
    ListSortState sort{m_bSortAscending, m_nSortColumn};
    sort.OnHeaderClick(notify->iItem);
    m_bSortAscending = sort.ascending;
    m_nSortColumn = sort.column;
    m_list.SortItems(CompareRows, reinterpret_cast<LPARAM>(this));
    return 0;
}

int CPhoneBookDlg::ColumnCount() const
{
    return static_cast<int>(ListColumnTitles(m_nMode).size());
}

ListRow CPhoneBookDlg::ReadRow(int index, int maxLength) const
{
    ListRow row;
    row.itemData = static_cast<uint32_t>(m_list.GetItemData(index));
    for (int column = 0; column < ColumnCount(); ++column)
        row.texts.push_back(FromWide(m_list.GetItemText(index, column, maxLength)));
    return row;
}

int CALLBACK CPhoneBookDlg::CompareRows(LPARAM itemData1, LPARAM itemData2, LPARAM context)
{
    const auto* self = reinterpret_cast<const CPhoneBookDlg*>(context);
    ListRow first = self->ReadRow(self->m_list.FindItemByData(itemData1), CompareTextCapacity);
    ListRow second = self->ReadRow(self->m_list.FindItemByData(itemData2), CompareTextCapacity);
    // Compare the item data the list handed over (a row search that fails
    // would otherwise read as 0).
    first.itemData = static_cast<uint32_t>(itemData1);
    second.itemData = static_cast<uint32_t>(itemData2);
    return ::CompareRows(first, second, self->m_nMode, ListSortState{self->m_bSortAscending, self->m_nSortColumn});
}

LRESULT CPhoneBookDlg::OnExport(WORD, WORD, HWND, BOOL&)
{
    std::wstring defaultName = ToWide(DefaultExportName(m_nMode));
    CFileDialog dialog(false, L"txt", defaultName.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr);
    if (dialog.DoModal(::GetActiveWindow()) != IDOK || dialog.m_szFileName[0] == L'\0')
        return 0;

    ExportResult result;
    {
        CWaitCursor wait;
        std::vector<std::vector<std::u16string>> rowTexts;
        for (int index = 0; index < m_list.GetItemCount(); ++index)
            rowTexts.push_back(ReadRow(index, ExportTextCapacity).texts);
        uint8_t alphaLength = m_pDiallingFile != nullptr ? m_pDiallingFile->AlphaLength : 0;
        std::string bytes = FormatExport(m_nMode, rowTexts, m_bSortAscending, alphaLength);
        result = WriteExportFile(std::filesystem::path(dialog.m_szFileName), bytes);
    }
    std::optional<MessageBoxText> message = ExportResultMessage(result);
    if (message)
        ::MessageBoxW(m_hWnd, ToWide(message->text).c_str(), ToWide(message->caption).c_str(), message->type);
    return 0;
}
