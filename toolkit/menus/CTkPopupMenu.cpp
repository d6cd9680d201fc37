#include "CTkPopupMenu.h"

#include <AfxThreadState.h>
#include <AfxWinState.h>

#include "CTkCustomizeManager.h"
#include "TkMenuState.h"

CTkPopupMenu::CTkPopupMenu() { tkMenuState.bPopupActive = 1; }

CTkPopupMenu::~CTkPopupMenu()
{
    tkMenuState.bPopupActive = 0;
    DestroyMenu();
}

UINT CTkPopupMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRectExclude, BOOL bNotify)
{
    TPMPARAMS tpm = {};
    tpm.cbSize = sizeof(TPMPARAMS);
    if (lpRectExclude != NULL)
        tpm.rcExclude = *lpRectExclude;
    return TrackPopupMenuEx(nFlags, x, y, pWnd, &tpm, bNotify);
}

UINT CTkPopupMenu::TrackPopupMenuEx(UINT nFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm, BOOL bNotify)
{
    HWND hWnd = pWnd != NULL ? pWnd->m_hWnd : NULL;
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    DWORD nSide = tkMenuState.nTrackButtonSide;
    HWND hOldTrackingWindow = pState->m_hTrackingWindow;
    HMENU hOldTrackingMenu = pState->m_hTrackingMenu;
    pState->m_hTrackingWindow = hWnd;
    pState->m_hTrackingMenu = m_hMenu;

    // What is waiting (among it the closing of other popups) happens before this one opens.
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
        if (!AfxPumpMessage())
            break;
    }

    UINT nResult = (UINT)::TrackPopupMenuEx(m_hMenu, nFlags | TPM_RETURNCMD, x, y, hWnd, lptpm);
    pState->m_hTrackingWindow = hOldTrackingWindow;
    pState->m_hTrackingMenu = hOldTrackingMenu;

    if (nResult == TK_SHOW_FULL_MENUS) {
        tkMenuState.nTrackButtonSide = nSide;
        ::SendMessageA(hWnd, WM_COMMAND, TK_SHOW_FULL_MENUS, 0);
        return TrackPopupMenuEx(nFlags, x, y, pWnd, lptpm, bNotify);
    }
    if (bNotify && nResult != 0)
        ::PostMessageA(hWnd, WM_COMMAND, nResult, 0);
    return nResult;
}

CTkPopupMenu* CTkPopupMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

CTkPopupMenu* CTkPopupMenu::FromHandle(HMENU hMenu) { return static_cast<CTkPopupMenu*>(CMenu::FromHandle(hMenu)); }
