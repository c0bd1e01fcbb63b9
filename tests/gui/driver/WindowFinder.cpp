#include "WindowFinder.h"

#include <vector>

namespace {

struct CaptionSearch {
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<CaptionSearch*>(param);
    if (!::IsWindowVisible(window))
        return TRUE;
    std::wstring text;
    if (ReadWindowText(window, text) && text == *search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64]{};
    ::GetClassNameW(window, name, 64);
    return name;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::vector<HWND> ChildrenOf(HWND window)
{
    std::vector<HWND> children;
    ::EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

} // namespace

HWND FindWindowByCaption(const std::wstring& caption)
{
    CaptionSearch search{&caption, nullptr};
    ::EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool ReadWindowText(HWND window, std::wstring& text)
{
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return false;
    std::vector<wchar_t> buffer(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                               SMTO_ABORTIFHUNG, 5000, &copied))
        return false;
    text.assign(buffer.data(), copied <= length ? copied : length);
    return true;
}

bool ReadMessageBoxText(HWND box, std::wstring& text)
{
    for (HWND child : ChildrenOf(box)) {
        if (ClassOf(child) != L"Static" || (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            continue;
        if (ReadWindowText(child, text) && !text.empty())
            return true;
    }
    return false;
}

std::wstring DescribeChildren(HWND window)
{
    std::wstring description;
    for (HWND child : ChildrenOf(window)) {
        std::wstring text;
        ReadWindowText(child, text);
        description += L"  id " + std::to_wstring(::GetDlgCtrlID(child)) + L" " + ClassOf(child) + L" \"" + text
                       + L"\"\n";
    }
    return description;
}
