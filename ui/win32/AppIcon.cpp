#include "AppIcon.h"

#include "framework/AppModule.h"
#include "res/resource.h"

namespace {

HICON LoadApplicationIcon(int widthMetric, int heightMetric)
{
    return static_cast<HICON>(::LoadImageW(g_Module.GetResourceInstance(), MAKEINTRESOURCEW(IDI_VELMORA), IMAGE_ICON,
                                           ::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric),
                                           LR_DEFAULTCOLOR | LR_SHARED));
}

} // namespace

void SetApplicationIcons(const CWindow& dialog)
{
    // Shared icons: every dialog that opens reuses the same two handles
    // instead of loading (and leaking) new ones.
    dialog.SetIcon(LoadApplicationIcon(SM_CXICON, SM_CYICON), true);
    dialog.SetIcon(LoadApplicationIcon(SM_CXSMICON, SM_CYSMICON), false);
}
