#include "CTkDockBar.h"

#include "CTkControlBar.h"
#include "CTkDockWindow.h"
#include "CTkGlobalData.h"
#include "CTkMemDC.h"
#include "CTkMenuBar.h"
#include "CTkPopupMenu.h"
#include "CTkToolBar.h"
#include "ToolkitResource.h"

namespace {

const int kTrackerSize = 6;

int Max(int a, int b) { return a > b ? a : b; }
int Min(int a, int b) { return a < b ? a : b; }

CTkDockWindow* AsDockWindow(CControlBar* pBar)
{
    return pBar != NULL && pBar->IsKindOf(RUNTIME_CLASS(CTkDockWindow)) ? (CTkDockWindow*)pBar : NULL;
}

// The halftone brush of the drag rectangle.
CBrush* HalftoneBrush()
{
    static CBrush brush;
    if (brush.m_hObject == NULL) {
        WORD pattern[8];
        for (int i = 0; i < 8; i++)
            pattern[i] = (WORD)(0x5555 << (i & 1));
        CBitmap bitmap;
        bitmap.CreateBitmap(8, 8, 1, 1, pattern);
        brush.CreatePatternBrush(&bitmap);
    }
    return &brush;
}

} // namespace

// ---- trackers ----------------------------------------------------------------------------------

CTkDockTracker::CTkDockTracker(CTkDockBar* pDockBar, int nOrientation, int nBarIndex)
    : m_rect(0, 0, 0, 0), m_rectDrag(0, 0, 0, 0), m_ptLast(0, 0), m_nStart(0), m_nPos(0), m_nMax(0), m_nMin(0),
      m_nOrientation(nOrientation), m_nBarIndex(nBarIndex), m_pDockBar(pDockBar)
{
}

BOOL CTkDockTracker::DrawDragRect()
{
    CFrameWnd* pFrame = m_pDockBar->GetDockingFrame();
    if (pFrame == NULL)
        return FALSE;
    if (m_rectDrag.IsRectEmpty()) {
        m_pDockBar->GetParent()->Invalidate();
        return FALSE;
    }
    CRect rect = m_rectDrag;
    if (m_nOrientation == 1)
        rect.DeflateRect(1, 0);
    else
        rect.DeflateRect(0, 1);
    CClientDC dc(pFrame);
    CBrush whiteBrush(RGB(255, 255, 255));
    CBrush* pBrush = ((m_pDockBar->m_dwTkBarStyle & TKCBRS_FLAT_TRACKERS) || tkAfxData.bFlatLook) ? &whiteBrush : HalftoneBrush();
    CBrush* pOld = dc.SelectObject(pBrush);
    dc.PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
    dc.SelectObject(pOld);
    return TRUE;
}

BOOL CTkDockTracker::BeginTrack(CPoint pt)
{
    m_rectDrag = m_rect;
    m_pDockBar->ClientToScreen(&m_rectDrag);
    CFrameWnd* pFrame = m_pDockBar->GetDockingFrame();
    if (pFrame != NULL)
        pFrame->ScreenToClient(&m_rectDrag);
    m_ptLast = pt;
    InitLimits();
    return DrawDragRect();
}

BOOL CTkDockTracker::Track(int x, int y)
{
    DrawDragRect();
    Move(x, y);
    DrawDragRect();
    return TRUE;
}

BOOL CTkDockTracker::EndTrack(int x, int y)
{
    DrawDragRect();
    Move(x, y);
    if (m_nPos != m_nStart) {
        Apply();
        CFrameWnd* pFrame = m_pDockBar->GetDockingFrame();
        if (pFrame != NULL)
            pFrame->DelayRecalcLayout();
    }
    return TRUE;
}

void CTkRowTracker::Move(int x, int y)
{
    int nChange;
    switch (m_pDockBar->GetDlgCtrlID()) {
    case AFX_IDW_DOCKBAR_TOP:
        nChange = y - m_ptLast.y;
        break;
    case AFX_IDW_DOCKBAR_LEFT:
        nChange = x - m_ptLast.x;
        break;
    case AFX_IDW_DOCKBAR_RIGHT:
        nChange = m_ptLast.x - x;
        break;
    default: // the bottom dock bar
        nChange = m_ptLast.y - y;
        break;
    }
    int nNew = Min(Max(m_nPos + nChange, m_nMin), m_nMax);
    nChange = nNew - m_nPos;
    m_nPos = nNew;
    switch (m_pDockBar->GetDlgCtrlID()) {
    case AFX_IDW_DOCKBAR_TOP:
        m_rectDrag.OffsetRect(0, nChange);
        m_ptLast.y += nChange;
        break;
    case AFX_IDW_DOCKBAR_LEFT:
        m_rectDrag.OffsetRect(nChange, 0);
        m_ptLast.x += nChange;
        break;
    case AFX_IDW_DOCKBAR_RIGHT:
        m_rectDrag.OffsetRect(-nChange, 0);
        m_ptLast.x -= nChange;
        break;
    default:
        m_rectDrag.OffsetRect(0, -nChange);
        m_ptLast.y -= nChange;
        break;
    }
}

void CTkRowTracker::InitLimits()
{
    const BOOL bHorz = m_pDockBar->IsHorz();
    int nThickness = 0, nOrdinary = 2;
    for (int nPos = m_nBarIndex; nPos < m_pDockBar->m_arrBars.GetSize() && m_pDockBar->m_arrBars[nPos] != NULL; nPos++) {
        CControlBar* pBar = m_pDockBar->GetDockedControlBar(nPos);
        if (pBar == NULL || pBar->m_hWnd == NULL || !pBar->IsVisible())
            continue;
        if (CTkDockWindow* pWnd = AsDockWindow(pBar)) {
            nThickness = Max(nThickness, pWnd->GetDockedSize(bHorz).cy);
        } else {
            CRect rect;
            pBar->GetWindowRect(&rect);
            nOrdinary = Max(nOrdinary, bHorz ? rect.Height() : rect.Width());
        }
    }
    m_nStart = m_nPos = nThickness;
    m_nMin = nOrdinary;
    // what the frame's client area has left
    int nLeft = 0;
    CFrameWnd* pFrame = m_pDockBar->GetDockingFrame();
    if (pFrame != NULL) {
        CRect rectClient;
        pFrame->GetClientRect(&rectClient);
        nLeft = bHorz ? rectClient.Height() : rectClient.Width();
        static const UINT kTaken[2][3] = {{AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_STATUS_BAR},
                                          {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, 0}};
        for (UINT nID : kTaken[bHorz ? 0 : 1]) {
            if (nID == 0)
                continue;
            CWnd* pWnd = pFrame->GetDlgItem((int)nID);
            if (pWnd == NULL || !pWnd->IsWindowVisible())
                continue;
            CRect rect;
            pWnd->GetWindowRect(&rect);
            nLeft -= bHorz ? rect.Height() : rect.Width();
        }
    }
    m_nMax = m_nStart + Max(nLeft, 0);
}

void CTkRowTracker::Apply()
{
    const BOOL bHorz = m_pDockBar->IsHorz();
    CTkDockWindow* pExpanded = NULL;
    for (int nPos = m_nBarIndex; nPos < m_pDockBar->m_arrBars.GetSize() && m_pDockBar->m_arrBars[nPos] != NULL; nPos++) {
        CTkDockWindow* pWnd = AsDockWindow(m_pDockBar->GetDockedControlBar(nPos));
        if (pWnd == NULL || pWnd->m_hWnd == NULL)
            continue;
        CSize size = pWnd->GetDockedSize(bHorz);
        size.cy = m_nPos;
        pWnd->SetDockedSize(bHorz, size);
        if (pExpanded == NULL && pWnd->IsExpanded())
            pExpanded = pWnd;
    }
    if (pExpanded != NULL)
        m_pDockBar->ExpandDockWindow(pExpanded, FALSE);
}

void CTkBarTracker::Move(int x, int y)
{
    int nChange = m_nOrientation == 2 ? y - m_ptLast.y : x - m_ptLast.x;
    int nNew = Min(Max(m_nPos + nChange, m_nMin), m_nMax);
    nChange = nNew - m_nPos;
    m_nPos = nNew;
    if (m_nOrientation == 2) {
        m_rectDrag.OffsetRect(0, nChange);
        m_ptLast.y += nChange;
    } else {
        m_rectDrag.OffsetRect(nChange, 0);
        m_ptLast.x += nChange;
    }
}

void CTkBarTracker::InitLimits()
{
    const BOOL bHorz = m_pDockBar->IsHorz();
    m_nStart = m_nPos = m_nOrientation == 2 ? m_rect.top : m_rect.left;
    // the room the windows before and after the strip can give up
    int nBefore = 0, nAfter = 0;
    int nRowStart = m_pDockBar->RowStart(m_nBarIndex);
    for (int nPos = nRowStart; nPos < m_pDockBar->m_arrBars.GetSize() && m_pDockBar->m_arrBars[nPos] != NULL; nPos++) {
        CTkDockWindow* pWnd = AsDockWindow(m_pDockBar->GetDockedControlBar(nPos));
        if (pWnd == NULL || pWnd->m_hWnd == NULL || !pWnd->IsVisible())
            continue;
        int nSpare = Max(pWnd->GetDockedSize(bHorz).cx - pWnd->GetMinimumLength(bHorz), 0);
        if (nPos < m_nBarIndex)
            nBefore += nSpare;
        else
            nAfter += nSpare;
    }
    m_nMin = m_nStart - nBefore;
    m_nMax = m_nStart + nAfter;
}

void CTkBarTracker::Apply()
{
    const BOOL bHorz = m_pDockBar->IsHorz();
    int nRowStart = m_pDockBar->RowStart(m_nBarIndex);
    CPtrArray arrBefore, arrAfter; // nearest first
    BOOL bExpanded = FALSE;
    for (int nPos = nRowStart; nPos < m_pDockBar->m_arrBars.GetSize() && m_pDockBar->m_arrBars[nPos] != NULL; nPos++) {
        CTkDockWindow* pWnd = AsDockWindow(m_pDockBar->GetDockedControlBar(nPos));
        if (pWnd == NULL || pWnd->m_hWnd == NULL || !pWnd->IsVisible())
            continue;
        bExpanded = bExpanded || pWnd->IsExpanded();
        if (nPos < m_nBarIndex)
            arrBefore.InsertAt(0, pWnd);
        else
            arrAfter.Add(pWnd);
    }
    int nDiff = m_nPos - m_nStart;
    // the side that shrinks gives the length, nearest first, each down to its minimum
    CPtrArray& arrShrink = nDiff > 0 ? arrAfter : arrBefore;
    CPtrArray& arrGrow = nDiff > 0 ? arrBefore : arrAfter;
    int nLeft = nDiff > 0 ? nDiff : -nDiff;
    int nTaken = 0;
    for (int i = 0; i < arrShrink.GetSize() && nLeft > 0; i++) {
        CTkDockWindow* pWnd = (CTkDockWindow*)arrShrink[i];
        CSize size = pWnd->GetDockedSize(bHorz);
        int nGive = Min(nLeft, Max(size.cx - pWnd->GetMinimumLength(bHorz), 0));
        size.cx -= nGive;
        pWnd->SetDockedSize(bHorz, size);
        nLeft -= nGive;
        nTaken += nGive;
    }
    if (arrGrow.GetSize() > 0) {
        CTkDockWindow* pWnd = (CTkDockWindow*)arrGrow[0];
        CSize size = pWnd->GetDockedSize(bHorz);
        size.cx += nTaken;
        pWnd->SetDockedSize(bHorz, size);
    }
    if (bExpanded)
        m_pDockBar->RestoreDockWindows((CTkDockWindow*)(arrBefore.GetSize() > 0 ? arrBefore[arrBefore.GetSize() - 1] : arrAfter[0]), FALSE);
}

// ---- the dock bar ------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CTkDockBar, CDockBar)

BEGIN_MESSAGE_MAP(CTkDockBar, CDockBar)
ON_WM_NCHITTEST()
ON_WM_SETCURSOR()
ON_WM_NCLBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_PAINT()
ON_WM_NCPAINT()
ON_WM_ERASEBKGND()
ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

CTkDockBar::CTkDockBar(BOOL bFloating)
    : CDockBar(bFloating), m_nHotTracker(-1), m_bTracking(FALSE), m_hWndFocusBefore(NULL), m_dwTkBarStyle(0)
{
}

CTkDockBar::~CTkDockBar() { DeleteTrackers(); }

void CTkDockBar::DeleteTrackers()
{
    for (int i = 0; i < m_arrTrackers.GetSize(); i++)
        delete (CTkDockTracker*)m_arrTrackers[i];
    m_arrTrackers.RemoveAll();
    if (!m_bTracking)
        m_nHotTracker = -1;
}

BOOL CTkDockBar::ModifyTkBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw)
{
    DWORD dwNew = (m_dwTkBarStyle & ~dwRemove) | dwAdd;
    if (dwNew == m_dwTkBarStyle)
        return FALSE;
    m_dwTkBarStyle = dwNew;
    if (bRedraw && m_hWnd != NULL)
        Invalidate();
    return TRUE;
}

int CTkDockBar::GetDockedVisibleCount() const
{
    int nCount = 0;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar != NULL && pBar->m_hWnd != NULL && pBar->IsVisible())
            nCount++;
    }
    return nCount;
}

int CTkDockBar::RowStart(int nPos) const
{
    while (nPos > 0 && m_arrBars[nPos - 1] != NULL)
        nPos--;
    return nPos;
}

void CTkDockBar::GetRowDockWindows(int nFirst, CPtrArray& arrWindows) const
{
    for (int nPos = nFirst; nPos < m_arrBars.GetSize() && m_arrBars[nPos] != NULL; nPos++) {
        CTkDockWindow* pWnd = AsDockWindow(GetDockedControlBar(nPos));
        if (pWnd != NULL && pWnd->m_hWnd != NULL && pWnd->IsVisible())
            arrWindows.Add(pWnd);
    }
}

// ---- docking -----------------------------------------------------------------------------------

void CTkDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    if (CTkDockWindow* pWnd = AsDockWindow(pBar))
        pWnd->ModifyTkBarStyle(0, TKCBRS_JUST_DOCKED, FALSE);
    // the class library's procedure, which calls Insert for a rectangle
    CDockBar::DockControlBar(pBar, lpRect);
}

int CTkDockBar::Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid)
{
    const BOOL bHorz = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
    int nAfter = 0;
    int nWidth = 0;
    int nTotal = 0;
    for (int nPos = 0; nPos < m_arrBars.GetSize(); nPos++) {
        void* pEntry = m_arrBars[nPos];
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar != NULL && pBar->m_hWnd != NULL && pBar->IsVisible()) {
            CRect rectBar;
            pBar->GetWindowRect(&rectBar);
            ScreenToClient(&rectBar);
            nWidth = Max(nWidth, bHorz ? rectBar.Height() : rectBar.Width() - 1);
            if (bHorz ? rect.left > rectBar.left : rect.top > rectBar.top)
                nAfter = nPos;
            continue;
        }
        if (pEntry == NULL && (nPos == 0 || nWidth > 0)) {
            nTotal += nWidth - afxData.cyBorder2;
            nWidth = 0;
        }
        // a row end, an invisible bar or a placeholder
        if ((bHorz ? ptMid.y : ptMid.x) < nTotal) {
            if (nPos == 0)
                m_arrBars.InsertAt(nAfter + 1, (void*)NULL); // a new first row
            m_arrBars.InsertAt(nAfter + 1, (void*)pBarIns);
            return nAfter + 1;
        }
        if (pEntry == NULL)
            nAfter = nPos;
    }
    // below every row: a new last row
    m_arrBars.InsertAt(nAfter + 1, (void*)NULL);
    m_arrBars.InsertAt(nAfter + 1, (void*)pBarIns);
    return nAfter + 1;
}

// ---- expanded docking windows ------------------------------------------------------------------

int CTkDockBar::ExpandDockWindow(CTkDockWindow* pWnd, BOOL bRecalc)
{
    int nPos = pWnd != NULL ? FindBar(pWnd) : -1;
    if (nPos <= 0)
        return -1;
    const BOOL bHorz = IsHorz();
    CSize size = pWnd->CalcDynamicLayout(-1, bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
    int nLength = bHorz ? size.cx : size.cy;
    int nEnd = nPos + 1;
    for (; nEnd < m_arrBars.GetSize() && m_arrBars[nEnd] != NULL; nEnd++) {
        CTkDockWindow* pOther = AsDockWindow(GetDockedControlBar(nEnd));
        if (pOther != NULL && pOther->m_hWnd != NULL)
            nLength += pOther->GetExpandLength(bHorz);
    }
    int nResult = pWnd->Expand(nLength, bHorz);
    if (AsDockWindow(GetDockedControlBar(nEnd - 1)) != NULL && bRecalc) {
        CFrameWnd* pFrame = GetDockingFrame();
        if (pFrame != NULL)
            pFrame->RecalcLayout(TRUE);
        return 0;
    }
    return nResult;
}

void CTkDockBar::RestoreDockWindows(CTkDockWindow* pWnd, BOOL bRecalc)
{
    int nPos = pWnd != NULL ? FindBar(pWnd) : -1;
    if (nPos <= 0)
        return;
    const BOOL bHorz = IsHorz();
    int nEnd = nPos;
    for (; nEnd < m_arrBars.GetSize() && m_arrBars[nEnd] != NULL; nEnd++) {
        CTkDockWindow* pOther = AsDockWindow(GetDockedControlBar(nEnd));
        if (pOther != NULL && pOther->m_hWnd != NULL)
            pOther->Restore(bHorz);
    }
    if (AsDockWindow(GetDockedControlBar(nEnd - 1)) != NULL && bRecalc) {
        CFrameWnd* pFrame = GetDockingFrame();
        if (pFrame != NULL)
            pFrame->RecalcLayout(TRUE);
    }
}

// ---- layout ------------------------------------------------------------------------------------

void CTkDockBar::SizeRowDockWindows(int nRowStart, int nAvail, BOOL bHorz)
{
    CPtrArray arrWindows;
    GetRowDockWindows(nRowStart, arrWindows);
    if (arrWindows.GetSize() == 0)
        return;
    // the room the row's ordinary bars and trackers leave, and the row's thickness
    int nOrdinary = 0, nThickness = 0, nLengths = 0;
    CTkDockWindow* pJustDocked = NULL;
    CTkDockWindow* pExpanded = NULL;
    int nPrevWindow = 0;
    for (int nPos = nRowStart; nPos < m_arrBars.GetSize() && m_arrBars[nPos] != NULL; nPos++) {
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar == NULL || pBar->m_hWnd == NULL || !pBar->IsVisible())
            continue;
        if (CTkDockWindow* pWnd = AsDockWindow(pBar)) {
            CSize size = pWnd->GetDockedSize(bHorz);
            nThickness = Max(nThickness, size.cy);
            nLengths += size.cx;
            if (nPrevWindow > 0)
                nOrdinary += kTrackerSize;
            nPrevWindow++;
            if (pJustDocked == NULL && (pWnd->GetTkBarStyle() & TKCBRS_JUST_DOCKED))
                pJustDocked = pWnd;
            if (pExpanded == NULL && pWnd->IsExpanded())
                pExpanded = pWnd;
        } else {
            CSize size = pBar->CalcDynamicLayout(-1, bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
            nOrdinary += bHorz ? size.cx : size.cy;
            nThickness = Max(nThickness, bHorz ? size.cy : size.cx);
        }
    }
    if (pJustDocked == NULL && nLengths + nOrdinary == nAvail)
        return;
    RestoreDockWindows(pExpanded != NULL ? pExpanded : (CTkDockWindow*)arrWindows[0], FALSE);

    int nRoom = nAvail - nOrdinary;
    if (pJustDocked != NULL)
        pJustDocked->ModifyTkBarStyle(TKCBRS_JUST_DOCKED, 0, FALSE);
    if (arrWindows.GetSize() == 1) {
        CTkDockWindow* pWnd = (CTkDockWindow*)arrWindows[0];
        pWnd->SetDockedSize(bHorz, CSize(Max(nRoom, pWnd->GetMinimumLength(bHorz)), nThickness));
    } else {
        // the others share what the remembered window's preferred length leaves
        int nSpare = nRoom;
        for (int i = 0; i < arrWindows.GetSize(); i++)
            nSpare -= ((CTkDockWindow*)arrWindows[i])->GetDockedSize(bHorz).cx;
        int nToDo = (int)arrWindows.GetSize() - (pJustDocked != NULL ? 1 : 0);
        int nUsed = 0;
        for (int i = 0; i < arrWindows.GetSize(); i++) {
            CTkDockWindow* pWnd = (CTkDockWindow*)arrWindows[i];
            if (pWnd == pJustDocked)
                continue;
            CSize size = pWnd->GetDockedSize(bHorz);
            int nAdd = nToDo > 0 ? nSpare / nToDo : 0;
            int nNew = Max(size.cx + nAdd, pWnd->GetMinimumLength(bHorz));
            nSpare -= nNew - size.cx;
            nToDo--;
            pWnd->SetDockedSize(bHorz, CSize(nNew, nThickness));
            nUsed += nNew;
        }
        if (pJustDocked != NULL)
            pJustDocked->SetDockedSize(bHorz, CSize(Max(nRoom - nUsed, pJustDocked->GetMinimumLength(bHorz)), nThickness));
    }
    for (int i = 0; i < arrWindows.GetSize(); i++) {
        CTkDockWindow* pWnd = (CTkDockWindow*)arrWindows[i];
        CSize size = pWnd->GetDockedSize(bHorz);
        CSize sizeWindow = bHorz ? size : CSize(size.cy, size.cx);
        pWnd->SetWindowPos(NULL, 0, 0, sizeWindow.cx, sizeWindow.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

CSize CTkDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    if (m_hWnd != NULL)
        InvalidateRect(NULL, FALSE);
    CSize sizeResult = CControlBar::CalcFixedLayout(bStretch, bHorz);

    CSize sizeAvail(0, 0);
    if (!m_rectLayout.IsRectEmpty()) {
        sizeAvail = m_rectLayout.Size();
    } else {
        CFrameWnd* pFrame = GetDockingFrame();
        if (pFrame != NULL) {
            CRect rect;
            pFrame->GetClientRect(&rect);
            sizeAvail = rect.Size();
        }
    }
    if (!bHorz)
        sizeAvail.cy -= 2;
    const int nAvail = bHorz ? sizeAvail.cx : sizeAvail.cy;
    const UINT nID = (UINT)GetDlgCtrlID();
    const BOOL bNearEdgeFirst = nID == AFX_IDW_DOCKBAR_TOP || nID == AFX_IDW_DOCKBAR_LEFT;

    AFX_SIZEPARENTPARAMS layout;
    memset(&layout, 0, sizeof(layout));
    layout.hDWP = m_bLayoutQuery ? NULL : ::BeginDeferWindowPos((int)m_arrBars.GetSize());
    DeleteTrackers();

    // along (x when horizontal) and across the rows
    int nAlong = bHorz ? 0 : -1;
    int nAcross = bHorz ? -1 : (nID == AFX_IDW_DOCKBAR_RIGHT ? -1 : 0);
    int nRowThickness = 0;
    int nOverlapAlong = 0, nOverlapAcross = 0;
    BOOL bRowStarted = FALSE;
    BOOL bWrapped = FALSE;
    BOOL bAnyRow = FALSE;
    BOOL bFirstRow = TRUE;
    BOOL bPrevRowHadWindows = FALSE;
    int nRowWindows = 0;    // visible docking windows of the current row
    int nWindowsDone = 0;   // of them, laid out
    CControlBar* pPrevBar = NULL;
    CControlBar* pLastBar = NULL;
    CPtrArray arrRowTrackers; // bar trackers of the current row (their far edge comes at its end)
    CPtrArray arrRowBars;
    CMap<CControlBar*, CControlBar*, DWORD, DWORD> mapBorders;
    BOOL bStop = FALSE;

    auto removeBorder = [&](CControlBar* pBar, DWORD dwBits) {
        DWORD dw = CBRS_BORDER_ANY;
        mapBorders.Lookup(pBar, dw);
        mapBorders[pBar] = dw & ~dwBits;
    };
    auto addTracker = [&](CTkDockTracker* pTracker) { m_arrTrackers.Add(pTracker); };
    auto endRow = [&]() {
        if (bHorz) {
            if (AsDockWindow(pLastBar) != NULL && nAlong >= nAvail)
                removeBorder(pLastBar, CBRS_BORDER_RIGHT);
            if (bFirstRow)
                for (int i = 0; i < arrRowBars.GetSize(); i++)
                    if (AsDockWindow((CControlBar*)arrRowBars[i]) != NULL)
                        removeBorder((CControlBar*)arrRowBars[i], CBRS_BORDER_TOP);
            sizeResult.cx = Max(sizeResult.cx, nAlong);
            nAcross += nRowThickness - nOverlapAcross;
            sizeResult.cy = Max(sizeResult.cy, nAcross);
            nAlong = -nOverlapAlong;
        } else {
            if (nRowWindows > 0 && GetDockingFrame() != NULL && GetDockingFrame()->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM) == NULL &&
                pLastBar != NULL)
                removeBorder(pLastBar, CBRS_BORDER_BOTTOM);
            if (bFirstRow)
                for (int i = 0; i < arrRowBars.GetSize(); i++)
                    if (AsDockWindow((CControlBar*)arrRowBars[i]) != NULL)
                        removeBorder((CControlBar*)arrRowBars[i], CBRS_BORDER_LEFT);
            nAcross += nRowThickness - nOverlapAlong;
            sizeResult.cx = Max(sizeResult.cx, nAcross);
            sizeResult.cy = Max(sizeResult.cy, nAlong);
            nAlong = -1 - nOverlapAcross;
        }
        for (int i = 0; i < arrRowTrackers.GetSize(); i++) {
            CTkDockTracker* pTracker = (CTkDockTracker*)arrRowTrackers[i];
            if (bHorz)
                pTracker->m_rect.bottom = nAcross;
            else
                pTracker->m_rect.right = nAcross;
        }
        arrRowTrackers.RemoveAll();
        bPrevRowHadWindows = nRowWindows > 0;
        bFirstRow = FALSE;
        bAnyRow = TRUE;
        bRowStarted = FALSE;
        nRowThickness = 0;
        nRowWindows = 0;
        nWindowsDone = 0;
        pPrevBar = NULL;
        pLastBar = NULL;
        arrRowBars.RemoveAll();
    };

    for (int nPos = 0; nPos < m_arrBars.GetSize() && !bStop; nPos++) {
        void* pEntry = m_arrBars[nPos];
        if (pEntry == NULL) {
            if (nRowThickness > 0)
                endRow();
            else
                bRowStarted = FALSE;
            continue;
        }
        CControlBar* pBar = GetDockedControlBar(nPos);
        if (pBar == NULL || pBar->m_hWnd == NULL)
            continue;
        if (!pBar->IsVisible()) {
            pBar->RecalcDelayShow(&layout);
            continue;
        }
        if (bRowStarted && pBar->IsKindOf(RUNTIME_CLASS(CTkMenuBar))) {
            // the menu bar always has a row of its own, in front of the bars it was placed with
            int nStart = RowStart(nPos);
            m_arrBars.RemoveAt(nPos);
            m_arrBars.InsertAt(nStart, (void*)NULL);
            m_arrBars.InsertAt(nStart, (void*)pBar);
            CFrameWnd* pFrame = GetDockingFrame();
            if (pFrame != NULL)
                pFrame->DelayRecalcLayout();
            bStop = TRUE;
            break;
        }
        CTkDockWindow* pWindow = AsDockWindow(pBar);
        if (!bRowStarted) {
            bRowStarted = TRUE;
            int nRowStart = RowStart(nPos);
            CPtrArray arrWindows;
            GetRowDockWindows(nRowStart, arrWindows);
            nRowWindows = (int)arrWindows.GetSize();
            if ((bNearEdgeFirst && bPrevRowHadWindows) || (!bNearEdgeFirst && nRowWindows > 0)) {
                CTkDockTracker* pTracker = new CTkRowTracker(this, bHorz ? 2 : 1, bNearEdgeFirst ? RowStart(nRowStart - 1 > 0 ? nRowStart - 2 : 0) : nRowStart);
                pTracker->m_rect = bHorz ? CRect(0, nAcross, nAvail, nAcross + kTrackerSize) : CRect(nAcross, 0, nAcross + kTrackerSize, nAvail);
                addTracker(pTracker);
                nAcross += bHorz ? kTrackerSize : kTrackerSize + 1;
            }
            if (nRowWindows > 0)
                SizeRowDockWindows(nRowStart, nAvail, bHorz);
        }
        const BOOL bToolkit = pBar->IsKindOf(RUNTIME_CLASS(CTkControlBar));
        nOverlapAlong = bToolkit ? 0 : 2 * ::GetSystemMetrics(bHorz ? SM_CXBORDER : SM_CYBORDER);
        nOverlapAcross = bToolkit ? 0 : 2;

        // a tracker before a docking window that follows another, or after one when more follow
        if ((AsDockWindow(pPrevBar) != NULL && nWindowsDone < nRowWindows) || (pWindow != NULL && nWindowsDone > 0)) {
            CTkDockTracker* pTracker = new CTkBarTracker(this, bHorz ? 1 : 2, nPos);
            pTracker->m_rect = bHorz ? CRect(nAlong, nAcross, nAlong + kTrackerSize, nAcross) : CRect(nAcross, nAlong, nAcross, nAlong + kTrackerSize);
            addTracker(pTracker);
            arrRowTrackers.Add(pTracker);
            removeBorder(pBar, bHorz ? CBRS_BORDER_LEFT : CBRS_BORDER_TOP);
            removeBorder(pPrevBar, bHorz ? CBRS_BORDER_RIGHT : CBRS_BORDER_BOTTOM);
            nAlong += kTrackerSize;
        }

        CSize size;
        if (pWindow != NULL) {
            CSize sizeDocked = pWindow->GetDockedSize(bHorz);
            size = bHorz ? sizeDocked : CSize(sizeDocked.cy, sizeDocked.cx);
            pWindow->m_barPosition.nValue1 = nRowWindows == 1 ? 1 : 0;
            nWindowsDone++;
        } else {
            DWORD dwMode;
            if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (pBar->m_dwStyle & CBRS_FLOATING))
                dwMode = LM_HORZ | LM_MRUWIDTH;
            else if (pBar->m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM))
                dwMode = LM_HORZ | LM_HORZDOCK;
            else
                dwMode = LM_VERTDOCK;
            size = pBar->CalcDynamicLayout(-1, dwMode);
        }
        CRect rect = bHorz ? CRect(CPoint(nAlong, nAcross), size) : CRect(CPoint(nAcross, nAlong), size);
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        ScreenToClient(&rectBar);

        // along the row, told as x (the same with y when vertical)
        int nStart = bHorz ? rect.left : rect.top;
        int nLength = bHorz ? rect.Width() : rect.Height();
        int nBarStart = bHorz ? rectBar.left : rectBar.top;
        if (nBarStart > nStart && !m_bFloating && nRowWindows == 0) {
            nStart = nBarStart;
            mapBorders[pBar] = CBRS_BORDER_ANY;
        }
        if (nStart + nLength > nAvail && !m_bFloating)
            nStart = Max(nAvail - nLength - nOverlapAlong, nAlong);
        if (bWrapped) {
            nStart = -nOverlapAlong;
            bWrapped = FALSE;
        } else if (nStart >= nAvail - nOverlapAlong && nPos > 0 && m_arrBars[nPos - 1] != NULL) {
            // it wraps into a new row; the row end comes next, then this bar again
            m_arrBars.InsertAt(nPos, (void*)NULL);
            CFrameWnd* pFrame = GetDockingFrame();
            if (pFrame != NULL)
                pFrame->DelayRecalcLayout();
            bWrapped = TRUE;
            nPos--;
            continue;
        }
        // the last toolbar of a row hides buttons behind its chevron when the row is too short
        if (pBar->IsKindOf(RUNTIME_CLASS(CTkToolBar)) && ((CTkToolBar*)pBar)->m_pExpButton != NULL) {
            CTkToolBar* pToolBar = (CTkToolBar*)pBar;
            BOOL bLast = TRUE;
            for (int nNext = nPos + 1; nNext < m_arrBars.GetSize() && m_arrBars[nNext] != NULL; nNext++) {
                CControlBar* pNext = GetDockedControlBar(nNext);
                if (pNext != NULL && pNext->m_hWnd != NULL && pNext->IsVisible()) {
                    bLast = FALSE;
                    break;
                }
            }
            if (!bLast)
                nLength = pToolBar->ShowButtonsForRoom(nLength, 32767, bHorz);
            else if (nStart + nLength > nAvail)
                nLength = pToolBar->HideButtonsForRoom(nLength, nAvail - nStart, bHorz);
            else
                nLength = pToolBar->ShowButtonsForRoom(nLength, nAvail - nStart, bHorz);
        }
        if (bHorz)
            rect = CRect(nStart, rect.top, nStart + nLength, rect.bottom);
        else
            rect = CRect(rect.left, nStart, rect.right, nStart + nLength);
        if (rect != rectBar) {
            if (!m_bLayoutQuery && !(pBar->m_dwStyle & CBRS_FLOATING) && pBar->m_pDockContext != NULL)
                pBar->m_pDockContext->m_rectMRUDockPos = rect;
            AfxRepositionWindow(&layout, pBar->m_hWnd, &rect);
        }
        nAlong = nStart + nLength - nOverlapAlong;
        nRowThickness = Max(nRowThickness, bHorz ? rect.Height() : rect.Width());
        pBar->RecalcDelayShow(&layout);
        arrRowBars.Add(pBar);
        pPrevBar = pBar;
        pLastBar = pBar;
    }
    if (!bStop && nRowThickness > 0)
        endRow();

    // after the last row of docking windows
    if (!bStop && bPrevRowHadWindows) {
        if (bNearEdgeFirst) {
            int nLastStart = RowStart(Max((int)m_arrBars.GetSize() - 2, 0));
            CTkDockTracker* pTracker = new CTkRowTracker(this, bHorz ? 2 : 1, nLastStart);
            pTracker->m_rect = bHorz ? CRect(0, nAcross, nAvail, nAcross + kTrackerSize) : CRect(nAcross, 0, nAcross + kTrackerSize, nAvail);
            addTracker(pTracker);
            if (bHorz)
                sizeResult.cy += 5;
            else
                sizeResult.cx += 5;
        }
        for (int nPos = RowStart(Max((int)m_arrBars.GetSize() - 2, 0)); nPos < m_arrBars.GetSize() && m_arrBars[nPos] != NULL; nPos++)
            if (AsDockWindow(GetDockedControlBar(nPos)) != NULL)
                removeBorder(GetDockedControlBar(nPos), bHorz ? CBRS_BORDER_BOTTOM : CBRS_BORDER_RIGHT);
    }

    if (bAnyRow) {
        if (bHorz)
            sizeResult.cy += 1;
        else if (nID == AFX_IDW_DOCKBAR_LEFT)
            sizeResult.cx -= 1;
    }
    // the borders computed for the bars (ordinary bars only unless the style copy keeps theirs)
    POSITION pos = mapBorders.GetStartPosition();
    while (pos != NULL) {
        CControlBar* pBar;
        DWORD dwBorders;
        mapBorders.GetNextAssoc(pos, pBar, dwBorders);
        if (pBar == NULL || (AsDockWindow(pBar) == NULL && (m_dwTkBarStyle & TKCBRS_KEEP_BORDERS)))
            continue;
        DWORD dwStyle = (pBar->GetBarStyle() & ~CBRS_BORDER_ANY) | dwBorders;
        if (dwStyle != pBar->GetBarStyle())
            pBar->SetBarStyle(dwStyle);
    }
    if (layout.hDWP != NULL)
        ::EndDeferWindowPos(layout.hDWP);
    for (int i = 0; i < m_arrTrackers.GetSize(); i++) {
        CTkDockTracker* pTracker = (CTkDockTracker*)m_arrTrackers[i];
        if (pTracker->m_nOrientation == (bHorz ? 2 : 1)) {
            if (bHorz)
                pTracker->m_rect.right = nAvail;
            else
                pTracker->m_rect.bottom = nAvail;
        }
    }
    return sizeResult;
}

// ---- painting ----------------------------------------------------------------------------------

void CTkDockBar::DoPaint(CDC* pDC)
{
    CDockBar::DoPaint(pDC);
    const BOOL bFlat = (m_dwTkBarStyle & TKCBRS_FLAT_TRACKERS) || tkAfxData.bFlatLook;
    for (int i = 0; i < m_arrTrackers.GetSize(); i++) {
        CTkDockTracker* pTracker = (CTkDockTracker*)m_arrTrackers[i];
        CRect rect = pTracker->m_rect;
        pDC->FillSolidRect(&rect, tkAfxData.clr3DFace);
        if (bFlat)
            continue;
        if (pTracker->m_nOrientation == 1) {
            pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, tkAfxData.clr3DHilight);
            pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), tkAfxData.clr3DHilight);
            pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, tkAfxData.clr3DShadow);
            pDC->FillSolidRect(rect.right - 2, rect.top, 1, rect.Height(), tkAfxData.clr3DShadow);
            if (!(m_dwTkBarStyle & TKCBRS_KEEP_BORDERS))
                pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), tkAfxData.clrWindowFrame);
        } else {
            pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), tkAfxData.clr3DHilight);
            pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, tkAfxData.clr3DHilight);
            pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), tkAfxData.clr3DShadow);
            pDC->FillSolidRect(rect.left, rect.bottom - 2, rect.Width(), 1, tkAfxData.clr3DShadow);
            if (!(m_dwTkBarStyle & TKCBRS_KEEP_BORDERS))
                pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, tkAfxData.clrWindowFrame);
        }
    }
}

void CTkDockBar::OnPaint()
{
    CPaintDC dc(this);
    CRect rect;
    GetWindowRect(&rect);
    rect.OffsetRect(-rect.left, -rect.top);
    CTkMemDC memDC(&dc, rect, tkAfxData.clr3DFace);
    if (IsWindowVisible() && GetDockedVisibleCount() != 0)
        DoPaint(&memDC);
}

void CTkDockBar::OnNcPaint()
{
    CWindowDC dc(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    ScreenToClient(&rectWindow);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    dc.ExcludeClipRect(&rectClient);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    // the border lines: the class library's colours, or the face in the flat look
    COLORREF clrShadow = tkAfxData.bFlatLook ? tkAfxData.clr3DFace : ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF clrHilight = tkAfxData.bFlatLook ? tkAfxData.clr3DFace : ::GetSysColor(COLOR_BTNHIGHLIGHT);
    CRect rect = rectWindow;
    if (m_dwStyle & CBRS_BORDER_TOP) {
        dc.FillSolidRect(rect.left, rect.top, rect.Width(), 1, clrShadow);
        dc.FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, clrHilight);
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM) {
        dc.FillSolidRect(rect.left, rect.bottom - 2, rect.Width(), 1, clrShadow);
        dc.FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, clrHilight);
    }
    if (m_dwStyle & CBRS_BORDER_LEFT) {
        dc.FillSolidRect(rect.left, rect.top, 1, rect.Height(), clrShadow);
        dc.FillSolidRect(rect.left + 1, rect.top, 1, rect.Height(), clrHilight);
    }
    if (m_dwStyle & CBRS_BORDER_RIGHT) {
        dc.FillSolidRect(rect.right - 2, rect.top, 1, rect.Height(), clrShadow);
        dc.FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), clrHilight);
    }
    // the rest of the non-client area through the background
    CRect rectInside = rectWindow;
    CalcInsideRect(rectInside, IsHorz());
    dc.IntersectClipRect(&rectInside);
    SendMessage(WM_ERASEBKGND, (WPARAM)dc.m_hDC);
    DrawGripper(&dc, rectInside);
}

BOOL CTkDockBar::OnEraseBkgnd(CDC*) { return FALSE; }

// ---- trackers by the mouse ---------------------------------------------------------------------

void CTkDockBar::HitTestTracker(CPoint ptScreen)
{
    ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
    if (::GetCapture() != NULL)
        return;
    CPoint pt = ptScreen;
    ScreenToClient(&pt);
    m_nHotTracker = -1;
    for (int i = 0; i < m_arrTrackers.GetSize(); i++) {
        CTkDockTracker* pTracker = (CTkDockTracker*)m_arrTrackers[i];
        if (pTracker->m_rect.PtInRect(pt)) {
            m_nHotTracker = i;
            ::SetCursor(pTracker->m_nOrientation == 2 ? tkAfxData.hcurRowSplit : tkAfxData.hcurColSplit);
            break;
        }
    }
}

LRESULT CTkDockBar::OnNcHitTest(CPoint point)
{
    HitTestTracker(point);
    if (m_nHotTracker >= 0)
        return HTBORDER;
    return Default();
}

BOOL CTkDockBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT)
        return CDockBar::OnSetCursor(pWnd, nHitTest, message);
    return FALSE;
}

void CTkDockBar::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (m_nHotTracker >= 0 && m_nHotTracker < m_arrTrackers.GetSize()) {
        CTkDockTracker* pTracker = (CTkDockTracker*)m_arrTrackers[m_nHotTracker];
        CPoint pt = point;
        ScreenToClient(&pt);
        if (pTracker->BeginTrack(pt)) {
            m_hWndFocusBefore = ::GetFocus();
            SetFocus();
            SetCapture();
            m_bTracking = TRUE;
            return;
        }
    }
    CDockBar::OnNcLButtonDown(nHitTest, point);
}

void CTkDockBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bTracking && m_nHotTracker >= 0 && m_nHotTracker < m_arrTrackers.GetSize()) {
        ((CTkDockTracker*)m_arrTrackers[m_nHotTracker])->Track(point.x, point.y);
        return;
    }
    CDockBar::OnMouseMove(nFlags, point);
}

void CTkDockBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bTracking) {
        m_bTracking = FALSE;
        ::ReleaseCapture();
        if (m_hWndFocusBefore != NULL && ::IsWindow(m_hWndFocusBefore))
            ::SetFocus(m_hWndFocusBefore);
        if (m_nHotTracker >= 0 && m_nHotTracker < m_arrTrackers.GetSize())
            ((CTkDockTracker*)m_arrTrackers[m_nHotTracker])->EndTrack(point.x, point.y);
        return;
    }
    CDockBar::OnLButtonUp(nFlags, point);
}

void CTkDockBar::CancelTracking()
{
    if (m_nHotTracker >= 0 && m_nHotTracker < m_arrTrackers.GetSize())
        ((CTkDockTracker*)m_arrTrackers[m_nHotTracker])->DrawDragRect();
    m_bTracking = FALSE;
    ::ReleaseCapture();
    if (m_hWndFocusBefore != NULL && ::IsWindow(m_hWndFocusBefore))
        ::SetFocus(m_hWndFocusBefore);
}

BOOL CTkDockBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDCANCEL && m_bTracking) {
        CancelTracking();
        return TRUE;
    }
    return CDockBar::OnCommand(wParam, lParam);
}

// ---- the bars menu -----------------------------------------------------------------------------

void CTkDockBar::OnRButtonDown(UINT, CPoint point)
{
    if (!tkAfxData.bDockBarMenus)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == NULL)
        return;
    // the menu is built as a toolkit bar of the frame builds its bars menu
    CTkControlBar* pBuilder = NULL;
    POSITION pos = pFrame->m_listControlBars.GetHeadPosition();
    while (pos != NULL && pBuilder == NULL) {
        CControlBar* pBar = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
        if (pBar->IsKindOf(RUNTIME_CLASS(CTkControlBar)))
            pBuilder = (CTkControlBar*)pBar;
    }
    CTkPopupMenu menu;
    if (pBuilder == NULL || !pBuilder->BuildBarsMenu(menu, pFrame))
        return;
    BOOL bCustomizable = FALSE;
    for (int i = 0; i < (int)menu.GetMenuItemCount(); i++) {
        CControlBar* pBar = pFrame->GetControlBar(menu.GetMenuItemID(i));
        if (pBar != NULL && pBar->IsKindOf(RUNTIME_CLASS(CTkToolBar)) && ((CTkToolBar*)pBar)->IsCustomizable())
            bCustomizable = TRUE;
    }
    if (bCustomizable) {
        char sz[64] = "";
        ::LoadStringA(tkAfxData.hInstance, IDS_TK_CUSTOMIZE, sz, sizeof(sz));
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING, TK_ID_CUSTOMIZE, sz);
    }
    ClientToScreen(&point);
    menu.TrackPopupMenu(0, point.x, point.y, pFrame, NULL, TRUE);
}
