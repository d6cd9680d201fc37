#include "AfxDockingPrivate.h"
#include "CControlBar.h"
#include "CControlBarInfo.h"
#include "CDockBar.h"
#include "CDockContext.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_NCPAINT()
ON_WM_TIMER()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_WINDOWPOSCHANGING()
ON_WM_MOUSEACTIVATE()
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdate)
ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
END_MESSAGE_MAP()

using namespace afxdock;

CControlBar::CControlBar()
    : m_cxLeftBorder(6), m_cxRightBorder(6), m_cyTopBorder(1), m_cyBottomBorder(1), m_cxDefaultGap(2),
      m_nMRUWidth(32767), m_bAutoDelete(FALSE), m_nStateFlags(0), m_pDockSite(NULL), m_pDockBar(NULL),
      m_pDockContext(NULL), m_dwStyle(0), m_dwDockStyle(0), m_nCount(0)
{
}

CControlBar::~CControlBar()
{
    // The window goes while this class's handlers still run; the object is being deleted
    // already, so the window's end must not delete it again.
    m_bAutoDelete = FALSE;
    if (m_hWnd != NULL && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    if (m_pDockSite != NULL)
        m_pDockSite->RemoveControlBar(this);
    delete m_pDockContext;
    m_pDockContext = NULL;
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pLastStatus == this)
        pState->m_pLastStatus = NULL;
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CControlBar::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CWnd::PreCreateWindow(cs))
        return FALSE;
    // siblings overlap (bars share their borders): no painting over each other
    cs.style |= WS_CLIPSIBLINGS;
    // The plain border styles of the four sides become the flat look's: a top bar has a line at
    // its top, a side bar at its top and bottom (CBRS_BORDER_3D keeps the styles as given).
    if (!(m_dwStyle & CBRS_BORDER_3D)) {
        DWORD dwNew = 0;
        switch (m_dwStyle & (CBRS_BORDER_ANY | CBRS_ALIGN_ANY)) {
        case CBRS_LEFT:
        case CBRS_RIGHT:
            dwNew = CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM;
            break;
        case CBRS_TOP:
            dwNew = CBRS_BORDER_TOP;
            break;
        case CBRS_BOTTOM:
            dwNew = CBRS_BORDER_BOTTOM;
            break;
        default:
            break;
        }
        if (dwNew != 0)
            m_dwStyle = (m_dwStyle & ~CBRS_BORDER_ANY) | dwNew | CBRS_BORDER_3D;
    }
    return TRUE;
}

// ---- attributes --------------------------------------------------------------------------------

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    if (m_dwStyle == dwStyle)
        return;
    DWORD dwOldStyle = m_dwStyle;
    m_dwStyle = dwStyle;
    OnBarStyleChange(dwOldStyle, dwStyle);
}

void CControlBar::OnBarStyleChange(DWORD, DWORD) {}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

void CControlBar::SetBorders(LPCRECT lpRect) { SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }

CRect CControlBar::GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }

CFrameWnd* CControlBar::GetDockingFrame() const
{
    CFrameWnd* pFrame = GetParentFrame();
    return pFrame != NULL ? pFrame : m_pDockSite;
}

BOOL CControlBar::IsFloating() const
{
    if (IsDockBar())
        return static_cast<const CDockBar*>(this)->m_bFloating;
    return m_pDockBar != NULL && m_pDockBar->m_bFloating;
}

BOOL CControlBar::IsDockBar() const { return FALSE; }

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & (CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI);
    if (m_pDockContext == NULL)
        m_pDockContext = new CDockContext(this);
    // the bar's commands go to the frame it was made in, wherever it is docked or floats
    if (m_hWndOwner == NULL && m_hWnd != NULL)
        m_hWndOwner = ::GetParent(m_hWnd);
}

// ---- layout ------------------------------------------------------------------------------------

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CSize(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
}

CSize CControlBar::CalcDynamicLayout(int, DWORD dwMode)
{
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    DWORD dwStyle = m_dwStyle;
    ShrinkByBorders(rect, dwStyle);
    BOOL bGripper = (dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER;
    if (bHorz) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
        if (bGripper)
            rect.left += kGripperRoom;
    } else {
        // the borders turn with the bar
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
        if (bGripper)
            rect.top += kGripperRoom;
    }
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* lpLayout = (AFX_SIZEPARENTPARAMS*)lParam;
    DWORD dwStyle = RecalcDelayShow(lpLayout);
    if (!(dwStyle & WS_VISIBLE) || !(dwStyle & CBRS_ALIGN_ANY))
        return 0;

    // the size the bar wants for its place, at most what is left
    CRect rect = lpLayout->rect;
    CSize sizeAvail = rect.Size();
    DWORD dwMode = lpLayout->bStretch ? LM_STRETCH : 0;
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
        dwMode |= LM_HORZ | LM_MRUWIDTH;
    else if (dwStyle & CBRS_ORIENT_HORZ)
        dwMode |= LM_HORZ | LM_HORZDOCK;
    else
        dwMode |= LM_VERTDOCK;
    CSize size = CalcDynamicLayout(-1, dwMode);
    size.cx = Min(size.cx, sizeAvail.cx);
    size.cy = Min(size.cy, sizeAvail.cy);

    if (dwStyle & CBRS_ORIENT_HORZ) {
        lpLayout->sizeTotal.cy += size.cy;
        lpLayout->sizeTotal.cx = Max(lpLayout->sizeTotal.cx, size.cx);
        if (dwStyle & CBRS_ALIGN_TOP) {
            lpLayout->rect.top += size.cy;
        } else if (dwStyle & CBRS_ALIGN_BOTTOM) {
            rect.top = rect.bottom - size.cy;
            lpLayout->rect.bottom -= size.cy;
        }
    } else {
        lpLayout->sizeTotal.cx += size.cx;
        lpLayout->sizeTotal.cy = Max(lpLayout->sizeTotal.cy, size.cy);
        if (dwStyle & CBRS_ALIGN_LEFT) {
            lpLayout->rect.left += size.cx;
        } else if (dwStyle & CBRS_ALIGN_RIGHT) {
            rect.left = rect.right - size.cx;
            lpLayout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    if (lpLayout->hDWP != NULL)
        AfxRepositionWindow(lpLayout, m_hWnd, &rect);
    return 0;
}

// ---- showing and hiding ------------------------------------------------------------------------

void CControlBar::DelayShow(BOOL bShow)
{
    m_nStateFlags &= ~(delayHide | delayShow);
    BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !bVisible)
        m_nStateFlags |= delayShow;
    else if (!bShow && bVisible)
        m_nStateFlags |= delayHide;
}

BOOL CControlBar::IsVisible() const
{
    if (m_nStateFlags & delayHide)
        return FALSE;
    return (m_nStateFlags & delayShow) || (GetStyle() & WS_VISIBLE);
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout)
{
    DWORD dwStyle = GetStyle();
    BOOL bVisible = (dwStyle & WS_VISIBLE) != 0;
    UINT nShowFlag = 0;
    if ((m_nStateFlags & delayHide) && bVisible)
        nShowFlag = SWP_HIDEWINDOW;
    else if ((m_nStateFlags & delayShow) && !bVisible)
        nShowFlag = SWP_SHOWWINDOW;
    if (nShowFlag != 0)
        dwStyle ^= WS_VISIBLE; // the style the bar is about to have
    // A layout that only asks keeps the request for the layout that moves the windows.
    if (lpLayout != NULL && lpLayout->hDWP == NULL)
        return dwStyle | m_dwStyle;
    m_nStateFlags &= ~(delayShow | delayHide);
    if (nShowFlag != 0) {
        UINT nFlags = nShowFlag | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
        if (lpLayout != NULL)
            lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, NULL, 0, 0, 0, 0, nFlags);
        else
            SetWindowPos(NULL, 0, 0, 0, 0, nFlags);
    }
    return dwStyle | m_dwStyle;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    // a delayed change first
    RecalcDelayShow(NULL);
    // a hidden bar, or one in a hidden dock bar, has nothing to show
    if (!(GetStyle() & WS_VISIBLE) || (m_pDockBar != NULL && !(m_pDockBar->GetStyle() & WS_VISIBLE)))
        return 0;
    // the owner frame's handlers decide (else those of the frame around the bar)
    CWnd* pOwner = GetOwner();
    CFrameWnd* pTarget = pOwner != NULL && pOwner->IsFrameWnd() ? (CFrameWnd*)pOwner : GetParentFrame();
    if (pTarget != NULL)
        OnUpdateCmdUI(pTarget, (BOOL)wParam);
    return 0;
}

LRESULT CControlBar::OnInitialUpdate(WPARAM, LPARAM)
{
    // the bar's items are right before it shows
    return OnIdleUpdateCmdUI(TRUE, 0);
}

LRESULT CControlBar::OnHelpHitTest(WPARAM, LPARAM lParam)
{
    CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
    INT_PTR nHit = OnToolHitTest(point, NULL);
    if (nHit != -1)
        return HID_BASE_COMMAND + nHit;
    UINT nID = BarId(m_hWnd);
    return nID != 0 ? HID_BASE_CONTROL + nID : 0;
}

// ---- painting ----------------------------------------------------------------------------------

void CControlBar::OnPaint()
{
    CPaintDC dc(this);
    if (IsVisible())
        DoPaint(&dc);
}

void CControlBar::DoPaint(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(pDC, rect);
    DrawGripper(pDC, rect);
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    DWORD dwStyle = m_dwStyle;
    if (!(dwStyle & CBRS_BORDER_ANY))
        return;
    int cx = CxBorder();
    int cy = CyBorder();
    COLORREF clrDark = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF clrLight = ::GetSysColor(COLOR_BTNHIGHLIGHT);

    // The dark lines lie on the edges, with a 3-D border the right and bottom ones one pixel in
    // (the light line takes the edge); the side lines leave the top and bottom borders free.
    int xRight = rect.right - ((dwStyle & CBRS_BORDER_3D) ? cx : 0);
    int yBottom = rect.bottom - ((dwStyle & CBRS_BORDER_3D) ? cy : 0);
    int ySideTop = rect.top + ((dwStyle & CBRS_BORDER_TOP) ? CyBorder2() : 0);
    int ySideBottom = rect.bottom - ((dwStyle & CBRS_BORDER_BOTTOM) ? CyBorder2() : 0);
    int cySide = ySideBottom - ySideTop;
    if (dwStyle & CBRS_BORDER_LEFT)
        pDC->FillSolidRect(rect.left, ySideTop, cx, cySide, clrDark);
    if (dwStyle & CBRS_BORDER_TOP)
        pDC->FillSolidRect(rect.left, rect.top, rect.Width(), cy, clrDark);
    if (dwStyle & CBRS_BORDER_RIGHT)
        pDC->FillSolidRect(xRight - cx, ySideTop, cx, cySide, clrDark);
    if (dwStyle & CBRS_BORDER_BOTTOM)
        pDC->FillSolidRect(rect.left, yBottom - cy, rect.Width(), cy, clrDark);
    if (dwStyle & CBRS_BORDER_3D) {
        if (dwStyle & CBRS_BORDER_LEFT)
            pDC->FillSolidRect(rect.left + cx, ySideTop, cx, cySide, clrLight);
        if (dwStyle & CBRS_BORDER_TOP)
            pDC->FillSolidRect(rect.left, rect.top + cy, rect.Width(), cy, clrLight);
        if (dwStyle & CBRS_BORDER_RIGHT)
            pDC->FillSolidRect(rect.right - cx, ySideTop, cx, cySide, clrLight);
        if (dwStyle & CBRS_BORDER_BOTTOM)
            pDC->FillSolidRect(rect.left, rect.bottom - cy, rect.Width(), cy, clrLight);
    }
    ShrinkByBorders(rect, dwStyle);
}

void CControlBar::DrawGripper(CDC* pDC, const CRect& rect)
{
    // only a docked bar has one
    if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) != CBRS_GRIPPER)
        return;
    COLORREF clrLight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF clrDark = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_dwStyle & CBRS_ORIENT_HORZ)
        pDC->Draw3dRect(rect.left + kGripperBorder, rect.top + m_cyTopBorder, kGripperSize,
                        rect.Height() - m_cyTopBorder - m_cyBottomBorder, clrLight, clrDark);
    else
        pDC->Draw3dRect(rect.left + m_cyTopBorder, rect.top + kGripperBorder,
                        rect.Width() - m_cyTopBorder - m_cyBottomBorder, kGripperSize, clrLight, clrDark);
}

void CControlBar::EraseNonClient()
{
    // a window DC clipped to the non-client area
    CWindowDC dc(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    ScreenToClient(&rectWindow);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    dc.ExcludeClipRect(&rectClient);

    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    DrawBorders(&dc, rectWindow);
    // the rest of the non-client area takes the bar's background
    dc.IntersectClipRect(&rectWindow);
    SendMessage(WM_ERASEBKGND, (WPARAM)dc.m_hDC);
    DrawGripper(&dc, rectWindow);
}

void CControlBar::OnNcPaint() { EraseNonClient(); }

void CControlBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    // The system's own processing only: some controls (flat toolbars) repaint wrongly when their
    // class sees the message.
    ::DefWindowProcA(m_hWnd, WM_WINDOWPOSCHANGING, 0, (LPARAM)lpWndPos);
    if (lpWndPos->flags & SWP_NOSIZE)
        return;
    // the borders at the right and bottom move with a new size
    CRect rectOld;
    GetWindowRect(&rectOld);
    int cx = lpWndPos->cx;
    int cy = lpWndPos->cy;
    if (cx != rectOld.Width() && (m_dwStyle & CBRS_BORDER_RIGHT)) {
        CRect rect(cx - CxBorder2(), 0, cx, cy);
        InvalidateRect(&rect);
        rect.SetRect(rectOld.Width() - CxBorder2(), 0, rectOld.Width(), cy);
        InvalidateRect(&rect);
    }
    if (cy != rectOld.Height() && (m_dwStyle & CBRS_BORDER_BOTTOM)) {
        CRect rect(0, cy - CyBorder2(), cx, cy);
        InvalidateRect(&rect);
        rect.SetRect(0, rectOld.Height() - CyBorder2(), cx, rectOld.Height());
        InvalidateRect(&rect);
    }
}

// ---- creation and destruction ------------------------------------------------------------------

int CControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_dwStyle & CBRS_TOOLTIPS)
        EnableToolTips();
    // the frame the bar is made in keeps it in its list (its layout, its saved state)
    CWnd* pParent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
    if (pParent != NULL && pParent->IsFrameWnd()) {
        m_pDockSite = (CFrameWnd*)pParent;
        m_pDockSite->AddControlBar(this);
    }
    return 0;
}

void CControlBar::OnDestroy()
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pLastStatus == this)
        SetStatusText(-1);
    // a dock bar must not keep a bar whose window is gone
    if (m_pDockBar != NULL && !IsDockBar()) {
        int nPos = m_pDockBar->FindBar(this);
        if (nPos > 0) {
            m_pDockBar->m_arrBars.RemoveAt(nPos);
            if (nPos < m_pDockBar->m_arrBars.GetSize() && m_pDockBar->m_arrBars[nPos - 1] == NULL &&
                m_pDockBar->m_arrBars[nPos] == NULL)
                m_pDockBar->m_arrBars.RemoveAt(nPos);
        }
        m_pDockBar = NULL;
    }
    if (m_pDockSite != NULL) {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite = NULL;
    }
    CWnd::OnDestroy();
}

// ---- mouse -------------------------------------------------------------------------------------

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    // a press beside the tools (the gripper, the borders) drags a docked bar
    if (m_pDockBar != NULL && m_pDockContext != NULL && OnToolHitTest(point, NULL) == -1) {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
        return;
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_pDockBar != NULL && m_pDockContext != NULL && OnToolHitTest(point, NULL) == -1) {
        m_pDockContext->ToggleDocking();
        return;
    }
    CWnd::OnLButtonDblClk(nFlags, point);
}

int CControlBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    if (!IsFloating())
        return CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    // a floating bar never becomes the active window: its frame's top-level frame does
    ActivateTopParent(this);
    return MA_NOACTIVATE;
}

// ---- messages for the owner --------------------------------------------------------------------

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
        // the bar's own handlers first, then its owner (the frame)
        LRESULT lResult = 0;
        if (OnWndMsg(message, wParam, lParam, &lResult))
            return lResult;
        CWnd* pOwner = GetOwner();
        if (pOwner == NULL)
            return CWnd::WindowProc(message, wParam, lParam);
        lResult = pOwner->SendMessage(message, wParam, lParam);
        // a tooltip text that the owner left empty is the bar's to give
        if (message == WM_NOTIFY) {
            NMHDR* pNMHDR = (NMHDR*)lParam;
            if (pNMHDR->code == TTN_NEEDTEXTA) {
                TOOLTIPTEXTA* pTTTA = (TOOLTIPTEXTA*)pNMHDR;
                if (pTTTA->lpszText == NULL || (pTTTA->lpszText != LPSTR_TEXTCALLBACKA && *pTTTA->lpszText == '\0'))
                    lResult = CWnd::WindowProc(message, wParam, lParam);
            } else if (pNMHDR->code == TTN_NEEDTEXTW) {
                TOOLTIPTEXTW* pTTTW = (TOOLTIPTEXTW*)pNMHDR;
                if (pTTTW->lpszText == NULL || (pTTTW->lpszText != LPSTR_TEXTCALLBACKW && *pTTTW->lpszText == L'\0'))
                    lResult = CWnd::WindowProc(message, wParam, lParam);
            }
        }
        return lResult;
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

// ---- fly-by help -------------------------------------------------------------------------------

BOOL CControlBar::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE; // tooltips

    UINT message = pMsg->message;
    BOOL bClientMouse = message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEWHEEL;
    BOOL bNcMouse = message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK;
    if ((bClientMouse || bNcMouse) && ((m_dwStyle & CBRS_FLYBY) || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)) {
        _AFX_THREAD_STATE* pState = AfxGetThreadState();
        CPoint point = MessagePoint(*pMsg);
        ScreenToClient(&point);
        TOOLINFO ti;
        memset(&ti, 0, sizeof(ti));
        ti.cbSize = sizeof(ti);
        INT_PTR nHit = OnToolHitTest(point, &ti);
        BOOL bNotButton = message == WM_LBUTTONDOWN && (ti.uFlags & TTF_NOTBUTTON);
        // the left button's state as the message knows it
        BOOL bLeftDown = bClientMouse ? (pMsg->wParam & MK_LBUTTON) != 0 && message != WM_LBUTTONUP
                                      : ::GetKeyState(VK_LBUTTON) < 0;
        // while the button is held the text stays with the tool it was pressed on
        if (message != WM_LBUTTONDOWN && bLeftDown)
            nHit = pState->m_nLastStatus;
        if (nHit < 0 || bNotButton) {
            if (!bLeftDown || bNotButton) {
                SetStatusText(-1);
                KillTimer(AFX_ID_TIMER_CHECK);
            }
        } else if (message == WM_LBUTTONUP) {
            SetStatusText(-1);
            ResetTimer(AFX_ID_TIMER_CHECK, 200);
        } else if ((m_nStateFlags & statusSet) || bLeftDown) {
            SetStatusText(nHit);
        } else if (nHit != pState->m_nLastStatus) {
            ResetTimer(AFX_ID_TIMER_WAIT, 300);
        }
        pState->m_nLastStatus = nHit;
    }

    // in context-help mode the bar's controls get no keys
    CFrameWnd* pTopFrame = GetTopLevelFrame();
    if (pTopFrame != NULL && pTopFrame->m_bHelpMode)
        return FALSE;
    // The owner and its frames translate their accelerators before the dialog keys of the bar's
    // controls could take them.
    for (CWnd* pOwner = GetOwner(); pOwner != NULL; pOwner = pOwner->GetParentFrame()) {
        if (pOwner->PreTranslateMessage(pMsg))
            return TRUE;
    }
    // the dialog manager's keys for the bar's controls (Tab, arrows, mnemonics)
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST && ::GetTopWindow(m_hWnd) != NULL &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
        return ::IsDialogMessageA(m_hWnd, pMsg);
    return FALSE;
}

BOOL CControlBar::SetStatusText(INT_PTR nHit)
{
    CWnd* pOwner = GetOwner();
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (nHit == -1) {
        if (pState->m_pLastStatus == this)
            pState->m_pLastStatus = NULL;
        if (m_nStateFlags & statusSet) {
            m_nStateFlags &= ~statusSet;
            if (pOwner != NULL)
                pOwner->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
            return TRUE;
        }
        KillTimer(AFX_ID_TIMER_WAIT);
        return FALSE;
    }
    if ((m_nStateFlags & statusSet) && pState->m_nLastStatus == nHit)
        return FALSE; // shown already
    // another bar's text is replaced: that bar must not take the new one away later
    CControlBar* pLast = pState->m_pLastStatus;
    if (pLast != NULL && pLast != this) {
        pLast->m_nStateFlags &= ~statusSet;
        if (pLast->m_hWnd != NULL) {
            pLast->KillTimer(AFX_ID_TIMER_CHECK);
            pLast->KillTimer(AFX_ID_TIMER_WAIT);
        }
    }
    pState->m_pLastStatus = this;
    if (pOwner != NULL)
        pOwner->SendMessage(WM_SETMESSAGESTRING, (WPARAM)nHit);
    m_nStateFlags |= statusSet;
    ResetTimer(AFX_ID_TIMER_CHECK, 200);
    return TRUE;
}

void CControlBar::ResetTimer(UINT_PTR nEvent, UINT nTime)
{
    KillTimer(AFX_ID_TIMER_WAIT);
    KillTimer(AFX_ID_TIMER_CHECK);
    SetTimer(nEvent, nTime, NULL);
}

void CControlBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != AFX_ID_TIMER_WAIT && nIDEvent != AFX_ID_TIMER_CHECK) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    if (::GetKeyState(VK_LBUTTON) < 0)
        return; // a held button decides (PreTranslateMessage)

    CPoint ptScreen;
    ::GetCursorPos(&ptScreen);
    CPoint point = ptScreen;
    ScreenToClient(&point);
    INT_PTR nHit = OnToolHitTest(point, NULL);
    if (nHit >= 0) {
        // No text while the program is not the active one, its frame is disabled, another
        // window tracks the mouse or the mouse is over another window.
        CWnd* pTop = GetTopLevelParent();
        HWND hWndForeground = ::GetForegroundWindow();
        if (pTop == NULL || !pTop->IsWindowEnabled() ||
            (hWndForeground != pTop->m_hWnd && hWndForeground != ::GetLastActivePopup(pTop->m_hWnd)))
            nHit = -1;
        else if (::GetCapture() != NULL && ::GetCapture() != m_hWnd)
            nHit = -1;
        else if (::WindowFromPoint(ptScreen) != m_hWnd)
            nHit = -1;
    }
    if (nHit < 0) {
        if (nIDEvent == AFX_ID_TIMER_CHECK)
            KillTimer(AFX_ID_TIMER_CHECK);
        SetStatusText(-1);
    } else {
        if (nIDEvent == AFX_ID_TIMER_WAIT)
            KillTimer(AFX_ID_TIMER_WAIT);
        SetStatusText(nHit);
    }
}

// ---- saved state -------------------------------------------------------------------------------

void CControlBar::GetBarInfo(CControlBarInfo* pInfo)
{
    pInfo->m_nBarID = BarId(m_hWnd);
    pInfo->m_pBar = this;
    pInfo->m_bVisible = IsVisible();
    pInfo->m_nMRUWidth = m_nMRUWidth;
    if (m_pDockBar != NULL) {
        // a docked (or floating) bar's place in its dock bar
        CRect rect;
        GetWindowRect(&rect);
        m_pDockBar->ScreenToClient(&rect);
        pInfo->m_pointPos = rect.TopLeft();
        if (m_pDockContext != NULL) {
            pInfo->m_bDocking = TRUE;
            pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
            pInfo->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
            pInfo->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
            pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
        }
    }
}

void CControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd*)
{
    m_nMRUWidth = pInfo->m_nMRUWidth;
    // a floating bar takes its floating shape now; a docked one gets its shape from its dock bar
    if (m_dwStyle & CBRS_FLOATING)
        CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    if (pInfo->m_bDocking && m_pDockContext != NULL) {
        m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
        m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
        m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
        m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
    }
    // the position counts only inside a dock bar
    UINT nFlags = SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER | (pInfo->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (m_pDockBar == NULL)
        nFlags |= SWP_NOMOVE;
    SetWindowPos(NULL, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0, nFlags);
}
