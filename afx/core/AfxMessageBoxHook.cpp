// The one function through which library code shows a message box, and its replaceable hook.
#include "afx.h"

#include <atomic>

namespace {
// A hook may be installed while another thread reports an error.
std::atomic<AFX_MESSAGEBOX_HOOK> g_pfnMessageBoxHook{NULL};
// The owner of the box that the calling thread's hook is asked for.
thread_local HWND t_hWndOwner = NULL;
}

AFX_MESSAGEBOX_HOOK AFXAPI AfxSetMessageBoxHook(AFX_MESSAGEBOX_HOOK pfnHook) { return g_pfnMessageBoxHook.exchange(pfnHook); }

int AFXAPI AfxShowMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
    return AfxShowMessageBox(NULL, lpszText, nType, nIDHelp);
}

int AFXAPI AfxShowMessageBox(HWND hWndOwner, LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
    AFX_MESSAGEBOX_HOOK pfnHook = g_pfnMessageBoxHook.load();
    if (pfnHook != NULL) {
        HWND hWndOuter = t_hWndOwner;
        t_hWndOwner = hWndOwner;
        int nResult = pfnHook(lpszText, nType, nIDHelp);
        t_hWndOwner = hWndOuter;
        return nResult;
    }

    LPCTSTR lpszCaption = AfxGetAppName();
    return ::MessageBoxA(hWndOwner, lpszText != NULL ? lpszText : "", lpszCaption != NULL ? lpszCaption : "", nType);
}

HWND AFXAPI AfxGetMessageBoxOwner() { return t_hWndOwner; }
