#include "RemoteListView.h"

#include <commctrl.h>

#include "RemoteMemory.h"

namespace {

constexpr int TextCapacity = 1024;
constexpr UINT MessageTimeoutMs = 10000;

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    DWORD_PTR value = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, MessageTimeoutMs, &value))
        return false;
    result = static_cast<LRESULT>(value);
    return true;
}

bool ReadCell(HWND list, const RemoteMemory& remote, int row, int column, std::wstring& text)
{
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = TextCapacity;
    item.pszText = static_cast<wchar_t*>(remote.At(sizeof item));
    wchar_t empty = L'\0';
    LRESULT copied = 0;
    if (!remote.Write(0, &item, sizeof item) || !remote.Write(sizeof item, &empty, sizeof empty)
        || !Send(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.At(0)), copied))
        return false;
    if (copied < 0 || copied >= TextCapacity)
        return false;
    std::wstring buffer(static_cast<size_t>(copied), L'\0');
    if (copied > 0 && !remote.Read(sizeof item, buffer.data(), buffer.size() * sizeof(wchar_t)))
        return false;
    text = buffer;
    return true;
}

} // namespace

bool ReadListRows(HWND list, int columns, std::vector<ListRow>& rows)
{
    LRESULT count = 0;
    if (!Send(list, LVM_GETITEMCOUNT, 0, 0, count) || count < 0)
        return false;
    RemoteMemory remote(list, sizeof(LVITEMW) + TextCapacity * sizeof(wchar_t));
    if (!remote.IsValid())
        return false;
    rows.clear();
    for (int row = 0; row < static_cast<int>(count); ++row) {
        ListRow cells(static_cast<size_t>(columns));
        for (int column = 0; column < columns; ++column) {
            if (!ReadCell(list, remote, row, column, cells[static_cast<size_t>(column)]))
                return false;
        }
        rows.push_back(cells);
    }
    return true;
}

int CountListColumns(HWND list)
{
    LRESULT header = 0;
    LRESULT count = 0;
    if (!Send(list, LVM_GETHEADER, 0, 0, header) || header == 0
        || !Send(reinterpret_cast<HWND>(header), HDM_GETITEMCOUNT, 0, 0, count))
        return -1;
    return static_cast<int>(count);
}

bool ClickListHeader(HWND list, int column)
{
    LRESULT headerValue = 0;
    if (!Send(list, LVM_GETHEADER, 0, 0, headerValue) || headerValue == 0)
        return false;
    HWND header = reinterpret_cast<HWND>(headerValue);
    RemoteMemory remote(header, sizeof(RECT));
    RECT rect{};
    LRESULT ok = 0;
    if (!remote.IsValid() || !Send(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                                   reinterpret_cast<LPARAM>(remote.At(0)), ok)
        || !ok || !remote.Read(0, &rect, sizeof rect))
        return false;
    LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    LRESULT ignored = 0;
    return Send(header, WM_LBUTTONDOWN, MK_LBUTTON, point, ignored) && Send(header, WM_LBUTTONUP, 0, point, ignored);
}
