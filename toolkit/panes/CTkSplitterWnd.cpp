#include "CTkSplitterWnd.h"

#include "CTkGlobalData.h"
#include "TkColors.h"

namespace {

// Colour table entries of the bars: face and shadow.
const int kSplitterFace = 51;
const int kSplitterShadow = 52;
// Bars and gaps with and without the flat look.
const int kFlatBar = 6;
const int kPlainBar = 7;
// The part of a bar tracker that is inverted.
const int kTrackerThickness = 4;

bool IsRowTrack(int ht)
{
    return ht == CSplitterWnd::vSplitterBox ||
           (ht >= CSplitterWnd::vSplitterBar1 && ht <= CSplitterWnd::vSplitterBar15);
}

bool IsColumnTrack(int ht)
{
    return ht == CSplitterWnd::hSplitterBox ||
           (ht >= CSplitterWnd::hSplitterBar1 && ht <= CSplitterWnd::hSplitterBar15);
}

bool IsBothTrack(int ht)
{
    return ht == CSplitterWnd::bothSplitterBox ||
           (ht >= CSplitterWnd::splitterIntersection1 && ht <= CSplitterWnd::splitterIntersection225);
}

} // namespace

IMPLEMENT_DYNAMIC(CTkSplitterWnd, CSplitterWnd)

BEGIN_MESSAGE_MAP(CTkSplitterWnd, CSplitterWnd)
ON_WM_SETTINGCHANGE()
ON_WM_MOUSEMOVE()
ON_WM_NCHITTEST()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CTkSplitterWnd::CTkSplitterWnd()
    : m_nHiddenCol(-1), m_nHiddenRow(-1), m_bFullDrag(ReadFullDragSetting()), m_bFlatLook(TRUE),
      m_dwSplitterStyle(TK_SPLIT_NOFULLDRAG), m_ptLastDrag(-1, -1)
{
    // The style word says "no full drag", but the flag keeps the system setting until the
    // style is set or the settings change.
    m_cxSplitter = m_cySplitter = kFlatBar;
    m_cxSplitterGap = m_cySplitterGap = kFlatBar;
}

CTkSplitterWnd::~CTkSplitterWnd() {}

BOOL CTkSplitterWnd::ReadFullDragSetting()
{
    BOOL bFullDrag = FALSE;
    if (!::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &bFullDrag, 0))
        bFullDrag = FALSE;
    return bFullDrag;
}

// ---- hiding and showing rows and columns ---------------------------------------------------------

void CTkSplitterWnd::HideColumn(int nColHide)
{
    if (m_hWnd == NULL || nColHide == m_nHiddenCol)
        return;
    // the column must exist once a hidden one is back, and another must stay visible
    int nColsAll = m_nCols + (m_nHiddenCol >= 0 ? 1 : 0);
    if (nColHide < 0 || nColHide >= nColsAll || nColsAll < 2)
        return;
    if (m_nHiddenCol >= 0)
        ShowColumn();
    m_nHiddenCol = nColHide;

    int nRow = -1;
    int nCol = -1;
    if (GetActivePane(&nRow, &nCol) != NULL && nCol == nColHide)
        SetActivePane(nRow, nColHide + 1 < m_nCols ? nColHide + 1 : 0, NULL);

    for (int row = 0; row < m_nRows; row++) {
        CWnd* pHide = GetPane(row, nColHide);
        if (pHide != NULL) {
            pHide->ShowWindow(SW_HIDE);
            pHide->SetDlgCtrlID(IdFromRowCol(row, m_nCols));
        }
        for (int col = nColHide + 1; col < m_nCols; col++) {
            CWnd* pPane = GetPane(row, col);
            if (pPane != NULL)
                pPane->SetDlgCtrlID(IdFromRowCol(row, col - 1));
        }
    }
    m_nCols--;
    m_pColInfo[m_nCols].nCurSize = m_pColInfo[nColHide].nCurSize;
    RecalcLayout();
}

void CTkSplitterWnd::ShowColumn()
{
    if (m_hWnd == NULL || m_nHiddenCol < 0)
        return;
    int nColShow = m_nHiddenCol;
    int nCols = m_nCols;
    int cxHidden = m_pColInfo[nCols].nCurSize;
    m_nHiddenCol = -1;
    m_nCols = nCols + 1;

    for (int row = 0; row < m_nRows; row++) {
        CWnd* pShow = GetDlgItem(IdFromRowCol(row, nCols + 1));
        if (pShow != NULL)
            pShow->ShowWindow(SW_SHOWNA);
        for (int col = nCols - 1; col >= nColShow; col--) {
            CWnd* pPane = GetPane(row, col);
            if (pPane != NULL)
                pPane->SetDlgCtrlID(IdFromRowCol(row, col + 1));
        }
        if (pShow != NULL)
            pShow->SetDlgCtrlID(IdFromRowCol(row, nColShow));
    }
    for (int col = nColShow + 1; col < m_nCols; col++)
        m_pColInfo[col].nIdealSize = m_pColInfo[col - 1].nCurSize;
    m_pColInfo[nColShow].nIdealSize = cxHidden;
    RecalcLayout();
}

void CTkSplitterWnd::HideRow(int nRowHide)
{
    if (m_hWnd == NULL || nRowHide == m_nHiddenRow)
        return;
    int nRowsAll = m_nRows + (m_nHiddenRow >= 0 ? 1 : 0);
    if (nRowHide < 0 || nRowHide >= nRowsAll || nRowsAll < 2)
        return;
    if (m_nHiddenRow >= 0)
        ShowRow();
    m_nHiddenRow = nRowHide;

    int nRow = -1;
    int nCol = -1;
    if (GetActivePane(&nRow, &nCol) != NULL && nRow == nRowHide)
        SetActivePane(nRowHide + 1 < m_nRows ? nRowHide + 1 : 0, nCol, NULL);

    for (int col = 0; col < m_nCols; col++) {
        CWnd* pHide = GetPane(nRowHide, col);
        if (pHide != NULL) {
            pHide->ShowWindow(SW_HIDE);
            pHide->SetDlgCtrlID(IdFromRowCol(m_nRows, col));
        }
        for (int row = nRowHide + 1; row < m_nRows; row++) {
            CWnd* pPane = GetPane(row, col);
            if (pPane != NULL)
                pPane->SetDlgCtrlID(IdFromRowCol(row - 1, col));
        }
    }
    m_nRows--;
    m_pRowInfo[m_nRows].nCurSize = m_pRowInfo[nRowHide].nCurSize;
    RecalcLayout();
}

void CTkSplitterWnd::ShowRow()
{
    if (m_hWnd == NULL || m_nHiddenRow < 0)
        return;
    int nRowShow = m_nHiddenRow;
    int nRows = m_nRows;
    int cyHidden = m_pRowInfo[nRows].nCurSize;
    m_nHiddenRow = -1;
    m_nRows = nRows + 1;

    for (int col = 0; col < m_nCols; col++) {
        CWnd* pShow = GetDlgItem(IdFromRowCol(nRows + 1, col));
        if (pShow != NULL)
            pShow->ShowWindow(SW_SHOWNA);
        for (int row = nRows - 1; row >= nRowShow; row--) {
            CWnd* pPane = GetPane(row, col);
            if (pPane != NULL)
                pPane->SetDlgCtrlID(IdFromRowCol(row + 1, col));
        }
        if (pShow != NULL)
            pShow->SetDlgCtrlID(IdFromRowCol(nRowShow, col));
    }
    for (int row = nRowShow + 1; row < m_nRows; row++)
        m_pRowInfo[row].nIdealSize = m_pRowInfo[row - 1].nCurSize;
    m_pRowInfo[nRowShow].nIdealSize = cyHidden;
    RecalcLayout();
}

// ---- exchanging views ----------------------------------------------------------------------------

BOOL CTkSplitterWnd::SwitchView(int nRow, int nCol, CView* pView)
{
    if (m_hWnd == NULL || pView == NULL || pView->m_hWnd == NULL || ::GetParent(pView->m_hWnd) != m_hWnd ||
        nRow < 0 || nRow >= m_nRows || nCol < 0 || nCol >= m_nCols)
        return FALSE;
    CWnd* pOld = GetPane(nRow, nCol);
    if (pOld == NULL || pOld == pView)
        return FALSE;
    // each takes the other's place: its id and whether it was shown
    BOOL bOldVisible = pOld->IsWindowVisible();
    BOOL bNewVisible = pView->IsWindowVisible();
    pOld->ShowWindow(SW_HIDE);
    pView->ShowWindow(SW_HIDE);
    int nOldId = pOld->GetDlgCtrlID();
    pOld->SetDlgCtrlID(pView->GetDlgCtrlID());
    pView->SetDlgCtrlID(nOldId);
    if (bOldVisible)
        pView->ShowWindow(SW_SHOW);
    if (bNewVisible)
        pOld->ShowWindow(SW_SHOW);
    RecalcLayout();
    return TRUE;
}

CView* CTkSplitterWnd::ReplaceView(int nRow, int nCol, CView* pView)
{
    if (m_hWnd == NULL || pView == NULL || pView->m_hWnd == NULL || ::GetParent(pView->m_hWnd) != m_hWnd ||
        nRow < 0 || nRow >= m_nRows || nCol < 0 || nCol >= m_nCols)
        return NULL;
    CWnd* pOld = GetPane(nRow, nCol);
    if (pOld == NULL || pOld == pView || !pOld->IsKindOf(RUNTIME_CLASS(CView)))
        return NULL;
    pView->SetDlgCtrlID(pOld->GetDlgCtrlID());
    pOld->SetDlgCtrlID(0);
    pOld->ShowWindow(SW_HIDE);
    pView->ShowWindow(SW_SHOW);
    RecalcLayout();
    return (CView*)pOld;
}

CView* CTkSplitterWnd::ReplaceViewByClass(int nRow, int nCol, CRuntimeClass* pViewClass)
{
    if (m_hWnd == NULL || pViewClass == NULL || !pViewClass->IsDerivedFrom(RUNTIME_CLASS(CView)) || nRow < 0 ||
        nRow >= m_nRows || nCol < 0 || nCol >= m_nCols)
        return NULL;
    CWnd* pOldWnd = GetPane(nRow, nCol);
    if (pOldWnd == NULL || !pOldWnd->IsKindOf(RUNTIME_CLASS(CView)) || pOldWnd->IsKindOf(pViewClass))
        return NULL;
    CView* pOldView = (CView*)pOldWnd;
    CDocument* pDoc = pOldView->GetDocument();
    int nId = pOldView->GetDlgCtrlID();
    int cyCur = 0, cyMin = 0, cxCur = 0, cxMin = 0;
    GetRowInfo(nRow, cyCur, cyMin);
    GetColumnInfo(nCol, cxCur, cxMin);

    CCreateContext context;
    context.m_pNewViewClass = pViewClass;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewDocTemplate = pDoc != NULL ? pDoc->GetDocTemplate() : NULL;
    context.m_pLastView = NULL;
    context.m_pCurrentFrame = NULL;

    CView* pNewView = NULL;
    try {
        pNewView = (CView*)pViewClass->CreateObject();
    } catch (CException* e) {
        e->Delete();
        return NULL;
    }
    if (pNewView == NULL)
        return NULL;
    // a view whose window fails deletes itself when the window goes
    if (!pNewView->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, (UINT)nId, &context))
        return NULL;

    pOldView->ShowWindow(SW_HIDE);
    pOldView->SetDlgCtrlID(0);
    SetRowInfo(nRow, cyCur, cyMin);
    SetColumnInfo(nCol, cxCur, cxMin);
    RecalcLayout();
    pNewView->OnInitialUpdate();
    return pOldView;
}

// ---- style ---------------------------------------------------------------------------------------

void CTkSplitterWnd::SetSplitterStyle(DWORD dwStyle)
{
    m_dwSplitterStyle = dwStyle;
    m_bFullDrag = (dwStyle & TK_SPLIT_NOFULLDRAG) ? FALSE : ReadFullDragSetting();
}

void CTkSplitterWnd::EnableFlatLook(BOOL bFlat)
{
    m_bFlatLook = bFlat;
    int nBar = bFlat ? kFlatBar : kPlainBar;
    m_cxSplitter = m_cySplitter = nBar;
    m_cxSplitterGap = m_cySplitterGap = nBar;
    RecalcLayout();
}

// ---- drawing -------------------------------------------------------------------------------------

void CTkSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rectArg)
{
    if (pDC == NULL) {
        RedrawWindow(&rectArg, NULL, RDW_INVALIDATE | RDW_NOCHILDREN);
        return;
    }
    COLORREF clrFace = TkGetSysColor(kSplitterFace);
    COLORREF clrShadow = TkGetSysColor(kSplitterShadow);
    COLORREF clrHilite = tkAfxData.clr3DHilight;
    COLORREF clrFrame = tkAfxData.clrWindowFrame;
    CRect rect = rectArg;
    switch (nType) {
    case splitBar:
    case splitIntersection:
        pDC->FillSolidRect(&rect, clrFace);
        break;
    case splitBorder:
        if (m_bFlatLook) {
            if (m_dwSplitterStyle & TK_SPLIT_NOBORDER)
                break;
            pDC->Draw3dRect(&rect, clrFace, clrFace);
            rect.InflateRect(-1, -1);
            pDC->Draw3dRect(&rect, clrShadow, clrHilite);
        } else {
            pDC->Draw3dRect(&rect, clrShadow, clrHilite);
            rect.InflateRect(-1, -1);
            pDC->Draw3dRect(&rect, clrFrame, clrFace);
        }
        break;
    case splitBox:
        if (m_bFlatLook) {
            pDC->Draw3dRect(&rect, clrFace, clrFace);
            rect.InflateRect(-1, -1);
            pDC->Draw3dRect(&rect, clrShadow, clrHilite);
        } else {
            pDC->Draw3dRect(&rect, clrFace, clrFrame);
            rect.InflateRect(-1, -1);
            pDC->Draw3dRect(&rect, clrHilite, clrShadow);
        }
        rect.InflateRect(-1, -1);
        pDC->FillSolidRect(&rect, clrFace);
        break;
    }
}

void CTkSplitterWnd::OnInvertTracker(const CRect& rect)
{
    CBrush* pBrush = m_bFlatLook ? CBrush::FromHandle((HBRUSH)::GetStockObject(WHITE_BRUSH)) : CDC::GetHalftoneBrush();
    DrawTracker(rect, pBrush);
}

void CTkSplitterWnd::DrawTracker(const CRect& rectArg, CBrush* pBrush)
{
    if (m_bFullDrag || m_hWnd == NULL)
        return;
    // The splitter does not clip its children: the tracker runs over the panes.
    CDC* pDC = GetDC();
    if (pDC == NULL)
        return;
    int nSaved = pDC->SaveDC();
    CRect rect = rectArg;
    bool bVertical = rect.Width() < rect.Height();
    if (m_dwSplitterStyle & TK_SPLIT_DOTTRACKER) {
        CRect rectInside;
        GetInsideRect(rectInside);
        if (bVertical)
            rectInside.right = rect.right;
        else
            rectInside.bottom = rect.top;
        pDC->DrawFocusRect(&rectInside);
    } else {
        if (bVertical) {
            if (rect.Width() > kTrackerThickness)
                rect.left = rect.right - kTrackerThickness;
        } else if (rect.Height() > kTrackerThickness) {
            rect.bottom = rect.top + kTrackerThickness;
        }
        if (pBrush != NULL)
            ::SelectObject(pDC->m_hDC, pBrush->m_hObject);
        pDC->PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
    }
    pDC->RestoreDC(nSaved);
    ReleaseDC(pDC);
}

void CTkSplitterWnd::SetSplitCursor(int ht)
{
    if (ht == vSplitterBox || (ht >= vSplitterBar1 && ht <= vSplitterBar15))
        ::SetCursor(tkAfxData.hcurRowSplit);
    else if (ht == hSplitterBox || (ht >= hSplitterBar1 && ht <= hSplitterBar15))
        ::SetCursor(tkAfxData.hcurColSplit);
    else
        CSplitterWnd::SetSplitCursor(ht);
}

// ---- tracking ------------------------------------------------------------------------------------

void CTkSplitterWnd::StartTracking(int ht)
{
    if (!m_bFullDrag) {
        CSplitterWnd::StartTracking(ht);
        return;
    }
    if (ht == noHit)
        return;
    GetInsideRect(m_rectLimit);
    if (ht >= splitterIntersection1 && ht <= splitterIntersection225) {
        GetHitRect(vSplitterBar1 + (ht - splitterIntersection1) / 15, m_rectTracker);
        int yTrackOffset = m_ptTrackOffset.y;
        m_bTracking2 = TRUE;
        GetHitRect(hSplitterBar1 + (ht - splitterIntersection1) % 15, m_rectTracker2);
        m_ptTrackOffset.y = yTrackOffset;
    } else if (ht == bothSplitterBox) {
        GetHitRect(vSplitterBox, m_rectTracker);
        int yTrackOffset = m_ptTrackOffset.y;
        m_bTracking2 = TRUE;
        GetHitRect(hSplitterBox, m_rectTracker2);
        m_ptTrackOffset.y = yTrackOffset;
        m_rectTracker.OffsetRect(0, m_rectLimit.Height() / 2);
        m_rectTracker2.OffsetRect(m_rectLimit.Width() / 2, 0);
    } else {
        GetHitRect(ht, m_rectTracker);
    }
    // live resizing: the focus stays where it is and no tracker is drawn
    SetCapture();
    m_bTracking = TRUE;
    m_htTrack = ht;
    SetSplitCursor(ht);
}

void CTkSplitterWnd::StopTracking(BOOL bAccept)
{
    if (!m_bFullDrag) {
        CSplitterWnd::StopTracking(bAccept);
        return;
    }
    if (!m_bTracking)
        return;
    ::ReleaseCapture();
    OnInvertTracker(m_rectTracker);
    if (m_bTracking2)
        OnInvertTracker(m_rectTracker2);
    m_bTracking = m_bTracking2 = FALSE;
    CWnd* pOldActive = GetActivePane();
    m_rectTracker.OffsetRect(-1, -1);
    m_rectTracker2.OffsetRect(-1, -1);
    if (bAccept) {
        // inside another toolkit splitter the bar is measured from its far edge
        BOOL bNested = GetParent() != NULL && GetParent()->IsKindOf(RUNTIME_CLASS(CTkSplitterWnd));
        if (m_htTrack == vSplitterBox) {
            SplitRow(m_rectTracker.top);
        } else if (m_htTrack >= vSplitterBar1 && m_htTrack <= vSplitterBar15) {
            if (bNested)
                m_rectTracker.top = m_rectTracker.bottom - kTrackerThickness;
            TrackRowSize(m_rectTracker.top, m_htTrack - vSplitterBar1);
            RecalcLayout();
        } else if (m_htTrack == hSplitterBox) {
            SplitColumn(m_rectTracker.left);
        } else if (m_htTrack >= hSplitterBar1 && m_htTrack <= hSplitterBar15) {
            if (bNested)
                m_rectTracker.left = m_rectTracker.right - kTrackerThickness;
            TrackColumnSize(m_rectTracker.left, m_htTrack - hSplitterBar1);
            RecalcLayout();
        } else if (m_htTrack >= splitterIntersection1 && m_htTrack <= splitterIntersection225) {
            TrackRowSize(m_rectTracker.top, (m_htTrack - splitterIntersection1) / 15);
            TrackColumnSize(m_rectTracker2.left, (m_htTrack - splitterIntersection1) % 15);
            RecalcLayout();
        } else if (m_htTrack == bothSplitterBox) {
            SplitRow(m_rectTracker.top);
            SplitColumn(m_rectTracker2.left);
        }
    }
    if (pOldActive != NULL && pOldActive == GetActivePane())
        SetActivePane(-1, -1, pOldActive);
}

// ---- messages ------------------------------------------------------------------------------------

void CTkSplitterWnd::OnMouseMove(UINT nFlags, CPoint pt)
{
    if (!m_bFullDrag) {
        CSplitterWnd::OnMouseMove(nFlags, pt);
        return;
    }
    if (m_bTracking && ::GetCapture() != m_hWnd)
        StopTracking(FALSE);
    if (!m_bTracking) {
        SetSplitCursor(HitTest(pt));
        return;
    }
    CPoint ptTrack = pt;
    ptTrack.Offset(m_ptTrackOffset.x, m_ptTrackOffset.y);
    if (ptTrack.y < m_rectLimit.top)
        ptTrack.y = m_rectLimit.top;
    else if (ptTrack.y > m_rectLimit.bottom)
        ptTrack.y = m_rectLimit.bottom;
    if (ptTrack.x < m_rectLimit.left)
        ptTrack.x = m_rectLimit.left;
    else if (ptTrack.x > m_rectLimit.right)
        ptTrack.x = m_rectLimit.right;
    if (IsRowTrack(m_htTrack) || IsBothTrack(m_htTrack))
        m_rectTracker.OffsetRect(0, ptTrack.y - m_rectTracker.top);
    if (IsColumnTrack(m_htTrack))
        m_rectTracker.OffsetRect(ptTrack.x - m_rectTracker.left, 0);
    else if (IsBothTrack(m_htTrack))
        m_rectTracker2.OffsetRect(ptTrack.x - m_rectTracker2.left, 0);

    // the layout follows at once: a release applies it, a press at the same point goes on
    OnLButtonUp(nFlags, pt);
    OnLButtonDown(nFlags, pt);
    if (pt != m_ptLastDrag) {
        RedrawWindow(NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
        m_ptLastDrag = pt;
    }
}

void CTkSplitterWnd::OnLButtonUp(UINT nFlags, CPoint pt)
{
    CSplitterWnd::OnLButtonUp(nFlags, pt);
    Invalidate(TRUE);
}

LRESULT CTkSplitterWnd::OnNcHitTest(CPoint pt)
{
    if (m_dwSplitterStyle & TK_SPLIT_NOSIZE)
        return HTBORDER;
    return CSplitterWnd::OnNcHitTest(pt);
}

void CTkSplitterWnd::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    CSplitterWnd::OnSettingChange(uFlags, lpszSection);
    m_bFullDrag = (m_dwSplitterStyle & TK_SPLIT_NOFULLDRAG) ? FALSE : ReadFullDragSetting();
}

// ---- the variant with a top strip ----------------------------------------------------------------

IMPLEMENT_DYNAMIC(CTkSplitterWndEx, CTkSplitterWnd)

BEGIN_MESSAGE_MAP(CTkSplitterWndEx, CTkSplitterWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

CTkSplitterWndEx::CTkSplitterWndEx() : m_nTopMargin(0), m_bTopLine(FALSE) {}

BOOL CTkSplitterWndEx::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    rect.InflateRect(-m_cxBorder, -m_cyBorder);
    rect.bottom = rect.top + m_nTopMargin;
    if (m_nTopMargin > 0)
        pDC->FillSolidRect(&rect, TkGetSysColor(kSplitterFace));
    return TRUE;
}

void CTkSplitterWndEx::OnPaint()
{
    CTkSplitterWnd::OnPaint();
    if (!m_bTopLine)
        return;
    CClientDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    if (!tkAfxData.bFlatLook)
        dc.FillSolidRect(rect.left, rect.top, rect.Width(), 1, tkAfxData.clr3DShadow);
    dc.FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, tkAfxData.clr3DHilight);
}
