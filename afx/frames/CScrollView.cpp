#include "afxwin.h"

#include <limits.h>

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

const SIZE CScrollView::sizeDefault = {0, 0};

CScrollView::CScrollView() : m_nMapMode(0), m_bCenter(FALSE), m_bInsideUpdate(FALSE) {}

CScrollView::~CScrollView() {}

// ---- the bars, own or shared ---------------------------------------------------------------------

int CScrollView::GetBarPos(int nBar) const
{
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    return pBar != NULL ? ::GetScrollPos(pBar->m_hWnd, SB_CTL) : ::GetScrollPos(m_hWnd, nBar);
}

void CScrollView::SetBarPos(int nBar, int nPos)
{
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    if (pBar != NULL)
        ::SetScrollPos(pBar->m_hWnd, SB_CTL, nPos, TRUE);
    else
        ::SetScrollPos(m_hWnd, nBar, nPos, TRUE);
}

int CScrollView::GetBarLimit(int nBar) const
{
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    if (!::GetScrollInfo(pBar != NULL ? pBar->m_hWnd : m_hWnd, pBar != NULL ? SB_CTL : nBar, &info))
        return 0;
    int nMax = info.nMax;
    if (info.nPage > 1)
        nMax -= (int)info.nPage - 1;
    return nMax < info.nMin ? info.nMin : nMax;
}

BOOL CScrollView::IsBarEnabled(int nBar) const
{
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    if (pBar != NULL)
        return pBar->IsWindowEnabled();
    return (GetStyle() & (nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

void CScrollView::ShowBar(int nBar, BOOL bShow)
{
    CScrollBar* pBar = GetScrollBarCtrl(nBar);
    if (pBar != NULL)
        pBar->EnableWindow(bShow); // a shared bar stays, it is only enabled
    else
        ::ShowScrollBar(m_hWnd, nBar, bShow);
}

// ---- sizes ---------------------------------------------------------------------------------------

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine)
{
    int nOldMapMode = m_nMapMode;
    m_nMapMode = nMapMode;
    m_totalLog = sizeTotal;

    // pixel sizes through a device context of the mapping mode
    HDC hDC = ::GetDC(NULL);
    ::SetMapMode(hDC, nMapMode);
    POINT pts[3] = {{sizeTotal.cx, sizeTotal.cy}, {sizePage.cx, sizePage.cy}, {sizeLine.cx, sizeLine.cy}};
    ::LPtoDP(hDC, pts, 3);
    ::ReleaseDC(NULL, hDC);
    m_totalDev = CSize(abs(pts[0].x), abs(pts[0].y));
    m_pageDev = CSize(abs(pts[1].x), abs(pts[1].y));
    m_lineDev = CSize(abs(pts[2].x), abs(pts[2].y));
    if (m_pageDev.cx == 0)
        m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy == 0)
        m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx == 0)
        m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0)
        m_lineDev.cy = m_pageDev.cy / 10;

    if (m_hWnd != NULL) {
        UpdateBars();
        if (nOldMapMode != m_nMapMode)
            Invalidate(TRUE);
    }
}

void CScrollView::SetScaleToFitSize(SIZE sizeTotal)
{
    m_nMapMode = MM_SCALETOFIT;
    m_totalLog = sizeTotal;
    if (m_hWnd == NULL)
        return;
    // nothing scrolls: the bars go
    SetBarPos(SB_HORZ, 0);
    SetBarPos(SB_VERT, 0);
    ShowBar(SB_HORZ, FALSE);
    ShowBar(SB_VERT, FALSE);
    CRect rect;
    GetClientRect(&rect);
    m_totalDev = rect.Size();
    Invalidate(TRUE);
}

void CScrollView::GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const
{
    nMapMode = m_nMapMode;
    sizeTotal = m_totalDev;
    sizePage = m_pageDev;
    sizeLine = m_lineDev;
}

CPoint CScrollView::GetDeviceScrollPosition() const { return CPoint(GetBarPos(SB_HORZ), GetBarPos(SB_VERT)); }

CPoint CScrollView::GetScrollPosition() const
{
    if (m_nMapMode == MM_SCALETOFIT)
        return CPoint(0, 0);
    CPoint pt = GetDeviceScrollPosition();
    if (m_nMapMode != MM_TEXT && m_hWnd != NULL) {
        CWindowDC dc(NULL);
        dc.SetMapMode(m_nMapMode);
        dc.DPtoLP(&pt);
    }
    return pt;
}

void CScrollView::ScrollToPosition(POINT pt)
{
    if (m_nMapMode != MM_TEXT && m_nMapMode != MM_SCALETOFIT) {
        CWindowDC dc(NULL);
        dc.SetMapMode(m_nMapMode);
        dc.LPtoDP(&pt);
    }
    // clamped to the scrolling range
    int xMax = GetBarLimit(SB_HORZ);
    int yMax = GetBarLimit(SB_VERT);
    pt.x = pt.x < 0 ? 0 : (pt.x > xMax ? xMax : pt.x);
    pt.y = pt.y < 0 ? 0 : (pt.y > yMax ? yMax : pt.y);
    ScrollToDevicePosition(pt);
}

void CScrollView::ScrollToDevicePosition(POINT ptDev)
{
    int xOrig = GetBarPos(SB_HORZ);
    SetBarPos(SB_HORZ, ptDev.x);
    int yOrig = GetBarPos(SB_VERT);
    SetBarPos(SB_VERT, ptDev.y);
    if (xOrig != ptDev.x || yOrig != ptDev.y)
        ScrollWindow(xOrig - ptDev.x, yOrig - ptDev.y);
}

void CScrollView::UpdateBars()
{
    if (m_bInsideUpdate || m_nMapMode == MM_SCALETOFIT)
        return;
    // showing or hiding a bar resizes the window (OnSize comes back here)
    m_bInsideUpdate = TRUE;

    // The client size with the own bars taken away, and their thickness.
    CRect rect;
    GetClientRect(&rect);
    CSize sizeClient = rect.Size();
    CSize sizeSb(GetScrollBarCtrl(SB_VERT) == NULL ? ::GetSystemMetrics(SM_CXVSCROLL) : 0,
                 GetScrollBarCtrl(SB_HORZ) == NULL ? ::GetSystemMetrics(SM_CYHSCROLL) : 0);
    DWORD dwStyle = GetStyle();
    if (sizeSb.cx != 0 && (dwStyle & WS_VSCROLL))
        sizeClient.cx += sizeSb.cx;
    if (sizeSb.cy != 0 && (dwStyle & WS_HSCROLL))
        sizeClient.cy += sizeSb.cy;
    if (sizeClient.cx <= sizeSb.cx || sizeClient.cy <= sizeSb.cy) {
        // no room for bars at all (a window of no size)
        if (rect.right > 0 && rect.bottom > 0) {
            ShowBar(SB_HORZ, FALSE);
            ShowBar(SB_VERT, FALSE);
        }
        m_bInsideUpdate = FALSE;
        return;
    }

    // Which bars are needed: one bar takes room from the other direction.
    CSize sizeRange = m_totalDev - sizeClient;
    CPoint ptMove = GetDeviceScrollPosition();
    BOOL bNeedH = sizeRange.cx > 0;
    if (bNeedH)
        sizeRange.cy += sizeSb.cy;
    BOOL bNeedV = sizeRange.cy > 0;
    if (bNeedV)
        sizeRange.cx += sizeSb.cx;
    if (bNeedV && !bNeedH && sizeRange.cx > 0) {
        bNeedH = TRUE;
        sizeRange.cy += sizeSb.cy;
    }
    if (!bNeedH)
        ptMove.x = 0;
    else if (ptMove.x > sizeRange.cx)
        ptMove.x = sizeRange.cx;
    if (!bNeedV)
        ptMove.y = 0;
    else if (ptMove.y > sizeRange.cy)
        ptMove.y = sizeRange.cy;
    if (bNeedH)
        sizeClient.cy -= sizeSb.cy;
    if (bNeedV)
        sizeClient.cx -= sizeSb.cx;

    ScrollToDevicePosition(ptMove);

    SCROLLINFO info = {sizeof(info), SIF_PAGE | SIF_RANGE, 0, 0, 0, 0, 0};
    ShowBar(SB_HORZ, bNeedH);
    if (bNeedH) {
        info.nPage = (UINT)sizeClient.cx;
        info.nMax = m_totalDev.cx - 1;
        CScrollBar* pBar = GetScrollBarCtrl(SB_HORZ);
        ::SetScrollInfo(pBar != NULL ? pBar->m_hWnd : m_hWnd, pBar != NULL ? SB_CTL : SB_HORZ, &info, TRUE);
    }
    ShowBar(SB_VERT, bNeedV);
    if (bNeedV) {
        info.nPage = (UINT)sizeClient.cy;
        info.nMax = m_totalDev.cy - 1;
        CScrollBar* pBar = GetScrollBarCtrl(SB_VERT);
        ::SetScrollInfo(pBar != NULL ? pBar->m_hWnd : m_hWnd, pBar != NULL ? SB_CTL : SB_VERT, &info, TRUE);
    }
    m_bInsideUpdate = FALSE;
}

// ---- drawing and scrolling -----------------------------------------------------------------------

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    if (m_nMapMode == MM_SCALETOFIT) {
        pDC->SetMapMode(MM_ANISOTROPIC);
        ::SetWindowExtEx(pDC->m_hDC, m_totalLog.cx, m_totalLog.cy, NULL);
        ::SetViewportExtEx(pDC->m_hDC, m_totalDev.cx, m_totalDev.cy, NULL);
    } else if (m_nMapMode > 0) {
        pDC->SetMapMode(m_nMapMode);
    }
    // the viewport moves against the scroll position; small contents may be centred
    CPoint ptOrg = -GetDeviceScrollPosition();
    if (m_bCenter) {
        CRect rect;
        GetClientRect(&rect);
        if (m_totalDev.cx < rect.Width())
            ptOrg.x = (rect.Width() - m_totalDev.cx) / 2;
        if (m_totalDev.cy < rect.Height())
            ptOrg.y = (rect.Height() - m_totalDev.cy) / 2;
    }
    pDC->SetViewportOrg(ptOrg);
    CView::OnPrepareDC(pDC, pInfo);
}

BOOL CScrollView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll)
{
    // the thumb's 32-bit position (the message carries only 16 bits)
    auto trackPos = [this](int nBar, UINT nPos16) {
        CScrollBar* pBar = GetScrollBarCtrl(nBar);
        SCROLLINFO info = {sizeof(info), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        if (::GetScrollInfo(pBar != NULL ? pBar->m_hWnd : m_hWnd, pBar != NULL ? SB_CTL : nBar, &info))
            return info.nTrackPos;
        return (int)nPos16;
    };
    auto step = [](int nCode, int nOld, int nLine, int nPage, int nThumb) {
        switch (nCode) {
        case SB_TOP:
            return 0;
        case SB_BOTTOM:
            return INT_MAX / 2;
        case SB_LINEUP:
            return nOld - nLine;
        case SB_LINEDOWN:
            return nOld + nLine;
        case SB_PAGEUP:
            return nOld - nPage;
        case SB_PAGEDOWN:
            return nOld + nPage;
        case SB_THUMBTRACK:
            return nThumb;
        default:
            return nOld;
        }
    };
    int xOrig = GetBarPos(SB_HORZ);
    int yOrig = GetBarPos(SB_VERT);
    int nH = LOBYTE(nScrollCode);
    int nV = HIBYTE(nScrollCode);
    int x = nH == 0xFF ? xOrig : step(nH, xOrig, m_lineDev.cx, m_pageDev.cx, nH == SB_THUMBTRACK ? trackPos(SB_HORZ, nPos) : 0);
    int y = nV == 0xFF ? yOrig : step(nV, yOrig, m_lineDev.cy, m_pageDev.cy, nV == SB_THUMBTRACK ? trackPos(SB_VERT, nPos) : 0);
    BOOL bResult = OnScrollBy(CSize(x - xOrig, y - yOrig), bDoScroll);
    if (bResult && bDoScroll)
        UpdateWindow();
    return bResult;
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    // a direction without a usable bar does not scroll
    if (!IsBarEnabled(SB_VERT))
        sizeScroll.cy = 0;
    if (!IsBarEnabled(SB_HORZ))
        sizeScroll.cx = 0;
    int xOrig = GetBarPos(SB_HORZ);
    int xMax = GetBarLimit(SB_HORZ);
    int x = xOrig + sizeScroll.cx;
    x = x < 0 ? 0 : (x > xMax ? xMax : x);
    int yOrig = GetBarPos(SB_VERT);
    int yMax = GetBarLimit(SB_VERT);
    int y = yOrig + sizeScroll.cy;
    y = y < 0 ? 0 : (y > yMax ? yMax : y);
    if (x == xOrig && y == yOrig)
        return FALSE;
    if (bDoScroll) {
        ScrollWindow(xOrig - x, yOrig - y);
        if (x != xOrig)
            SetBarPos(SB_HORZ, x);
        if (y != yOrig)
            SetBarPos(SB_VERT, y);
    }
    return TRUE;
}

void CScrollView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (m_nMapMode == MM_SCALETOFIT)
        SetScaleToFitSize(m_totalLog); // the scale follows the window
    else
        UpdateBars();
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    // a control's own bar handles its messages; other controls' bars are not the view's
    if (pScrollBar != NULL && pScrollBar->SendChildNotifyLastMsg())
        return;
    CScrollBar* pOwn = GetScrollBarCtrl(SB_HORZ);
    if ((pScrollBar != NULL ? pScrollBar->m_hWnd : NULL) != (pOwn != NULL ? pOwn->m_hWnd : NULL))
        return;
    OnScroll(MAKEWORD(nSBCode, 0xFF), nPos);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar != NULL && pScrollBar->SendChildNotifyLastMsg())
        return;
    CScrollBar* pOwn = GetScrollBarCtrl(SB_VERT);
    if ((pScrollBar != NULL ? pScrollBar->m_hWnd : NULL) != (pOwn != NULL ? pOwn->m_hWnd : NULL))
        return;
    OnScroll(MAKEWORD(0xFF, nSBCode), nPos);
}

BOOL CScrollView::OnMouseWheel(UINT, short zDelta, CPoint)
{
    // a line per wheel notch and setting, vertically when possible
    UINT nLines = 3;
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0);
    BOOL bVert = IsBarEnabled(SB_VERT);
    int nLine = bVert ? m_lineDev.cy : m_lineDev.cx;
    int nDelta = nLines == WHEEL_PAGESCROLL ? (bVert ? m_pageDev.cy : m_pageDev.cx) : nLine * (int)nLines;
    int nMove = -zDelta * nDelta / WHEEL_DELTA;
    BOOL bResult = OnScrollBy(bVert ? CSize(0, nMove) : CSize(nMove, 0), TRUE);
    if (bResult)
        UpdateWindow();
    return bResult;
}

// ---- helpers of the callers ----------------------------------------------------------------------

void CScrollView::FillOutsideRect(CDC* pDC, CBrush* pBrush)
{
    CRect rect;
    GetClientRect(&rect);
    CPoint ptScroll = GetDeviceScrollPosition();
    int xRight = m_totalDev.cx - ptScroll.x;
    int yBottom = m_totalDev.cy - ptScroll.y;
    // the logical origin lies at the scroll position, so device rectangles are mapped back
    int nSaved = pDC->SaveDC();
    pDC->SetMapMode(MM_TEXT);
    pDC->SetViewportOrg(0, 0);
    if (xRight < rect.right)
        pDC->FillRect(CRect(xRight, rect.top, rect.right, rect.bottom), pBrush);
    if (yBottom < rect.bottom)
        pDC->FillRect(CRect(rect.left, yBottom, xRight < rect.right ? xRight : rect.right, rect.bottom), pBrush);
    pDC->RestoreDC(nSaved);
}

void CScrollView::ResizeParentToFit(BOOL bShrinkOnly)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == NULL)
        return;
    CRect rectView;
    GetWindowRect(&rectView);
    CRect rectFrame;
    pFrame->GetWindowRect(&rectFrame);
    // the frame changes by the difference between the contents and the view's client area
    CRect rectClient;
    GetClientRect(&rectClient);
    CSize sizeDelta(m_totalDev.cx - rectClient.Width(), m_totalDev.cy - rectClient.Height());
    if (bShrinkOnly) {
        if (sizeDelta.cx > 0)
            sizeDelta.cx = 0;
        if (sizeDelta.cy > 0)
            sizeDelta.cy = 0;
    }
    pFrame->SetWindowPos(NULL, 0, 0, rectFrame.Width() + sizeDelta.cx, rectFrame.Height() + sizeDelta.cy,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
