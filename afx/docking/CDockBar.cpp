#include "AfxDockingPrivate.h"
#include "CDockBar.h"
#include "CControlBarInfo.h"
#include "CDockContext.h"

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_WM_NCCALCSIZE()
END_MESSAGE_MAP()

using namespace afxdock;

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating), m_bLayoutQuery(FALSE), m_rectLayout(0, 0, 0, 0)
{
    // dock bars made by the frame go with their windows; the one of a floating frame is a member
    m_bAutoDelete = TRUE;
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
    m_arrBars.Add(NULL);
}

CDockBar::~CDockBar()
{
    // bars still listed here (their windows live on elsewhere) lose their dock bar
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar != NULL && pBar->m_pDockBar == this)
            pBar->m_pDockBar = NULL;
    }
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (pParentWnd == NULL)
        return FALSE;
    m_dwStyle = dwStyle & CBRS_ALL;
    if (!AfxEndDeferRegisterClass(AFX_WNDCONTROLBAR_CLASS))
        return FALSE;
    // the frame's layout gives the dock bar its size
    CRect rect(0, 0, 0, 0);
    return CWnd::Create(AFX_WNDCONTROLBAR_CLASS, NULL, dwStyle & ~CBRS_ALL, rect, pParentWnd, nID);
}

BOOL CDockBar::IsDockBar() const { return TRUE; }

void CDockBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

void CDockBar::DoPaint(CDC*) {} // the borders are in the non-client area; the class brush does the rest

// ---- the array of bars -------------------------------------------------------------------------

CControlBar* CDockBar::GetDockedControlBar(int nPos) const
{
    if (nPos < 0 || nPos >= m_arrBars.GetSize())
        return NULL;
    void* pEntry = m_arrBars[nPos];
    if (pEntry == NULL || IsPlaceHolder(pEntry))
        return NULL;
    return (CControlBar*)pEntry;
}

int CDockBar::GetDockedCount() const
{
    int nCount = 0;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        if (GetDockedControlBar(nPos) != NULL)
            nCount++;
    }
    return nCount;
}

int CDockBar::GetDockedVisibleCount() const
{
    int nCount = 0;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar != NULL && pBar->IsVisible())
            nCount++;
    }
    return nCount;
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude)
{
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        if (nPos != nPosExclude && m_arrBars[nPos] == (void*)pBar)
            return nPos;
    }
    return -1;
}

void CDockBar::RemoveEntry(int nPos)
{
    if (nPos <= 0 || nPos >= m_arrBars.GetSize())
        return;
    m_arrBars.RemoveAt(nPos);
    // a row left empty goes with its end
    if (nPos < m_arrBars.GetSize() && m_arrBars[nPos - 1] == NULL && m_arrBars[nPos] == NULL)
        m_arrBars.RemoveAt(nPos);
}

void CDockBar::RemovePlaceHolder(CControlBar* pBar)
{
    if (m_bFloating || pBar == NULL || pBar->m_hWnd == NULL)
        return;
    RemoveEntry(FindBar((CControlBar*)PlaceHolderOf(BarId(pBar->m_hWnd))));
}

int CDockBar::Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid)
{
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int nPosInsAfter = 0; // the new bar goes after this entry
    int nRowThickness = 0;
    int nTotal = 0;       // the thickness of the rows passed
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar != NULL && pBar->IsVisible()) {
            CRect rectBar;
            pBar->GetWindowRect(&rectBar);
            ScreenToClient(&rectBar);
            nRowThickness = Max(nRowThickness, bHorz ? rectBar.Height() : rectBar.Width() - 1);
            // after the bars that start before the new one
            if (bHorz ? rect.left > rectBar.left : rect.top > rectBar.top)
                nPosInsAfter = nPos;
            continue;
        }
        // A row end (or a hidden bar, or a placeholder): the rows passed so far end here. The new
        // bar goes into the row its middle falls into.
        nTotal += nRowThickness - CyBorder2();
        nRowThickness = 0;
        if ((bHorz ? ptMid.y : ptMid.x) < nTotal) {
            if (nPos == 0)
                m_arrBars.InsertAt(nPosInsAfter + 1, (void*)NULL); // a new first row
            m_arrBars.InsertAt(nPosInsAfter + 1, (void*)pBarIns);
            return nPosInsAfter + 1;
        }
        nPosInsAfter = nPos;
    }
    // below (right of) every row: a new last row
    m_arrBars.InsertAt(nPosInsAfter + 1, (void*)NULL);
    m_arrBars.InsertAt(nPosInsAfter + 1, (void*)pBarIns);
    return nPosInsAfter + 1;
}

// ---- docking -----------------------------------------------------------------------------------

void CDockBar::AdoptBarStyle(CControlBar* pBar)
{
    if (m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI))
        m_dwStyle |= CBRS_FLOAT_MULTI;
    m_dwStyle = (m_dwStyle & ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC)) | (pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC));
    // a floating frame of one bar shows that bar's title
    if (!(m_dwStyle & CBRS_FLOAT_MULTI)) {
        CString strTitle;
        CString strOld;
        pBar->GetWindowText(strTitle);
        GetWindowText(strOld);
        if (strTitle != strOld)
            SetWindowText(strTitle);
    }
    DWORD dwStyle = pBar->GetBarStyle() & ~CBRS_ALIGN_ANY;
    dwStyle |= (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
    if (m_bFloating)
        dwStyle |= CBRS_FLOATING;
    else
        dwStyle &= ~CBRS_FLOATING;
    pBar->SetBarStyle(dwStyle);
}

int CDockBar::PlaceBar(CControlBar* pBar, LPCRECT lpRect, int nPos)
{
    if (lpRect != NULL) {
        // into the row the rectangle falls into, there
        CRect rect(lpRect);
        ScreenToClient(&rect);
        if (nPos < 1)
            nPos = Insert(pBar, rect, CPoint(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2));
        pBar->SetWindowPos(NULL, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
        return nPos;
    }
    // a row of its own at the end, at the start of the row
    if (nPos < 1) {
        nPos = m_arrBars.Add(pBar);
        m_arrBars.Add(NULL);
    }
    pBar->SetWindowPos(NULL, -CxBorder2(), -CyBorder2(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    return nPos;
}

CDockBar* CDockBar::TakeBar(CControlBar* pBar)
{
    if (::GetParent(pBar->m_hWnd) != m_hWnd)
        pBar->SetParent(this);
    CDockBar* pOldDockBar = pBar->m_pDockBar;
    pBar->m_pDockBar = this;
    return pOldDockBar;
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    if (pBar == NULL || pBar->m_hWnd == NULL)
        return;
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    if (pBar->m_pDockBar == this && (lpRect == NULL || rectBar == *lpRect))
        return; // docked here already, and where it is

    AdoptBarStyle(pBar);
    // hidden while it changes its place (it would flash in between)
    BOOL bShow = FALSE;
    if (pBar->m_pDockBar != this && pBar->IsWindowVisible()) {
        pBar->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        bShow = TRUE;
    }

    int nPos = PlaceBar(pBar, lpRect, -1);
    // The old entry goes. A bar that leaves a side of the frame for a floating frame leaves its
    // id there, so that it can come back to its row. (The dock bar it leaves may be a floating
    // one that goes now: it is not touched after this.)
    CDockBar* pOldDockBar = TakeBar(pBar);
    if (pOldDockBar == this)
        RemoveControlBar(pBar, nPos);
    else if (pOldDockBar != NULL)
        pOldDockBar->RemoveControlBar(pBar, -1, m_bFloating && !pOldDockBar->m_bFloating);
    if (bShow)
        pBar->SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RemovePlaceHolder(pBar);

    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != NULL)
        pFrame->DelayRecalcLayout();
}

void CDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    if (pBar == NULL || pBar->m_hWnd == NULL || pBar->m_pDockBar == this)
        return;
    AdoptBarStyle(pBar);

    // its placeholder becomes the bar again (its row and place in the row)
    int nPos = FindBar((CControlBar*)PlaceHolderOf(BarId(pBar->m_hWnd)));
    if (nPos > 0)
        m_arrBars[nPos] = pBar;
    PlaceBar(pBar, lpRect, nPos);
    CDockBar* pOldDockBar = TakeBar(pBar);
    if (pOldDockBar != NULL)
        pOldDockBar->RemoveControlBar(pBar);

    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != NULL)
        pFrame->DelayRecalcLayout();
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder)
{
    int nPos = FindBar(pBar, nPosExclude);
    if (nPos <= 0)
        return FALSE; // not here
    if (nAddPlaceHolder == 1 && pBar->m_hWnd != NULL) {
        void* pPlaceHolder = PlaceHolderOf(BarId(pBar->m_hWnd));
        m_arrBars[nPos] = pPlaceHolder;
        // one placeholder per bar: an older one keeps its place
        if (FindBar((CControlBar*)pPlaceHolder, nPos) > 0)
            RemoveEntry(nPos);
    } else {
        RemoveEntry(nPos);
        if (nAddPlaceHolder != -1)
            RemovePlaceHolder(pBar);
    }

    // A bar without a docking context (going away) asks for nothing more.
    if (pBar->m_pDockContext == NULL)
        return FALSE;
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame == NULL)
        return FALSE;
    if (m_bFloating && GetDockedVisibleCount() == 0) {
        if (GetDockedCount() == 0) {
            // the floating frame (and this dock bar, its member) goes
            pFrame->DestroyWindow();
            return TRUE;
        }
        pFrame->ShowWindow(SW_HIDE);
    } else {
        pFrame->DelayRecalcLayout();
    }
    return FALSE;
}

void CDockBar::ShowAll(BOOL bShow)
{
    // a copy: showing and hiding may change the array
    CPtrArray arrBars;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar != NULL)
            arrBars.Add(pBar);
    }
    for (int i = 0; i < arrBars.GetSize(); i++) {
        CControlBar* pBar = (CControlBar*)arrBars[i];
        CFrameWnd* pFrame = pBar->GetDockingFrame();
        if (pFrame != NULL)
            pFrame->ShowControlBar(pBar, bShow, FALSE);
    }
}

// ---- layout ------------------------------------------------------------------------------------

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    // The layout below measures only when the frame only asks; it may use the room the frame
    // offers. Nested layouts keep their own values.
    AFX_SIZEPARENTPARAMS* lpLayout = (AFX_SIZEPARENTPARAMS*)lParam;
    BOOL bLayoutQuery = m_bLayoutQuery;
    CRect rectLayout = m_rectLayout;
    m_bLayoutQuery = lpLayout->hDWP == NULL;
    m_rectLayout = lpLayout->rect;
    LRESULT lResult = CControlBar::OnSizeParent(wParam, lParam);
    m_bLayoutQuery = bLayoutQuery;
    m_rectLayout = rectLayout;
    return lResult;
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize sizeFixed = CControlBar::CalcFixedLayout(bStretch, bHorz);

    // the room along the dock bar: what the frame's layout offers, else the frame's client area
    CSize sizeMax(0, 0);
    if (!m_rectLayout.IsRectEmpty()) {
        sizeMax = m_rectLayout.Size();
    } else {
        CFrameWnd* pFrame = GetParentFrame();
        if (pFrame != NULL) {
            CRect rectFrame;
            pFrame->GetClientRect(&rectFrame);
            sizeMax = rectFrame.Size();
        }
    }
    const int nMax = bHorz ? sizeMax.cx : sizeMax.cy;
    // Bars overlap their neighbours' borders (and the dock bar's edges) by two pixels.
    const int nOverlapAlong = bHorz ? CxBorder2() : CyBorder2();
    const int nOverlapAcross = bHorz ? CyBorder2() : CxBorder2();

    AFX_SIZEPARENTPARAMS layout;
    layout.hDWP = m_bLayoutQuery ? NULL : ::BeginDeferWindowPos((int)m_arrBars.GetSize());
    layout.rect = CRect(0, 0, 0, 0);
    layout.sizeTotal = CSize(0, 0);
    layout.bStretch = bStretch;

    int nAlong = -nOverlapAlong;   // where the next bar of the row starts
    int nAcross = -nOverlapAcross; // where the row starts
    int nRowThickness = 0;
    BOOL bWrapped = FALSE;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        void* pEntry = m_arrBars[nPos];
        if (pBar != NULL) {
            if (pBar->IsVisible()) {
                DWORD dwMode = 0;
                if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (pBar->m_dwStyle & CBRS_FLOATING))
                    dwMode = LM_HORZ | LM_MRUWIDTH;
                else if (pBar->m_dwStyle & CBRS_ORIENT_HORZ)
                    dwMode = LM_HORZ | LM_HORZDOCK;
                else
                    dwMode = LM_VERTDOCK;
                CSize sizeBar = pBar->CalcDynamicLayout(-1, dwMode);
                int nLength = bHorz ? sizeBar.cx : sizeBar.cy;

                CRect rectBar;
                pBar->GetWindowRect(&rectBar);
                ScreenToClient(&rectBar);
                int nStart = nAlong;
                // A bar lying further on stays there (the user put it there) ...
                int nBarStart = bHorz ? rectBar.left : rectBar.top;
                if (nBarStart > nStart && !m_bFloating)
                    nStart = nBarStart;
                // ... unless it would end beyond the room: then it moves back, but not over the
                // bars before it.
                if (nStart + nLength > nMax && !m_bFloating)
                    nStart = Max(nMax - (nLength - nOverlapAlong), nAlong);
                if (bWrapped) {
                    // the first bar of a row that a wrap began
                    bWrapped = FALSE;
                    nStart = -nOverlapAlong;
                } else if (nStart >= nMax - nOverlapAlong && nPos > 0 && m_arrBars[nPos - 1] != NULL) {
                    // it would start beyond the end: it wraps into a new row
                    m_arrBars.InsertAt(nPos, (void*)NULL);
                    pBar = NULL;
                    pEntry = NULL;
                    bWrapped = TRUE;
                }
                if (!bWrapped) {
                    CRect rect = bHorz ? CRect(CPoint(nStart, nAcross), sizeBar) : CRect(CPoint(nAcross, nStart), sizeBar);
                    if (rect != rectBar) {
                        // the place it was given is where it goes back to when docked again
                        if (!m_bLayoutQuery && !(pBar->m_dwStyle & CBRS_FLOATING) && pBar->m_pDockContext != NULL)
                            pBar->m_pDockContext->m_rectMRUDockPos = rect;
                        AfxRepositionWindow(&layout, pBar->m_hWnd, &rect);
                    }
                    nAlong = nStart + nLength - nOverlapAlong;
                    nRowThickness = Max(nRowThickness, bHorz ? sizeBar.cy : sizeBar.cx);
                }
            }
            if (!bWrapped)
                pBar->RecalcDelayShow(&layout);
        }
        if (pBar == NULL && pEntry == NULL && nRowThickness != 0) {
            // the end of a row: the next row starts on this one's far border
            nAcross += nRowThickness - nOverlapAcross;
            if (bHorz) {
                sizeFixed.cx = Max(sizeFixed.cx, nAlong);
                sizeFixed.cy = Max(sizeFixed.cy, nAcross);
            } else {
                sizeFixed.cx = Max(sizeFixed.cx, nAcross);
                sizeFixed.cy = Max(sizeFixed.cy, nAlong);
            }
            nAlong = -nOverlapAlong;
            nRowThickness = 0;
        }
    }
    // every bar moves at once
    if (layout.hDWP != NULL)
        ::EndDeferWindowPos(layout.hDWP);

    // the dock bar's own borders
    CRect rect(0, 0, 0, 0);
    CalcInsideRect(rect, bHorz);
    if ((!bStretch || !bHorz) && sizeFixed.cx != 0)
        sizeFixed.cx += rect.left - rect.right;
    if ((!bStretch || bHorz) && sizeFixed.cy != 0)
        sizeFixed.cy += rect.top - rect.bottom;
    return sizeFixed;
}

void CDockBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    // the borders lie outside the client area
    afxdock::InsetNonClient(this, lpncsp, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
}

// ---- saved state -------------------------------------------------------------------------------

void CDockBar::GetBarInfo(CControlBarInfo* pInfo)
{
    CControlBar::GetBarInfo(pInfo);
    pInfo->m_bDockBar = TRUE;
    pInfo->m_bFloating = m_bFloating;
    pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    if (m_bFloating) {
        // where the floating frame's inside is on the screen
        CRect rect;
        GetWindowRect(&rect);
        pInfo->m_pointPos = rect.TopLeft();
    }
    pInfo->m_arrBarID.RemoveAll();
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        void* pEntry = m_arrBars[nPos];
        DWORD dwID = 0;
        if (IsPlaceHolder(pEntry))
            dwID = (DWORD)(UINT_PTR)pEntry | 0x10000;
        else if (pEntry != NULL)
            dwID = BarId(((CControlBar*)pEntry)->m_hWnd);
        pInfo->m_arrBarID.Add(CControlBarInfo::IdToEntry(dwID));
    }
}

void CDockBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd)
{
    // The rows are made anew from the saved ids. Bars held here now that the saved rows do not
    // list keep their places in rows after them (another dock bar may claim them later).
    CPtrArray arrOld;
    arrOld.Copy(m_arrBars);
    m_arrBars.RemoveAll();
    m_arrBars.Add(NULL);
    for (int i = 0; i < pInfo->m_arrBarID.GetSize(); i++) {
        DWORD dwID = CControlBarInfo::EntryToId(pInfo->m_arrBarID[i]);
        if (dwID == 0) {
            // a row end (an empty row is left out)
            if (m_arrBars[m_arrBars.GetSize() - 1] != NULL)
                m_arrBars.Add(NULL);
            continue;
        }
        CControlBar* pBar = pFrameWnd != NULL ? pFrameWnd->GetControlBar(dwID & 0xFFFF) : NULL;
        if (pBar == NULL || pBar->IsDockBar())
            continue; // a bar the frame no longer has
        if (dwID > 0xFFFF) {
            if (!m_bFloating)
                m_arrBars.Add(PlaceHolderOf(dwID & 0xFFFF));
            continue;
        }
        if (FindBar(pBar) > 0)
            continue; // listed twice
        m_arrBars.Add(pBar);
        if (pBar->m_pDockBar != this) {
            // the bar comes from elsewhere (it must not be in two dock bars)
            // (leaving a placeholder where it leaves a side of the frame for a floating frame)
            AdoptBarStyle(pBar);
            CDockBar* pOldDockBar = TakeBar(pBar);
            if (pOldDockBar != NULL)
                pOldDockBar->RemoveControlBar(pBar, -1, m_bFloating && !pOldDockBar->m_bFloating);
        }
    }
    if (m_arrBars[m_arrBars.GetSize() - 1] != NULL)
        m_arrBars.Add(NULL);
    for (int nPos = 0; nPos < arrOld.GetSize(); nPos++) {
        void* pEntry = arrOld[nPos];
        if (pEntry == NULL || IsPlaceHolder(pEntry) || FindBar((CControlBar*)pEntry) > 0)
            continue;
        CControlBar* pBar = (CControlBar*)pEntry;
        if (pBar->m_pDockBar == this) {
            m_arrBars.Add(pBar);
            m_arrBars.Add(NULL);
        }
    }
    // the dock bar's own visibility and position
    CControlBar::SetBarInfo(pInfo, pFrameWnd);
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != NULL)
        pFrame->DelayRecalcLayout();
}
