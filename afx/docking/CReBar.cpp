#include "AfxDockingPrivate.h"
#include "CReBar.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CReBar, CControlBar)

BEGIN_MESSAGE_MAP(CReBar, CControlBar)
ON_WM_NCCREATE()
ON_WM_PAINT()
ON_WM_NCCALCSIZE()
ON_WM_ERASEBKGND()
ON_WM_NCPAINT()
ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, OnHeightChange)
ON_NOTIFY_REFLECT(RBN_ENDDRAG, OnHeightChange)
ON_MESSAGE(RB_SHOWBAND, OnShowBand)
ON_MESSAGE(WM_RECALCPARENT, OnRecalcParent)
END_MESSAGE_MAP()

CReBar::CReBar() { SetBorders(); }

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    if (pParentWnd == NULL || ((dwStyle & CBRS_SIZE_FIXED) && (dwStyle & CBRS_SIZE_DYNAMIC)))
        return FALSE;
    m_dwStyle = dwStyle & CBRS_ALL;
    if (nID == AFX_IDW_REBAR)
        m_dwStyle |= CBRS_HIDE_INPLACE;
    dwStyle &= ~CBRS_ALL;
    dwStyle |= CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE | RBS_VARHEIGHT | dwCtrlStyle;
    AfxInitCommonControls();
    CRect rect(0, 0, 0, 0);
    return CWnd::Create(REBARCLASSNAMEA, NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CReBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (!CControlBar::OnNcCreate(lpCreateStruct))
        return FALSE;
    // an owner set before the window existed gets the control's notifications
    if (m_hWndOwner != NULL)
        DefWindowProc(RB_SETPARENT, (WPARAM)m_hWndOwner, 0);
    return TRUE;
}

BOOL CReBar::AddBarBand(CWnd* pBar, REBARBANDINFO* pRBBI)
{
    if (m_hWnd == NULL || pBar == NULL || pBar->m_hWnd == NULL)
        return FALSE;
    pRBBI->cbSize = sizeof(REBARBANDINFO);
    pRBBI->fMask |= RBBIM_CHILD | RBBIM_CHILDSIZE;
    pRBBI->hwndChild = pBar->m_hWnd;
    // the band is as small as the bar's fixed size (a plain window: its size)
    CSize size;
    if (pBar->IsKindOf(RUNTIME_CLASS(CControlBar))) {
        size = ((CControlBar*)pBar)->CalcFixedLayout(FALSE, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    } else {
        CRect rect;
        pBar->GetWindowRect(&rect);
        size = rect.Size();
    }
    pRBBI->cxMinChild = (UINT)size.cx;
    pRBBI->cyMinChild = (UINT)size.cy;
    BOOL bResult = (BOOL)DefWindowProc(RB_INSERTBANDA, (WPARAM)-1, (LPARAM)pRBBI);
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL)
        pFrame->RecalcLayout();
    return bResult;
}

BOOL CReBar::AddBar(CWnd* pBar, LPCTSTR pszText, CBitmap* pbmp, DWORD dwStyle)
{
    REBARBANDINFO band;
    memset(&band, 0, sizeof(band));
    band.fMask = RBBIM_STYLE;
    band.fStyle = dwStyle;
    if (pszText != NULL) {
        band.fMask |= RBBIM_TEXT;
        band.lpText = const_cast<LPTSTR>(pszText);
    }
    if (pbmp != NULL) {
        band.fMask |= RBBIM_BACKGROUND;
        band.hbmBack = (HBITMAP)pbmp->m_hObject;
    }
    return AddBarBand(pBar, &band);
}

BOOL CReBar::AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCTSTR pszText, DWORD dwStyle)
{
    REBARBANDINFO band;
    memset(&band, 0, sizeof(band));
    band.fMask = RBBIM_STYLE | RBBIM_COLORS;
    band.fStyle = dwStyle;
    band.clrFore = clrFore;
    band.clrBack = clrBack;
    if (pszText != NULL) {
        band.fMask |= RBBIM_TEXT;
        band.lpText = const_cast<LPTSTR>(pszText);
    }
    return AddBarBand(pBar, &band);
}

void CReBar::SyncBandWindow(UINT nBand, BOOL bBandFollowsWindow)
{
    REBARBANDINFO band;
    memset(&band, 0, sizeof(band));
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_CHILD | RBBIM_STYLE;
    if (!DefWindowProc(RB_GETBANDINFOA, nBand, (LPARAM)&band) || band.hwndChild == NULL)
        return;
    CWnd* pChild = CWnd::FromHandlePermanent(band.hwndChild);
    BOOL bWindowVisible;
    if (pChild != NULL && pChild->IsKindOf(RUNTIME_CLASS(CControlBar)))
        bWindowVisible = ((CControlBar*)pChild)->IsVisible();
    else
        bWindowVisible = (::GetWindowLongA(band.hwndChild, GWL_STYLE) & WS_VISIBLE) != 0;
    BOOL bBandVisible = (band.fStyle & RBBS_HIDDEN) == 0;
    if (bWindowVisible == bBandVisible)
        return;
    if (bBandFollowsWindow)
        DefWindowProc(RB_SHOWBAND, nBand, bWindowVisible);
    else
        ::ShowWindow(band.hwndChild, bBandVisible ? SW_SHOW : SW_HIDE);
}

CSize CReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    UINT nCount = m_hWnd != NULL ? (UINT)DefWindowProc(RB_GETBANDCOUNT, 0, 0) : 0;
    // a band shows while its bar does
    for (UINT i = 0; i < nCount; i++)
        SyncBandWindow(i, TRUE);
    // the bands that show, together
    CRect rectBound(0, 0, 0, 0);
    for (UINT i = 0; i < nCount; i++) {
        REBARBANDINFO band;
        memset(&band, 0, sizeof(band));
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_STYLE;
        if (!DefWindowProc(RB_GETBANDINFOA, i, (LPARAM)&band) || (band.fStyle & RBBS_HIDDEN))
            continue;
        CRect rect;
        if (DefWindowProc(RB_GETRECT, i, (LPARAM)&rect))
            rectBound.UnionRect(&rectBound, &rect);
    }
    if (!rectBound.IsRectEmpty()) {
        CRect rect(0, 0, 0, 0);
        CalcInsideRect(rect, bHorz);
        rectBound.right -= rect.Width();
        rectBound.bottom -= rect.Height();
    }
    return CSize(bHorz && bStretch ? 32767 : rectBound.Width(), !bHorz && bStretch ? 32767 : rectBound.Height());
}

CSize CReBar::CalcDynamicLayout(int, DWORD dwMode)
{
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

INT_PTR CReBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    // the tool of the band's window under the point (asked in its own coordinates)
    HWND hWndChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    CWnd* pChild = hWndChild != NULL && hWndChild != m_hWnd ? CWnd::FromHandlePermanent(hWndChild) : NULL;
    if (pChild == NULL)
        return CControlBar::OnToolHitTest(point, pTI);
    CPoint ptChild = point;
    ::MapWindowPoints(m_hWnd, hWndChild, &ptChild, 1);
    return pChild->OnToolHitTest(ptChild, pTI);
}

void CReBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) { UpdateDialogControls(pTarget, bDisableIfNoHndler); }

LRESULT CReBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // the status-line texts of the bands' bars go to the owner (the frame)
    if (message == WM_SETMESSAGESTRING || message == WM_POPMESSAGESTRING) {
        CWnd* pOwner = GetOwner();
        return pOwner != NULL ? pOwner->SendMessage(message, wParam, lParam) : 0;
    }
    return CControlBar::WindowProc(message, wParam, lParam);
}

void CReBar::OnPaint() { Default(); }

BOOL CReBar::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }

void CReBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    afxdock::InsetNonClient(this, lpncsp, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
}

void CReBar::OnNcPaint() { EraseNonClient(); }

void CReBar::OnHeightChange(NMHDR*, LRESULT* pResult)
{
    // the frame gives the rebar its new height (later when it is inside its layout now)
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL) {
        if (!pFrame->m_bInRecalcLayout)
            pFrame->RecalcLayout();
        else
            PostMessage(WM_RECALCPARENT);
    }
    *pResult = 0;
}

LRESULT CReBar::OnShowBand(WPARAM wParam, LPARAM)
{
    LRESULT lResult = Default();
    // the band's window shows and hides with the band
    if (lResult)
        SyncBandWindow((UINT)wParam, FALSE);
    return lResult;
}

LRESULT CReBar::OnRecalcParent(WPARAM, LPARAM)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL)
        pFrame->RecalcLayout();
    return 0;
}
