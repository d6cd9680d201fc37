#include "afxwin.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
ON_WM_NCACTIVATE()
ON_WM_NCHITTEST()
ON_WM_SYSCOMMAND()
ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

CMiniFrameWnd::CMiniFrameWnd() : m_bActive(FALSE) {}

BOOL CMiniFrameWnd::Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                           UINT nID)
{
    return CreateEx(0, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                             CWnd* pParentWnd, UINT nID)
{
    m_strCaption = lpWindowName != NULL ? lpWindowName : "";
    m_strTitle = m_strCaption;
    if (lpClassName == NULL)
        lpClassName = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
    return CWnd::CreateEx(dwExStyle, lpClassName, lpWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID);
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.style & (MFS_4THICKFRAME | MFS_THICKFRAME))
        cs.style |= WS_THICKFRAME;
    // the small caption of tool windows
    if ((cs.style & WS_CAPTION) == WS_CAPTION)
        cs.dwExStyle |= WS_EX_TOOLWINDOW;
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return TRUE;
}

void PASCAL CMiniFrameWnd::CalcBorders(LPRECT lpClientRect, DWORD dwStyle, DWORD dwExStyle)
{
    ::AdjustWindowRectEx(lpClientRect, dwStyle, FALSE, dwExStyle | WS_EX_PALETTEWINDOW);
}

BOOL CMiniFrameWnd::OnNcActivate(BOOL bActive)
{
    if (!(GetStyle() & MFS_SYNCACTIVE)) {
        m_bActive = bActive;
        return (BOOL)Default();
    }
    // the caption follows the owner (WM_FLOATSTATUS); while the owner activates itself for this
    // frame it stays as it is
    if (m_nFlags & WF_KEEPMINIACTIVE)
        return FALSE;
    return TRUE;
}

LRESULT CMiniFrameWnd::OnFloatStatus(WPARAM wParam, LPARAM)
{
    // the frame answers whether it follows its owner's activation
    LRESULT lResult = ((GetStyle() & MFS_SYNCACTIVE) && (wParam & FS_SYNCACTIVE)) ? 1 : 0;
    if (wParam & (FS_SHOW | FS_HIDE))
        SetWindowPos(NULL, 0, 0, 0, 0,
                     ((wParam & FS_SHOW) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (wParam & (FS_ENABLE | FS_DISABLE))
        EnableWindow((wParam & FS_ENABLE) != 0);
    if ((wParam & (FS_ACTIVATE | FS_DEACTIVATE)) && (GetStyle() & MFS_SYNCACTIVE)) {
        // the caption is drawn in the owner's state
        ModifyStyle(MFS_SYNCACTIVE, 0);
        m_bActive = (wParam & FS_ACTIVATE) != 0;
        SendMessage(WM_NCACTIVATE, m_bActive);
        ModifyStyle(0, MFS_SYNCACTIVE);
    }
    return lResult;
}

void CMiniFrameWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    CFrameWnd::OnGetMinMaxInfo(lpMMI);
    // no smaller than the non-client area
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CRect rectClient;
    GetClientRect(&rectClient);
    lpMMI->ptMinTrackSize.x = rectWindow.Width() - rectClient.right;
    lpMMI->ptMinTrackSize.y = rectWindow.Height() - rectClient.bottom;
}

LRESULT CMiniFrameWnd::OnNcHitTest(CPoint point)
{
    DWORD dwStyle = GetStyle();
    LRESULT nHit = CFrameWnd::OnNcHitTest(point);
    if ((dwStyle & MFS_BLOCKSYSMENU) && nHit == HTSYSMENU)
        nHit = HTCAPTION;
    if ((nHit < HTSIZEFIRST || nHit > HTSIZELAST) && nHit != HTGROWBOX)
        return nHit;
    if (dwStyle & MFS_MOVEFRAME)
        return HTCAPTION; // the edges move the frame
    if (dwStyle & MFS_4THICKFRAME) {
        // no sizing at the corners: the nearer edge
        CRect rect;
        GetWindowRect(&rect);
        rect.InflateRect(-::GetSystemMetrics(SM_CXFRAME), -::GetSystemMetrics(SM_CYFRAME));
        switch (nHit) {
        case HTTOPLEFT:
            return point.y < rect.top ? HTTOP : HTLEFT;
        case HTTOPRIGHT:
            return point.y < rect.top ? HTTOP : HTRIGHT;
        case HTBOTTOMLEFT:
            return point.y > rect.bottom ? HTBOTTOM : HTLEFT;
        case HTGROWBOX:
        case HTBOTTOMRIGHT:
            return point.y > rect.bottom ? HTBOTTOM : HTRIGHT;
        default:
            break;
        }
    }
    return nHit;
}

void CMiniFrameWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    DWORD dwStyle = GetStyle();
    UINT nCmd = nID & 0xFFF0;
    CWnd* pOwner = GetTopLevelParent();
    if ((dwStyle & WS_POPUP) && pOwner != NULL && pOwner != this) {
        // F6 goes back to the owner; the menu key and Alt+F4 act on the owner
        if ((nCmd == SC_PREVWINDOW || nCmd == SC_NEXTWINDOW) && LOWORD(lParam) == VK_F6) {
            pOwner->SetFocus();
            return;
        }
        BOOL bAltF4 = nCmd == SC_CLOSE && ::GetKeyState(VK_F4) < 0 && ::GetKeyState(VK_MENU) < 0 && (dwStyle & MFS_SYNCACTIVE);
        if ((nCmd == SC_KEYMENU && lParam != 0) || bAltF4) {
            HWND hWndSave = m_hWnd;
            HWND hWndFocus = ::GetFocus();
            pOwner->SetActiveWindow();
            pOwner->SendMessage(WM_SYSCOMMAND, nID, lParam);
            // the owner's command may have ended the program
            if (::IsWindow(hWndSave)) {
                ::SetActiveWindow(hWndSave);
                if (::IsWindow(hWndFocus))
                    ::SetFocus(hWndFocus);
            }
            return;
        }
    }
    Default();
}
