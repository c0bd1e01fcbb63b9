#include "AppModule.h"

CAppModule g_Module;

HRESULT CAppModule::Init(_ATL_OBJMAP_ENTRY*, HINSTANCE instance, const GUID*)
{
    if (instance == nullptr)
        return E_INVALIDARG;
    m_hInst = instance;
    return S_OK;
}

void CAppModule::Term()
{
    m_hInst = nullptr;
}

HINSTANCE CAppModule::GetResourceInstance() const
{
    // Before Init (or after Term) resources come from the executable itself.
    return m_hInst != nullptr ? m_hInst : ::GetModuleHandleW(nullptr);
}
