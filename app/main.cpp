// Entry point of velmora.exe: the program's life is the life of its modal
// main dialog, whose result becomes the exit code.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "ui/win32/MainDlg.h"
#include "ui/win32/framework/AppModule.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/, int /*nShowCmd*/)
{
    ::CoInitialize(nullptr);

    // Lets the system finish setting up the thread's window state before any
    // window exists.
    ::DefWindowProcW(nullptr, 0, 0, 0);

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls; // 8
    controls.dwICC = ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&controls);

    g_Module.Init(nullptr, hInstance);

    INT_PTR result = 0;
    {
        CMainDlg dialog; // its readers are listed in OnInitDialog
        result = dialog.DoModal(::GetActiveWindow());
    } // destroying the dialog releases the readers and the PC/SC context

    g_Module.Term();
    ::CoUninitialize();
    return static_cast<int>(result);
}
