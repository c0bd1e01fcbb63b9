// CListViewCtrl: the report-style list view calls of the list dialog.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "Window.h"

class CListViewCtrl : public CWindow {
public:
    using CWindow::CWindow;
    CListViewCtrl& operator=(HWND hWnd)
    {
        m_hWnd = hWnd;
        return *this;
    }

    // A left-aligned column without a width.
    int InsertColumn(int column, const wchar_t* title) const;
    // A row with its first-column text and item data; returns where the list
    // placed it (it keeps its sort style), or -1.
    int InsertItem(int index, const wchar_t* text, LPARAM data) const;
    BOOL SetItemText(int item, int subItem, const wchar_t* text) const;
    BOOL SetItemData(int item, LPARAM data) const;
    LPARAM GetItemData(int item) const;
    // The text of one cell, at most `maxLength` - 1 characters.
    std::wstring GetItemText(int item, int subItem, int maxLength) const;
    // The row holding item data `data`, searched from the top, or -1.
    int FindItemByData(LPARAM data) const;
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    BOOL SetColumnWidth(int column, int width) const
    {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)));
    }
    BOOL SortItems(PFNLVCOMPARE compare, LPARAM context) const
    {
        return static_cast<BOOL>(SendMessage(LVM_SORTITEMS, static_cast<WPARAM>(context),
                                             reinterpret_cast<LPARAM>(compare)));
    }
};
