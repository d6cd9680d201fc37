#include "CTkMBarWndHook.h"

#include "CTkGlobalData.h"
#include "CTkMenuBar.h"
#include "TkMenuState.h"

CTkMBarWndHook::CTkMBarWndHook(CTkMenuBar* pBar) : m_pBar(pBar), m_bFrameHook(TRUE) {}

LRESULT CTkMBarWndHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pBar == NULL || m_pBar->m_hWnd == NULL || !::IsWindow(m_pBar->m_hWnd))
        return CTkWndHook::WindowProc(message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        m_pBar->UpdateMDIState(TRUE);
        break;
    case WM_NCACTIVATE: {
        CWnd* pWnd = CWnd::FromHandlePermanent(m_hWnd);
        if (pWnd != NULL && (pWnd->m_nFlags & WF_STAYACTIVE))
            m_pBar->m_bFrameActive = TRUE;
        else if (!::IsWindowEnabled(m_hWnd))
            m_pBar->m_bFrameActive = FALSE;
        else
            m_pBar->m_bFrameActive = (BOOL)wParam;
        m_pBar->Invalidate();
        break;
    }
    case WM_SYSCOLORCHANGE:
        if (m_bFrameHook)
            m_pBar->SendMessage(WM_SETFONT, (WPARAM)tkAfxData.fontMenu.m_hObject);
        break;
    case WM_COMMAND:
        tkMenuState.bFullMenusRequested = LOWORD(wParam) == 53783 ? 1 : 0;
        break;
    case WM_INITMENUPOPUP:
        if (m_bFrameHook) {
            if (m_pBar->m_nOpeningItem >= 0)
                lParam = MAKELPARAM(m_pBar->m_nOpeningItem, HIWORD(lParam));
            if (!HIWORD(lParam) && (HMENU)wParam == m_pBar->m_hWindowMenu && m_pBar->m_hWindowMenu != NULL)
                m_pBar->Refresh();
        }
        break;
    case WM_MDISETMENU: {
        m_pBar->SetMenu((HMENU)wParam, (HMENU)lParam);
        HWND hFrame = m_bFrameHook ? m_hWnd : ::GetParent(m_hWnd);
        ::SetMenu(hFrame, NULL);
        return 0;
    }
    case WM_MENUSELECT:
        if (m_bFrameHook)
            // the low word is a position only for an item that opens a submenu (else an id)
            m_pBar->OnMenuSelect((HIWORD(wParam) & MF_POPUP) ? (HMENU)lParam : NULL, LOWORD(wParam));
        break;
    case WM_MDIREFRESHMENU:
        m_pBar->Invalidate();
        return 0;
    }
    return CTkWndHook::WindowProc(message, wParam, lParam);
}
