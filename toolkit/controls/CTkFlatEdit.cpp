#include "CTkFlatEdit.h"

#include "CTkGlobalData.h"
#include "CTkMemDC.h"

IMPLEMENT_DYNAMIC(CTkFlatEdit, CTkEdit)

BEGIN_MESSAGE_MAP(CTkFlatEdit, CTkEdit)
    ON_WM_SETCURSOR()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {
const UINT_PTR kHoverTimer = 1000;
}

CTkFlatEdit::CTkFlatEdit() : m_bFlatLook(TRUE), m_bMouseDown(FALSE), m_bHasFocus(FALSE)
{
}

void CTkFlatEdit::DrawEdit(CDC*, int)
{
}

BOOL CTkFlatEdit::IsCursorOver()
{
    CPoint pt;
    ::GetCursorPos(&pt);
    CRect rc;
    GetWindowRect(&rc);
    return rc.PtInRect(pt);
}

void CTkFlatEdit::DrawFrame(int nState)
{
    CClientDC dc(this);
    DrawEdit(&dc, nState);
}

BOOL CTkFlatEdit::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bFlatLook && message == WM_MOUSEMOVE && IsCursorOver())
        SetTimer(kHoverTimer, 10, NULL);
    else if (!m_bFlatLook)
        KillTimer(kHoverTimer);
    return CTkEdit::OnSetCursor(pWnd, nHitTest, message);
}

void CTkFlatEdit::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kHoverTimer) {
        CTkEdit::OnTimer(nIDEvent);
        return;
    }
    if (IsCursorOver() || m_bHasFocus) {
        DrawFrame(2);
    } else {
        KillTimer(kHoverTimer);
        DrawFrame(1);
    }
}

void CTkFlatEdit::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_bFlatLook)
        m_bMouseDown = TRUE;
    CTkEdit::OnLButtonDown(nFlags, point);
}

void CTkFlatEdit::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bFlatLook) {
        m_bMouseDown = FALSE;
        Invalidate();
    }
    CTkEdit::OnLButtonUp(nFlags, point);
}

void CTkFlatEdit::OnSetFocus(CWnd* pOldWnd)
{
    CTkEdit::OnSetFocus(pOldWnd);
    if (m_bFlatLook) {
        m_bHasFocus = TRUE;
        Invalidate();
    }
}

void CTkFlatEdit::OnKillFocus(CWnd* pNewWnd)
{
    CTkEdit::OnKillFocus(pNewWnd);
    if (m_bFlatLook) {
        m_bHasFocus = FALSE;
        Invalidate();
    }
}

void CTkFlatEdit::OnPaint()
{
    if (!m_bFlatLook) {
        CTkEdit::OnPaint();
        return;
    }
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CTkMemDC memDC(&dc, rc, tkAfxData.clrWindow);
    DefWindowProc(WM_PAINT, (WPARAM)memDC.GetSafeHdc(), 0);
    DrawEdit(&memDC, (IsCursorOver() || m_bHasFocus) ? 2 : 1);
}
