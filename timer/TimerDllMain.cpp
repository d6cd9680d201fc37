// The library's entry point. It does what the class library's entry point does for a DLL with an
// application object, and tells the application whether the process is ending (lpReserved not
// NULL): then the other threads are gone already and nothing must be waited for.
#include <afxwin.h>

#include "CTimerApp.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        AfxGetModuleState()->m_bDLL = TRUE;
        if (!AfxWinInit(hInstance, NULL, (LPTSTR) "", SW_SHOWNORMAL))
            return FALSE;
        if (!theApp.InitInstance()) {
            theApp.ExitInstance();
            AfxWinTerm();
            return FALSE;
        }
    } else if (dwReason == DLL_PROCESS_DETACH) {
        theApp.m_bProcessEnding = lpReserved != NULL;
        theApp.ExitInstance();
        AfxWinTerm();
    }
    return TRUE;
}
