// CAppModule: the process-wide module object, holding the instance whose
// resources the dialogs load.
#pragma once
#include <windows.h>

struct _ATL_OBJMAP_ENTRY; // object maps are not used; Init takes null

class CAppModule {
public:
    // Remembers the instance. Returns S_OK (E_INVALIDARG for a null instance).
    HRESULT Init(_ATL_OBJMAP_ENTRY* objectMap, HINSTANCE instance, const GUID* libraryId = nullptr);
    void Term();
    HINSTANCE GetResourceInstance() const;
    HINSTANCE GetModuleInstance() const { return m_hInst; }

private:
    HINSTANCE m_hInst = nullptr;
};

extern CAppModule g_Module;
