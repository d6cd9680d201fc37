#include "MfxWindows.h"

#include <string.h>

BOOL MfxForceForegroundWindow(CWnd* pWnd)
{
    if (pWnd == NULL || pWnd->m_hWnd == NULL)
        return FALSE;
    HWND hWnd = pWnd->m_hWnd;
    BOOL bShown = FALSE;
    if (::IsWindowEnabled(hWnd) && !::IsWindowVisible(hWnd)) {
        ::ShowWindow(hWnd, SW_SHOW);
        bShown = TRUE;
    }
    if (::IsIconic(hWnd)) {
        ::ShowWindow(hWnd, SW_RESTORE);
        ::UpdateWindow(hWnd);
    } else if (bShown)
        ::UpdateWindow(hWnd);

    ::SetForegroundWindow(hWnd);
    if (::GetForegroundWindow() == hWnd)
        return TRUE;

    HWND hForeground = ::GetForegroundWindow();
    DWORD dwForegroundThread = hForeground != NULL ? ::GetWindowThreadProcessId(hForeground, NULL) : 0;
    DWORD dwThisThread = ::GetCurrentThreadId();
    BOOL bAttached = dwForegroundThread != 0 && dwForegroundThread != dwThisThread &&
                     ::AttachThreadInput(dwThisThread, dwForegroundThread, TRUE);
    BOOL bResult = ::SetForegroundWindow(hWnd);
    if (bAttached)
        ::AttachThreadInput(dwThisThread, dwForegroundThread, FALSE);
    ::InvalidateRect(hWnd, NULL, TRUE);
    return bResult;
}

int MfxGetCtrlID(CWnd* pWnd)
{
    if (pWnd == NULL || pWnd->m_hWnd == NULL)
        return 0;
    HWND hWnd = pWnd->m_hWnd;
    HWND hParent = ::GetParent(hWnd);
    if (hParent != NULL) {
        char szClass[16] = "";
        ::GetClassNameA(hParent, szClass, sizeof szClass);
        if (_strnicmp(szClass, "COMBOBOX", 8) == 0)
            return ::GetDlgCtrlID(hParent);
    }
    return ::GetDlgCtrlID(hWnd);
}

void MfxPumpWaitingMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage((int)msg.wParam);
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
