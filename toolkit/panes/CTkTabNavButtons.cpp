#include "CTkTabNavButtons.h"

#include "CTkGlobalData.h"
#include "CTkMemDC.h"

namespace {

COLORREF StripColour() { return tkAfxData.clrToolkit[48 - 30]; }
COLORREF GlyphColour() { return tkAfxData.clrToolkit[49 - 30]; }

const UINT kRepeatTimer = 1;
const UINT kRepeatMs = 150;
const int kButtonHeight = 15;
const int kArrowWidth = 14;

// One guard for all instances: a move of a buttons window moves no other one.
BOOL s_bPlacing = FALSE;

} // namespace

BOOL TkGetTabItemRect(const CTabCtrl* pTabCtrl, int nItem, CRect& rect)
{
    rect.SetRectEmpty();
    if (nItem < 0 || nItem >= pTabCtrl->GetItemCount())
        return FALSE;
    // the answer is FALSE for a tab scrolled out of sight, whose rectangle is given all the same
    pTabCtrl->GetItemRect(nItem, &rect);
    return TRUE;
}

BOOL TkGetTabRowRect(const CTabCtrl* pTabCtrl, CRect& rect)
{
    rect.SetRectEmpty();
    int nCount = pTabCtrl->GetItemCount();
    BOOL bAny = FALSE;
    for (int i = 0; i < nCount; i++) {
        CRect rectItem;
        if (!TkGetTabItemRect(pTabCtrl, i, rectItem))
            continue;
        if (!bAny)
            rect = rectItem;
        else
            rect.UnionRect(&rect, &rectItem);
        bAny = TRUE;
    }
    return bAny;
}

HWND TkFindTabSpin(const CTabCtrl* pTabCtrl)
{
    HWND hWnd = ::GetDlgItem(pTabCtrl->m_hWnd, 1);
    if (hWnd != NULL)
        return hWnd;
    return ::FindWindowExA(pTabCtrl->m_hWnd, NULL, "msctls_updown32", NULL);
}

BEGIN_MESSAGE_MAP(CTkTabNavButtons, CWnd)
ON_WM_PAINT()
ON_WM_WINDOWPOSCHANGED()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

CTkTabNavButtons::CTkTabNavButtons()
    : m_dwOptions(TK_TABNAV_ARROWS), m_pTabCtrl(NULL), m_bShown(FALSE), m_hWndSpin(NULL), m_hWndOwn(NULL)
{
    m_btnClose = {{0, 0, 0, 0}, CTkTabNavButton::kClose, NULL};
    m_btnLeft = {{0, 0, 0, 0}, CTkTabNavButton::kLeft, NULL};
    m_btnRight = {{0, 0, 0, 0}, CTkTabNavButton::kRight, NULL};
}

CTkTabNavButtons::~CTkTabNavButtons() { Release(); }

void CTkTabNavButtons::Bind(CTabCtrl* pTabCtrl)
{
    m_pTabCtrl = pTabCtrl;
    m_btnClose.pTabCtrl = m_btnLeft.pTabCtrl = m_btnRight.pTabCtrl = pTabCtrl;
}

void CTkTabNavButtons::Release()
{
    if (m_hWndOwn != NULL) {
        if (m_hWnd == m_hWndOwn)
            DestroyWindow();
        m_hWndOwn = NULL;
    } else if (m_hWndSpin != NULL) {
        if (m_hWnd == m_hWndSpin && ::IsWindow(m_hWndSpin))
            UnsubclassWindow();
        else if (m_hWnd == m_hWndSpin)
            Detach();
        m_hWndSpin = NULL;
    }
}

BOOL CTkTabNavButtons::AttachSpin(HWND hWndSpin)
{
    if (m_pTabCtrl == NULL || m_pTabCtrl->m_hWnd == NULL)
        return FALSE;
    if (hWndSpin != NULL) {
        if (hWndSpin == m_hWndSpin)
            return FALSE;
        Release();
        if (SubclassWindow(hWndSpin))
            m_hWndSpin = hWndSpin;
        return TRUE;
    }
    if (m_hWnd != NULL)
        return FALSE;
    LPCTSTR pszClass = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW));
    if (CreateEx(0, pszClass, NULL, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_pTabCtrl->m_hWnd, (HMENU)0, NULL))
        m_hWndOwn = m_hWnd;
    return TRUE;
}

void CTkTabNavButtons::SetOptions(DWORD dwOptions)
{
    m_dwOptions = dwOptions;
    if (m_bShown)
        Layout();
}

int CTkTabNavButtons::WidthFor(DWORD dwOptions)
{
    int cx = 10;
    if (dwOptions & TK_TABNAV_ARROWS)
        cx += 2 * kArrowWidth;
    if (dwOptions & TK_TABNAV_CLOSE)
        cx += 14;
    return cx;
}

BOOL CTkTabNavButtons::GetNavRect(CRect& rect) const
{
    rect.SetRectEmpty();
    if (m_pTabCtrl == NULL || m_pTabCtrl->m_hWnd == NULL)
        return FALSE;
    CRect rectClient;
    m_pTabCtrl->GetClientRect(&rectClient);
    CRect rectRow;
    if (!TkGetTabRowRect(m_pTabCtrl, rectRow))
        return FALSE;
    BOOL bBottom = (m_pTabCtrl->GetStyle() & TCS_BOTTOM) != 0;
    rect.SetRect(rectClient.right - WidthFor(m_dwOptions), bBottom ? rectRow.top - 2 : rectRow.top, rectClient.right,
                 rectRow.bottom + 1);
    return TRUE;
}

void CTkTabNavButtons::ShowButtons(BOOL bShow)
{
    m_bShown = bShow;
    if (bShow)
        Layout();
    else if (m_hWnd != NULL)
        ShowWindow(SW_HIDE);
}

void CTkTabNavButtons::Layout()
{
    if (m_hWnd == NULL || m_pTabCtrl == NULL)
        return;
    CRect rect;
    BOOL bTabs = GetNavRect(rect);
    s_bPlacing = TRUE;
    ::SetWindowPos(m_hWnd, HWND_TOP, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_NOACTIVATE | (bTabs ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    s_bPlacing = FALSE;
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    UpdateHot(pt);
    Invalidate(FALSE);
}

void CTkTabNavButtons::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CWnd::OnWindowPosChanged(lpwndpos);
    if (s_bPlacing || !m_bShown || m_pTabCtrl == NULL || m_pTabCtrl->GetItemCount() == 0)
        return;
    // the tab control moves its up-down control where it wants it: back to the row's end
    CRect rect;
    if (!GetNavRect(rect))
        return;
    CRect rectNow;
    GetWindowRect(&rectNow);
    m_pTabCtrl->ScreenToClient(&rectNow);
    if (rectNow == rect && IsWindowVisible())
        return;
    s_bPlacing = TRUE;
    ::SetWindowPos(m_hWnd, HWND_TOP, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    s_bPlacing = FALSE;
}

void CTkTabNavButtons::PlaceButtons(int cx, const CRect& rectRow)
{
    int y = (rectRow.Height() - 13) / 2;
    int xEnd = cx - 5;
    if (m_dwOptions & TK_TABNAV_CLOSE) {
        ::SetRect(&m_btnClose.rect, cx - 19, y, cx - 5, y + kButtonHeight);
        xEnd = cx - 19;
    } else {
        ::SetRectEmpty(&m_btnClose.rect);
    }
    if (m_dwOptions & TK_TABNAV_ARROWS) {
        ::SetRect(&m_btnRight.rect, xEnd - kArrowWidth, y, xEnd, y + kButtonHeight);
        ::SetRect(&m_btnLeft.rect, xEnd - 2 * kArrowWidth, y, xEnd - kArrowWidth, y + kButtonHeight);
    } else {
        ::SetRectEmpty(&m_btnRight.rect);
        ::SetRectEmpty(&m_btnLeft.rect);
    }
    // the arrows can scroll only while tabs lie beyond the row's ends
    int nCount = m_pTabCtrl->GetItemCount();
    CRect rectFirst, rectLast, rectClient;
    m_pTabCtrl->GetClientRect(&rectClient);
    m_btnRight.EnableButton(TkGetTabItemRect(m_pTabCtrl, nCount - 1, rectLast) &&
                            rectLast.right > rectClient.Width() - WidthFor(m_dwOptions));
    // Some tab controls give tabs scrolled off to the left an empty rectangle at 0: the first
    // visible tab then tells.
    TCHITTESTINFO hit = {{5, (rectRow.top + rectRow.bottom) / 2}, 0};
    m_btnLeft.EnableButton(TkGetTabItemRect(m_pTabCtrl, 0, rectFirst) &&
                           (rectFirst.left < 0 || m_pTabCtrl->HitTest(&hit) > 0));
}

void CTkTabNavButtons::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    CTkMemDC dc(&dcPaint, rectClient);
    CRect rectRow;
    if (!m_bShown || m_pTabCtrl == NULL || !TkGetTabRowRect(m_pTabCtrl, rectRow)) {
        DefWindowProc(WM_PAINT, (WPARAM)dc.m_hDC, 0);
        return;
    }
    dc.FillSolidRect(&rectClient, StripColour());
    if (m_pTabCtrl->GetStyle() & TCS_BOTTOM)
        dc.FillSolidRect(0, 0, rectClient.Width(), 1, tkAfxData.clrBtnText);
    else
        dc.FillSolidRect(0, rectClient.Height() - 1, rectClient.Width(), 1, tkAfxData.clr3DHilight);
    PlaceButtons(rectClient.Width(), rectRow);
    if (m_dwOptions & TK_TABNAV_CLOSE)
        DrawButton(&dc, m_btnClose);
    if (m_dwOptions & TK_TABNAV_ARROWS) {
        DrawButton(&dc, m_btnLeft);
        DrawButton(&dc, m_btnRight);
    }
}

void CTkTabNavButtons::DrawButton(CDC* pDC, const CTkTabNavButton& button)
{
    CRect rect(button.rect);
    if (rect.IsRectEmpty())
        return;
    int dx = 0;
    if (button.IsEnabled()) {
        if (button.flags & CTkTabNavButton::kPressed) {
            pDC->Draw3dRect(&rect, RGB(0, 0, 0), ::GetSysColor(COLOR_3DLIGHT));
            dx = 1;
        } else if (button.flags & CTkTabNavButton::kHot) {
            pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_3DLIGHT), RGB(0, 0, 0));
        }
    }
    rect.OffsetRect(dx, dx);
    COLORREF clrGlyph = GlyphColour();
    CPen pen(PS_SOLID, 1, clrGlyph);
    CBrush brush(clrGlyph);
    CPen* pOldPen = pDC->SelectObject(&pen);
    if (button.flags & CTkTabNavButton::kClose) {
        for (int i = 0; i < 2; i++) {
            pDC->MoveTo(rect.left + 3 + i, rect.top + 3);
            pDC->LineTo(rect.right - 4 + i, rect.bottom - 5 + 1);
            pDC->MoveTo(rect.left + 3 + i, rect.bottom - 6);
            pDC->LineTo(rect.right - 4 + i, rect.top + 2);
        }
    } else {
        POINT pts[3];
        if (button.flags & CTkTabNavButton::kLeft) {
            pts[0] = {rect.right - 5, rect.top + 2};
            pts[1] = {rect.right - 9, rect.top + 6};
            pts[2] = {rect.right - 5, rect.top + 10};
        } else {
            pts[0] = {rect.left + 4, rect.top + 2};
            pts[1] = {rect.left + 8, rect.top + 6};
            pts[2] = {rect.left + 4, rect.top + 10};
        }
        HGDIOBJ hOldBrush = ::SelectObject(pDC->m_hDC, button.IsEnabled() ? brush.m_hObject : ::GetStockObject(NULL_BRUSH));
        pDC->Polygon(pts, 3);
        ::SelectObject(pDC->m_hDC, hOldBrush);
    }
    pDC->SelectObject(pOldPen);
}

void CTkTabNavButtons::RedrawButton(const CTkTabNavButton& button)
{
    if (m_hWnd != NULL)
        InvalidateRect(&button.rect, FALSE);
}

void CTkTabNavButtons::UpdateHot(CPoint pt)
{
    CTkTabNavButton* buttons[] = {&m_btnClose, &m_btnLeft, &m_btnRight};
    for (CTkTabNavButton* pButton : buttons) {
        BOOL bOver = ::PtInRect(&pButton->rect, pt);
        if ((pButton->flags & CTkTabNavButton::kHot) && !bOver) {
            pButton->flags &= ~(DWORD)CTkTabNavButton::kHot;
            RedrawButton(*pButton);
        } else if (bOver && pButton->IsEnabled() && !(pButton->flags & CTkTabNavButton::kHot)) {
            pButton->flags |= CTkTabNavButton::kHot;
            RedrawButton(*pButton);
            TRACKMOUSEEVENT tme = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&tme);
        }
    }
}

void CTkTabNavButtons::OnMouseMove(UINT nFlags, CPoint point)
{
    UpdateHot(point);
    CWnd::OnMouseMove(nFlags, point);
}

LRESULT CTkTabNavButtons::OnMouseLeave(WPARAM, LPARAM)
{
    UpdateHot(CPoint(-1, -1));
    return 0;
}

void CTkTabNavButtons::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_bShown) {
        Default();
        return;
    }
    if ((m_dwOptions & TK_TABNAV_CLOSE) && ::PtInRect(&m_btnClose.rect, point)) {
        if (TrackButton(m_btnClose, FALSE) && m_pTabCtrl != NULL)
            m_pTabCtrl->SendMessage(WM_COMMAND, TK_ID_TABNAV_CLOSE, 0);
    } else if ((m_dwOptions & TK_TABNAV_ARROWS) && ::PtInRect(&m_btnLeft.rect, point)) {
        TrackButton(m_btnLeft, TRUE);
    } else if ((m_dwOptions & TK_TABNAV_ARROWS) && ::PtInRect(&m_btnRight.rect, point)) {
        TrackButton(m_btnRight, TRUE);
    }
}

void CTkTabNavButtons::ScrollTabs(const CTkTabNavButton& button)
{
    CRect rectRow;
    if (m_pTabCtrl == NULL || !TkGetTabRowRect(m_pTabCtrl, rectRow))
        return;
    TCHITTESTINFO hit = {{5, (rectRow.top + rectRow.bottom) / 2}, 0};
    int nFirst = m_pTabCtrl->HitTest(&hit);
    if (button.flags & CTkTabNavButton::kLeft) {
        if (nFirst > 0)
            m_pTabCtrl->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, nFirst - 1), 0);
    } else if (m_pTabCtrl->GetItemCount() > 0) {
        m_pTabCtrl->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, nFirst + 1), 0);
    }
    m_pTabCtrl->Invalidate();
    Invalidate(FALSE);
}

BOOL CTkTabNavButtons::TrackButton(CTkTabNavButton& button, BOOL bRepeat)
{
    if ((::GetCapture() != NULL && ::GetCapture() != m_hWnd) || !button.IsEnabled())
        return FALSE;
    SetCapture();
    if (bRepeat)
        SetTimer(kRepeatTimer, kRepeatMs, NULL);
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    BOOL bResult = FALSE;
    for (;;) {
        if (bRepeat && button.IsEnabled())
            ScrollTabs(button);
        if (::PtInRect(&button.rect, pt))
            button.flags |= CTkTabNavButton::kPressed;
        else
            button.flags &= ~(DWORD)CTkTabNavButton::kPressed;
        RedrawButton(button);
        MSG msg;
        while (::PeekMessageA(&msg, NULL, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessageA(&msg);
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (::GetCapture() != m_hWnd) {
            ::DispatchMessageA(&msg);
            break;
        }
        bool bEnd = false;
        switch (msg.message) {
        case WM_CANCELMODE:
        case WM_RBUTTONDOWN:
            bEnd = true;
            break;
        case WM_KEYDOWN:
            bEnd = msg.wParam == VK_ESCAPE;
            break;
        case WM_MOUSEMOVE:
            pt = CPoint((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            if (msg.hwnd != m_hWnd)
                ::MapWindowPoints(msg.hwnd, m_hWnd, &pt, 1);
            break;
        case WM_LBUTTONUP:
            pt = CPoint((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            if (msg.hwnd != m_hWnd)
                ::MapWindowPoints(msg.hwnd, m_hWnd, &pt, 1);
            bResult = ::PtInRect(&button.rect, pt);
            bEnd = true;
            break;
        case WM_TIMER:
            if (msg.hwnd == m_hWnd && msg.wParam == kRepeatTimer)
                break; // only wakes the loop up for the next step
            ::DispatchMessageA(&msg);
            break;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
        if (bEnd)
            break;
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (bRepeat)
        KillTimer(kRepeatTimer);
    button.flags &= ~(DWORD)CTkTabNavButton::kPressed;
    UpdateHot(pt);
    RedrawButton(button);
    return bResult;
}
