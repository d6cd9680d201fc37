// The one function through which library code shows a message box, and its replaceable hook.
#include "afx.h"

#include <atomic>

namespace {
// A hook may be installed while another thread reports an error.
std::atomic<AFX_MESSAGEBOX_HOOK> g_pfnMessageBoxHook{NULL};
}

AFX_MESSAGEBOX_HOOK AFXAPI AfxSetMessageBoxHook(AFX_MESSAGEBOX_HOOK pfnHook) { return g_pfnMessageBoxHook.exchange(pfnHook); }

int AFXAPI AfxShowMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
    AFX_MESSAGEBOX_HOOK pfnHook = g_pfnMessageBoxHook.load();
    if (pfnHook != NULL)
        return pfnHook(lpszText, nType, nIDHelp);

    LPCTSTR lpszCaption = AfxGetAppName();
    return ::MessageBoxA(NULL, lpszText != NULL ? lpszText : "", lpszCaption != NULL ? lpszCaption : "", nType);
}
