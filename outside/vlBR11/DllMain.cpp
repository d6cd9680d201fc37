// The library's entry: the window class exists from load to unload.
#include "BrowseControl.h"
#include "vlBR11.h"

namespace {
HINSTANCE s_instance = nullptr;
}

VLBR11_API int WINAPI BrwsGetVersion(int reserved)
{
    (void)reserved;
    return VLBR_VERSION;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        s_instance = instance;
        DisableThreadLibraryCalls(instance);
        CBrowseControl::Register(instance);
        break;
    case DLL_PROCESS_DETACH:
        // Unloaded while the process goes on: the global class points into this module. At
        // process exit (reserved != NULL) nothing is left to protect.
        if (!reserved)
            CBrowseControl::Unregister(s_instance);
        break;
    }
    return TRUE;
}
