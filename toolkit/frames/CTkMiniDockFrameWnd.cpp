#include "CTkMiniDockFrameWnd.h"

#include "CTkControlBar.h"
#include "CTkCustomizeManager.h"
#include "CTkGlobalData.h"
#include "CTkMemDC.h"
#include "CTkMenuBar.h"
#include "CTkToolBar.h"
#include "TkColors.h"
#include "ToolkitResource.h"

IMPLEMENT_DYNCREATE(CTkMiniDockFrameWnd, CMiniDockFrameWnd)

namespace {
const UINT kCustomizeCommand = 53782; // chosen in the expand button's popup
}

BEGIN_MESSAGE_MAP(CTkMiniDockFrameWnd, CMiniDockFrameWnd)
ON_MESSAGE(TKWM_DEFERRED_INIT, OnDeferredInit)
ON_MESSAGE(TKWM_POPUP_CLOSED, OnPopupClosed)
ON_WM_SHOWWINDOW()
ON_WM_NCPAINT()
ON_WM_NCACTIVATE()
ON_WM_NCMOUSEMOVE()
ON_WM_NCLBUTTONDOWN()
ON_WM_NCLBUTTONUP()
ON_WM_NCLBUTTONDBLCLK()
ON_COMMAND(kCustomizeCommand, OnCustomize)
END_MESSAGE_MAP()

namespace {

// The toolkit's own colours of the caption.
const int kColorFlatFace = 30;
const int kColorHotFill = 31;
const int kColorPressedFill = 33;
const int kColorPopupFrame = 43;
const int kColorPressedGlyph = 45;

void ActivateTopParentOf(CWnd* pWnd)
{
    CWnd* pTop = pWnd->GetTopLevelParent();
    if (pTop != NULL && pTop->m_hWnd != NULL && ::GetActiveWindow() != pTop->m_hWnd)
        pTop->SetActiveWindow();
}

void Draw3dFrame(CDC* pDC, const CRect& rect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    pDC->Draw3dRect(&rect, clrTopLeft, clrBottomRight);
}

} // namespace

CTkMiniDockFrameWnd::CTkMiniDockFrameWnd() : m_bInitialized(0), m_listButtons(10), m_pOpenPopup(NULL), m_pPressedButton(NULL)
{
    m_imlGlyphs.Create(IDB_TK_FRAME_GLYPHS, 10, 1, RGB(255, 0, 255));
}

CTkMiniDockFrameWnd::~CTkMiniDockFrameWnd() { DeleteButtons(); }

void CTkMiniDockFrameWnd::DeleteButtons()
{
    while (!m_listButtons.IsEmpty())
        delete (TK_CAPTIONBUTTON*)m_listButtons.RemoveHead();
    m_pPressedButton = NULL;
}

BOOL CTkMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
    if (!CMiniDockFrameWnd::Create(pParent, dwBarStyle))
        return FALSE;
    m_bInitialized = 0;
    PostMessage(TKWM_DEFERRED_INIT, 0, 0);
    m_wndToolTip.Create(this, 0);
    return TRUE;
}

// ---- the bar ------------------------------------------------------------------------------------

bool CTkMiniDockFrameWnd::IsValidBar(CControlBar* pBar)
{
    return m_hWnd != NULL && pBar != NULL && pBar->IsKindOf(RUNTIME_CLASS(CControlBar));
}

bool CTkMiniDockFrameWnd::IsTkControlBar(CControlBar* pBar) { return IsValidBar(pBar) && pBar->IsKindOf(RUNTIME_CLASS(CTkControlBar)); }

bool CTkMiniDockFrameWnd::IsTkToolBar(CControlBar* pBar) { return IsValidBar(pBar) && pBar->IsKindOf(RUNTIME_CLASS(CTkToolBar)); }

bool CTkMiniDockFrameWnd::IsTkMenuBar(CControlBar* pBar) { return IsValidBar(pBar) && pBar->IsKindOf(RUNTIME_CLASS(CTkMenuBar)); }

// There are no docking windows yet: no bar is one.
bool CTkMiniDockFrameWnd::IsTkDockWindow(CControlBar*) { return false; }

CDockBar* CTkMiniDockFrameWnd::GetDockBar() { return &m_wndDockBar; }

CTkControlBar* CTkMiniDockFrameWnd::GetContainedBar()
{
    for (int nPos = 1; nPos < m_wndDockBar.m_arrBars.GetSize(); nPos++) {
        CControlBar* pBar = m_wndDockBar.GetDockedControlBar(nPos);
        if (pBar == NULL)
            continue;
        return IsTkControlBar(pBar) ? (CTkControlBar*)pBar : NULL;
    }
    return NULL;
}

CDockContext* CTkMiniDockFrameWnd::GetBarDockContext(CControlBar* pBar)
{
    return IsTkControlBar(pBar) ? pBar->m_pDockContext : NULL;
}

// ---- set-up -------------------------------------------------------------------------------------

LRESULT CTkMiniDockFrameWnd::OnDeferredInit(WPARAM, LPARAM)
{
    if (m_bInitialized)
        return 0;
    m_bInitialized = 1;
    CTkControlBar* pBar = GetContainedBar();
    if (pBar == NULL)
        return 0;
    if (!IsTkDockWindow(pBar)) {
        if (!IsTkMenuBar(pBar)) {
            DeleteButtons();
            TK_CAPTIONBUTTON* pClose = new TK_CAPTIONBUTTON{0, 0, 0, 0, 0, this, pBar};
            m_listButtons.AddTail(pClose);
            if (IsTkToolBar(pBar) && ((CTkToolBar*)pBar)->IsCustomizable())
                m_listButtons.AddTail(new TK_CAPTIONBUTTON{0, 0, 0, 0, 1, this, pBar});
        }
        ModifyStyle(WS_SYSMENU, 0);
    }
    RecalcLayout(TRUE);
    if (IsWindowVisible()) {
        Invalidate();
        SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    }
    return 0;
}

void CTkMiniDockFrameWnd::OnShowWindow(BOOL bShow, UINT nStatus)
{
    if (!m_bInitialized)
        SendMessage(TKWM_DEFERRED_INIT);
    CMiniDockFrameWnd::OnShowWindow(bShow, nStatus);
}

// ---- geometry -----------------------------------------------------------------------------------

CRect CTkMiniDockFrameWnd::CalcButtonRect(const CRect& rectWindow, int nType, BOOL bFlatLook, BOOL* pbHidden)
{
    int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    int cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    CRect rect;
    rect.right = rectWindow.right - cxEdge;
    if (nType == 1)
        rect.right -= tkAfxData.cxSmIcon - (bFlatLook ? 0 : 2);
    rect.top = rectWindow.top + cyEdge;
    rect.bottom = rect.top + tkAfxData.cySmIcon - 1;
    rect.left = rect.right - tkAfxData.cxSmIcon;
    if (!bFlatLook)
        rect.DeflateRect(2, 2);
    if (pbHidden != NULL)
        *pbHidden = rect.left < rectWindow.left + 2 * cxEdge;
    return rect;
}

CRect CTkMiniDockFrameWnd::GetButtonRect(TK_CAPTIONBUTTON* pButton, const RECT* pWindowRect)
{
    CRect rectWindow;
    if (pWindowRect != NULL)
        rectWindow = *pWindowRect;
    else
        GetWindowRect(&rectWindow);
    BOOL bHidden = FALSE;
    CRect rect = CalcButtonRect(rectWindow, pButton->nType, tkAfxData.bFlatLook, &bHidden);
    pButton->bHidden = (BYTE)bHidden;
    return rect;
}

void CTkMiniDockFrameWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    int cxMin = tkAfxData.cxSmIcon;
    if (m_hWnd != NULL) {
        CRect rectWindow;
        GetWindowRect(&rectWindow);
        rectWindow.OffsetRect(-rectWindow.TopLeft());
        for (POSITION pos = m_listButtons.GetHeadPosition(); pos != NULL;)
            cxMin += GetButtonRect((TK_CAPTIONBUTTON*)m_listButtons.GetNext(pos), &rectWindow).Width();
    }
    if (lpClientRect->right - lpClientRect->left < cxMin)
        lpClientRect->right = lpClientRect->left + cxMin;
    CMiniDockFrameWnd::CalcWindowRect(lpClientRect, nAdjustType);
}

// ---- painting -----------------------------------------------------------------------------------

BOOL CTkMiniDockFrameWnd::OnNcActivate(BOOL bActive)
{
    BOOL bResult = CMiniDockFrameWnd::OnNcActivate(bActive);
    CTkControlBar* pBar = GetContainedBar();
    if (pBar != NULL && !IsTkDockWindow(pBar))
        RepaintCaption();
    return bResult;
}

void CTkMiniDockFrameWnd::OnNcPaint()
{
    CTkControlBar* pBar = GetContainedBar();
    if (pBar == NULL || IsTkDockWindow(pBar)) {
        Default();
        return;
    }
    CWindowDC dc(this);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CRect rectClient;
    GetClientRect(&rectClient);
    ClientToScreen(&rectClient);
    rectClient.OffsetRect(-rectWindow.TopLeft());
    dc.ExcludeClipRect(&rectClient);
    CRect W = rectWindow;
    W.OffsetRect(-W.TopLeft());
    const BOOL bFlat = tkAfxData.bFlatLook;
    const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    const int cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    {
        CTkMemDC memDC(&dc, W, bFlat ? TkGetSysColor(kColorFlatFace) : tkAfxData.clr3DFace);
        int nSaved = memDC.SaveDC();
        CString strTitle;
        pBar->GetWindowText(strTitle);
        if (strTitle.IsEmpty())
            strTitle.LoadString(IDS_TK_TOOLBAR);

        CRect C;
        if (bFlat) {
            memDC.Draw3dRect(&W, tkAfxData.clr3DShadow, tkAfxData.clr3DShadow);
            CRect rectIn = W;
            rectIn.DeflateRect(1, 1);
            memDC.Draw3dRect(&rectIn, tkAfxData.clr3DShadow, tkAfxData.clr3DShadow);
            rectIn.DeflateRect(1, 1);
            memDC.SetPixel(rectIn.left, rectIn.top, tkAfxData.clr3DShadow);
            memDC.SetPixel(rectIn.right - 1, rectIn.top, tkAfxData.clr3DShadow);
            memDC.SetPixel(rectIn.left, rectIn.bottom - 1, tkAfxData.clr3DShadow);
            memDC.SetPixel(rectIn.right - 1, rectIn.bottom - 1, tkAfxData.clr3DShadow);
            C = W;
            C.DeflateRect(2, 2);
            C.DeflateRect(cyEdge - 1, cyEdge - 1);
            C.bottom = C.top + tkAfxData.cySmIcon + cyEdge - 2;
            memDC.FillSolidRect(&C, tkAfxData.clr3DShadow);
        } else {
            memDC.DrawEdge(&W, EDGE_RAISED, BF_RECT);
            C = W;
            C.DeflateRect(cyEdge + 1, cyEdge + 1);
            C.bottom = C.top + tkAfxData.cySmIcon - cyEdge - 1;
            BOOL bGradient = FALSE;
            ::SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &bGradient, 0);
            if (bGradient) {
                COLORREF c1 = tkAfxData.clrActiveCaption, c2 = tkAfxData.clrGradActiveCapt;
                int nWidth = C.Width();
                for (int i = 0; i < 64; i++) {
                    int x1 = C.left + ((nWidth * i) >> 6);
                    int x2 = C.left + ((nWidth * (i + 1)) >> 6);
                    if (x2 <= x1)
                        continue;
                    COLORREF clr = RGB((GetRValue(c1) * 64 + i * (GetRValue(c2) - GetRValue(c1))) / 64,
                                       (GetGValue(c1) * 64 + i * (GetGValue(c2) - GetGValue(c1))) / 64,
                                       (GetBValue(c1) * 64 + i * (GetBValue(c2) - GetBValue(c1))) / 64);
                    memDC.FillSolidRect(x1, C.top, x2 - x1, C.Height(), clr);
                }
            } else {
                memDC.FillSolidRect(&C, tkAfxData.clrActiveCaption);
            }
        }

        CRect rectText = C;
        rectText.left += cxEdge;
        for (POSITION pos = m_listButtons.GetHeadPosition(); pos != NULL;) {
            TK_CAPTIONBUTTON* pButton = (TK_CAPTIONBUTTON*)m_listButtons.GetNext(pos);
            CRect rectButton = GetButtonRect(pButton, &W);
            if (!pButton->bHidden)
                rectText.right -= rectButton.Width() + cxEdge;
        }
        CFont* pOldFont = memDC.SelectObject(&tkAfxData.fontMenuBold);
        memDC.SetTextColor(tkAfxData.clrActiveCaptText);
        memDC.SetBkMode(TRANSPARENT);
        memDC.DrawText(strTitle, &rectText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        memDC.SelectObject(pOldFont);

        for (POSITION pos = m_listButtons.GetHeadPosition(); pos != NULL;)
            DrawCaptionButton(&memDC, &W, (TK_CAPTIONBUTTON*)m_listButtons.GetNext(pos));
        memDC.RestoreDC(nSaved);
    }
}

void CTkMiniDockFrameWnd::DrawCaptionButton(CDC* pDC, const RECT* pWindowRect, TK_CAPTIONBUTTON* pButton)
{
    CRect rect = GetButtonRect(pButton, pWindowRect);
    if (pButton->bHidden)
        return;
    int nSaved = pDC->SaveDC();
    pButton->bHighlighted = 0;
    const BOOL bFlat = tkAfxData.bFlatLook;
    COLORREF clrFill = bFlat ? tkAfxData.clr3DShadow : tkAfxData.clr3DFace;
    COLORREF clrGlyph = bFlat ? tkAfxData.clrHighlightText : tkAfxData.clrMenuText;
    enum { frameNone, frameFlat, frameRaised, frameSunken } nFrame = bFlat ? frameNone : frameRaised;
    COLORREF clrFrame = tkAfxData.clrHighlight;
    if (pButton->nType == 1 && pButton->bHot && m_pOpenPopup != NULL) {
        if (bFlat) {
            clrFill = TkGetSysColor(kColorFlatFace);
            clrGlyph = tkAfxData.clrMenuText;
            nFrame = frameFlat;
            clrFrame = TkGetSysColor(kColorPopupFrame);
        } else {
            nFrame = frameSunken;
        }
    } else if (pButton->bHot && pButton->bPressed) {
        if (bFlat) {
            clrFill = TkGetSysColor(kColorPressedFill);
            clrGlyph = TkGetSysColor(kColorPressedGlyph);
            nFrame = frameFlat;
        } else {
            nFrame = frameSunken;
        }
    } else if (pButton->bHot) {
        if (bFlat) {
            clrFill = TkGetSysColor(kColorHotFill);
            clrGlyph = tkAfxData.clrMenuText;
            nFrame = frameFlat;
        }
    } else if (pButton->bPressed && !bFlat) {
        nFrame = frameSunken;
    }
    pDC->FillSolidRect(&rect, clrFill);
    CRect rectOuter = rect;
    rectOuter.InflateRect(1, 1);
    switch (nFrame) {
    case frameFlat:
        pDC->Draw3dRect(&rect, clrFrame, clrFrame);
        pButton->bHighlighted = 1;
        break;
    case frameRaised:
        Draw3dFrame(pDC, rectOuter, tkAfxData.clr3DFace, tkAfxData.clrWindowFrame);
        Draw3dFrame(pDC, rect, tkAfxData.clr3DHilight, tkAfxData.clr3DShadow);
        break;
    case frameSunken:
        Draw3dFrame(pDC, rectOuter, tkAfxData.clrWindowFrame, tkAfxData.clr3DFace);
        Draw3dFrame(pDC, rect, tkAfxData.clr3DShadow, tkAfxData.clr3DHilight);
        pButton->bHighlighted = 1;
        break;
    default:
        break;
    }
    HICON hIcon = m_imlGlyphs.m_hImageList != NULL ? m_imlGlyphs.ExtractIcon(pButton->nType == 0 ? 2 : 3) : NULL;
    if (hIcon != NULL) {
        HBRUSH hBrush = ::CreateSolidBrush(clrGlyph);
        int x = rect.Width() > 10 ? rect.left + (rect.Width() - 10) / 2 : 0;
        int y = rect.Height() > 10 ? rect.top + (rect.Height() - 10) / 2 : 0;
        ::DrawStateA(pDC->m_hDC, hBrush, NULL, (LPARAM)hIcon, 0, x, y, rect.Width(), rect.Height(), DST_ICON | DSS_MONO);
        ::DestroyIcon(hIcon);
        ::DeleteObject(hBrush);
    }
    pDC->RestoreDC(nSaved);
}

// ---- the mouse ----------------------------------------------------------------------------------

void CTkMiniDockFrameWnd::ShowButtonTip(int x, int y, bool bClose)
{
    CTkControlBar* pBar = GetContainedBar();
    if (pBar == NULL || !(pBar->m_dwStyle & CBRS_TOOLTIPS) || m_wndToolTip.m_hWnd == NULL)
        return;
    m_wndToolTip.SendMessage(TTM_POP);
    if (m_wndToolTip.GetToolCount() > 0) {
        m_wndToolTip.DelTool(this, 0);
        m_wndToolTip.Activate(FALSE);
    }
    CString strTip;
    strTip.LoadString(bClose ? IDS_TK_CLOSE : IDS_TK_TOOLBAR_OPTIONS);
    // the tool covers the whole window (the caption lies outside the client area)
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    ScreenToClient(&rectWindow);
    m_wndToolTip.AddTool(this, strTip, &rectWindow, 0);
    m_wndToolTip.Activate(TRUE);
    CPoint pt(x, y);
    ScreenToClient(&pt);
    MSG msg = {m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y), ::GetMessageTime(), {x, y}};
    m_wndToolTip.RelayEvent(&msg);
}

void CTkMiniDockFrameWnd::OnNcMouseMove(UINT nHitTest, CPoint point)
{
    if (m_pOpenPopup != NULL) {
        Default();
        return;
    }
    BOOL bLeftDown = ::GetKeyState(VK_LBUTTON) < 0;
    BOOL bRepaint = FALSE;
    BOOL bInside = FALSE;
    for (POSITION pos = m_listButtons.GetHeadPosition(); pos != NULL;) {
        TK_CAPTIONBUTTON* pButton = (TK_CAPTIONBUTTON*)m_listButtons.GetNext(pos);
        CRect rect = GetButtonRect(pButton);
        if (!rect.PtInRect(point)) {
            if (pButton->bHot || pButton->bPressed || pButton->bHighlighted)
                bRepaint = TRUE;
            pButton->bHot = pButton->bPressed = pButton->bHighlighted = 0;
            continue;
        }
        bInside = TRUE;
        if (bLeftDown) {
            if (pButton != m_pPressedButton && (pButton->bHot || pButton->bPressed || pButton->bHighlighted)) {
                pButton->bHot = pButton->bPressed = pButton->bHighlighted = 0;
                bRepaint = TRUE;
            } else if (pButton == m_pPressedButton && !pButton->bPressed) {
                pButton->bPressed = 1;
                pButton->bHot = 1;
                bRepaint = TRUE;
            }
            continue;
        }
        if (pButton->bPressed) {
            pButton->bPressed = 0;
            bRepaint = TRUE;
            continue;
        }
        if (!pButton->bHot) {
            pButton->bHot = 1;
            bRepaint = TRUE;
            ShowButtonTip(point.x, point.y, pButton->nType == 0);
        }
    }
    if (bRepaint)
        RepaintCaption();
    if (!bInside && m_wndToolTip.m_hWnd != NULL)
        m_wndToolTip.SendMessage(TTM_POP);
    Default();
}

void CTkMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    CTkControlBar* pBar = GetContainedBar();
    if (pBar == NULL || IsTkDockWindow(pBar)) {
        CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
        return;
    }
    if (nHitTest != HTCAPTION) {
        CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
        return;
    }
    m_pPressedButton = NULL;
    BOOL bRepaint = FALSE;
    for (POSITION pos = m_listButtons.GetHeadPosition(); pos != NULL;) {
        TK_CAPTIONBUTTON* pButton = (TK_CAPTIONBUTTON*)m_listButtons.GetNext(pos);
        CRect rect = GetButtonRect(pButton);
        if (rect.PtInRect(point) && !pButton->bHidden) {
            pButton->bPressed = 1;
            pButton->bHot = 1;
            m_pPressedButton = pButton;
            bRepaint = TRUE;
        } else if (pButton->bHot || pButton->bPressed || pButton->bHighlighted) {
            pButton->bHot = pButton->bPressed = pButton->bHighlighted = 0;
            bRepaint = TRUE;
        }
        // in customize mode a press on the caption does nothing else
        if (CTkCustomizeManager::Instance()->m_bCustomizeMode)
            return;
        if (pButton->nType == 1 && !pButton->bHot && !pButton->bPressed && !pButton->bHighlighted && m_pOpenPopup != NULL)
            m_pOpenPopup->SendMessage(WM_CLOSE);
    }
    if (bRepaint)
        RepaintCaption();
    if (m_pPressedButton != NULL)
        return;
    ActivateTopParentOf(this);
    if (m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)
        return;
    CDockContext* pContext = GetBarDockContext(pBar);
    if (pContext != NULL) {
        pBar->SetFocus();
        pContext->StartDrag(point);
    }
}

void CTkMiniDockFrameWnd::OnNcLButtonUp(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTCAPTION && !(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) && GetContainedBar() != NULL) {
        for (POSITION pos = m_listButtons.GetHeadPosition(); pos != NULL;) {
            TK_CAPTIONBUTTON* pButton = (TK_CAPTIONBUTTON*)m_listButtons.GetNext(pos);
            CRect rect = GetButtonRect(pButton);
            if (!rect.PtInRect(point) || !pButton->bPressed || pButton->bHidden)
                continue;
            if (pButton->nType == 0) {
                PostMessage(WM_CLOSE);
                pButton->bHot = pButton->bPressed = pButton->bHighlighted = 0;
                m_pPressedButton = NULL;
            } else {
                // the popup of the hidden buttons belongs to the chevron's own code
                pButton->bHot = 1;
                pButton->bPressed = 0;
                RepaintCaption();
            }
        }
    }
    Default();
}

void CTkMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    CTkControlBar* pBar = GetContainedBar();
    // a second quick press on a caption button is a press of the button, not a toggle
    if (nHitTest == HTCAPTION && pBar != NULL) {
        for (POSITION pos = m_listButtons.GetHeadPosition(); pos != NULL;) {
            TK_CAPTIONBUTTON* pButton = (TK_CAPTIONBUTTON*)m_listButtons.GetNext(pos);
            if (GetButtonRect(pButton).PtInRect(point) && !pButton->bHidden) {
                OnNcLButtonDown(nHitTest, point);
                return;
            }
        }
    }
    if (nHitTest == HTCAPTION && !(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) && pBar != NULL && pBar->m_pDockContext != NULL) {
        ActivateTopParentOf(this);
        pBar->m_pDockContext->ToggleDocking();
        return;
    }
    CMiniDockFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}

LRESULT CTkMiniDockFrameWnd::OnPopupClosed(WPARAM, LPARAM)
{
    BOOL bRepaint = FALSE;
    for (POSITION pos = m_listButtons.GetHeadPosition(); pos != NULL;) {
        TK_CAPTIONBUTTON* pButton = (TK_CAPTIONBUTTON*)m_listButtons.GetNext(pos);
        if (pButton->bHighlighted) {
            pButton->bHot = pButton->bPressed = pButton->bHighlighted = 0;
            bRepaint = TRUE;
        }
    }
    if (bRepaint)
        RepaintCaption();
    m_pOpenPopup = NULL;
    m_pPressedButton = NULL;
    return 0;
}

void CTkMiniDockFrameWnd::OnCustomize()
{
    // the bar passes it on to its frame
    for (POSITION pos = m_listButtons.GetHeadPosition(); pos != NULL;) {
        TK_CAPTIONBUTTON* pButton = (TK_CAPTIONBUTTON*)m_listButtons.GetNext(pos);
        if (pButton->nType != 1)
            continue;
        pButton->bHot = pButton->bPressed = pButton->bHighlighted = 0;
        if (pButton->pBar != NULL && pButton->pBar->m_hWnd != NULL)
            pButton->pBar->PostMessage(WM_COMMAND, kCustomizeCommand);
        break;
    }
}
