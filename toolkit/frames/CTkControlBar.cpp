#include "CTkControlBar.h"

#include <afxpriv.h>

#include "CTkDockBar.h"
#include "CTkDockContext.h"
#include "CTkGlobalData.h"
#include "CTkMemDC.h"
#include "CTkMenuBar.h"
#include "CTkPopupMenu.h"
#include "CTkWndHook.h"
#include "ToolkitResource.h"

namespace {

CString LoadTkString(UINT nID)
{
    char sz[256] = "";
    ::LoadStringA(tkAfxData.hInstance, nID, sz, sizeof(sz));
    return CString(sz);
}

// The control id of the window that holds the bar.
UINT ParentId(HWND hWnd)
{
    HWND hParent = ::GetParent(hWnd);
    return hParent != NULL ? (UINT)::GetDlgCtrlID(hParent) : 0;
}

} // namespace

IMPLEMENT_DYNAMIC(CTkControlBar, CControlBar)

BEGIN_MESSAGE_MAP(CTkControlBar, CControlBar)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_NCPAINT()
ON_WM_ERASEBKGND()
ON_WM_WINDOWPOSCHANGING()
ON_WM_SETCURSOR()
ON_WM_RBUTTONDOWN()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(TKWM_ADDREBAR, OnAddReBar)
ON_MESSAGE(TKWM_REBAR_FITBAND, OnReBarFitBand)
ON_MESSAGE(TKWM_QUERY_FULLDRAG, OnQueryFullDrag)
ON_MESSAGE(TKWM_QUERY_FLOATOFFSET, OnQueryFloatOffset)
END_MESSAGE_MAP()

CTkControlBar::CTkControlBar()
    : m_pCreationFrame(NULL), m_pFrameHook(NULL), m_pOwnedObject(NULL), m_nContextSubMenu(0),
      m_nContextMenuID(0), m_bInRebar(0), m_bListed(1), m_bDockToFrame(0)
{
    memset(&m_barPosition, 0, sizeof(m_barPosition));
    for (int i = 0; i < 4; i++) {
        m_barPosition.sizes[i][0] = 200;
        m_barPosition.sizes[i][1] = 100;
    }
    m_barPosition.dwTkStyle = TKCBRS_DEFAULT;
    m_cxLeftBorder = 6;
    m_cxRightBorder = 6;
    m_cyTopBorder = 1;
    m_cyBottomBorder = 1;
    m_cxDefaultGap = 2;
    m_nMRUWidth = 32767;
    m_bAutoDelete = FALSE;
    m_hWndOwner = NULL;
    m_pDockSite = NULL;
    m_pDockBar = NULL;
    m_pDockContext = NULL;
    m_dwStyle = 0;
    m_dwDockStyle = 0;
    CreateBarFonts();
}

CTkControlBar::~CTkControlBar()
{
    delete m_pFrameHook;
    delete m_pOwnedObject;
    m_fontNormal.DeleteObject();
    m_fontVert.DeleteObject();
    m_fontBold.DeleteObject();
}

void CTkControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & (CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI);
    if (m_pDockContext == NULL)
        m_pDockContext = new CTkDockContext(this);
    if (m_hWndOwner == NULL && m_hWnd != NULL)
        m_hWndOwner = ::GetParent(m_hWnd);
}

void CTkControlBar::EnableDocking(DWORD dwDockStyle, DWORD dwAddTkStyle)
{
    EnableDocking(dwDockStyle);
    SetTkBarStyle(GetTkBarStyle() | dwAddTkStyle);
}

void CTkControlBar::AddVisibilityListener(TKBARVISIBILITYPROC pfn, void* pListener)
{
    m_arrListeners.Add(VisibilityListener{pfn, pListener});
}

void CTkControlBar::RemoveVisibilityListener(TKBARVISIBILITYPROC pfn, void* pListener)
{
    for (INT_PTR i = m_arrListeners.GetSize() - 1; i >= 0; i--) {
        if (m_arrListeners[i].pfn == pfn && m_arrListeners[i].pListener == pListener)
            m_arrListeners.RemoveAt(i);
    }
}

void CTkControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

void CTkControlBar::SetBorders(LPCRECT lpRect) { SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }

CRect CTkControlBar::GetBorders() const
{
    return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
}

DWORD CTkControlBar::GetTkBarStyle() const { return m_barPosition.dwTkStyle; }

void CTkControlBar::SetTkBarStyle(DWORD dwStyle)
{
    if (m_barPosition.dwTkStyle != dwStyle)
        m_barPosition.dwTkStyle = dwStyle;
}

BOOL CTkControlBar::ModifyTkBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw)
{
    SetTkBarStyle((GetTkBarStyle() & ~dwRemove) | dwAdd);
    if (m_hWnd != NULL) {
        SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
        if (bRedraw)
            InvalidateRect(NULL);
    }
    // the toolkit's dock bar that holds the bar keeps a copy of the word
    if (m_pDockBar != NULL && m_pDockBar->IsKindOf(RUNTIME_CLASS(CTkDockBar))) {
        CTkDockBar* pDockBar = (CTkDockBar*)m_pDockBar;
        pDockBar->m_dwTkBarStyle = GetTkBarStyle();
        if (bRedraw && pDockBar->m_hWnd != NULL)
            pDockBar->Invalidate();
    }
    return TRUE;
}

void CTkControlBar::SetContextMenuID(UINT nMenuID, int nSubMenu)
{
    m_nContextMenuID = nMenuID;
    m_nContextSubMenu = nSubMenu;
}

UINT CTkControlBar::GetContextMenuID() const { return m_nContextMenuID; }

BOOL CTkControlBar::IsLeftDocked() const { return ParentId(m_hWnd) == AFX_IDW_DOCKBAR_LEFT; }
BOOL CTkControlBar::IsRightDocked() const { return ParentId(m_hWnd) == AFX_IDW_DOCKBAR_RIGHT; }
BOOL CTkControlBar::IsTopDocked() const { return ParentId(m_hWnd) == AFX_IDW_DOCKBAR_TOP; }
BOOL CTkControlBar::IsBottomDocked() const { return ParentId(m_hWnd) == AFX_IDW_DOCKBAR_BOTTOM; }
BOOL CTkControlBar::IsHorzDocked() const { return IsTopDocked() || IsBottomDocked(); }
BOOL CTkControlBar::IsVertDocked() const { return IsLeftDocked() || IsRightDocked(); }
BOOL CTkControlBar::IsUndocked() const { return !IsHorzDocked() && !IsVertDocked(); }

COLORREF CTkControlBar::GetBackgroundColor() const { return tkAfxData.clr3DFace; }

BOOL CTkControlBar::CanDockToFrame(CFrameWnd*) { return m_bDockToFrame; }

BOOL CTkControlBar::OnAddedToRebar(REBARBANDINFOA* pRBBI, BOOL bHorz)
{
    CSize size = CalcFixedLayout(FALSE, bHorz);
    pRBBI->fMask |= RBBIM_CHILDSIZE;
    pRBBI->cxMinChild = size.cx;
    pRBBI->cyMinChild = size.cy;
    return TRUE;
}

void CTkControlBar::OnRebarFitBand(TK_REBAR_FITBAND*, BOOL) {}

BOOL CTkControlBar::IsFullWindowDrag() { return FALSE; }

BOOL CTkControlBar::GetFloatingDragOffset(LPSIZE) { return FALSE; }

void CTkControlBar::RehookParentFrame()
{
    if (m_pFrameHook == NULL)
        return;
    m_pFrameHook->HookWindow((HWND)NULL);
    CFrameWnd* pFrame = GetParentFrame();
    if (m_pCreationFrame != NULL && pFrame != NULL && m_pCreationFrame != pFrame)
        m_pFrameHook->HookWindow(pFrame);
}

void CTkControlBar::CreateBarFonts()
{
    m_fontNormal.DeleteObject();
    m_fontVert.DeleteObject();
    m_fontBold.DeleteObject();
    HDC hdc = ::GetDC(NULL);
    int nHeight = -::MulDiv(8, ::GetDeviceCaps(hdc, LOGPIXELSY), 72);
    ::ReleaseDC(NULL, hdc);
    CFont* fonts[3][2] = {{&tkAfxData.fontMenu, &m_fontNormal},
                          {&tkAfxData.fontVert, &m_fontVert},
                          {&tkAfxData.fontMenuBold, &m_fontBold}};
    for (auto& f : fonts) {
        LOGFONTA lf;
        memset(&lf, 0, sizeof(lf));
        if (f[0]->m_hObject != NULL)
            f[0]->GetLogFont(&lf);
        lf.lfHeight = nHeight;
        f[1]->CreateFontIndirect(&lf);
    }
}

void CTkControlBar::DrawGripper(CDC* pDC, const CRect& rect)
{
    if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) != CBRS_GRIPPER)
        return;
    COLORREF clrShadow = tkAfxData.clr3DShadow;
    COLORREF clrHilight = tkAfxData.clr3DHilight;
    BOOL bHorz = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
    int cx = rect.Width();
    int cy = rect.Height();
    if (GetTkBarStyle() & TKCBRS_DOUBLE_GRIPPER) {
        for (int n = 2; n <= 5; n += 3) {
            if (bHorz) {
                int x = rect.left + n;
                pDC->Draw3dRect(x, rect.top + 2, 3, cy - 4, clrHilight, clrShadow);
                pDC->SetPixel(x, rect.top + cy - 3, clrHilight);
            } else {
                int y = rect.top + n;
                pDC->Draw3dRect(rect.left + 2, y, cx - 4, 3, clrHilight, clrShadow);
                pDC->SetPixel(rect.left + cx - 3, y, clrHilight);
            }
        }
    } else if (tkAfxData.bFlatLook) {
        CPen pen(PS_SOLID, 1, tkAfxData.clrToolkit[38 - 30]);
        CPen* pOld = pDC->SelectObject(&pen);
        if (bHorz) {
            if (cy - 9 > 0) {
                for (int i = 0; i < (cy - 8) / 2; i++) {
                    int y = rect.top + 4 + 2 * i;
                    pDC->MoveTo(rect.left + 2, y);
                    pDC->LineTo(rect.left + 5, y);
                }
            }
        } else if (cx - 9 > 0) {
            for (int i = 0; i < (cx - 8) / 2; i++) {
                int x = rect.left + 4 + 2 * i;
                pDC->MoveTo(x, rect.top + 2);
                pDC->LineTo(x, rect.top + 5);
            }
        }
        pDC->SelectObject(pOld);
    } else if (bHorz) {
        pDC->Draw3dRect(rect.left + 2, rect.top + m_cyTopBorder + 2, 3, cy - m_cyTopBorder - m_cyBottomBorder - 4,
                        clrHilight, clrShadow);
    } else {
        pDC->Draw3dRect(rect.left + m_cyTopBorder + 2, rect.top + 2, cx - m_cyTopBorder - m_cyBottomBorder - 4, 3,
                        clrHilight, clrShadow);
    }
}

void CTkControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    DWORD dwStyle = m_dwStyle;
    if (!(dwStyle & CBRS_BORDER_ANY))
        return;
    COLORREF clrDark = tkAfxData.clr3DShadow;
    COLORREF clrLight = tkAfxData.clr3DHilight;
    BOOL bReBar = IsKindOf(RUNTIME_CLASS(CReBar));
    if (tkAfxData.bFlatLook && !bReBar)
        clrDark = clrLight = tkAfxData.clr3DFace;

    CRect rc = rect;
    if (dwStyle & CBRS_BORDER_3D) {
        rc.right -= 1;
        rc.bottom -= 1;
    }
    int yTop = rect.top + ((dwStyle & CBRS_BORDER_TOP) ? afxData.cyBorder2 : 0);
    int yBottom = rc.bottom - ((dwStyle & CBRS_BORDER_BOTTOM) ? afxData.cyBorder2 : 0);
    int cxRect = rect.Width();
    if (dwStyle & CBRS_BORDER_LEFT)
        pDC->FillSolidRect(rect.left, yTop, 1, yBottom - yTop, clrDark);
    if (dwStyle & CBRS_BORDER_TOP)
        pDC->FillSolidRect(rect.left, rect.top, cxRect, 1, clrDark);
    if (dwStyle & CBRS_BORDER_RIGHT)
        pDC->FillSolidRect(rc.right - 1, yTop, 1, yBottom - yTop, clrDark);
    if (dwStyle & CBRS_BORDER_BOTTOM)
        pDC->FillSolidRect(rect.left, rc.bottom - 1, cxRect, 1, clrDark);
    if (dwStyle & CBRS_BORDER_3D) {
        if (dwStyle & CBRS_BORDER_LEFT)
            pDC->FillSolidRect(rect.left + 1, yTop, 1, yBottom - yTop, clrLight);
        if (dwStyle & CBRS_BORDER_TOP)
            pDC->FillSolidRect(rect.left, rect.top + 1, cxRect - 3, 1, clrLight);
        if (dwStyle & CBRS_BORDER_RIGHT)
            pDC->FillSolidRect(rect.right - 1, yTop, 1, yBottom - yTop, clrLight);
        if (dwStyle & CBRS_BORDER_BOTTOM)
            pDC->FillSolidRect(rect.left, rect.bottom - 1, cxRect, 1, clrLight);
    }

    if (m_bInRebar) {
        if (dwStyle & CBRS_BORDER_LEFT)
            rect.left += afxData.cxBorder2;
        if (dwStyle & CBRS_BORDER_TOP)
            rect.top += afxData.cyBorder2;
        if (dwStyle & CBRS_BORDER_RIGHT)
            rect.right -= afxData.cxBorder2;
        if (dwStyle & CBRS_BORDER_BOTTOM)
            rect.bottom -= afxData.cyBorder2;
        return;
    }
    // one more frame line on each bordered side
    if (dwStyle & CBRS_BORDER_RIGHT) {
        pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), clrDark);
        rect.right -= 1;
    }
    if (dwStyle & CBRS_BORDER_BOTTOM) {
        pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, clrDark);
        rect.bottom -= 1;
    }
    if (dwStyle & CBRS_BORDER_TOP) {
        pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, clrLight);
        rect.top += 1;
    }
    if (dwStyle & CBRS_BORDER_LEFT) {
        pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), clrLight);
        rect.left += 1;
    }
}

void CTkControlBar::EraseNonClient()
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
    {
        CTkMemDC memDC(&dc, rectWindow, GetBackgroundColor());
        CRect rect = rectWindow;
        DrawBorders(&memDC, rect);
        memDC.FillSolidRect(&rect, GetBackgroundColor());
        DrawGripper(&memDC, rect);
        // the toolbar softens its corners in the flat look (it sets the pixels itself)
    }
}

BOOL CTkControlBar::IsCursorInGripper()
{
    if (!(m_dwStyle & CBRS_GRIPPER))
        return FALSE;
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    ScreenToClient(&rectWindow);
    CRect rectClient;
    GetClientRect(&rectClient);
    if (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM))
        rectWindow.right = rectClient.left;
    else
        rectWindow.bottom = rectClient.top;
    return rectWindow.PtInRect(pt);
}

BOOL CTkControlBar::BuildBarsMenu(CMenu& menu, CFrameWnd* pFrame)
{
    // the candidates in reverse order of the frame's list
    CPtrList candidates;
    POSITION pos = pFrame->m_listControlBars.GetHeadPosition();
    while (pos != NULL) {
        CControlBar* pBar = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
        if (pBar->IsKindOf(RUNTIME_CLASS(CReBar)) || pBar->IsKindOf(RUNTIME_CLASS(CTkMenuBar)))
            continue;
        if (pBar->IsKindOf(RUNTIME_CLASS(CTkControlBar)) || pBar->IsKindOf(RUNTIME_CLASS(CStatusBar)))
            candidates.AddHead(pBar);
    }
    if (!menu.CreatePopupMenu())
        return FALSE;
    BOOL bAny = FALSE;
    auto append = [&](CControlBar* pBar, const CString& strText) {
        UINT nFlags = MF_STRING | (pBar->GetStyle() & WS_VISIBLE ? MF_CHECKED : 0);
        menu.AppendMenu(nFlags, (UINT_PTR)::GetDlgCtrlID(pBar->m_hWnd), strText);
        bAny = TRUE;
    };
    // the groups of docking windows and toolbars join with their classes; then the other
    // listed toolkit bars and the status bars
    if (tkAfxData.bBarMenus) {
        pos = candidates.GetHeadPosition();
        while (pos != NULL) {
            POSITION posThis = pos;
            CControlBar* pBar = (CControlBar*)candidates.GetNext(pos);
            if (!pBar->IsKindOf(RUNTIME_CLASS(CTkControlBar)) || !((CTkControlBar*)pBar)->m_bListed)
                continue;
            CString strText;
            pBar->GetWindowText(strText);
            append(pBar, strText.IsEmpty() ? LoadTkString(IDS_TK_CONTROL_BAR) : strText);
            candidates.RemoveAt(posThis);
        }
    }
    pos = candidates.GetHeadPosition();
    while (pos != NULL) {
        CControlBar* pBar = (CControlBar*)candidates.GetNext(pos);
        if (pBar->IsKindOf(RUNTIME_CLASS(CStatusBar)))
            append(pBar, LoadTkString(IDS_TK_STATUS_BAR));
    }
    return bAny;
}

BOOL CTkControlBar::ShowBarsContextMenu(CPoint point, CFrameWnd* pFrame)
{
    CTkPopupMenu menu;
    if (BuildBarsMenu(menu, pFrame))
        menu.TrackPopupMenu(0, point.x, point.y, pFrame, NULL, TRUE);
    return TRUE;
}

BOOL CTkControlBar::IsUpdateTarget(CWnd*) { return FALSE; }

LRESULT CTkControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM: {
        LRESULT lResult = 0;
        if (OnWndMsg(message, wParam, lParam, &lResult))
            return lResult;
        CWnd* pOwner = GetOwner();
        HWND hOwner = pOwner != NULL ? pOwner->m_hWnd : ::GetParent(m_hWnd);
        lResult = hOwner != NULL ? ::SendMessageA(hOwner, message, wParam, lParam) : 0;
        if (message == WM_NOTIFY) {
            NMHDR* pNMHDR = (NMHDR*)lParam;
            if (pNMHDR->code == TTN_NEEDTEXTA) {
                NMTTDISPINFOA* p = (NMTTDISPINFOA*)lParam;
                if (p->hinst == NULL && (p->lpszText == NULL || *p->lpszText == 0) && p->szText[0] == 0)
                    return DefWindowProc(message, wParam, lParam);
            } else if (pNMHDR->code == TTN_NEEDTEXTW) {
                NMTTDISPINFOW* p = (NMTTDISPINFOW*)lParam;
                if (p->hinst == NULL && (p->lpszText == NULL || *p->lpszText == 0) && p->szText[0] == 0)
                    return DefWindowProc(message, wParam, lParam);
            }
        }
        return lResult;
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

void CTkControlBar::DelayShow(BOOL bShow)
{
    CControlBar::DelayShow(bShow);
    BOOL bVisible = IsVisible();
    for (INT_PTR i = 0; i < m_arrListeners.GetSize(); i++) {
        if (m_arrListeners[i].pListener != NULL)
            m_arrListeners[i].pfn(m_arrListeners[i].pListener, bVisible);
    }
}

void CTkControlBar::DoPaint(CDC*) {}

BOOL CTkControlBar::SetStatusText(INT_PTR nHit)
{
    if (!CControlBar::SetStatusText(nHit))
        return FALSE;
    CWnd* pOwner = GetOwner();
    HWND hOwner = pOwner != NULL ? pOwner->m_hWnd : ::GetParent(m_hWnd);
    if (hOwner != NULL && ::GetDlgItem(hOwner, AFX_IDW_STATUS_BAR) != NULL)
        return TRUE;
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != NULL) {
        if (nHit == -1)
            pMain->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
        else
            pMain->SendMessage(WM_SETMESSAGESTRING, (WPARAM)nHit);
    }
    return TRUE;
}

int CTkControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    SendMessage(WM_SETFONT, (WPARAM)tkAfxData.fontMenu.m_hObject);
    m_pCreationFrame = GetParentFrame();
    return 0;
}

void CTkControlBar::OnDestroy()
{
    CWnd* pTop = GetTopLevelFrame();
    CFrameWnd* pTopFrame = pTop != NULL && pTop->IsFrameWnd() ? (CFrameWnd*)pTop : NULL;
    CFrameWnd* pParent = GetParentFrame();
    if (pParent == pTopFrame || (pParent != NULL && pParent->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd))))
        pParent = NULL;
    CFrameWnd* pCreation = m_pCreationFrame;
    if (pCreation == pTopFrame || pCreation == pParent)
        pCreation = NULL;
    for (CFrameWnd* pFrame : {pTopFrame, pParent, pCreation}) {
        if (pFrame == NULL || pFrame->m_hWnd == NULL)
            continue;
        CView* pView = pFrame->GetActiveView();
        if (pView != NULL && ::IsChild(m_hWnd, pView->m_hWnd))
            pFrame->SetActiveView(NULL, TRUE);
    }
    CControlBar::OnDestroy();
}

void CTkControlBar::OnPaint()
{
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    CTkMemDC memDC(&dc, rect, GetBackgroundColor());
    if (IsVisible())
        DoPaint(&memDC);
}

void CTkControlBar::OnNcPaint() { EraseNonClient(); }

BOOL CTkControlBar::OnEraseBkgnd(CDC*) { return FALSE; }

void CTkControlBar::OnWindowPosChanging(WINDOWPOS* lpWndPos) { CControlBar::OnWindowPosChanging(lpWndPos); }

BOOL CTkControlBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (!m_bInRebar && ((m_pDockContext != NULL && m_pDockContext->m_bDragging) || IsCursorInGripper())) {
        ::SetCursor(tkAfxData.hcurMove);
        return TRUE;
    }
    return CControlBar::OnSetCursor(pWnd, nHitTest, message);
}

void CTkControlBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (!m_bListed || !tkAfxData.bBarMenus) {
        Default();
        return;
    }
    ClientToScreen(&point);
    if (m_nContextMenuID != 0) {
        CTkPopupMenu menu;
        if (menu.LoadMenu(m_nContextMenuID)) {
            CTkPopupMenu* pPopup = menu.GetSubMenu(m_nContextSubMenu);
            CWnd* pOwner = this;
            while (pOwner != NULL && (pOwner->GetStyle() & WS_CHILD))
                pOwner = pOwner->GetParent();
            if (pPopup != NULL)
                pPopup->TrackPopupMenu(0, point.x, point.y, pOwner, NULL, TRUE);
        }
        return;
    }
    CFrameWnd* pFrame = m_pDockSite;
    if (pFrame != NULL && (m_dwStyle & CBRS_GRIPPER) && !(m_dwStyle & CBRS_FLOATING) &&
        pFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
        pFrame = pFrame->GetParentFrame();
    if (pFrame == NULL)
        pFrame = GetParentFrame();
    if (pFrame != NULL && pFrame->IsFrameWnd()) {
        ShowBarsContextMenu(point, pFrame);
        pFrame->RecalcLayout(TRUE);
    }
}

LRESULT CTkControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    RecalcDelayShow(NULL);
    if (!(GetStyle() & WS_VISIBLE) || (m_pDockBar != NULL && !(m_pDockBar->GetStyle() & WS_VISIBLE)))
        return 0;
    CWnd* pOwner = GetOwner();
    CFrameWnd* pTarget = NULL;
    BOOL bInDialog = FALSE;
    for (CWnd* p = GetParent(); p != NULL; p = p->GetParent()) {
        if (p->IsKindOf(RUNTIME_CLASS(CDialog))) {
            bInDialog = TRUE;
            break;
        }
    }
    if (bInDialog)
        pTarget = pOwner != NULL && IsUpdateTarget(pOwner) ? (CFrameWnd*)pOwner : GetParentFrame();
    else
        pTarget = pOwner != NULL && pOwner->IsFrameWnd() ? (CFrameWnd*)pOwner : GetParentFrame();
    if (pTarget != NULL)
        OnUpdateCmdUI(pTarget, (BOOL)wParam);
    return 0;
}

LRESULT CTkControlBar::OnAddReBar(WPARAM wParam, LPARAM lParam)
{
    m_bInRebar = 1;
    return OnAddedToRebar((REBARBANDINFOA*)lParam, wParam != 0);
}

LRESULT CTkControlBar::OnReBarFitBand(WPARAM wParam, LPARAM lParam)
{
    OnRebarFitBand((TK_REBAR_FITBAND*)lParam, wParam != 0);
    return 0;
}

LRESULT CTkControlBar::OnQueryFullDrag(WPARAM, LPARAM) { return IsFullWindowDrag(); }

LRESULT CTkControlBar::OnQueryFloatOffset(WPARAM, LPARAM lParam) { return GetFloatingDragOffset((LPSIZE)lParam); }
