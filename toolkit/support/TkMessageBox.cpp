#include "TkMessageBox.h"

namespace {
TK_MESSAGEBOX_HOOK g_pfnHook = NULL;
}

TK_MESSAGEBOX_HOOK TkSetMessageBoxHook(TK_MESSAGEBOX_HOOK pfnHook)
{
    TK_MESSAGEBOX_HOOK pfnOld = g_pfnHook;
    g_pfnHook = pfnHook;
    return pfnOld;
}

int TkMessageBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    if (g_pfnHook != NULL)
        return g_pfnHook(hWndOwner, lpszText, lpszCaption, nType);
    return ::MessageBoxA(hWndOwner, lpszText != NULL ? lpszText : "", lpszCaption != NULL ? lpszCaption : "", nType);
}
