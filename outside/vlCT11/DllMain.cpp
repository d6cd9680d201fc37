#include "Module.h"
#include "WindowClasses.h"

namespace {
HINSTANCE s_instance = nullptr;
}

HINSTANCE LibraryInstance() { return s_instance; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        s_instance = instance;
        DisableThreadLibraryCalls(instance);
        break;
    case DLL_PROCESS_DETACH:
        // Unloaded by FreeLibrary while the process goes on: the global classes point into this
        // module and must not outlive it. At process exit (reserved != NULL) nothing is left to
        // protect.
        if (!reserved)
            ReleaseWindowClasses();
        break;
    }
    return TRUE;
}
