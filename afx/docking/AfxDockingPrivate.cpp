#include "AfxDockingPrivate.h"

namespace afxdock {

void ActivateTopParent(CWnd* pWnd)
{
    CWnd* pTopLevel = pWnd->GetTopLevelParent();
    if (pTopLevel == NULL)
        return;
    HWND hWndForeground = ::GetForegroundWindow();
    if (hWndForeground == NULL || (hWndForeground != pWnd->m_hWnd && !::IsChild(hWndForeground, pWnd->m_hWnd)))
        pTopLevel->SetForegroundWindow();
}

void ShrinkByBorders(CRect& rect, DWORD dwStyle)
{
    if (dwStyle & CBRS_BORDER_LEFT)
        rect.left += CxBorder2();
    if (dwStyle & CBRS_BORDER_TOP)
        rect.top += CyBorder2();
    if (dwStyle & CBRS_BORDER_RIGHT)
        rect.right -= CxBorder2();
    if (dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= CyBorder2();
}

void InsetNonClient(const CControlBar* pBar, NCCALCSIZE_PARAMS* lpncsp, BOOL bHorz)
{
    CRect rect(0, 0, 0, 0);
    pBar->CalcInsideRect(rect, bHorz);
    lpncsp->rgrc[0].left += rect.left;
    lpncsp->rgrc[0].top += rect.top;
    lpncsp->rgrc[0].right += rect.right;
    lpncsp->rgrc[0].bottom += rect.bottom;
}

CPoint MessagePoint(const MSG& msg)
{
    CPoint point((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
    BOOL bClient = msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST && msg.message != WM_MOUSEWHEEL;
    if (!bClient)
        return msg.message == WM_MOUSEWHEEL || (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK)
                   ? point
                   : CPoint(msg.pt);
    if (msg.hwnd != NULL)
        ::ClientToScreen(msg.hwnd, &point);
    return point;
}

} // namespace afxdock
