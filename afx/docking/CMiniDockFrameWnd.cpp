#include "AfxDockingPrivate.h"
#include "CMiniDockFrameWnd.h"
#include "CDockContext.h"

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
ON_WM_CLOSE()
ON_WM_NCLBUTTONDOWN()
ON_WM_NCLBUTTONDBLCLK()
ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE)
{
    // the dock bar is a member: it goes with the frame object
    m_wndDockBar.m_bAutoDelete = FALSE;
}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
    // no layout until something is docked (the frame would flash)
    m_bInRecalcLayout = TRUE;
    DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_MOVEFRAME | MFS_4THICKFRAME | MFS_SYNCACTIVE |
                    MFS_BLOCKSYSMENU | FWS_SNAPTOBARS;
    // a bar that changes its shape may be resized through the frame's borders
    if (dwBarStyle & CBRS_SIZE_DYNAMIC)
        dwStyle &= ~MFS_MOVEFRAME;
    if (!CMiniFrameWnd::CreateEx(0, NULL, "", dwStyle, CRect(0, 0, 0, 0), pParent)) {
        m_bInRecalcLayout = FALSE;
        return FALSE;
    }
    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu != NULL)
        pSysMenu->DeleteMenu(SC_SIZE, MF_BYCOMMAND);

    DWORD dwDockStyle = (dwBarStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
    dwDockStyle |= dwBarStyle & CBRS_FLOAT_MULTI;
    // Made in the parent frame first (it registers with that frame's bars), then moved here.
    if (!m_wndDockBar.Create(pParent, WS_CHILD | WS_VISIBLE | dwDockStyle, AFX_IDW_DOCKBAR_FLOAT)) {
        m_bInRecalcLayout = FALSE;
        return FALSE;
    }
    m_wndDockBar.SetParent(this);
    m_bInRecalcLayout = FALSE;
    return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL bNotify)
{
    if (m_bInRecalcLayout)
        return;
    CMiniFrameWnd::RecalcLayout(bNotify);
    // the caption shows the dock bar's title (the bar's, for a single bar)
    CString strTitle;
    CString strOld;
    m_wndDockBar.GetWindowText(strTitle);
    GetWindowText(strOld);
    if (strTitle != strOld)
        SetWindowText(strTitle);
}

CControlBar* CMiniDockFrameWnd::GetFirstBar() const
{
    for (int nPos = 1; nPos < m_wndDockBar.m_arrBars.GetSize(); nPos++) {
        CControlBar* pBar = m_wndDockBar.GetDockedControlBar(nPos);
        if (pBar != NULL)
            return pBar;
    }
    return NULL;
}

void CMiniDockFrameWnd::OnClose()
{
    // closing hides the bars; the frame goes when they are docked elsewhere
    m_wndDockBar.ShowAll(FALSE);
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTCAPTION) {
        afxdock::ActivateTopParent(this);
        // the caption drags the bar (several bars in one frame: the frame itself moves)
        if (!(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)) {
            CControlBar* pBar = GetFirstBar();
            if (pBar != NULL && pBar->m_pDockContext != NULL) {
                pBar->m_pDockContext->StartDrag(point);
                return;
            }
        }
    } else if (nHitTest >= HTSIZEFIRST && nHitTest <= HTSIZELAST) {
        afxdock::ActivateTopParent(this);
        CControlBar* pBar = GetFirstBar();
        if (pBar != NULL && pBar->m_pDockContext != NULL && !(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)) {
            pBar->m_pDockContext->StartResize((int)nHitTest, point);
            return;
        }
    }
    CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTCAPTION && !(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)) {
        afxdock::ActivateTopParent(this);
        CControlBar* pBar = GetFirstBar();
        if (pBar != NULL && pBar->m_pDockContext != NULL) {
            pBar->m_pDockContext->ToggleDocking();
            return;
        }
    }
    CMiniFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}

int CMiniDockFrameWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    // resizing does not activate the floating frame
    if (nHitTest >= HTSIZEFIRST && nHitTest <= HTSIZELAST)
        return MA_NOACTIVATE;
    return CMiniFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
}
