#include "CTkFlatComboBox.h"

#include "CTkGlobalData.h"
#include "CTkMemDC.h"

IMPLEMENT_DYNAMIC(CTkFlatComboBox, CComboBox)

BEGIN_MESSAGE_MAP(CTkFlatComboBox, CComboBox)
    ON_WM_SETCURSOR()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_CONTROL_REFLECT_EX(CBN_SETFOCUS, OnSetFocus)
    ON_CONTROL_REFLECT_EX(CBN_KILLFOCUS, OnKillFocus)
    ON_CONTROL_REFLECT_EX(CBN_CLOSEUP, OnCloseUp)
    ON_CONTROL_REFLECT_EX(CBN_EDITUPDATE, OnEditUpdate)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
END_MESSAGE_MAP()

namespace {
const UINT_PTR kHoverTimer = 1000;
}

CTkFlatComboBox::CTkFlatComboBox()
    : m_bFlatLook(TRUE), m_bMouseDown(FALSE), m_bHasFocus(FALSE), m_bHot(FALSE), m_bAutoComplete(TRUE),
      m_bDefaultEditUpdate(FALSE)
{
}

void CTkFlatComboBox::DrawCombo(CDC*, int)
{
}

BOOL CTkFlatComboBox::IsCursorOver()
{
    CPoint pt;
    ::GetCursorPos(&pt);
    CRect rc;
    GetWindowRect(&rc);
    return rc.PtInRect(pt);
}

void CTkFlatComboBox::DrawFrame(int nState)
{
    CClientDC dc(this);
    DrawCombo(&dc, nState);
}

BOOL CTkFlatComboBox::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bFlatLook && message == WM_MOUSEMOVE && IsCursorOver())
        SetTimer(kHoverTimer, 10, NULL);
    else if (!m_bFlatLook)
        KillTimer(kHoverTimer);
    return CComboBox::OnSetCursor(pWnd, nHitTest, message);
}

void CTkFlatComboBox::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kHoverTimer) {
        CComboBox::OnTimer(nIDEvent);
        return;
    }
    if (m_bMouseDown) {
        KillTimer(kHoverTimer);
        DrawFrame(3);
    } else if (IsCursorOver() || m_bHasFocus) {
        if (!m_bHot) {
            m_bHot = TRUE;
            DrawFrame(2);
        }
    } else {
        KillTimer(kHoverTimer);
        m_bHot = FALSE;
        DrawFrame(1);
    }
}

void CTkFlatComboBox::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_bMouseDown = TRUE;
    CComboBox::OnLButtonDown(nFlags, point);
}

void CTkFlatComboBox::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_bMouseDown = FALSE;
    Invalidate();
    CComboBox::OnLButtonUp(nFlags, point);
}

BOOL CTkFlatComboBox::OnSetFocus()
{
    m_bHasFocus = TRUE;
    Invalidate();
    return FALSE;
}

BOOL CTkFlatComboBox::OnKillFocus()
{
    m_bHasFocus = FALSE;
    Invalidate();
    return FALSE;
}

BOOL CTkFlatComboBox::OnCloseUp()
{
    Invalidate();
    return FALSE;
}

BOOL CTkFlatComboBox::OnEditUpdate()
{
    if (!m_bAutoComplete || m_bDefaultEditUpdate)
        return FALSE;
    CString strTyped;
    GetWindowText(strTyped);
    int nLength = strTyped.GetLength();
    if (nLength == 0)
        return FALSE;
    DWORD dwSel = GetEditSel();
    if (SelectString(-1, strTyped) == CB_ERR) {
        SetWindowText(strTyped);
        SetEditSel(LOWORD(dwSel), HIWORD(dwSel));
    }
    if ((int)HIWORD(dwSel) < nLength && HIWORD(dwSel) != 0xFFFF)
        SetEditSel(LOWORD(dwSel), HIWORD(dwSel));
    else
        SetEditSel(nLength, -1);
    return TRUE;
}

BOOL CTkFlatComboBox::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CTkFlatComboBox::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CTkMemDC memDC(&dc, rc, tkAfxData.clrWindow);
    DefWindowProc(WM_PAINT, (WPARAM)memDC.GetSafeHdc(), 0);
    DrawCombo(&memDC, (IsCursorOver() || m_bHasFocus) ? 2 : 1);
}

LRESULT CTkFlatComboBox::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = DefWindowProc(WM_PRINTCLIENT, wParam, lParam);
    DrawCombo(CDC::FromHandle((HDC)wParam), (IsCursorOver() || m_bHasFocus) ? 2 : 1);
    return lResult;
}
