#include "afxwin.h"
#include "CSplitterWnd.h"

#include <limits.h>

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
ON_WM_SETCURSOR()
ON_WM_MOUSEMOVE()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONUP()
ON_WM_CANCELMODE()
ON_WM_KEYDOWN()
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

namespace {

// One pixel: the thin line of the drawn borders.
const int kLine = 1;

// The current sizes of nMax rows (or columns) in nSize pixels with nGap pixels between two: each
// takes its ideal size in order (none when that is below its minimum), the last one the rest; a
// row that would get less than its minimum is not shown and its room goes to the one before.
void LayoutRowCol(CSplitterWnd::CRowColInfo* pInfo, int nMax, int nSize, int nGap)
{
    if (nSize < 0)
        nSize = 0;
    for (int i = 0; i < nMax - 1; i++)
        pInfo[i].nCurSize = pInfo[i].nIdealSize < pInfo[i].nMinSize ? 0 : pInfo[i].nIdealSize;
    pInfo[nMax - 1].nCurSize = INT_MAX;
    for (int i = 0; i < nMax; i++) {
        if (nSize == 0) {
            pInfo[i].nCurSize = 0; // no room left
            continue;
        }
        if (i != 0 && nSize < pInfo[i].nMinSize) {
            // too small to be seen: the one before takes the room (and this one's border)
            pInfo[i].nCurSize = 0;
            pInfo[i - 1].nCurSize += nSize + 2 * kLine;
            nSize = 0;
        } else if (pInfo[i].nCurSize != 0) {
            if (nSize < pInfo[i].nCurSize) {
                pInfo[i].nCurSize = nSize; // as much as there is
                nSize = 0;
            } else {
                nSize -= pInfo[i].nCurSize;
            }
        }
        if (i != nMax - 1) {
            // the gap to the next one
            if (nSize > nGap) {
                nSize -= nGap;
            } else {
                pInfo[i].nCurSize += nSize;
                if (pInfo[i].nCurSize > nGap - 2 * kLine)
                    pInfo[i].nCurSize -= nGap - 2 * kLine;
                nSize = 0;
            }
        }
    }
}

// The size of a new row (column) split off after nBeforeSize pixels of pInfoBefore, or -1 when
// either part would be below its minimum.
int CanSplitRowCol(CSplitterWnd::CRowColInfo* pInfoBefore, int nBeforeSize, int nSizeSplitter)
{
    if (nBeforeSize < pInfoBefore->nMinSize)
        return -1;
    int nNewSize = pInfoBefore->nCurSize - nBeforeSize - nSizeSplitter;
    if (nNewSize < (pInfoBefore + 1)->nMinSize)
        return -1;
    return nNewSize;
}

BOOL IsRowCode(int ht)
{
    return ht == CSplitterWnd::vSplitterBox || (ht >= CSplitterWnd::vSplitterBar1 && ht <= CSplitterWnd::vSplitterBar15);
}

BOOL IsColumnCode(int ht)
{
    return ht == CSplitterWnd::hSplitterBox || (ht >= CSplitterWnd::hSplitterBar1 && ht <= CSplitterWnd::hSplitterBar15);
}

BOOL IsBothCode(int ht)
{
    return ht == CSplitterWnd::bothSplitterBox ||
           (ht >= CSplitterWnd::splitterIntersection1 && ht <= CSplitterWnd::splitterIntersection225);
}

} // namespace

CSplitterWnd::CSplitterWnd()
    : m_pDynamicViewClass(NULL), m_nMaxRows(0), m_nMaxCols(0), m_cxSplitter(7), m_cySplitter(7), m_cxBorderShare(0),
      m_cyBorderShare(0), m_cxSplitterGap(7), m_cySplitterGap(7), m_cxBorder(2), m_cyBorder(2), m_nRows(0), m_nCols(0),
      m_bHasHScroll(FALSE), m_bHasVScroll(FALSE), m_pColInfo(NULL), m_pRowInfo(NULL), m_bTracking(FALSE),
      m_bTracking2(FALSE), m_ptTrackOffset(0, 0), m_rectLimit(0, 0, 0, 0), m_rectTracker(0, 0, 0, 0),
      m_rectTracker2(0, 0, 0, 0), m_htTrack(noHit)
{
}

CSplitterWnd::~CSplitterWnd()
{
    delete[] m_pRowInfo;
    delete[] m_pColInfo;
}

// ---- creation ----------------------------------------------------------------------------------

BOOL CSplitterWnd::CreateCommon(CWnd* pParentWnd, SIZE sizeMin, DWORD dwStyle, UINT nID)
{
    if (pParentWnd == NULL || m_hWnd != NULL)
        return FALSE;
    delete[] m_pColInfo;
    delete[] m_pRowInfo;
    m_pColInfo = new CRowColInfo[m_nMaxCols];
    for (int col = 0; col < m_nMaxCols; col++) {
        m_pColInfo[col].nMinSize = m_pColInfo[col].nIdealSize = sizeMin.cx;
        m_pColInfo[col].nCurSize = -1; // set by RecalcLayout
    }
    m_pRowInfo = new CRowColInfo[m_nMaxRows];
    for (int row = 0; row < m_nMaxRows; row++) {
        m_pRowInfo[row].nMinSize = m_pRowInfo[row].nIdealSize = sizeMin.cy;
        m_pRowInfo[row].nCurSize = -1;
    }
    // The splitter draws its own borders around the panes; the scroll bars are shared controls.
    // Its class erases no background (the panes cover it).
    DWORD dwCreateStyle = dwStyle & ~(WS_HSCROLL | WS_VSCROLL | WS_BORDER);
    if (!AfxEndDeferRegisterClass(AFX_WNDMDIFRAME_CLASS))
        return FALSE;
    if (!CreateEx(0, AFX_WNDMDIFRAME_CLASS, NULL, dwCreateStyle, 0, 0, 0, 0, pParentWnd->m_hWnd, (HMENU)(UINT_PTR)nID, NULL))
        return FALSE;
    SetScrollStyle(dwStyle);
    return TRUE;
}

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID)
{
    if (nRows < 1 || nRows > 16 || nCols < 1 || nCols > 16 || (nRows == 1 && nCols == 1) || (dwStyle & SPLS_DYNAMIC_SPLIT))
        return FALSE;
    m_nRows = m_nMaxRows = nRows;
    m_nCols = m_nMaxCols = nCols;
    return CreateCommon(pParentWnd, CSize(0, 0), dwStyle, nID);
}

BOOL CSplitterWnd::Create(CWnd* pParentWnd, int nMaxRows, int nMaxCols, SIZE sizeMin, CCreateContext* pContext, DWORD dwStyle,
                          UINT nID)
{
    if (nMaxRows < 1 || nMaxRows > 2 || nMaxCols < 1 || nMaxCols > 2 || (nMaxRows == 1 && nMaxCols == 1) ||
        sizeMin.cx <= 0 || sizeMin.cy <= 0 || pContext == NULL || pContext->m_pNewViewClass == NULL ||
        !(dwStyle & SPLS_DYNAMIC_SPLIT))
        return FALSE;
    m_nMaxRows = nMaxRows;
    m_nMaxCols = nMaxCols;
    m_nRows = m_nCols = 1;
    if (!CreateCommon(pParentWnd, sizeMin, dwStyle, nID))
        return FALSE;
    m_pDynamicViewClass = pContext->m_pNewViewClass;
    if (!CreateView(0, 0, m_pDynamicViewClass, sizeMin, pContext)) {
        DestroyWindow();
        return FALSE;
    }
    m_pColInfo[0].nIdealSize = sizeMin.cx;
    m_pRowInfo[0].nIdealSize = sizeMin.cy;
    return TRUE;
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext)
{
    if (m_hWnd == NULL || row < 0 || row >= m_nRows || col < 0 || col >= m_nCols || pViewClass == NULL)
        return FALSE;
    m_pColInfo[col].nIdealSize = sizeInit.cx;
    m_pRowInfo[row].nIdealSize = sizeInit.cy;

    // Without a context the new pane shows the active pane's document and gets its first
    // update here.
    BOOL bSendInitialUpdate = FALSE;
    CCreateContext contextT;
    if (pContext == NULL) {
        CView* pOldView = (CView*)GetActivePane();
        if (pOldView != NULL && pOldView->IsKindOf(RUNTIME_CLASS(CView))) {
            contextT.m_pLastView = pOldView;
            contextT.m_pCurrentDoc = pOldView->GetDocument();
            if (contextT.m_pCurrentDoc != NULL)
                contextT.m_pNewDocTemplate = contextT.m_pCurrentDoc->GetDocTemplate();
        }
        pContext = &contextT;
        bSendInitialUpdate = TRUE;
    }

    CWnd* pWnd = NULL;
    try {
        pWnd = (CWnd*)pViewClass->CreateObject();
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    if (pWnd == NULL)
        return FALSE;
    // the splitter draws the panes' borders
    DWORD dwStyle = AFX_WS_DEFAULT_VIEW & ~WS_BORDER;
    CRect rect(CPoint(0, 0), sizeInit);
    if (!pWnd->Create(NULL, NULL, dwStyle, rect, this, (UINT)IdFromRowCol(row, col), pContext))
        return FALSE; // the pane has cleaned itself up
    if (bSendInitialUpdate)
        pWnd->SendMessage(WM_INITIALUPDATE);
    return TRUE;
}

void CSplitterWnd::DeleteView(int row, int col)
{
    CWnd* pPane = GetPane(row, col);
    if (pPane == NULL)
        return;
    if (GetActivePane() == pPane)
        ActivateNext(FALSE);
    pPane->DestroyWindow();
}

BOOL CSplitterWnd::CreateScrollBarCtrl(DWORD dwStyle, UINT nID)
{
    return ::CreateWindowExA(0, "SCROLLBAR", NULL, dwStyle | WS_VISIBLE | WS_CHILD, 0, 0, 1, 1, m_hWnd, (HMENU)(UINT_PTR)nID,
                             AfxGetInstanceHandle(), NULL) != NULL;
}

DWORD CSplitterWnd::GetScrollStyle() const
{
    DWORD dwStyle = 0;
    if (m_bHasHScroll)
        dwStyle |= WS_HSCROLL;
    if (m_bHasVScroll)
        dwStyle |= WS_VSCROLL;
    return dwStyle;
}

void CSplitterWnd::SetScrollStyle(DWORD dwStyle)
{
    dwStyle &= WS_HSCROLL | WS_VSCROLL;
    if (GetScrollStyle() == dwStyle)
        return;
    m_bHasHScroll = (dwStyle & WS_HSCROLL) != 0;
    m_bHasVScroll = (dwStyle & WS_VSCROLL) != 0;
    // one shared bar per column (horizontal) and per row (vertical), made when first needed
    for (int col = 0; col < m_nCols; col++) {
        HWND hBar = ::GetDlgItem(m_hWnd, AFX_IDW_HSCROLL_FIRST + col);
        if (hBar == NULL && m_bHasHScroll) {
            if (!CreateScrollBarCtrl(SBS_HORZ, AFX_IDW_HSCROLL_FIRST + col))
                AfxThrowResourceException();
            hBar = ::GetDlgItem(m_hWnd, AFX_IDW_HSCROLL_FIRST + col);
        }
        if (hBar != NULL)
            ::ShowWindow(hBar, m_bHasHScroll ? SW_SHOW : SW_HIDE);
    }
    for (int row = 0; row < m_nRows; row++) {
        HWND hBar = ::GetDlgItem(m_hWnd, AFX_IDW_VSCROLL_FIRST + row);
        if (hBar == NULL && m_bHasVScroll) {
            if (!CreateScrollBarCtrl(SBS_VERT, AFX_IDW_VSCROLL_FIRST + row))
                AfxThrowResourceException();
            hBar = ::GetDlgItem(m_hWnd, AFX_IDW_VSCROLL_FIRST + row);
        }
        if (hBar != NULL)
            ::ShowWindow(hBar, m_bHasVScroll ? SW_SHOW : SW_HIDE);
    }
    // the corner between both bars
    HWND hBox = ::GetDlgItem(m_hWnd, AFX_IDW_SIZE_BOX);
    if (m_bHasHScroll && m_bHasVScroll) {
        if (hBox == NULL && !CreateScrollBarCtrl(SBS_SIZEBOX | WS_DISABLED, AFX_IDW_SIZE_BOX))
            AfxThrowResourceException();
    } else if (hBox != NULL) {
        ::DestroyWindow(hBox);
    }
}

// ---- rows, columns and panes ---------------------------------------------------------------------

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const
{
    cyCur = m_pRowInfo[row].nCurSize;
    cyMin = m_pRowInfo[row].nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin)
{
    m_pRowInfo[row].nIdealSize = cyIdeal;
    m_pRowInfo[row].nMinSize = cyMin;
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const
{
    cxCur = m_pColInfo[col].nCurSize;
    cxMin = m_pColInfo[col].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin)
{
    m_pColInfo[col].nIdealSize = cxIdeal;
    m_pColInfo[col].nMinSize = cxMin;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const { return GetDlgItem(IdFromRowCol(row, col)); }

BOOL CSplitterWnd::IsChildPane(const CWnd* pWnd, int* pRow, int* pCol)
{
    HWND hWnd = pWnd->GetSafeHwnd();
    UINT nID = hWnd != NULL ? (UINT)::GetDlgCtrlID(hWnd) : 0;
    if (hWnd != NULL && ::GetParent(hWnd) == m_hWnd && nID >= AFX_IDW_PANE_FIRST && nID <= AFX_IDW_PANE_LAST) {
        if (pRow != NULL)
            *pRow = (int)(nID - AFX_IDW_PANE_FIRST) / 16;
        if (pCol != NULL)
            *pCol = (int)(nID - AFX_IDW_PANE_FIRST) % 16;
        return TRUE;
    }
    if (pRow != NULL)
        *pRow = -1;
    if (pCol != NULL)
        *pCol = -1;
    return FALSE;
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol)
{
    CWnd* pView = NULL;
    CFrameWnd* pFrameWnd = GetParentFrame();
    if (pFrameWnd != NULL)
        pView = pFrameWnd->GetActiveView();
    if (pView == NULL)
        pView = GetFocus();
    if (pView != NULL && !IsChildPane(pView, pRow, pCol))
        pView = NULL;
    return pView;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* pWnd)
{
    CWnd* pPane = pWnd != NULL ? pWnd : GetPane(row, col);
    if (pPane == NULL)
        return;
    CFrameWnd* pFrameWnd = GetParentFrame();
    if (pPane->IsKindOf(RUNTIME_CLASS(CView)) && pFrameWnd != NULL)
        pFrameWnd->SetActiveView((CView*)pPane);
    else
        pPane->SetFocus();
}

BOOL CSplitterWnd::CanActivateNext(BOOL) { return m_nRows != 1 || m_nCols != 1; }

void CSplitterWnd::ActivateNext(BOOL bPrev)
{
    int row = 0;
    int col = 0;
    if (GetActivePane(&row, &col) == NULL)
        return;
    if (bPrev) {
        if (--col < 0) {
            col = m_nCols - 1;
            if (--row < 0)
                row = m_nRows - 1;
        }
    } else {
        if (++col >= m_nCols) {
            col = 0;
            if (++row >= m_nRows)
                row = 0;
        }
    }
    SetActivePane(row, col);
}

// ---- layout ------------------------------------------------------------------------------------

void CSplitterWnd::GetInsideRect(CRect& rect) const
{
    GetClientRect(&rect);
    rect.InflateRect(-m_cxBorder, -m_cyBorder);
    // the shared scroll bars take a strip at the right and the bottom
    if (m_bHasVScroll)
        rect.right -= ::GetSystemMetrics(SM_CXVSCROLL);
    if (m_bHasHScroll)
        rect.bottom -= ::GetSystemMetrics(SM_CYHSCROLL);
}

void CSplitterWnd::DeferClientPos(AFX_SIZEPARENTPARAMS* lpLayout, CWnd* pWnd, int x, int y, int cx, int cy, BOOL bScrollBar)
{
    if (bScrollBar) {
        // a bar too small to be drawn gets a border at least
        BOOL bNeedBorder = cx <= kLine || cy <= kLine;
        pWnd->ModifyStyle(bNeedBorder ? 0 : WS_BORDER, bNeedBorder ? WS_BORDER : 0);
    }
    CRect rect(x, y, x + cx, y + cy);
    // a pane with a sunken edge of its own (or a splitter) covers the splitter's border
    if ((pWnd->GetExStyle() & WS_EX_CLIENTEDGE) || pWnd->IsKindOf(RUNTIME_CLASS(CSplitterWnd)))
        rect.InflateRect(2 * kLine, 2 * kLine);
    AfxRepositionWindow(lpLayout, pWnd->m_hWnd, &rect);
}

void CSplitterWnd::RecalcLayout()
{
    if (m_hWnd == NULL || m_nRows <= 0 || m_nCols <= 0)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    rectClient.InflateRect(-m_cxBorder, -m_cyBorder);
    CRect rectInside;
    GetInsideRect(rectInside);

    LayoutRowCol(m_pColInfo, m_nCols, rectInside.Width(), m_cxSplitterGap);
    LayoutRowCol(m_pRowInfo, m_nRows, rectInside.Height(), m_cySplitterGap);

    AFX_SIZEPARENTPARAMS layout;
    memset(&layout, 0, sizeof(layout));
    layout.hDWP = ::BeginDeferWindowPos((m_nCols + 1) * (m_nRows + 1) + 1);

    // the scroll-bar strips: the size box in the corner, the bars along the panes (the first
    // one after its split box while another row or column can be made)
    int cxStrip = rectClient.right - rectInside.right;
    int cyStrip = rectClient.bottom - rectInside.bottom;
    if (m_bHasHScroll && m_bHasVScroll) {
        CWnd* pBox = GetDlgItem(AFX_IDW_SIZE_BOX);
        if (pBox != NULL)
            DeferClientPos(&layout, pBox, rectInside.right, rectInside.bottom, cxStrip, cyStrip, TRUE);
    }
    if (m_bHasHScroll) {
        int x = rectClient.left;
        for (int col = 0; col < m_nCols; col++) {
            CWnd* pBar = GetDlgItem(AFX_IDW_HSCROLL_FIRST + col);
            int cx = m_pColInfo[col].nCurSize;
            if (col == 0 && m_nCols < m_nMaxCols) {
                x += m_cxSplitter;
                cx -= m_cxSplitter;
            }
            if (pBar != NULL)
                DeferClientPos(&layout, pBar, x, rectInside.bottom, cx, cyStrip, TRUE);
            x += cx + m_cxSplitterGap;
        }
    }
    if (m_bHasVScroll) {
        int y = rectClient.top;
        for (int row = 0; row < m_nRows; row++) {
            CWnd* pBar = GetDlgItem(AFX_IDW_VSCROLL_FIRST + row);
            int cy = m_pRowInfo[row].nCurSize;
            if (row == 0 && m_nRows < m_nMaxRows) {
                y += m_cySplitter;
                cy -= m_cySplitter;
            }
            if (pBar != NULL)
                DeferClientPos(&layout, pBar, rectInside.right, y, cxStrip, cy, TRUE);
            y += cy + m_cySplitterGap;
        }
    }
    // the panes
    int x = rectClient.left;
    for (int col = 0; col < m_nCols; col++) {
        int cx = m_pColInfo[col].nCurSize;
        int y = rectClient.top;
        for (int row = 0; row < m_nRows; row++) {
            int cy = m_pRowInfo[row].nCurSize;
            CWnd* pPane = GetPane(row, col);
            if (pPane != NULL)
                DeferClientPos(&layout, pPane, x, y, cx, cy, FALSE);
            y += cy + m_cySplitterGap;
        }
        x += cx + m_cxSplitterGap;
    }
    if (layout.hDWP != NULL)
        ::EndDeferWindowPos(layout.hDWP);
    // the bars are drawn again
    DrawAllSplitBars(NULL, rectInside.right, rectInside.bottom);
}

// ---- drawing -----------------------------------------------------------------------------------

void CSplitterWnd::OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rectArg)
{
    if (pDC == NULL) {
        RedrawWindow(&rectArg, NULL, RDW_INVALIDATE | RDW_NOCHILDREN);
        return;
    }
    CRect rect = rectArg;
    COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
    COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF clrFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    switch (nType) {
    case splitBorder:
        // the sunken border around a pane
        pDC->Draw3dRect(&rect, clrShadow, clrHilite);
        rect.InflateRect(-kLine, -kLine);
        pDC->Draw3dRect(&rect, clrFrame, clrFace);
        return;
    case splitBox:
        pDC->Draw3dRect(&rect, clrFace, clrFrame);
        rect.InflateRect(-kLine, -kLine);
        pDC->Draw3dRect(&rect, clrHilite, clrShadow);
        rect.InflateRect(-kLine, -kLine);
        break;
    case splitBar:
    case splitIntersection:
        break;
    }
    pDC->FillSolidRect(&rect, clrFace);
}

void CSplitterWnd::DrawAllSplitBars(CDC* pDC, int cxInside, int cyInside)
{
    // the bars between the columns and between the rows
    CRect rect;
    GetClientRect(&rect);
    rect.left += m_cxBorder;
    for (int col = 0; col < m_nCols - 1; col++) {
        rect.left += m_pColInfo[col].nCurSize + m_cxBorderShare;
        rect.right = rect.left + m_cxSplitter;
        if (rect.left > cxInside)
            break;
        OnDrawSplitter(pDC, splitBar, rect);
        rect.left = rect.right + m_cxBorderShare;
    }
    GetClientRect(&rect);
    rect.top += m_cyBorder;
    for (int row = 0; row < m_nRows - 1; row++) {
        rect.top += m_pRowInfo[row].nCurSize + m_cyBorderShare;
        rect.bottom = rect.top + m_cySplitter;
        if (rect.top > cyInside)
            break;
        OnDrawSplitter(pDC, splitBar, rect);
        rect.top = rect.bottom + m_cyBorderShare;
    }
    // the border around each pane (the last ones around their scroll bars too)
    GetClientRect(&rect);
    int x = rect.left;
    for (int col = 0; col < m_nCols; col++) {
        int cx = m_pColInfo[col].nCurSize + 2 * m_cxBorder;
        if (col == m_nCols - 1 && m_bHasVScroll)
            cx += ::GetSystemMetrics(SM_CXVSCROLL) - kLine;
        int y = rect.top;
        for (int row = 0; row < m_nRows; row++) {
            int cy = m_pRowInfo[row].nCurSize + 2 * m_cyBorder;
            if (row == m_nRows - 1 && m_bHasHScroll)
                cy += ::GetSystemMetrics(SM_CYHSCROLL) - kLine;
            OnDrawSplitter(pDC, splitBorder, CRect(x, y, x + cx, y + cy));
            y += cy + m_cySplitterGap - 2 * m_cyBorder;
        }
        x += cx + m_cxSplitterGap - 2 * m_cxBorder;
    }
}

void CSplitterWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    rectClient.InflateRect(-m_cxBorder, -m_cyBorder);
    CRect rectInside;
    GetInsideRect(rectInside);
    // the split boxes at the start of the shared scroll bars
    if (m_bHasVScroll && m_nRows < m_nMaxRows)
        OnDrawSplitter(&dc, splitBox, CRect(rectInside.right, rectClient.top, rectClient.right, rectClient.top + m_cySplitter));
    if (m_bHasHScroll && m_nCols < m_nMaxCols)
        OnDrawSplitter(&dc, splitBox, CRect(rectClient.left, rectInside.bottom, rectClient.left + m_cxSplitter, rectClient.bottom));
    DrawAllSplitBars(&dc, rectInside.right, rectInside.bottom);
}

void CSplitterWnd::OnInvertTracker(const CRect& rect)
{
    // on the splitter's own DC, over the panes (the splitter does not clip its children)
    CDC* pDC = GetDC();
    CBrush* pBrush = CDC::GetHalftoneBrush();
    HGDIOBJ hOldBrush = pBrush != NULL ? ::SelectObject(pDC->m_hDC, pBrush->m_hObject) : NULL;
    pDC->PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
    if (hOldBrush != NULL)
        ::SelectObject(pDC->m_hDC, hOldBrush);
    ReleaseDC(pDC);
}

// ---- hit testing and tracking ----------------------------------------------------------------------

int CSplitterWnd::HitTest(CPoint pt) const
{
    CRect rectClient;
    GetClientRect(&rectClient);
    rectClient.InflateRect(-m_cxBorder, -m_cyBorder);
    CRect rectInside;
    GetInsideRect(rectInside);
    if (m_bHasVScroll && m_nRows < m_nMaxRows &&
        CRect(rectInside.right, rectClient.top, rectClient.right, rectClient.top + m_cySplitter - 1).PtInRect(pt))
        return vSplitterBox;
    if (m_bHasHScroll && m_nCols < m_nMaxCols &&
        CRect(rectClient.left, rectInside.bottom, rectClient.left + m_cxSplitter - 1, rectClient.bottom).PtInRect(pt))
        return hSplitterBox;

    // the bars with the borders of the panes beside them
    CRect rect = rectClient;
    int col;
    for (col = 0; col < m_nCols - 1; col++) {
        rect.left += m_pColInfo[col].nCurSize;
        rect.right = rect.left + m_cxSplitterGap;
        if (rect.PtInRect(pt))
            break;
        rect.left = rect.right;
    }
    rect = rectClient;
    int row;
    for (row = 0; row < m_nRows - 1; row++) {
        rect.top += m_pRowInfo[row].nCurSize;
        rect.bottom = rect.top + m_cySplitterGap;
        if (rect.PtInRect(pt))
            break;
        rect.top = rect.bottom;
    }
    if (col != m_nCols - 1) {
        if (row != m_nRows - 1)
            return splitterIntersection1 + row * 15 + col;
        return hSplitterBar1 + col;
    }
    if (row != m_nRows - 1)
        return vSplitterBar1 + row;
    return noHit;
}

void CSplitterWnd::GetHitRect(int ht, CRect& rectHit)
{
    CRect rectClient;
    GetClientRect(&rectClient);
    rectClient.InflateRect(-m_cxBorder, -m_cyBorder);
    int cx = rectClient.Width();
    int cy = rectClient.Height();
    int x = rectClient.left;
    int y = rectClient.top;
    // The tracker is the bar without the panes' borders, one pixel after the pane before it;
    // the limit keeps it inside the splitter and after the pane before it.
    m_ptTrackOffset.x = 0;
    m_ptTrackOffset.y = 0;
    if (ht == vSplitterBox) {
        cy = m_cySplitter - (2 * m_cyBorder - 1);
        m_ptTrackOffset.y = -(cy / 2);
        m_rectLimit.bottom -= cy;
    } else if (ht == hSplitterBox) {
        cx = m_cxSplitter - (2 * m_cxBorder - 1);
        m_ptTrackOffset.x = -(cx / 2);
        m_rectLimit.right -= cx;
    } else if (ht >= vSplitterBar1 && ht <= vSplitterBar15) {
        cy = m_cySplitter - (2 * m_cyBorder - 1);
        m_ptTrackOffset.y = -(cy / 2);
        int row;
        for (row = 0; row < ht - vSplitterBar1; row++)
            y += m_pRowInfo[row].nCurSize + m_cySplitterGap;
        m_rectLimit.top = y;
        y += m_pRowInfo[row].nCurSize + m_cyBorderShare + 1;
        m_rectLimit.bottom -= cy;
    } else if (ht >= hSplitterBar1 && ht <= hSplitterBar15) {
        cx = m_cxSplitter - (2 * m_cxBorder - 1);
        m_ptTrackOffset.x = -(cx / 2);
        int col;
        for (col = 0; col < ht - hSplitterBar1; col++)
            x += m_pColInfo[col].nCurSize + m_cxSplitterGap;
        m_rectLimit.left = x;
        x += m_pColInfo[col].nCurSize + m_cxBorderShare + 1;
        m_rectLimit.right -= cx;
    }
    rectHit.SetRect(x, y, x + cx, y + cy);
}

void CSplitterWnd::SetSplitCursor(int ht)
{
    LPCSTR idc = IDC_ARROW;
    if (IsRowCode(ht))
        idc = IDC_SIZENS;
    else if (IsColumnCode(ht))
        idc = IDC_SIZEWE;
    else if (IsBothCode(ht))
        idc = IDC_SIZEALL;
    ::SetCursor(::LoadCursorA(NULL, idc));
}

void CSplitterWnd::StartTracking(int ht)
{
    if (ht == noHit)
        return;
    GetInsideRect(m_rectLimit);
    if (ht >= splitterIntersection1 && ht <= splitterIntersection225) {
        // two trackers: the row's bar and the column's bar
        int row = (ht - splitterIntersection1) / 15;
        int col = (ht - splitterIntersection1) % 15;
        GetHitRect(row + vSplitterBar1, m_rectTracker);
        int yTrackOffset = m_ptTrackOffset.y;
        m_bTracking2 = TRUE;
        GetHitRect(col + hSplitterBar1, m_rectTracker2);
        m_ptTrackOffset.y = yTrackOffset;
    } else if (ht == bothSplitterBox) {
        // both boxes (by keyboard), started in the middle
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
    // a form view keeps its focus control before the splitter takes the focus
    CView* pView = (CView*)GetActivePane();
    CFrameWnd* pFrameWnd = GetParentFrame();
    if (pView != NULL && pView->IsKindOf(RUNTIME_CLASS(CView)) && pFrameWnd != NULL)
        pView->OnActivateFrame(WA_INACTIVE, pFrameWnd);
    SetCapture();
    SetFocus();
    // no paint may come later and overwrite the tracker
    RedrawWindow(NULL, NULL, RDW_ALLCHILDREN | RDW_UPDATENOW);
    m_bTracking = TRUE;
    OnInvertTracker(m_rectTracker);
    if (m_bTracking2)
        OnInvertTracker(m_rectTracker2);
    m_htTrack = ht;
    SetSplitCursor(ht);
}

void CSplitterWnd::StopTracking(BOOL bAccept)
{
    if (!m_bTracking)
        return;
    ::ReleaseCapture();
    OnInvertTracker(m_rectTracker);
    if (m_bTracking2)
        OnInvertTracker(m_rectTracker2);
    m_bTracking = m_bTracking2 = FALSE;
    CWnd* pOldActiveView = GetActivePane();
    // the trackers lie one pixel after the position of the new bar
    m_rectTracker.OffsetRect(-1, -1);
    m_rectTracker2.OffsetRect(-1, -1);
    if (bAccept) {
        if (m_htTrack == vSplitterBox) {
            SplitRow(m_rectTracker.top);
        } else if (m_htTrack >= vSplitterBar1 && m_htTrack <= vSplitterBar15) {
            TrackRowSize(m_rectTracker.top, m_htTrack - vSplitterBar1);
            RecalcLayout();
        } else if (m_htTrack == hSplitterBox) {
            SplitColumn(m_rectTracker.left);
        } else if (m_htTrack >= hSplitterBar1 && m_htTrack <= hSplitterBar15) {
            TrackColumnSize(m_rectTracker.left, m_htTrack - hSplitterBar1);
            RecalcLayout();
        } else if (m_htTrack >= splitterIntersection1 && m_htTrack <= splitterIntersection225) {
            int row = (m_htTrack - splitterIntersection1) / 15;
            int col = (m_htTrack - splitterIntersection1) % 15;
            TrackRowSize(m_rectTracker.top, row);
            TrackColumnSize(m_rectTracker2.left, col);
            RecalcLayout();
        } else if (m_htTrack == bothSplitterBox) {
            SplitRow(m_rectTracker.top);
            SplitColumn(m_rectTracker2.left);
        }
    }
    // the pane that was active before gets its focus back
    if (pOldActiveView != NULL && pOldActiveView == GetActivePane()) {
        SetActivePane(-1, -1, pOldActiveView);
        pOldActiveView->SetFocus();
    }
}

void CSplitterWnd::TrackRowSize(int y, int row)
{
    // the bar's position in the pane's coordinates is the row's new height
    POINT pt = {0, y};
    ClientToScreen(&pt);
    CWnd* pPane = GetPane(row, 0);
    if (pPane != NULL)
        pPane->ScreenToClient(&pt);
    int nOldCur = m_pRowInfo[row].nCurSize;
    m_pRowInfo[row].nIdealSize = pt.y;
    if (pt.y < m_pRowInfo[row].nMinSize) {
        m_pRowInfo[row].nIdealSize = 0; // dragged away
        if (GetStyle() & SPLS_DYNAMIC_SPLIT)
            DeleteRow(row);
    } else if (row + 1 < m_nRows && nOldCur + m_pRowInfo[row + 1].nCurSize - pt.y < m_pRowInfo[row + 1].nMinSize) {
        // no room left for the row after it
        if (GetStyle() & SPLS_DYNAMIC_SPLIT)
            DeleteRow(row + 1);
    }
}

void CSplitterWnd::TrackColumnSize(int x, int col)
{
    POINT pt = {x, 0};
    ClientToScreen(&pt);
    CWnd* pPane = GetPane(0, col);
    if (pPane != NULL)
        pPane->ScreenToClient(&pt);
    int nOldCur = m_pColInfo[col].nCurSize;
    m_pColInfo[col].nIdealSize = pt.x;
    if (pt.x < m_pColInfo[col].nMinSize) {
        m_pColInfo[col].nIdealSize = 0;
        if (GetStyle() & SPLS_DYNAMIC_SPLIT)
            DeleteColumn(col);
    } else if (col + 1 < m_nCols && nOldCur + m_pColInfo[col + 1].nCurSize - pt.x < m_pColInfo[col + 1].nMinSize) {
        if (GetStyle() & SPLS_DYNAMIC_SPLIT)
            DeleteColumn(col + 1);
    }
}

// ---- messages ----------------------------------------------------------------------------------

BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    // over the splitter itself the cursor follows the mouse moves
    if (nHitTest == HTCLIENT && pWnd == this && !m_bTracking)
        return TRUE;
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CSplitterWnd::OnMouseMove(UINT, CPoint pt)
{
    if (m_bTracking && ::GetCapture() != m_hWnd)
        StopTracking(FALSE); // someone took the mouse away
    if (!m_bTracking) {
        SetSplitCursor(HitTest(pt));
        return;
    }
    // the tracker follows within the limits
    pt.Offset(m_ptTrackOffset.x, m_ptTrackOffset.y);
    if (pt.y < m_rectLimit.top)
        pt.y = m_rectLimit.top;
    else if (pt.y > m_rectLimit.bottom)
        pt.y = m_rectLimit.bottom;
    if (pt.x < m_rectLimit.left)
        pt.x = m_rectLimit.left;
    else if (pt.x > m_rectLimit.right)
        pt.x = m_rectLimit.right;
    if (IsRowCode(m_htTrack)) {
        if (m_rectTracker.top != pt.y) {
            OnInvertTracker(m_rectTracker);
            m_rectTracker.OffsetRect(0, pt.y - m_rectTracker.top);
            OnInvertTracker(m_rectTracker);
        }
    } else if (IsColumnCode(m_htTrack)) {
        if (m_rectTracker.left != pt.x) {
            OnInvertTracker(m_rectTracker);
            m_rectTracker.OffsetRect(pt.x - m_rectTracker.left, 0);
            OnInvertTracker(m_rectTracker);
        }
    } else if (IsBothCode(m_htTrack)) {
        if (m_rectTracker.top != pt.y) {
            OnInvertTracker(m_rectTracker);
            m_rectTracker.OffsetRect(0, pt.y - m_rectTracker.top);
            OnInvertTracker(m_rectTracker);
        }
        if (m_rectTracker2.left != pt.x) {
            OnInvertTracker(m_rectTracker2);
            m_rectTracker2.OffsetRect(pt.x - m_rectTracker2.left, 0);
            OnInvertTracker(m_rectTracker2);
        }
    }
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint pt)
{
    if (m_bTracking)
        return;
    StartTracking(HitTest(pt));
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint) { StopTracking(TRUE); }

void CSplitterWnd::OnLButtonDblClk(UINT, CPoint pt)
{
    int ht = HitTest(pt);
    StopTracking(FALSE);
    if (!(GetStyle() & SPLS_DYNAMIC_SPLIT))
        return;
    // a double click on a box splits in the middle, on a bar removes the pane after it (never
    // the active one)
    if (ht == vSplitterBox) {
        SplitRow(m_pRowInfo[0].nCurSize / 2);
    } else if (ht == hSplitterBox) {
        SplitColumn(m_pColInfo[0].nCurSize / 2);
    } else if (ht >= vSplitterBar1 && ht <= vSplitterBar15) {
        int rowDelete = ht - vSplitterBar1;
        int row = -1;
        if (GetActivePane(&row, NULL) != NULL && rowDelete == row)
            ++rowDelete;
        DeleteRow(rowDelete);
    } else if (ht >= hSplitterBar1 && ht <= hSplitterBar15) {
        int colDelete = ht - hSplitterBar1;
        int col = -1;
        if (GetActivePane(NULL, &col) != NULL && colDelete == col)
            ++colDelete;
        DeleteColumn(colDelete);
    } else if (ht >= splitterIntersection1 && ht <= splitterIntersection225) {
        int rowDelete = (ht - splitterIntersection1) / 15;
        int colDelete = (ht - splitterIntersection1) % 15;
        int row = -1;
        int col = -1;
        if (GetActivePane(&row, &col) != NULL) {
            if (col == colDelete)
                ++colDelete;
            if (row == rowDelete)
                ++rowDelete;
        }
        DeleteRow(rowDelete);
        DeleteColumn(colDelete);
    }
}

void CSplitterWnd::OnCancelMode()
{
    StopTracking(FALSE);
    Default();
}

void CSplitterWnd::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (!m_bTracking) {
        Default();
        return;
    }
    int nStep = ::GetKeyState(VK_CONTROL) < 0 ? 1 : 16;
    int dx = 0;
    int dy = 0;
    switch (nChar) {
    case VK_ESCAPE:
        StopTracking(FALSE);
        return;
    case VK_RETURN:
        StopTracking(TRUE);
        return;
    case VK_LEFT:
        dx = -1;
        break;
    case VK_RIGHT:
        dx = 1;
        break;
    case VK_UP:
        dy = -1;
        break;
    case VK_DOWN:
        dy = 1;
        break;
    default:
        Default();
        return;
    }
    if (IsRowCode(m_htTrack))
        dx = 0;
    if (IsColumnCode(m_htTrack))
        dy = 0;
    // the mouse moves and its move message moves the tracker
    POINT pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    pt.x += dx * nStep;
    pt.y += dy * nStep;
    pt.y = pt.y < m_rectLimit.top ? m_rectLimit.top : (pt.y > m_rectLimit.bottom ? m_rectLimit.bottom : pt.y);
    pt.x = pt.x < m_rectLimit.left ? m_rectLimit.left : (pt.x > m_rectLimit.right ? m_rectLimit.right : pt.x);
    ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
}

void CSplitterWnd::OnSize(UINT nType, int cx, int cy)
{
    if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0)
        RecalcLayout();
    CWnd::OnSize(nType, cx, cy);
}

void CSplitterWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    // a shared bar scrolls every pane of its column
    if (pScrollBar == NULL)
        return;
    HWND hBar = ((CWnd*)pScrollBar)->m_hWnd;
    int col = ::GetDlgCtrlID(hBar) - AFX_IDW_HSCROLL_FIRST;
    if (col < 0 || col >= m_nCols)
        return;
    int nOldPos = ::GetScrollPos(hBar, SB_CTL);
    for (int row = 0; row < m_nRows; row++) {
        CWnd* pPane = GetPane(row, col);
        if (pPane != NULL)
            pPane->SendMessage(WM_HSCROLL, MAKEWPARAM(nSBCode, nPos), (LPARAM)hBar);
        // every pane starts from the same position
        if (row < m_nRows - 1)
            ::SetScrollPos(hBar, SB_CTL, nOldPos, FALSE);
    }
}

void CSplitterWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar == NULL)
        return;
    HWND hBar = ((CWnd*)pScrollBar)->m_hWnd;
    int row = ::GetDlgCtrlID(hBar) - AFX_IDW_VSCROLL_FIRST;
    if (row < 0 || row >= m_nRows)
        return;
    int nOldPos = ::GetScrollPos(hBar, SB_CTL);
    for (int col = 0; col < m_nCols; col++) {
        CWnd* pPane = GetPane(row, col);
        if (pPane != NULL)
            pPane->SendMessage(WM_VSCROLL, MAKEWPARAM(nSBCode, nPos), (LPARAM)hBar);
        if (col < m_nCols - 1)
            ::SetScrollPos(hBar, SB_CTL, nOldPos, FALSE);
    }
}

BOOL CSplitterWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    CFrameWnd* pFrame = GetParentFrame();
    return pFrame != NULL && pFrame->SendMessage(WM_COMMAND, wParam, lParam) != 0;
}

BOOL CSplitterWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnNotify(wParam, lParam, pResult))
        return TRUE;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == NULL)
        return FALSE;
    *pResult = pFrame->SendMessage(WM_NOTIFY, wParam, lParam);
    return TRUE;
}

// ---- dynamic splitting -------------------------------------------------------------------------

BOOL CSplitterWnd::SplitRow(int cyBefore)
{
    if (!(GetStyle() & SPLS_DYNAMIC_SPLIT) || m_pDynamicViewClass == NULL || m_nRows >= m_nMaxRows)
        return FALSE;
    cyBefore -= m_cyBorder;
    int rowNew = m_nRows;
    int cyNew = CanSplitRowCol(&m_pRowInfo[rowNew - 1], cyBefore, m_cySplitter);
    if (cyNew == -1)
        return FALSE;
    // the scroll bar first, so that the new views find it
    if (m_bHasVScroll && !CreateScrollBarCtrl(SBS_VERT, AFX_IDW_VSCROLL_FIRST + rowNew))
        return FALSE;
    m_nRows++;
    for (int col = 0; col < m_nCols; col++) {
        CSize size(m_pColInfo[col].nCurSize, cyNew);
        if (!CreateView(rowNew, col, m_pDynamicViewClass, size, NULL)) {
            // what was made of the row goes again
            while (col > 0)
                DeleteView(rowNew, --col);
            if (m_bHasVScroll) {
                HWND hBar = ::GetDlgItem(m_hWnd, AFX_IDW_VSCROLL_FIRST + rowNew);
                if (hBar != NULL)
                    ::DestroyWindow(hBar);
            }
            m_nRows--;
            return FALSE;
        }
    }
    m_pRowInfo[rowNew - 1].nIdealSize = cyBefore;
    m_pRowInfo[rowNew].nIdealSize = cyNew;
    RecalcLayout();
    return TRUE;
}

BOOL CSplitterWnd::SplitColumn(int cxBefore)
{
    if (!(GetStyle() & SPLS_DYNAMIC_SPLIT) || m_pDynamicViewClass == NULL || m_nCols >= m_nMaxCols)
        return FALSE;
    cxBefore -= m_cxBorder;
    int colNew = m_nCols;
    int cxNew = CanSplitRowCol(&m_pColInfo[colNew - 1], cxBefore, m_cxSplitter);
    if (cxNew == -1)
        return FALSE;
    if (m_bHasHScroll && !CreateScrollBarCtrl(SBS_HORZ, AFX_IDW_HSCROLL_FIRST + colNew))
        return FALSE;
    m_nCols++;
    for (int row = 0; row < m_nRows; row++) {
        CSize size(cxNew, m_pRowInfo[row].nCurSize);
        if (!CreateView(row, colNew, m_pDynamicViewClass, size, NULL)) {
            while (row > 0)
                DeleteView(--row, colNew);
            if (m_bHasHScroll) {
                HWND hBar = ::GetDlgItem(m_hWnd, AFX_IDW_HSCROLL_FIRST + colNew);
                if (hBar != NULL)
                    ::DestroyWindow(hBar);
            }
            m_nCols--;
            return FALSE;
        }
    }
    m_pColInfo[colNew - 1].nIdealSize = cxBefore;
    m_pColInfo[colNew].nIdealSize = cxNew;
    RecalcLayout();
    return TRUE;
}

void CSplitterWnd::DeleteRow(int rowDelete)
{
    if (!(GetStyle() & SPLS_DYNAMIC_SPLIT) || m_nRows <= 1 || rowDelete < 0 || rowDelete >= m_nRows)
        return;
    // the active pane moves out of the row first
    int rowActive = -1;
    int colActive = -1;
    if (GetActivePane(&rowActive, &colActive) != NULL && rowActive == rowDelete) {
        if (++rowActive >= m_nRows)
            rowActive = 0;
        SetActivePane(rowActive, colActive);
    }
    HWND hBarDelete = m_bHasVScroll ? ::GetDlgItem(m_hWnd, AFX_IDW_VSCROLL_FIRST + rowDelete) : NULL;
    for (int col = 0; col < m_nCols; col++) {
        DeleteView(rowDelete, col);
        for (int row = rowDelete + 1; row < m_nRows; row++) {
            CWnd* pPane = GetPane(row, col);
            if (pPane != NULL)
                pPane->SetDlgCtrlID(IdFromRowCol(row - 1, col));
            if (m_bHasVScroll && col == m_nCols - 1) {
                HWND hBar = ::GetDlgItem(m_hWnd, AFX_IDW_VSCROLL_FIRST + row);
                if (hBar != NULL)
                    ::SetWindowLongPtrA(hBar, GWLP_ID, AFX_IDW_VSCROLL_FIRST + row - 1);
            }
        }
    }
    // the rows after it move up with their sizes
    for (int row = rowDelete + 1; row < m_nRows; row++)
        m_pRowInfo[row - 1] = m_pRowInfo[row];
    m_nRows--;
    if (hBarDelete != NULL)
        ::DestroyWindow(hBarDelete);
    RecalcLayout();
}

void CSplitterWnd::DeleteColumn(int colDelete)
{
    if (!(GetStyle() & SPLS_DYNAMIC_SPLIT) || m_nCols <= 1 || colDelete < 0 || colDelete >= m_nCols)
        return;
    int rowActive = -1;
    int colActive = -1;
    if (GetActivePane(&rowActive, &colActive) != NULL && colActive == colDelete) {
        if (++colActive >= m_nCols)
            colActive = 0;
        SetActivePane(rowActive, colActive);
    }
    HWND hBarDelete = m_bHasHScroll ? ::GetDlgItem(m_hWnd, AFX_IDW_HSCROLL_FIRST + colDelete) : NULL;
    for (int row = 0; row < m_nRows; row++) {
        DeleteView(row, colDelete);
        for (int col = colDelete + 1; col < m_nCols; col++) {
            CWnd* pPane = GetPane(row, col);
            if (pPane != NULL)
                pPane->SetDlgCtrlID(IdFromRowCol(row, col - 1));
            if (m_bHasHScroll && row == m_nRows - 1) {
                HWND hBar = ::GetDlgItem(m_hWnd, AFX_IDW_HSCROLL_FIRST + col);
                if (hBar != NULL)
                    ::SetWindowLongPtrA(hBar, GWLP_ID, AFX_IDW_HSCROLL_FIRST + col - 1);
            }
        }
    }
    for (int col = colDelete + 1; col < m_nCols; col++)
        m_pColInfo[col - 1] = m_pColInfo[col];
    m_nCols--;
    if (hBarDelete != NULL)
        ::DestroyWindow(hBarDelete);
    RecalcLayout();
}

BOOL CSplitterWnd::DoKeyboardSplit()
{
    int ht;
    if (m_nRows > 1 && m_nCols > 1)
        ht = splitterIntersection1;
    else if (m_nRows > 1)
        ht = vSplitterBar1;
    else if (m_nCols > 1)
        ht = hSplitterBar1;
    else if (m_nMaxRows > 1 && m_nMaxCols > 1)
        ht = bothSplitterBox;
    else if (m_nMaxRows > 1)
        ht = vSplitterBox;
    else if (m_nMaxCols > 1)
        ht = hSplitterBox;
    else
        return FALSE;
    StartTracking(ht);
    // the mouse goes to the tracker
    CPoint pt(m_rectTracker.Width() / 2, m_rectTracker.Height() / 2);
    if (m_ptTrackOffset.y != 0)
        pt.y = m_rectTracker.top;
    if (m_ptTrackOffset.x != 0)
        pt.x = m_bTracking2 ? m_rectTracker2.left : m_rectTracker.left;
    pt.Offset(-m_ptTrackOffset.x, -m_ptTrackOffset.y);
    ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    return TRUE;
}
