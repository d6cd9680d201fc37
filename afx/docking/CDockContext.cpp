#include "AfxDockingPrivate.h"
#include "CDockContext.h"
#include "CControlBar.h"
#include "CDockBar.h"

using namespace afxdock;

namespace {

BOOL IsHorz(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_HORZ) != 0; }
BOOL IsVert(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_VERT) != 0; }

// Moves rect (keeping its size) so that pt lies inside it.
void MoveToContain(CRect& rect, CPoint pt)
{
    int dx = pt.x < rect.left ? pt.x - rect.left : (pt.x > rect.right ? pt.x - rect.right : 0);
    int dy = pt.y < rect.top ? pt.y - rect.top : (pt.y > rect.bottom ? pt.y - rect.bottom : 0);
    rect.OffsetRect(dx, dy);
}

} // namespace

CDockContext::CDockContext(CControlBar* pBar)
    : m_ptLast(0, 0), m_rectLast(0, 0, 0, 0), m_sizeLast(0, 0), m_bDitherLast(FALSE), m_rectDragHorz(0, 0, 0, 0),
      m_rectDragVert(0, 0, 0, 0), m_rectFrameDragHorz(0, 0, 0, 0), m_rectFrameDragVert(0, 0, 0, 0),
      m_rectRequestedSize(m_rectDragHorz), m_rectActualSize(m_rectDragVert), m_rectActualFrameSize(m_rectFrameDragHorz),
      m_rectFrameBorders(m_rectFrameDragVert), m_pBar(pBar), m_pDockSite(pBar->m_pDockSite), m_dwDockStyle(0),
      m_dwOverDockStyle(0), m_dwStyle(0), m_bFlip(FALSE), m_bForceFrame(FALSE), m_pDC(NULL), m_bDragging(FALSE),
      m_nHitTest(0), m_uMRUDockID(0), m_rectMRUDockPos(0, 0, 0, 0),
      m_dwMRUFloatStyle(pBar->m_dwStyle & (CBRS_ALIGN_TOP | CBRS_FLOAT_MULTI)), m_ptMRUFloatPos(CW_USEDEFAULT, 0)
{
}

void CDockContext::AdjustWindowForFloat(CRect& rect)
{
    CMiniFrameWnd::CalcBorders(&rect, WS_THICKFRAME | WS_CAPTION);
    rect.InflateRect(-afxData.cxBorder2, -afxData.cyBorder2);
}

CDockContext::~CDockContext()
{
    if (m_pDC != NULL)
        CancelLoop();
}

// ---- the loop ----------------------------------------------------------------------------------

void CDockContext::InitLoop()
{
    // windows uncovered before the loop are painted first (the outline draws over the screen)
    MSG msg;
    while (::PeekMessageA(&msg, NULL, WM_PAINT, WM_PAINT, PM_REMOVE))
        ::DispatchMessageA(&msg);

    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bForceFrame = m_bFlip = m_bDitherLast = FALSE;

    // the outline is drawn on the screen; nothing else paints over it meanwhile
    CWnd* pDesktop = CWnd::GetDesktopWindow();
    HDC hDC = NULL;
    if (::LockWindowUpdate(pDesktop->m_hWnd))
        hDC = ::GetDCEx(pDesktop->m_hWnd, NULL, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (hDC == NULL)
        hDC = ::GetDCEx(pDesktop->m_hWnd, NULL, DCX_WINDOW | DCX_CACHE);
    m_pDC = hDC != NULL ? new CDC : NULL;
    if (m_pDC != NULL)
        m_pDC->Attach(hDC);
}

void CDockContext::CancelLoop()
{
    if (m_pDC != NULL)
        DrawFocusRect(TRUE); // the outline goes
    if (::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
    ::LockWindowUpdate(NULL);
    if (m_pDC != NULL) {
        ::ReleaseDC(::GetDesktopWindow(), m_pDC->Detach());
        delete m_pDC;
        m_pDC = NULL;
    }
}

BOOL CDockContext::Track()
{
    // another window tracks the mouse already
    if (::GetCapture() != NULL) {
        CancelLoop();
        return FALSE;
    }
    m_pBar->SetCapture();
    HWND hWndBar = m_pBar->m_hWnd;
    while (::GetCapture() == hWndBar) {
        MSG msg;
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            // the program ends: the quit message stays for the loop outside
            AfxPostQuitMessage((int)msg.wParam);
            break;
        }
        switch (msg.message) {
        case WM_LBUTTONUP:
            if (m_bDragging)
                EndDrag();
            else
                EndResize();
            return TRUE;
        case WM_MOUSEMOVE:
            if (m_bDragging)
                Move(MessagePoint(msg));
            else
                Stretch(MessagePoint(msg));
            break;
        case WM_KEYUP:
            if (m_bDragging)
                OnKey((int)msg.wParam, FALSE);
            break;
        case WM_KEYDOWN:
            if (m_bDragging)
                OnKey((int)msg.wParam, TRUE);
            if (msg.wParam == VK_ESCAPE) {
                CancelLoop();
                return FALSE;
            }
            break;
        case WM_RBUTTONDOWN:
            CancelLoop();
            return FALSE;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
    }
    CancelLoop();
    return FALSE;
}

// ---- dragging ----------------------------------------------------------------------------------

void CDockContext::StartDrag(CPoint pt)
{
    if (m_pDockSite == NULL || m_pBar->m_hWnd == NULL)
        return;
    m_bDragging = TRUE;
    InitLoop();

    CalcDragRects(pt);

    m_dwOverDockStyle = CanDock();
    Move(pt); // the keys held already count
    Track();
    m_bDragging = FALSE;
}

void CDockContext::CalcDragRects(CPoint pt)
{
    // The outlines of the bar docked horizontally and vertically and of its floating frames
    // (the frames' window rectangles), all from the bar's top-left corner.
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    m_ptLast = pt;
    if (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        CSize sizeHorz = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK);
        CSize sizeVert = m_pBar->CalcDynamicLayout(0, LM_VERTDOCK);
        CSize sizeFloat = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
        m_rectDragHorz = CRect(rect.TopLeft(), sizeHorz);
        m_rectDragVert = CRect(rect.TopLeft(), sizeVert);
        m_rectFrameDragHorz = CRect(rect.TopLeft(), sizeFloat);
        m_rectFrameDragVert = CRect(rect.TopLeft(), sizeFloat);
    } else if (m_pBar->m_dwStyle & CBRS_SIZE_FIXED) {
        CSize sizeHorz = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
        CSize sizeVert = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
        m_rectFrameDragHorz = m_rectDragHorz = CRect(rect.TopLeft(), sizeHorz);
        m_rectFrameDragVert = m_rectDragVert = CRect(rect.TopLeft(), sizeVert);
    } else {
        // the bar's own orientation keeps its rectangle; the other one is centred on the mouse
        BOOL bHorz = IsHorz(m_dwStyle);
        CSize size = m_pBar->CalcDynamicLayout(-1, bHorz ? LM_VERTDOCK : (LM_HORZ | LM_HORZDOCK));
        if (bHorz) {
            m_rectDragHorz = rect;
            m_rectDragVert = CRect(CPoint(pt.x - rect.Height() / 2, rect.top), size);
        } else {
            m_rectDragVert = rect;
            m_rectDragHorz = CRect(CPoint(rect.left, pt.y - rect.Width() / 2), size);
        }
        m_rectFrameDragHorz = m_rectDragHorz;
        m_rectFrameDragVert = m_rectDragVert;
    }
    AdjustWindowForFloat(m_rectFrameDragHorz);
    AdjustWindowForFloat(m_rectFrameDragVert);
    // the mouse is inside every outline
    MoveToContain(m_rectDragHorz, pt);
    MoveToContain(m_rectDragVert, pt);
    MoveToContain(m_rectFrameDragHorz, pt);
    MoveToContain(m_rectFrameDragVert, pt);
}

void CDockContext::Move(CPoint pt)
{
    CPoint ptOffset = pt - m_ptLast;
    m_rectDragHorz.OffsetRect(ptOffset);
    m_rectFrameDragHorz.OffsetRect(ptOffset);
    m_rectDragVert.OffsetRect(ptOffset);
    m_rectFrameDragVert.OffsetRect(ptOffset);
    m_ptLast = pt;
    // Ctrl keeps the bar from docking
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
}

void CDockContext::OnKey(int nChar, BOOL bDown)
{
    if (nChar == VK_CONTROL)
        UpdateState(&m_bForceFrame, bDown);
    if (nChar == VK_SHIFT)
        UpdateState(&m_bFlip, bDown);
}

void CDockContext::UpdateState(BOOL* pFlag, BOOL bNewValue)
{
    if (*pFlag == bNewValue)
        return;
    *pFlag = bNewValue;
    // flipping needs a bar that may dock both ways
    m_bFlip = IsHorz(m_dwDockStyle) && IsVert(m_dwDockStyle) && m_bFlip;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect();
}

DWORD CDockContext::CanDock()
{
    // The bar's own orientation (flipped by Shift) first; without Shift the other one too, as
    // long as both of its shapes touch the same dock bar (the bar is near enough to it).
    BOOL bStyleHorz = IsHorz(m_dwStyle);
    if (m_bFlip)
        bStyleHorz = !bStyleHorz;
    DWORD dwDock = 0;
    if (bStyleHorz && IsHorz(m_dwDockStyle))
        dwDock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
    else if (IsVert(m_dwDockStyle))
        dwDock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
    if (!m_bFlip) {
        if (dwDock == 0 && IsHorz(m_dwDockStyle)) {
            DWORD dwCurr = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_VERT);
            dwDock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
            dwDock = dwDock == dwCurr ? dwDock : 0;
        }
        if (dwDock == 0 && IsVert(m_dwDockStyle)) {
            DWORD dwCurr = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
            dwDock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
            dwDock = dwDock == dwCurr ? dwDock : 0;
        }
    }
    return dwDock;
}

CDockBar* CDockContext::GetDockBar(DWORD dwOverDockStyle)
{
    CDockBar* pDockBar = NULL;
    if (IsHorz(dwOverDockStyle))
        m_pDockSite->CanDock(m_rectDragHorz, dwOverDockStyle & ~CBRS_ORIENT_VERT, &pDockBar);
    else if (IsVert(dwOverDockStyle))
        m_pDockSite->CanDock(m_rectDragVert, dwOverDockStyle & ~CBRS_ORIENT_HORZ, &pDockBar);
    return pDockBar;
}

void CDockContext::DrawFocusRect(BOOL bRemoveRect)
{
    if (m_pDC == NULL)
        return;
    // a thin white outline over a dock bar, a thick halftone one of the floating frame elsewhere
    CSize size(CxBorder(), CyBorder());
    CRect rect;
    CBrush* pWhiteBrush = CBrush::FromHandle((HBRUSH)::GetStockObject(WHITE_BRUSH));
    CBrush* pDitherBrush = CDC::GetHalftoneBrush();
    CBrush* pBrush = pWhiteBrush;
    if (IsHorz(m_dwOverDockStyle)) {
        rect = m_rectDragHorz;
    } else if (IsVert(m_dwOverDockStyle)) {
        rect = m_rectDragVert;
    } else {
        size.cx = ::GetSystemMetrics(SM_CXFRAME) - CxBorder();
        size.cy = ::GetSystemMetrics(SM_CYFRAME) - CyBorder();
        rect = (IsHorz(m_dwStyle) && !m_bFlip) || (IsVert(m_dwStyle) && m_bFlip) ? m_rectFrameDragHorz : m_rectFrameDragVert;
        pBrush = pDitherBrush;
    }
    if (bRemoveRect)
        size.cx = size.cy = 0;
    // a docking outline one pixel in (the bar looks pressed into its place)
    if (IsHorz(m_dwOverDockStyle) || IsVert(m_dwOverDockStyle))
        rect.InflateRect(-CxBorder(), -CyBorder());
    m_pDC->DrawDragRect(&rect, size, &m_rectLast, m_sizeLast, pBrush, m_bDitherLast ? pDitherBrush : pWhiteBrush);
    m_rectLast = rect;
    m_sizeLast = size;
    m_bDitherLast = pBrush == pDitherBrush;
}

void CDockContext::EndDrag()
{
    CancelLoop();
    if (m_dwOverDockStyle != 0) {
        CDockBar* pDockBar = GetDockBar(m_dwOverDockStyle);
        if (pDockBar == NULL)
            return;
        CRect rect = IsVert(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
        // the place where it was docked is where a double click brings it back
        UINT nID = BarId(pDockBar->m_hWnd);
        if (nID >= AFX_IDW_DOCKBAR_TOP && nID <= AFX_IDW_DOCKBAR_BOTTOM) {
            m_uMRUDockID = nID;
            m_rectMRUDockPos = rect;
            pDockBar->ScreenToClient(&m_rectMRUDockPos);
        }
        m_pDockSite->DockControlBar(m_pBar, pDockBar, &rect);
        m_pDockSite->RecalcLayout();
        return;
    }
    // floating: horizontally unless a bar that keeps its shape is vertical (or flipped to it)
    BOOL bHorzFloat = (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) || (IsHorz(m_dwStyle) && !m_bFlip) || (IsVert(m_dwStyle) && m_bFlip);
    m_dwMRUFloatStyle = (bHorzFloat ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT) | (m_dwDockStyle & CBRS_FLOAT_MULTI);
    m_ptMRUFloatPos = bHorzFloat ? m_rectFrameDragHorz.TopLeft() : m_rectFrameDragVert.TopLeft();
    m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
}

// ---- resizing ----------------------------------------------------------------------------------

void CDockContext::StartResize(int nHitTest, CPoint pt)
{
    if (m_pDockSite == NULL || m_pBar->m_hWnd == NULL || !(m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC))
        return;
    m_bDragging = FALSE;
    InitLoop();

    CalcResizeRects(nHitTest, pt);
    m_dwOverDockStyle = 0;
    Stretch(pt);
    Track();
}

void CDockContext::CalcResizeRects(int nHitTest, CPoint pt)
{
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    m_ptLast = pt;
    m_nHitTest = nHitTest;
    CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    m_rectRequestedSize = CRect(rect.TopLeft(), size);
    m_rectActualSize = CRect(rect.TopLeft(), size);
    m_rectActualFrameSize = CRect(rect.TopLeft(), size);
    AdjustWindowForFloat(m_rectActualFrameSize);
    // what the frame adds on each side
    m_rectFrameBorders = CRect(CPoint(m_rectActualFrameSize.left - m_rectActualSize.left, m_rectActualFrameSize.top - m_rectActualSize.top),
                               CPoint(m_rectActualFrameSize.right - m_rectActualSize.right,
                                      m_rectActualFrameSize.bottom - m_rectActualSize.bottom));
}

void CDockContext::Stretch(CPoint pt)
{
    CPoint ptOffset = pt - m_ptLast;
    // the side being dragged follows the mouse; the bar answers the other dimension
    int nLength = 0;
    DWORD dwMode = LM_HORZ;
    if (m_nHitTest == HTLEFT || m_nHitTest == HTRIGHT) {
        if (m_nHitTest == HTLEFT)
            m_rectRequestedSize.left += ptOffset.x;
        else
            m_rectRequestedSize.right += ptOffset.x;
        nLength = m_rectRequestedSize.Width();
    } else {
        dwMode |= LM_LENGTHY;
        if (m_nHitTest == HTTOP)
            m_rectRequestedSize.top += ptOffset.y;
        else
            m_rectRequestedSize.bottom += ptOffset.y;
        nLength = m_rectRequestedSize.Height();
    }
    if (nLength < 0)
        nLength = 0;
    CSize size = m_pBar->CalcDynamicLayout(nLength, dwMode);

    // the new frame is taken only while some of it stays on the screen
    CRect rectDesk;
    ::GetWindowRect(::GetDesktopWindow(), &rectDesk);
    CRect rectTemp = m_rectActualFrameSize;
    CRect rectOnScreen;
    if (m_nHitTest == HTLEFT || m_nHitTest == HTTOP) {
        rectTemp.left = rectTemp.right - (size.cx + m_rectFrameBorders.Width());
        rectTemp.top = rectTemp.bottom - (size.cy + m_rectFrameBorders.Height());
        if (rectOnScreen.IntersectRect(&rectDesk, &rectTemp)) {
            m_rectActualSize.left = m_rectActualSize.right - size.cx;
            m_rectActualSize.top = m_rectActualSize.bottom - size.cy;
            m_rectActualFrameSize.left = rectTemp.left;
            m_rectActualFrameSize.top = rectTemp.top;
        }
    } else {
        rectTemp.right = rectTemp.left + (size.cx + m_rectFrameBorders.Width());
        rectTemp.bottom = rectTemp.top + (size.cy + m_rectFrameBorders.Height());
        if (rectOnScreen.IntersectRect(&rectDesk, &rectTemp)) {
            m_rectActualSize.right = m_rectActualSize.left + size.cx;
            m_rectActualSize.bottom = m_rectActualSize.top + size.cy;
            m_rectActualFrameSize.right = rectTemp.right;
            m_rectActualFrameSize.bottom = rectTemp.bottom;
        }
    }
    m_ptLast = pt;
    DrawFocusRect();
}

void CDockContext::EndResize()
{
    CancelLoop();
    m_pBar->CalcDynamicLayout(m_rectActualSize.Width(), LM_HORZ | LM_COMMIT);
    m_pDockSite->FloatControlBar(m_pBar, m_rectActualFrameSize.TopLeft(),
                                 CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI) | CBRS_SIZE_DYNAMIC);
}

// ---- double click ------------------------------------------------------------------------------

void CDockContext::ToggleDocking()
{
    if (m_pDockSite == NULL || m_pBar->m_hWnd == NULL)
        return;
    if (m_pBar->IsFloating()) {
        // back to where it was docked last (when it may dock at all)
        if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
            return;
        CRect rect = m_rectMRUDockPos;
        CDockBar* pDockBar = NULL;
        if (m_uMRUDockID != 0) {
            pDockBar = (CDockBar*)m_pDockSite->GetControlBar(m_uMRUDockID);
            if (pDockBar != NULL && pDockBar->IsDockBar())
                pDockBar->ClientToScreen(&rect);
            else
                pDockBar = NULL;
        }
        m_pDockSite->ReDockControlBar(m_pBar, pDockBar, &rect);
        m_pDockSite->RecalcLayout();
        return;
    }
    // a docked bar floats where it floated last, else where it is now
    CPoint ptFloat = m_ptMRUFloatPos;
    if (ptFloat.x < 0 || ptFloat.y < 0) {
        ptFloat = m_rectMRUDockPos.TopLeft();
        CWnd* pParent = m_pBar->GetParent();
        if (pParent != NULL)
            pParent->ClientToScreen(&ptFloat);
    }
    m_pDockSite->FloatControlBar(m_pBar, ptFloat, m_dwMRUFloatStyle);
}
