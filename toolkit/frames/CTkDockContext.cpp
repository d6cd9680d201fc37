#include "CTkDockContext.h"

#include "CTkControlBar.h"
#include "CTkGlobalData.h"
#include "CTkMiniDockFrameWnd.h"

#include <cstring>

namespace {

BOOL IsHorz(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_HORZ) != 0; }
BOOL IsVert(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_VERT) != 0; }

// The frame's delayed layout is due (its idle flag is set).
void RunDelayedLayout(CFrameWnd* pFrame)
{
    if (pFrame != NULL && pFrame->m_hWnd != NULL && (pFrame->m_nIdleFlags & CFrameWnd::idleLayout)) {
        pFrame->m_nIdleFlags &= ~CFrameWnd::idleLayout;
        pFrame->RecalcLayout(FALSE);
    }
}

} // namespace

CTkDockContext::CTkDockContext(CControlBar* pBar)
    : CDockContext(pBar), m_bFullWindowDrag(FALSE), m_bInLoop(FALSE), m_nListenerCounter(0), m_ptCursor(0, 0),
      m_bHaveCursor(FALSE)
{
    std::memset(m_listeners, 0, sizeof(m_listeners));
    // no floating position yet
    m_ptMRUFloatPos.y = (LONG)0x80000000;
    m_rectMRUDockPos.right = 0;
    m_rectMRUDockPos.bottom = 0;
    m_bDragging = FALSE;
}

CTkDockContext::~CTkDockContext() {}

// ---- listeners ---------------------------------------------------------------------------------

int CTkDockContext::AddDragListener(void* pData, TK_DRAGLISTENERPROC pfn)
{
    for (TK_DRAGLISTENER& entry : m_listeners) {
        if (entry.nID == 0) {
            entry.nID = ++m_nListenerCounter;
            entry.pData = pData;
            entry.pfn = pfn;
            return entry.nID;
        }
    }
    return 0;
}

void CTkDockContext::RemoveDragListener(void* pData)
{
    for (TK_DRAGLISTENER& entry : m_listeners) {
        if (entry.nID != 0 && entry.pData == pData)
            std::memset(&entry, 0, sizeof(entry));
    }
}

void CTkDockContext::TellListeners()
{
    for (TK_DRAGLISTENER& entry : m_listeners) {
        if (entry.nID != 0 && entry.pfn != NULL)
            entry.pfn(entry.pData, this);
    }
}

// ---- the loop ----------------------------------------------------------------------------------

void CTkDockContext::InitLoop()
{
    m_bFullWindowDrag = tkAfxData.bFullWindowDrag && m_pBar->SendMessage(TKWM_QUERY_FULLDRAG) != 0;
    if (!m_bFullWindowDrag) {
        CDockContext::InitLoop();
        return;
    }
    // the bar itself follows the mouse: nothing is drawn on the screen
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bForceFrame = m_bFlip = m_bDitherLast = FALSE;
    m_pDC = NULL;
}

void CTkDockContext::CancelLoop()
{
    if (!m_bFullWindowDrag) {
        CDockContext::CancelLoop();
        return;
    }
    if (::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
}

void CTkDockContext::RunPendingLayouts()
{
    RunDelayedLayout(m_pDockSite);
    for (int i = 0; i < m_arrTouchedFrames.GetSize(); i++)
        RunDelayedLayout((CFrameWnd*)m_arrTouchedFrames[i]);
    m_arrTouchedFrames.RemoveAll();
}

BOOL CTkDockContext::Track()
{
    m_bInLoop = TRUE;
    TellListeners();
    if (::GetCapture() != NULL) {
        TellListeners();
        CancelLoop();
        m_pDockSite->RecalcLayout();
        m_bInLoop = FALSE;
        return FALSE;
    }
    m_pBar->SetCapture();
    HWND hWndBar = m_pBar->m_hWnd;
    BOOL bResult = FALSE;
    BOOL bEnd = FALSE;
    CPoint ptLastMove(-32768, -32768);
    while (!bEnd && ::GetCapture() == hWndBar) {
        MSG msg;
        while (::PeekMessageA(&msg, NULL, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessageA(&msg);
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            AfxPostQuitMessage((int)msg.wParam);
            break;
        }
        // a docked bar moving itself would repaint the frame at every step
        BOOL bLocked = m_bFullWindowDrag && !m_pBar->IsFloating() && m_pDockSite->m_hWnd != NULL &&
                       ::LockWindowUpdate(m_pDockSite->m_hWnd);
        switch (msg.message) {
        case WM_KEYDOWN:
            if (m_bDragging)
                OnKey((int)msg.wParam, TRUE);
            if (msg.wParam == VK_ESCAPE)
                bEnd = TRUE;
            break;
        case WM_KEYUP:
            if (m_bDragging)
                OnKey((int)msg.wParam, FALSE);
            break;
        case WM_MOUSEMOVE: {
            if (!(msg.wParam & MK_LBUTTON)) {
                bEnd = TRUE; // the button went up where the loop did not see it
                break;
            }
            CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            ::ClientToScreen(msg.hwnd, &pt);
            if (pt == ptLastMove)
                break;
            ptLastMove = pt;
            if (m_bDragging)
                Move(pt);
            else
                Stretch(pt);
            break;
        }
        case WM_LBUTTONUP:
            if (m_pDC != NULL)
                CDockContext::DrawFocusRect(TRUE); // the outline goes before the bar moves
            if (m_bDragging)
                EndDrag();
            else
                EndResize();
            bResult = TRUE;
            bEnd = TRUE;
            break;
        case WM_RBUTTONDOWN:
            bEnd = TRUE;
            break;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
        if (bLocked)
            ::LockWindowUpdate(NULL);
        RunPendingLayouts();
    }
    TellListeners();
    CancelLoop();
    if (bResult)
        m_pDockSite->RecalcLayout(TRUE);
    m_bInLoop = FALSE;
    return bResult;
}

// ---- dragging ----------------------------------------------------------------------------------

void CTkDockContext::StartDrag(CPoint pt)
{
    if (m_pDockSite == NULL || m_pBar->m_hWnd == NULL)
        return;
    m_bDragging = TRUE;
    BOOL bWasFloating = m_pBar->IsFloating();
    CDockBar* pOldDockBar = m_pBar->m_pDockBar;
    UINT uMRUDockID = m_uMRUDockID;
    CRect rectMRUDockPos = m_rectMRUDockPos;
    DWORD dwMRUFloatStyle = m_dwMRUFloatStyle;
    CPoint ptMRUFloatPos = m_ptMRUFloatPos;

    InitLoop();
    CalcDragRects(pt);
    if (!bWasFloating) {
        // the bar may say where in its floating frame the pointer should be
        SIZE size = {m_rectFrameDragHorz.Width(), m_rectFrameDragHorz.Height()};
        if (m_pBar->SendMessage(TKWM_QUERY_FLOATOFFSET, 0, (LPARAM)&size))
            m_rectFrameDragHorz.OffsetRect(pt.x - size.cx - m_rectFrameDragHorz.left, pt.y - size.cy - m_rectFrameDragHorz.top);
    }
    CRect rectHorz = m_rectDragHorz, rectVert = m_rectDragVert;
    CRect rectFrameHorz = m_rectFrameDragHorz, rectFrameVert = m_rectFrameDragVert;

    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    m_pBar->PostMessage(WM_SETCURSOR, (WPARAM)m_pBar->m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    Move(pt);

    if (Track()) {
        // the place of the other state stays what it was before this drag
        if (m_pBar->IsFloating() && !bWasFloating) {
            m_uMRUDockID = uMRUDockID;
            m_rectMRUDockPos = rectMRUDockPos;
        } else if (!m_pBar->IsFloating() && bWasFloating) {
            m_dwMRUFloatStyle = dwMRUFloatStyle;
            m_ptMRUFloatPos = ptMRUFloatPos;
        }
    } else if (m_bFullWindowDrag) {
        // the bar moved along: it goes back
        m_rectDragHorz = rectHorz;
        m_rectDragVert = rectVert;
        m_rectFrameDragHorz = rectFrameHorz;
        m_rectFrameDragVert = rectFrameVert;
        if (bWasFloating) {
            m_dwOverDockStyle = 0;
            EndDrag();
        } else if (pOldDockBar != NULL && pOldDockBar->m_hWnd != NULL) {
            CRect rect = IsVert(pOldDockBar->m_dwStyle) ? rectVert : rectHorz;
            pOldDockBar->DockControlBar(m_pBar, &rect);
        }
        m_uMRUDockID = uMRUDockID;
        m_rectMRUDockPos = rectMRUDockPos;
        m_dwMRUFloatStyle = dwMRUFloatStyle;
        m_ptMRUFloatPos = ptMRUFloatPos;
        m_pDockSite->RecalcLayout();
    }
    m_bDragging = FALSE;
}

void CTkDockContext::Move(CPoint pt)
{
    if (pt == m_ptLast)
        return;
    CDockContext::Move(pt);
}

void CTkDockContext::DrawFocusRect(BOOL bRemoveRect)
{
    if (!m_bFullWindowDrag) {
        CDockContext::DrawFocusRect(bRemoveRect);
        return;
    }
    // the bar itself is where the outline would be
    if (bRemoveRect)
        return;
    if (m_bDragging)
        EndDrag();
    else
        EndResize();
}

BOOL CTkDockContext::HitsDockBar(CRect rectBar, BOOL bEmpty, BOOL bHorz, const CRect& rectClip, CPoint ptCursor,
                                 BOOL bHaveCursor, const CRect& rectOutline)
{
    if (bEmpty) {
        if (bHorz)
            rectBar.InflateRect(0, 4);
        else
            rectBar.InflateRect(4, 0);
    }
    CRect rect;
    if (!rect.IntersectRect(&rectBar, &rectClip))
        return FALSE;
    if (bHaveCursor)
        return rect.PtInRect(ptCursor);
    CRect rectMeet;
    return rectMeet.IntersectRect(&rect, &rectOutline);
}

DWORD CTkDockContext::TestFrame(CFrameWnd* pFrame, const CRect& rect, DWORD dwStyle, CDockBar** ppDockBar)
{
    dwStyle &= CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI;
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != NULL;) {
        CControlBar* pBar = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
        if (!pBar->IsDockBar() || pBar->m_hWnd == NULL || !(pBar->GetStyle() & WS_VISIBLE))
            continue;
        CDockBar* pDockBar = (CDockBar*)pBar;
        if (!(pDockBar->m_dwStyle & dwStyle & CBRS_ALIGN_ANY))
            continue;
        if (pDockBar->m_bFloating && !(dwStyle & CBRS_FLOAT_MULTI))
            continue;
        CRect rectBar;
        pDockBar->GetWindowRect(&rectBar);
        CRect rectClip;
        CWnd* pParent = pDockBar->GetParent();
        pParent->GetClientRect(&rectClip);
        pParent->ClientToScreen(&rectClip);
        if (HitsDockBar(rectBar, pDockBar->GetDockedCount() == 0, IsHorz(pDockBar->m_dwStyle), rectClip, m_ptCursor,
                        m_bHaveCursor, rect)) {
            if (ppDockBar != NULL)
                *ppDockBar = pDockBar;
            return pDockBar->m_dwStyle & dwStyle;
        }
    }
    return 0;
}

DWORD CTkDockContext::TestDock(const CRect& rect, DWORD dwStyle, CDockBar** ppDockBar)
{
    if (ppDockBar != NULL)
        *ppDockBar = NULL;
    DWORD dwDock = TestFrame(m_pDockSite, rect, dwStyle, ppDockBar);
    if (dwDock != 0)
        return dwDock;
    CFrameWnd* pFrame = FindDockFrame();
    if (pFrame == NULL)
        return 0;
    dwDock = TestFrame(pFrame, rect, dwStyle, ppDockBar);
    if (dwDock != 0) {
        // the bar goes to the other frame; both lay out again
        m_pDockSite->DelayRecalcLayout();
        pFrame->DelayRecalcLayout();
        m_arrTouchedFrames.Add(m_pDockSite);
        m_arrTouchedFrames.Add(pFrame);
        m_pDockSite = pFrame;
    }
    return dwDock;
}

DWORD CTkDockContext::CanDock()
{
    POINT pt;
    BOOL bHave = ::GetCursorPos(&pt);
    return CanDockAt(pt, bHave);
}

DWORD CTkDockContext::CanDockAt(CPoint ptCursor, BOOL bHaveCursor)
{
    m_ptCursor = ptCursor;
    m_bHaveCursor = bHaveCursor;
    const DWORD dwHorzSides = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
    const DWORD dwVertSides = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;
    BOOL bStyleHorz = IsHorz(m_dwStyle);
    if (m_bFlip)
        bStyleHorz = !bStyleHorz;
    DWORD dwDock = 0;
    if (bStyleHorz && (m_dwDockStyle & dwHorzSides))
        dwDock = TestDock(m_rectDragHorz, m_dwDockStyle & ~dwVertSides, NULL);
    else if (m_dwDockStyle & dwVertSides)
        dwDock = TestDock(m_rectDragVert, m_dwDockStyle & ~dwHorzSides, NULL);
    if (!m_bFlip && dwDock == 0) {
        if (m_dwDockStyle & dwHorzSides) {
            DWORD dwCurr = TestDock(m_rectDragVert, m_dwDockStyle & ~dwVertSides, NULL);
            DWORD dwHorz = TestDock(m_rectDragHorz, m_dwDockStyle & ~dwVertSides, NULL);
            dwDock = dwHorz == dwCurr ? dwHorz : 0;
        }
        if (dwDock == 0 && (m_dwDockStyle & dwVertSides)) {
            DWORD dwCurr = TestDock(m_rectDragHorz, m_dwDockStyle & ~dwHorzSides, NULL);
            DWORD dwVert = TestDock(m_rectDragVert, m_dwDockStyle & ~dwHorzSides, NULL);
            dwDock = dwVert == dwCurr ? dwVert : 0;
        }
    }
    return dwDock;
}

CDockBar* CTkDockContext::GetDockBar(DWORD dwOverDockStyle)
{
    CDockBar* pDockBar = NULL;
    if (IsHorz(dwOverDockStyle))
        TestDock(m_rectDragHorz, dwOverDockStyle & ~CBRS_ORIENT_VERT, &pDockBar);
    else if (IsVert(dwOverDockStyle))
        TestDock(m_rectDragVert, dwOverDockStyle & ~CBRS_ORIENT_HORZ, &pDockBar);
    return pDockBar;
}

CFrameWnd* CTkDockContext::FindDockFrame()
{
    if (m_pDockSite == NULL || !m_pBar->IsKindOf(RUNTIME_CLASS(CTkControlBar)))
        return NULL;
    CTkControlBar* pBar = (CTkControlBar*)m_pBar;
    POINT pt;
    ::GetCursorPos(&pt);
    CWnd* pMain = AfxGetMainWnd();
    HWND hWnd = pMain != NULL && pMain->m_hWnd != NULL ? ::GetWindow(pMain->m_hWnd, GW_HWNDFIRST) : NULL;
    for (; hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd == NULL || !pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)) || pWnd->IsKindOf(RUNTIME_CLASS(CTkMiniDockFrameWnd)))
            continue;
        CRect rect;
        pWnd->GetWindowRect(&rect);
        if (!rect.PtInRect(pt))
            continue;
        if (pWnd == m_pDockSite)
            break;
        return pBar->CanDockToFrame((CFrameWnd*)pWnd) ? (CFrameWnd*)pWnd : NULL;
    }
    CFrameWnd* pActive = m_pDockSite->GetActiveFrame();
    if (pActive != NULL && pActive != m_pDockSite && pBar->CanDockToFrame(pActive))
        return pActive;
    CFrameWnd* pParent = m_pDockSite->GetParentFrame();
    if (pParent != NULL && pParent != m_pDockSite && pBar->CanDockToFrame(pParent))
        return pParent;
    return NULL;
}

void CTkDockContext::EndDrag()
{
    if (m_dwOverDockStyle != 0) {
        CDockBar* pDockBar = GetDockBar(m_dwOverDockStyle);
        if (pDockBar == NULL)
            return;
        CRect rect = IsVert(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
        m_uMRUDockID = pDockBar->GetDlgCtrlID();
        m_rectMRUDockPos = rect;
        pDockBar->ScreenToClient(&m_rectMRUDockPos);
        pDockBar->DockControlBar(m_pBar, &rect);
        m_pDockSite->RecalcLayout(FALSE);
        return;
    }
    DWORD dwStyle = (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) || (IsHorz(m_dwStyle) && !m_bFlip) || (IsVert(m_dwStyle) && m_bFlip)
                        ? CBRS_ALIGN_TOP
                        : CBRS_ALIGN_LEFT;
    Float(dwStyle | (m_dwDockStyle & CBRS_FLOAT_MULTI));
}

void CTkDockContext::Float(DWORD dwStyle)
{
    CPoint pt = m_rectFrameDragHorz.TopLeft();
    m_ptMRUFloatPos = pt;
    m_dwMRUFloatStyle = dwStyle;
    CDockBar* pDockBar = m_pBar->m_pDockBar;
    if (pDockBar != NULL && pDockBar->m_bFloating && pDockBar->GetDockedCount() == 1 &&
        (dwStyle & pDockBar->m_dwStyle & CBRS_ALIGN_ANY) != 0) {
        // alone in a floating frame of the same orientation: the frame moves
        CFrameWnd* pFrame = pDockBar->GetParentFrame();
        if (pFrame != NULL) {
            pFrame->ModifyStyleEx(0, WS_EX_DLGMODALFRAME);
            pFrame->SetWindowPos(NULL, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
            return;
        }
    }
    if (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)
        dwStyle |= CBRS_SIZE_DYNAMIC;
    CMiniDockFrameWnd* pFrame = m_pDockSite->CreateFloatingFrame(dwStyle);
    pFrame->SetWindowPos(NULL, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (pFrame->m_hWndOwner == NULL)
        pFrame->m_hWndOwner = m_pBar->m_hWnd;
    pFrame->m_wndDockBar.DockControlBar(m_pBar);
    pFrame->RecalcLayout(TRUE);
    if (m_pBar->GetStyle() & WS_VISIBLE) {
        pFrame->ShowWindow(SW_SHOWNA);
        pFrame->UpdateWindow();
    }
}

// ---- resizing ----------------------------------------------------------------------------------

void CTkDockContext::StartResize(int nHitTest, CPoint pt)
{
    if (m_pDockSite == NULL || m_pBar->m_hWnd == NULL || !(m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC))
        return;
    m_bDragging = FALSE;
    InitLoop();
    if (m_pDC != NULL)
        ::SetLayout(m_pDC->m_hDC, 0);
    CalcResizeRects(nHitTest, pt);
    m_dwOverDockStyle = 0;
    Stretch(pt);
    if (Track() && m_bFullWindowDrag)
        Stretch(pt);
}

void CTkDockContext::EndResize()
{
    m_pBar->CalcDynamicLayout(m_rectActualSize.Width(), LM_HORZ | LM_COMMIT);
    m_pDockSite->FloatControlBar(m_pBar, m_rectActualFrameSize.TopLeft(),
                                 CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI) | CBRS_SIZE_DYNAMIC);
}

// ---- double click ------------------------------------------------------------------------------

void CTkDockContext::ToggleDocking()
{
    if (m_pDockSite == NULL || m_pBar->m_hWnd == NULL)
        return;
    if (!m_pBar->IsFloating()) {
        // at the last floating place, else where it is docked
        CPoint pt = m_ptMRUFloatPos;
        if (pt.x < 0 || pt.y < 0) {
            pt = m_rectMRUDockPos.TopLeft();
            CWnd* pParent = m_pBar->GetParent();
            if (m_uMRUDockID == 0 || m_rectMRUDockPos.IsRectNull()) {
                CRect rect;
                m_pBar->GetWindowRect(&rect);
                pt = rect.TopLeft();
            } else if (pParent != NULL) {
                pParent->ClientToScreen(&pt);
            }
        }
        m_rectFrameDragHorz.OffsetRect(pt.x - m_rectFrameDragHorz.left, pt.y - m_rectFrameDragHorz.top);
        Float(CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI));
        return;
    }
    if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
        return;
    CRect rect = m_rectMRUDockPos;
    if (m_uMRUDockID != 0) {
        CDockBar* pDockBar = (CDockBar*)m_pDockSite->GetControlBar(m_uMRUDockID);
        if (pDockBar != NULL && pDockBar->IsDockBar()) {
            pDockBar->ClientToScreen(&rect);
            pDockBar->DockControlBar(m_pBar, &rect);
            m_pDockSite->RecalcLayout(TRUE);
            return;
        }
    }
    m_pDockSite->ReDockControlBar(m_pBar, NULL, &rect);
    m_pDockSite->RecalcLayout(TRUE);
}
