// The framework layer's message dispatch and list-view wrapper.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/win32/framework/DialogImpl.h"
#include "ui/win32/framework/FileDialog.h"

namespace {

// A map with overlapping entries, recording which handlers ran.
class RecordingMap {
public:
    std::vector<std::string> calls;
    bool aboutClaims = true;

    BEGIN_MSG_MAP(RecordingMap)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInit)
        COMMAND_ID_HANDLER(57664, OnAbout)
        COMMAND_ID_HANDLER(57664, OnAboutFallback)
        COMMAND_ID_HANDLER(IDCANCEL, OnClose)
        COMMAND_HANDLER(1001, BN_CLICKED, OnConnect)
        NOTIFY_HANDLER(1006, NM_CLICK, OnLink)
        MESSAGE_HANDLER(WM_NOTIFY, OnAnyNotify)
    END_MSG_MAP()

    LRESULT OnInit(UINT, WPARAM, LPARAM, BOOL&)
    {
        calls.push_back("init");
        return TRUE;
    }
    LRESULT OnAbout(WORD, WORD, HWND, BOOL& handled)
    {
        calls.push_back("about");
        handled = aboutClaims;
        return 0;
    }
    LRESULT OnAboutFallback(WORD, WORD, HWND, BOOL&)
    {
        calls.push_back("about-fallback");
        return 0;
    }
    LRESULT OnClose(WORD notifyCode, WORD id, HWND, BOOL&)
    {
        calls.push_back("close " + std::to_string(id) + "/" + std::to_string(notifyCode));
        return 0;
    }
    LRESULT OnConnect(WORD, WORD, HWND, BOOL&)
    {
        calls.push_back("connect");
        return 0;
    }
    LRESULT OnLink(int idCtrl, LPNMHDR, BOOL&)
    {
        calls.push_back("link " + std::to_string(idCtrl));
        return 7;
    }
    LRESULT OnAnyNotify(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        calls.push_back("notify");
        handled = FALSE; // leaves it to the default handling
        return 0;
    }
};

struct DispatchCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    UINT_PTR notifyFrom; // WM_NOTIFY only
    UINT notifyCode;
    bool aboutClaims;
    BOOL handled;
    std::vector<std::string> calls;
};

const DispatchCase kDispatch[] = {
    {"init", WM_INITDIALOG, 0, 0, 0, true, TRUE, {"init"}},
    {"first claiming entry ends the dispatch", WM_COMMAND, MAKEWPARAM(57664, BN_CLICKED), 0, 0, true, TRUE,
     {"about"}},
    {"a declining entry passes on", WM_COMMAND, MAKEWPARAM(57664, BN_CLICKED), 0, 0, false, TRUE,
     {"about", "about-fallback"}},
    {"command id, any notification", WM_COMMAND, MAKEWPARAM(IDCANCEL, 5), 0, 0, true, TRUE, {"close 2/5"}},
    {"button click", WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0, 0, true, TRUE, {"connect"}},
    {"other notification of the button", WM_COMMAND, MAKEWPARAM(1001, BN_SETFOCUS), 0, 0, true, FALSE, {}},
    {"unknown command", WM_COMMAND, MAKEWPARAM(1234, BN_CLICKED), 0, 0, true, FALSE, {}},
    {"link click", WM_NOTIFY, 1006, 1006, static_cast<UINT>(NM_CLICK), true, TRUE, {"link 1006"}},
    {"other control's click", WM_NOTIFY, 1000, 1000, static_cast<UINT>(NM_CLICK), true, FALSE, {"notify"}},
    {"other code of the link", WM_NOTIFY, 1006, 1006, static_cast<UINT>(NM_RETURN), true, FALSE, {"notify"}},
    {"unmapped message", WM_TIMER, 0, 0, 0, true, FALSE, {}},
};

TEST(MessageMap, DispatchesInDeclaredOrder)
{
    for (const DispatchCase& c : kDispatch) {
        RecordingMap map;
        map.aboutClaims = c.aboutClaims;
        NMHDR header{nullptr, c.notifyFrom, c.notifyCode};
        LPARAM lParam = c.message == WM_NOTIFY ? reinterpret_cast<LPARAM>(&header) : 0;
        LRESULT result = -1;
        BOOL handled = map.ProcessWindowMessage(nullptr, c.message, c.wParam, lParam, result);
        EXPECT_EQ(handled, c.handled) << c.name;
        EXPECT_EQ(map.calls, c.calls) << c.name;
        if (std::string(c.name) == "link click") {
            EXPECT_EQ(result, 7) << c.name;
        }
    }
}

TEST(MessageMap, DirectResultMessages)
{
    const std::pair<UINT, bool> cases[] = {
        {WM_INITDIALOG, true}, {WM_CTLCOLORSTATIC, true}, {WM_CTLCOLOREDIT, true}, {WM_COMPAREITEM, true},
        {WM_NOTIFY, false},    {WM_COMMAND, false},       {WM_TIMER, false},
    };
    for (const auto& [message, direct] : cases)
        EXPECT_EQ(IsDirectResultMessage(message), direct) << message;
}

TEST(FileDialog, KeepsTheDefaultNameTerminated)
{
    const std::wstring names[] = {L"", L"PhoneBook.txt", std::wstring(MAX_PATH + 20, L'x')};
    for (const std::wstring& name : names) {
        CFileDialog dialog(false, L"txt", name.c_str());
        std::wstring kept = dialog.m_szFileName;
        EXPECT_EQ(kept, name.substr(0, MAX_PATH - 1));
        EXPECT_EQ(dialog.m_ofn.lpstrFile, dialog.m_szFileName);
        EXPECT_EQ(dialog.m_ofn.nMaxFile, static_cast<DWORD>(MAX_PATH));
        EXPECT_TRUE(dialog.m_ofn.Flags & OFN_OVERWRITEPROMPT);
    }
}

} // namespace
