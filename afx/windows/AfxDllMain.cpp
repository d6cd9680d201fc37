// The entry point of a DLL that links the class library and defines none of its own: it sets
// up the module's state and runs the DLL's application object, InitInstance when the DLL is
// loaded and ExitInstance when it is unloaded. The linker takes it from the library only when
// the DLL has no DllMain; a program (EXE) never uses it.
#include "AfxWindowLayer.h"

namespace {
bool g_bAppInitialised = false;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved)
{
    UNUSED(lpReserved);
    if (dwReason == DLL_PROCESS_ATTACH) {
        AfxGetModuleState()->m_bDLL = TRUE;
        if (!AfxWinInit(hInstance, NULL, (LPTSTR) "", SW_SHOWNORMAL))
            return FALSE;
        CWinApp* pApp = AfxGetApp();
        if (pApp != NULL && !pApp->InitInstance()) {
            pApp->ExitInstance();
            AfxWinTerm();
            return FALSE;
        }
        g_bAppInitialised = true;
    } else if (dwReason == DLL_PROCESS_DETACH) {
        if (g_bAppInitialised) {
            CWinApp* pApp = AfxGetApp();
            if (pApp != NULL)
                pApp->ExitInstance();
            AfxWinTerm();
            g_bAppInitialised = false;
        }
    }
    return TRUE;
}
