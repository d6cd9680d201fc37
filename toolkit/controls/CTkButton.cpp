#include "CTkButton.h"

#include "CTkGlobalData.h"
#include "CTkMemDC.h"
#include "TkColors.h"
#include "TkControlMessages.h"
#include "TkDrawing.h"
#include "TkSysColorBitmap.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CTkButton, CButton)

BEGIN_MESSAGE_MAP(CTkButton, CButton)
    ON_WM_CREATE()
    ON_MESSAGE(TKWM_DEFERRED_INIT, OnDeferredInit)
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {
const UINT_PTR kHoverTimer = 1;
const DWORD kTrackingStyles = TKBS_FLAT | TKBS_THIN | TKBS_HOTLOOK;

// Where an image or text of this size sits before the alignment rules move it.
CPoint DefaultPos(const CTkButton::Layout& l, CSize size)
{
    CPoint pt;
    pt.x = (l.dwXStyle & TKBS_IMAGETOP) ? std::max(0L, (l.sizeClient.cx - size.cx) / 2) : (LONG)l.nBorderGap;
    pt.y = std::max(0L, (l.sizeClient.cy - size.cy) / 2);
    return pt;
}

bool IsCentred(DWORD dwAlign)
{
    DWORD h = dwAlign & BS_CENTER;
    return h == BS_CENTER || h == 0;
}
} // namespace

CTkButton::CTkButton()
    : m_nBorderGap(4), m_nImageGap(8), m_bHot(FALSE), m_bFixedPositions(FALSE), m_bMouseDown(FALSE),
      m_bCallerColors(FALSE), m_bTracking(FALSE), m_cxImage(0), m_cyImage(0), m_dwXStyle(1), m_hIcon(NULL),
      m_hIconPushed(NULL), m_ptImage(0, 0), m_ptText(0, 0), m_pFont(NULL), m_hBitmap(NULL), m_hBitmapDisabled(NULL),
      m_clrText(::GetSysColor(COLOR_BTNTEXT)), m_clrFace(::GetSysColor(COLOR_BTNFACE)),
      m_clrHilite(::GetSysColor(COLOR_BTNHIGHLIGHT)), m_clrShadow(::GetSysColor(COLOR_BTNSHADOW)),
      m_bOwnHotColors(FALSE), m_nInitSequence(1), m_clrHotFill(0), m_clrPressedFill(0), m_clrHotBorder(0)
{
}

CTkButton::~CTkButton()
{
    CleanUpGDI();
}

CPoint CTkButton::ImagePos(const Layout& l, BOOL bHasPushedIcon)
{
    CPoint pt = DefaultPos(l, l.sizeImage);
    pt.x = l.nBorderGap;
    bool bText = l.sizeText.cx > 0 || l.sizeText.cy > 0;
    if (l.dwXStyle & TKBS_IMAGETOP) {
        if (bText)
            pt.y -= l.sizeText.cy / 2 + l.nImageGap / 2;
        if (IsCentred(l.dwBsAlign))
            pt.x = l.rcItem.left + std::max(0L, (l.rcItem.Width() - l.sizeImage.cx) / 2);
        else if ((l.dwBsAlign & BS_CENTER) == BS_RIGHT)
            pt.x = l.rcItem.right - l.nBorderGap - l.sizeImage.cx;
        else
            pt.x = l.nBorderGap;
    } else if (!bText) {
        if ((l.dwBsAlign & BS_CENTER) == BS_CENTER && l.rcItem.Width() >= l.sizeImage.cx)
            pt.x = (l.rcItem.Width() - l.sizeImage.cx) / 2;
        if ((l.dwBsAlign & BS_VCENTER) == BS_VCENTER && l.rcItem.Height() >= l.sizeImage.cy)
            pt.y = (l.rcItem.Height() - l.sizeImage.cy) / 2;
    }
    if (l.bPressed && !bHasPushedIcon)
        pt.Offset(1, 1);
    return pt;
}

CPoint CTkButton::TextPos(const Layout& l)
{
    CPoint pt = DefaultPos(l, l.sizeText);
    pt.x = l.nBorderGap;
    if (l.dwXStyle & TKBS_IMAGETOP)
        pt.y += l.nImageGap / 2 + l.sizeImage.cy / 2;
    if (IsCentred(l.dwBsAlign)) {
        int nStart = l.nBorderGap + ((l.dwXStyle & TKBS_IMAGETOP) ? 0 : l.sizeImage.cx);
        pt.x = nStart + (l.rcItem.right - l.sizeText.cx - nStart - l.nBorderGap) / 2;
    } else if ((l.dwBsAlign & BS_CENTER) == BS_LEFT) {
        pt.x = (l.dwXStyle & TKBS_IMAGETOP) ? l.nBorderGap : l.nBorderGap + l.sizeImage.cx + l.nImageGap;
    } else {
        pt.x = l.rcItem.right - l.sizeText.cx - l.nBorderGap;
    }
    if (l.bPressed && !(l.dwXStyle & TKBS_HOTLOOK))
        pt.Offset(1, 1);
    return pt;
}

CTkButton::Layout CTkButton::MakeLayout(CDC* pDC, UINT nState, const CRect& rcItem)
{
    Layout l;
    l.dwXStyle = m_dwXStyle;
    l.dwBsAlign = GetStyle() & (BS_CENTER | BS_VCENTER);
    CRect rcClient;
    GetClientRect(&rcClient);
    l.sizeClient = rcClient.Size();
    l.rcItem = rcItem;
    l.sizeImage = CSize(m_cxImage, m_cyImage);
    CString strText = GetButtonText(TRUE);
    l.sizeText = strText.IsEmpty() ? CSize(0, 0) : pDC->GetTextExtent(strText);
    l.nBorderGap = m_nBorderGap;
    l.nImageGap = m_nImageGap;
    l.bPressed = (nState & ODS_SELECTED) != 0;
    return l;
}

CPoint CTkButton::CalcImagePos(CDC* pDC, UINT nState, CRect& rcItem, BOOL bHasPushedIcon)
{
    Layout l = MakeLayout(pDC, nState, rcItem);
    if (m_bFixedPositions) {
        CPoint pt = m_ptImage;
        if (l.bPressed && !bHasPushedIcon)
            pt.Offset(1, 1);
        return pt;
    }
    return ImagePos(l, bHasPushedIcon);
}

void CTkButton::DrawButtonText(CDC* pDC, UINT nState, CRect& rcItem)
{
    CString strPlain = GetButtonText(TRUE);
    if (strPlain.IsEmpty())
        return;
    CFont* pOldFont = pDC->SelectObject(GetFont());
    Layout l = MakeLayout(pDC, nState, rcItem);
    CPoint pt;
    if (m_bFixedPositions) {
        pt = m_ptText;
        if (l.bPressed && !(m_dwXStyle & TKBS_HOTLOOK))
            pt.Offset(1, 1);
    } else {
        pt = TextPos(l);
    }
    COLORREF clr = m_clrText;
    if (nState & ODS_DISABLED)
        clr = tkAfxData.clrGrayText;
    else if ((m_dwXStyle & TKBS_HOTLOOK) && (nState & ODS_SELECTED))
        clr = TkGetSysColor(45);
    COLORREF clrOld = pDC->SetTextColor(clr);
    UINT nOldAlign = pDC->SetTextAlign(TA_LEFT | TA_TOP);
    CString strText = GetButtonText(FALSE);
    pDC->DrawState(pt, l.sizeText, (LPCTSTR)strText, DST_PREFIXTEXT, TRUE, strText.GetLength(), (CBrush*)NULL);
    pDC->SetTextAlign(nOldAlign);
    pDC->SetTextColor(clrOld);
    pDC->SelectObject(pOldFont);
}

void CTkButton::DrawIcon(CDC* pDC, UINT nState, CRect& rcItem)
{
    if (m_hIcon == NULL)
        return;
    CFont* pOldFont = pDC->SelectObject(GetFont());
    CPoint pt = CalcImagePos(pDC, nState, rcItem, m_hIconPushed != NULL);
    pDC->SelectObject(pOldFont);
    HICON hIcon = (m_hIconPushed != NULL && (nState & ODS_SELECTED)) ? m_hIconPushed : m_hIcon;
    UINT nFlags = DST_ICON | ((nState & ODS_DISABLED) ? DSS_DISABLED : 0);
    pDC->DrawState(pt, CSize(m_cxImage, m_cyImage), hIcon, nFlags, (CBrush*)NULL);
}

void CTkButton::DrawButtonBitmap(CDC* pDC, UINT nState, CRect& rcItem)
{
    HBITMAP hBitmap = (nState & ODS_DISABLED) ? m_hBitmapDisabled : m_hBitmap;
    if (hBitmap == NULL)
        return;
    CFont* pOldFont = pDC->SelectObject(GetFont());
    CPoint pt = CalcImagePos(pDC, nState, rcItem, FALSE);
    pDC->SelectObject(pOldFont);
    UINT nFlags = DST_BITMAP | ((nState & ODS_DISABLED) ? DSS_DISABLED : 0);
    pDC->DrawState(pt, CSize(m_cxImage, m_cyImage), hBitmap, nFlags, (CBrush*)NULL);
}

void CTkButton::DrawItem(LPDRAWITEMSTRUCT lpdis)
{
    CDC* pDC = CDC::FromHandle(lpdis->hDC);
    CRect rc = lpdis->rcItem;
    int nSaved = pDC->SaveDC();
    BOOL bPressed = (lpdis->itemState & ODS_SELECTED) != 0;

    COLORREF clrBack = GetColorFace();
    pDC->FillSolidRect(rc, clrBack);
    if ((m_dwXStyle & TKBS_DITHER) && bPressed)
        TkFillDitherRect(pDC, rc);

    if (m_dwXStyle & TKBS_FLAT) {
        if (bPressed)
            pDC->Draw3dRect(rc, m_clrShadow, m_clrHilite);
        else if (m_bHot)
            pDC->Draw3dRect(rc, m_clrHilite, m_clrShadow);
    } else if (m_dwXStyle & TKBS_HOTLOOK) {
        if (m_bHot || bPressed) {
            COLORREF clrBorder = m_bOwnHotColors ? m_clrHotBorder : tkAfxData.clrHighlight;
            COLORREF clrFill = bPressed ? (m_bOwnHotColors ? m_clrPressedFill : TkGetSysColor(33))
                                        : (m_bOwnHotColors ? m_clrHotFill : TkGetSysColor(31));
            pDC->Draw3dRect(rc, clrBorder, clrBorder);
            CRect rcFill = rc;
            rcFill.DeflateRect(1, 1);
            pDC->FillSolidRect(rcFill, clrFill);
            clrBack = clrFill;
        }
    } else if (m_dwXStyle & TKBS_THIN) {
        if (bPressed)
            pDC->Draw3dRect(rc, tkAfxData.clr3DShadow, tkAfxData.clr3DHilight);
        else
            pDC->Draw3dRect(rc, tkAfxData.clr3DHilight, tkAfxData.clr3DShadow);
    } else {
        if (bPressed)
            pDC->Draw3dRect(rc, tkAfxData.clr3DDkShadow, m_clrHilite);
        else
            pDC->Draw3dRect(rc, m_clrHilite, tkAfxData.clr3DDkShadow);
        CRect rcInner = rc;
        rcInner.DeflateRect(1, 1);
        if (bPressed)
            pDC->Draw3dRect(rcInner, m_clrShadow, m_clrFace);
        else
            pDC->Draw3dRect(rcInner, m_clrFace, m_clrShadow);
        rc.DeflateRect(1, 1);
    }

    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOldBk = pDC->SetBkColor(clrBack);
    DrawButtonText(pDC, lpdis->itemState, rc);
    DrawIcon(pDC, lpdis->itemState, rc);
    DrawButtonBitmap(pDC, lpdis->itemState, rc);

    if ((m_dwXStyle & TKBS_FOCUS) && (lpdis->itemState & ODS_FOCUS)) {
        COLORREF clrOld = pDC->SetTextColor(RGB(0, 0, 0));
        CRect rcFocus = lpdis->rcItem;
        rcFocus.DeflateRect(2, 2);
        pDC->DrawFocusRect(rcFocus);
        pDC->SetTextColor(clrOld);
    }
    pDC->RestoreDC(nSaved);
    pDC->SetBkColor(clrOldBk);
    pDC->SetBkMode(nOldMode);
}

void CTkButton::Redraw(BOOL bRedraw)
{
    if (bRedraw && ::IsWindow(m_hWnd))
        Invalidate();
}

void CTkButton::SetColors(COLORREF clrFace, COLORREF clrHilite, COLORREF clrShadow, COLORREF clrText, BOOL bRedraw)
{
    SetColorFace(clrFace, FALSE);
    SetColorHilite(clrHilite, FALSE);
    SetColorShadow(clrShadow, FALSE);
    SetTextColor(clrText, FALSE);
    m_bCallerColors = TRUE;
    Redraw(bRedraw);
}

void CTkButton::SetColorFace(COLORREF clr, BOOL bRedraw)
{
    m_clrFace = clr;
    Redraw(bRedraw);
}

COLORREF CTkButton::GetColorFace()
{
    return m_clrFace;
}

void CTkButton::SetColorHilite(COLORREF clr, BOOL bRedraw)
{
    m_clrHilite = clr;
    Redraw(bRedraw);
}

void CTkButton::SetColorShadow(COLORREF clr, BOOL bRedraw)
{
    m_clrShadow = clr;
    Redraw(bRedraw);
}

void CTkButton::SetTextColor(COLORREF clr, BOOL bRedraw)
{
    m_clrText = clr;
    Redraw(bRedraw);
}

void CTkButton::SetHotColors(COLORREF clrBorder, COLORREF clrHotFill, COLORREF clrPressedFill, BOOL bRedraw)
{
    m_clrHotBorder = clrBorder;
    m_clrHotFill = clrHotFill;
    m_clrPressedFill = clrPressedFill;
    m_bOwnHotColors = TRUE;
    Redraw(bRedraw);
}

BOOL CTkButton::SetIconByName(int cx, int cy, LPCTSTR lpszName, LPCTSTR lpszPushed, BOOL bRedraw)
{
    CleanUpGDI();
    HINSTANCE hInst = AfxGetResourceHandle();
    m_hIcon = (HICON)::LoadImage(hInst, lpszName, IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR);
    if (m_hIcon == NULL)
        return FALSE;
    if (lpszPushed != NULL) {
        m_hIconPushed = (HICON)::LoadImage(hInst, lpszPushed, IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR);
        if (m_hIconPushed == NULL)
            return FALSE;
    }
    m_cxImage = cx;
    m_cyImage = cy;
    Redraw(bRedraw);
    return TRUE;
}

BOOL CTkButton::SetIconById(int cx, int cy, UINT nID, UINT nPushedID, BOOL bRedraw)
{
    return SetIconByName(cx, cy, MAKEINTRESOURCE(nID), nPushedID ? MAKEINTRESOURCE(nPushedID) : NULL, bRedraw);
}

BOOL CTkButton::SetIconHandles(int cx, int cy, HICON hIcon, HICON hPushed, BOOL bRedraw)
{
    m_hIcon = hIcon;
    m_hIconPushed = hPushed;
    m_cxImage = cx;
    m_cyImage = cy;
    Redraw(bRedraw);
    return TRUE;
}

BOOL CTkButton::SetBitmap(int cx, int cy, UINT nIDBitmap, BOOL bRedraw)
{
    CleanUpGDI();
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResource(hInst, MAKEINTRESOURCE(nIDBitmap), RT_BITMAP);
    if (hRsrc == NULL)
        return FALSE;
    m_hBitmap = TkLoadSysColorBitmap(hInst, hRsrc, FALSE);
    m_hBitmapDisabled = TkLoadSysColorBitmap(hInst, hRsrc, TRUE);
    if (m_hBitmap == NULL || m_hBitmapDisabled == NULL)
        return FALSE;
    m_cxImage = cx;
    m_cyImage = cy;
    Redraw(bRedraw);
    return TRUE;
}

BOOL CTkButton::SetImagePositions(CPoint ptImage, CPoint ptText, BOOL bRedraw)
{
    m_ptImage = ptImage;
    m_ptText = ptText;
    m_bFixedPositions = TRUE;
    Redraw(bRedraw);
    return TRUE;
}

DWORD CTkButton::GetXButtonStyle()
{
    return m_dwXStyle;
}

DWORD CTkButton::SetXButtonStyle(DWORD dwStyle, BOOL bRedraw)
{
    DWORD dwOld = m_dwXStyle;
    m_dwXStyle = dwStyle;
    Redraw(bRedraw);
    return dwOld;
}

void CTkButton::ResetImage()
{
    if (m_cxImage == 0 && m_cyImage == 0)
        return;
    CleanUpGDI();
    m_cxImage = m_cyImage = 0;
    m_ptImage = CPoint(0, 0);
    m_ptText = CPoint(0, 0);
    Redraw(TRUE);
}

CFont* CTkButton::SetFontEx(CFont* pFont)
{
    CFont* pOld = ::IsWindow(m_hWnd) ? GetFont() : NULL;
    if (pFont != NULL && pFont->GetSafeHandle() != NULL) {
        m_pFont = pFont;
        if (::IsWindow(m_hWnd))
            SetFont(pFont, TRUE);
    }
    return pOld;
}

void CTkButton::CleanUpGDI()
{
    if (m_hIcon != NULL)
        ::DestroyIcon(m_hIcon);
    if (m_hIconPushed != NULL)
        ::DestroyIcon(m_hIconPushed);
    if (m_hBitmap != NULL)
        ::DeleteObject(m_hBitmap);
    if (m_hBitmapDisabled != NULL)
        ::DeleteObject(m_hBitmapDisabled);
    m_hIcon = m_hIconPushed = NULL;
    m_hBitmap = m_hBitmapDisabled = NULL;
}

CString CTkButton::GetButtonText(BOOL bRemoveMnemonics)
{
    CString strText;
    if (::IsWindow(m_hWnd))
        GetWindowText(strText);
    if (bRemoveMnemonics)
        TkStripMnemonics(strText);
    return strText;
}

void CTkButton::PostDeferredInit()
{
    if (m_nInitSequence == 0)
        return;
    m_nInitSequence++;
    PostMessage(TKWM_DEFERRED_INIT, 0, (LPARAM)m_nInitSequence);
}

void CTkButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    PostDeferredInit();
}

int CTkButton::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CButton::OnCreate(lpcs) == -1)
        return -1;
    PostDeferredInit();
    return 0;
}

LRESULT CTkButton::OnDeferredInit(WPARAM, LPARAM lParam)
{
    if (m_nInitSequence != 0 && lParam == (LPARAM)m_nInitSequence) {
        m_nInitSequence = 0;
        ModifyStyle(0, BS_OWNERDRAW);
        SetFont(m_pFont != NULL ? m_pFont : &tkAfxData.fontMenu, TRUE);
    }
    return 0;
}

void CTkButton::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_dwXStyle & kTrackingStyles) {
        SetTimer(kHoverTimer, 10, NULL);
        OnTimer(kHoverTimer);
    }
    CButton::OnMouseMove(nFlags, point);
}

void CTkButton::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kHoverTimer) {
        CButton::OnTimer(nIDEvent);
        return;
    }
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CPoint pt;
    ::GetCursorPos(&pt);
    if (m_bMouseDown || !rcWindow.PtInRect(pt)) {
        KillTimer(kHoverTimer);
        m_bHot = FALSE;
        if (m_bTracking)
            Invalidate();
        m_bTracking = FALSE;
        return;
    }
    if ((m_dwXStyle & kTrackingStyles) && !m_bTracking) {
        m_bHot = TRUE;
        Invalidate();
        m_bTracking = TRUE;
    }
    CButton::OnTimer(nIDEvent);
}

void CTkButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_bMouseDown) {
        m_bMouseDown = TRUE;
        Invalidate();
    }
    CButton::OnLButtonDown(nFlags, point);
}

void CTkButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bMouseDown) {
        m_bMouseDown = FALSE;
        Invalidate();
    }
    CButton::OnLButtonUp(nFlags, point);
}

void CTkButton::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(pt.x, pt.y));
    CButton::OnLButtonDblClk(nFlags, point);
}

void CTkButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    if (!m_bCallerColors) {
        m_clrFace = ::GetSysColor(COLOR_BTNFACE);
        m_clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
        m_clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
        m_clrText = ::GetSysColor(COLOR_BTNTEXT);
    }
}

BOOL CTkButton::OnEraseBkgnd(CDC*)
{
    return FALSE;
}

void CTkButton::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CTkMemDC memDC(&dc, rc, tkAfxData.clr3DFace);
    DefWindowProc(WM_PAINT, (WPARAM)memDC.GetSafeHdc(), 0);
}

void CTkButton::OnDestroy()
{
    CButton::OnDestroy();
    m_nInitSequence = 1;
}
