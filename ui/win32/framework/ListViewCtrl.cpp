#include "ListViewCtrl.h"

#include <vector>

int CListViewCtrl::InsertColumn(int column, const wchar_t* title) const
{
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT | LVCF_FMT;
    lvc.fmt = LVCFMT_LEFT;
    lvc.pszText = const_cast<wchar_t*>(title);
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc)));
}

int CListViewCtrl::InsertItem(int index, const wchar_t* text, LPARAM data) const
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text);
    item.lParam = data;
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListViewCtrl::SetItemText(int index, int subItem, const wchar_t* text) const
{
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = const_cast<wchar_t*>(text);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

BOOL CListViewCtrl::SetItemData(int index, LPARAM data) const
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = data;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

LPARAM CListViewCtrl::GetItemData(int index) const
{
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return 0;
    return item.lParam;
}

std::wstring CListViewCtrl::GetItemText(int index, int subItem, int maxLength) const
{
    if (maxLength <= 0)
        return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(maxLength), L'\0');
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = buffer.data();
    item.cchTextMax = maxLength;
    LRESULT copied = SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    if (copied <= 0)
        return {};
    // The control may hand back its own buffer instead of filling ours.
    const wchar_t* text = item.pszText != nullptr ? item.pszText : buffer.data();
    size_t length = static_cast<size_t>(copied) < static_cast<size_t>(maxLength) ? static_cast<size_t>(copied)
                                                                                  : static_cast<size_t>(maxLength) - 1;
    return std::wstring(text, length);
}

int CListViewCtrl::FindItemByData(LPARAM data) const
{
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = data;
    return static_cast<int>(SendMessage(LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}
